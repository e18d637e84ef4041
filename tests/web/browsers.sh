# Sourced by the web tests' scripts (web_tests: this folder): skip (77) unless all they need is
# there; run a command that drives a browser, for Firefox on a private Xvfb (Mesa's WebGL 2).

web_skip() { echo "skipped: $1" >&2; exit 77; }

# web_require WEB_DIR BROWSER...
web_require() {
  [ -f "$1/glasswind.wasm" ] || web_skip "no browser build in $1 (make web)"
  shift
  for browser in "$@"; do
    case $browser in
      chromium) executable=/usr/bin/chromium ;;
      firefox) executable=/usr/bin/firefox-esr ;;
      *) echo "no browser called $browser: chromium or firefox" >&2; exit 2 ;;
    esac
    [ -x "$executable" ] || web_skip "no $executable (make test-web installs it)"
  done
  [ -d "$web_tests/node_modules/puppeteer-core" ] ||
    web_skip "no puppeteer-core (make test-web runs npm ci in $web_tests)"
}

# web_run BROWSER COMMAND ARGS...
web_run() {
  if [ "$1" = firefox ]; then
    shift
    "$web_tests/../support/with-xvfb" "$@"
  else
    shift
    "$@"
  fi
}

#!/bin/sh
# The live page end to end in headless Chromium (e2e_web.js); skips (77) without a
# browser build, Chromium or playwright-core.
#   e2e_web.sh WEB_DIR
set -eu
web=$1
here=$(dirname "$0")
skip() { echo "skipped: $1" >&2; exit 77; }
[ -f "$web/glasswind.wasm" ] || skip "no browser build in $web (make web)"
[ -x /usr/bin/chromium ] || skip "no /usr/bin/chromium (make test-web installs it)"
[ -d "$here/node_modules/playwright-core" ] || skip "no playwright-core (make test-web runs npm ci in $here)"
exec node "$here/e2e_web.js" "$web"

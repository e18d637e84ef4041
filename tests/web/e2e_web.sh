#!/bin/sh
# The live page end to end in one headless browser (e2e_web.js); skips (77) without a
# browser build, the browser or puppeteer-core.
#   e2e_web.sh BROWSER WEB_DIR       (BROWSER: chromium or firefox)
set -eu
browser=$1 web=$2
web_tests=$(dirname "$0")
. "$web_tests/browsers.sh"
web_require "$web" "$browser"
web_run "$browser" node "$web_tests/e2e_web.js" "$browser" "$web"

#!/bin/sh
# The page in Chromium and Firefox started without WebGL 2 (no_webgl_web.js); skips
# (77) without a browser build, either browser or puppeteer-core.
#   no_webgl_web.sh WEB_DIR
set -eu
web=$1
web_tests=$(dirname "$0")
. "$web_tests/browsers.sh"
web_require "$web" chromium firefox
web_run firefox node "$web_tests/no_webgl_web.js" "$web"

# The two commands of the README: `make run` and `make test`.
BUILD_DIR := build
JOBS := $(shell nproc 2>/dev/null || echo 2)
# WERROR=ON (as CI runs it) fails the build on any compiler warning.
WERROR := OFF
CONFIGURE := cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=$(WERROR)

.PHONY: run test deps-run deps-test build build-tests

# Each target installs what it needs first and only then builds, also under make -j.
run: deps-run
	$(MAKE) build
	./$(BUILD_DIR)/glasswind

# The whole suite, the browser page's tests included (every fourth golden moment
# of them; make test-web checks every one), and the Windows build's under Wine.
test: deps-web-test
	$(MAKE) web windows build-tests
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE '^web-all$$'

deps-run:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

# Just the demo and glasswind-render: a desktop needs nothing of the test suite.
build:
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target glasswind glasswind-render

# Everything, the test suite included.
build-tests:
	$(CONFIGURE) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Regenerates the card images and the music in data/ from their generators; the
# output is the same byte for byte on every run.
.PHONY: content
content: deps-test
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target content_cards content_music
	./$(BUILD_DIR)/tools/content/content_cards data
	./$(BUILD_DIR)/tools/content/content_music data/glasswind.mp3 $(BUILD_DIR)/glasswind.wav

# One labelled thumbnail for each row of the shot table, in build/contact-sheet.png.
.PHONY: contact-sheet
contact-sheet: deps-test
	$(MAKE) build
	./tools/contact-sheet.sh

# Where your own sound server plays the music against the demo's clock (README, Sound
# servers), on the test suite's probes:  make sound-offset RUNS=3 PLAY_SECONDS=12 SERVER=own
RUNS := 3
PLAY_SECONDS := 12
SERVER := own
.PHONY: sound-offset
sound-offset: deps-test
	$(CONFIGURE) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target glasswind server_probe clock_probe
	BUILD_DIR=$(BUILD_DIR) tests/audio/sound-offset.sh $(RUNS) $(PLAY_SECONDS) $(SERVER)

# Every fuzzer for FUZZ_SECONDS each (an hour unless given), then their executions and time:
#   make fuzz-long FUZZ_SECONDS=600
FUZZ_SECONDS := 3600
.PHONY: fuzz-long
fuzz-long: deps-test
	$(CONFIGURE) -DBUILD_TESTING=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target png_decode_fuzzer audio_decode_fuzzer
	./tools/fuzz-long.sh $(FUZZ_SECONDS) $(BUILD_DIR)

# The sanitizer lane alone: the demo and glasswind-render built with ASan and UBSan
# in $(BUILD_DIR)/sanitize, then the timeline render and a 12 s run of the demo.
.PHONY: sanitize
sanitize: deps-test
	$(CONFIGURE) -DBUILD_TESTING=ON
	cd $(BUILD_DIR) && ctest -L sanitize --output-on-failure

# Redraws the golden frames in tests/golden/frames from tests/golden/moments.txt.
# Only after a deliberate visual change, once its difference sheets have been looked at.
# They are drawn into a folder of their own and replace the references only once all are drawn.
GOLDENS_NEW := $(BUILD_DIR)/goldens-new
.PHONY: goldens
goldens: deps-test
	$(MAKE) build
	rm -rf $(GOLDENS_NEW)
	tests/support/with-xvfb ./$(BUILD_DIR)/glasswind-render --moments tests/golden/moments.txt \
	  --size 320x180 -o $(GOLDENS_NEW)
	rm -f tests/golden/frames/*.png
	mv $(GOLDENS_NEW)/*.png tests/golden/frames/
	rmdir $(GOLDENS_NEW)

# The browser build: build/web/ is a static page (index.html, the .js and .wasm, data/)
# that any static host can serve. It needs Debian's emscripten, which make web installs.
WEB_BUILD_DIR := $(BUILD_DIR)/web-build
WEB_DIR := $(BUILD_DIR)/web
WEB_PORT := 8000
# Debian's emscripten runs its tools with the system's Python and Debian's node modules.
EMSCRIPTEN_ENV := EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
.PHONY: web serve-web deps-web test-web deps-web-test
deps-web:
	./scripts/install-deps.sh web
	./scripts/fetch-debian-sources.sh $(BUILD_DIR)/web-deps zlib libpng=libpng1.6

web: deps-web
	$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=$(WERROR) \
	  -DWEB_DEPS_DIR=$(abspath $(BUILD_DIR)/web-deps) -DWEB_OUTPUT_DIR=$(abspath $(WEB_DIR)) >/dev/null
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	@echo "Built $(WEB_DIR)/: $$(du -sb $(WEB_DIR) | cut -f1) bytes"

serve-web: web
	@echo "Serving $(WEB_DIR) at http://localhost:$(WEB_PORT)/ (Ctrl-C stops it)"
	cd $(WEB_DIR) && python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# The browser build in headless Chromium and Firefox ESR (Debian's, both driven by
# puppeteer-core from npm, which never downloads a browser of its own): the live page end
# to end in each, without WebGL 2, and golden moments against their references.
# npm ci empties node_modules and needs the registry: only when the lock file is newer
# than the last install, or there is none.
NODE_STAMP := tests/web/node_modules/.installed
deps-web-test: deps-test
	./scripts/install-deps.sh web-test
	$(MAKE) $(NODE_STAMP)

$(NODE_STAMP): tests/web/package-lock.json
	cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error
	touch $@

test-web: deps-web-test
	$(MAKE) web build-tests
	cd $(BUILD_DIR) && ctest --output-on-failure -L '^web' -E '^web[.]goldens$$'


# The Windows build: build/windows/glasswind-win64.zip holds glasswind.exe and
# glasswind-render.exe (64-bit, no DLL that Windows does not ship), data\ and README.txt. Debian's MinGW-w64 compiles it
# over static libraries cross-built once from Debian's own sources into
# build/windows-deps/ (rebuilt only when their script or the toolchain file changes).
WINDOWS_DEPS_DIR := $(BUILD_DIR)/windows-deps
WINDOWS_BUILD_DIR := $(BUILD_DIR)/windows-build
WINDOWS_DIR := $(BUILD_DIR)/windows
.PHONY: windows deps-windows
deps-windows:
	./scripts/install-deps.sh windows
	JOBS=$(JOBS) nice -n 10 ./scripts/build-windows-deps.sh $(WINDOWS_DEPS_DIR)

windows: deps-windows
	cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=src/platform/windows/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DWARNINGS_AS_ERRORS=$(WERROR) \
	  -DWINDOWS_DEPS_PREFIX=$(abspath $(WINDOWS_DEPS_DIR)/prefix) -DWINDOWS_OUTPUT_DIR=$(abspath $(WINDOWS_DIR)) >/dev/null
	nice -n 10 cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	@echo "Built $(WINDOWS_DIR)/glasswind-win64.zip: $$(stat -c %s $(WINDOWS_DIR)/glasswind-win64.zip) bytes"

# Installing and releasing. `make install` lays the demo out in Debian's folders for
# games under PREFIX (DESTDIR honoured); `make deb` builds build/package/glasswind_*.deb
# from this build tree; `make dist` gathers the package, the Windows zip and the
# browser page's zip into build/dist/, each named with the version, with SHA256SUMS.
PREFIX := /usr/local
DESTDIR :=
INSTALLED := glasswind glasswind-render installed_files
.PHONY: install deb dist deps-package
deps-package:
	./scripts/install-deps.sh package

install: deps-run
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target $(INSTALLED)
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)" --strip

deb: deps-package
	$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target deb

dist: deps-package
	$(MAKE) web windows
	$(CONFIGURE) -DRELEASE_WEB_DIR=$(abspath $(WEB_DIR)) -DRELEASE_WINDOWS_ZIP=$(abspath $(WINDOWS_DIR))/glasswind-win64.zip
	cmake --build $(BUILD_DIR) -j $(JOBS) --target dist

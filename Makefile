# The two commands of the README: `make run` and `make test`.
BUILD_DIR := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test deps-run deps-test build

run: deps-run build
	./$(BUILD_DIR)/glasswind

test: deps-test build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

deps-run:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Regenerates the card images and the music in data/ from their generators; the
# output is the same byte for byte on every run.
.PHONY: content
content: deps-test
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target content_cards content_music
	./$(BUILD_DIR)/tools/content/content_cards data
	./$(BUILD_DIR)/tools/content/content_music data/glasswind.mp3 $(BUILD_DIR)/glasswind.wav

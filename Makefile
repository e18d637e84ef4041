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

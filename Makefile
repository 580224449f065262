# plavik: `make run` installs what is missing, builds and starts the program;
# `make test` installs what is missing, builds and runs every test;
# `make format` formats the C++ sources by .clang-format.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all setup configure build run test bench format clean

all: build

setup:
	@bash tools/setup.sh

configure: setup
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/plavik

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*; do [ -x "$$b" ] && "$$b"; done

format: setup
	@bash tools/format.sh

clean:
	rm -rf $(BUILD_DIR)

# plavik: `make run` installs what is missing, builds and starts the program;
# `make test` installs what is missing, builds and runs every test;
# `make format` formats the C++ sources by .clang-format, `make format-check`
# fails when one of them is not;
# `make install` builds and installs the program below PREFIX (/usr/local);
# `make package` builds the Debian package, build/plavik_*.deb;
# `make test-sanitize` runs them again under AddressSanitizer and
# UndefinedBehaviorSanitizer, built in a folder of its own.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: all setup configure build run test test-sanitize bench fuzz format format-check clean install package

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

# intercept_tls_get_addr=0: Debian 12's leak checker crashes while it scans
# the thread-local storage of libraries loaded at run time ("Tracer caught
# signal 11"). Without the hook it may miss pointers held only there, which
# can report a leak too many, never hide one.
test-sanitize: setup
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAVIK_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:intercept_tls_get_addr=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD_DIR) --target package

# Every benchmark program (the tools beside them, such as merge_job_files,
# want arguments and are left out).
bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b" || exit 1; fi; done

# make fuzz MINUTES=10: every fuzz target of the sanitizer build side by side.
MINUTES ?= 10
fuzz: setup
	@bash tools/fuzz.sh $(MINUTES)

format: setup
	@bash tools/format.sh

format-check: setup
	@bash tools/format.sh --check

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)

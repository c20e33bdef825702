# Two commands do everything: `make run` and `make test`.
# Each first installs what is missing (as root), then builds into
# build/$(PRESET)/ (a CMake preset, dev by default; see CMakePresets.json).

PRESET ?= dev
BUILD  := build/$(PRESET)
JOBS   ?= $(shell nproc 2>/dev/null || echo 2)
# What scripts/deps.sh installs; each target below asks for its own.
DEPS   ?= run

.PHONY: all deps configure build run test test-asan windows test-windows fuzz bench package clean

all: build

deps:
	@bash scripts/deps.sh $(DEPS)

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/brindelor ]; then ./$(BUILD)/bin/brindelor; \
	 else ./$(BUILD)/bin/brindelor-calc --help; fi

test: DEPS = test
test: build
	@ctest --preset $(PRESET) -j $(JOBS)
	@$(MAKE) --no-print-directory test-asan
	@$(MAKE) --no-print-directory test-windows

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer; the
# test preset shortens the random tests.
test-asan: DEPS = test
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# The Windows programs, cross-built with MinGW-w64 into build-windows/:
# brindelor.exe, brindelor-calc.exe and the installer.
windows: DEPS = windows
windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

# Their tests under Wine, in a Wine prefix of their own (on Xvfb for the window).
test-windows: windows
	@bash scripts/wine-run.sh ctest --preset windows -j $(JOBS)

# libFuzzer targets with clang; FUZZ_SECONDS per target.
fuzz: DEPS = fuzz
fuzz: deps
	@JOBS=$(JOBS) bash scripts/fuzz.sh

bench: DEPS = bench
bench: build
	@bash scripts/bench.sh $(BUILD)

package: DEPS = package
package: build
	@cmake --build --preset $(PRESET) --target package

clean:
	@rm -rf build build-windows

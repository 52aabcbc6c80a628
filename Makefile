# The two front-door commands: `make run` and `make test`. See README.md and CONTRIBUTING.md.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
TSAN_DIR ?= build-tsan
WINDOWS_DIR ?= build-windows
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run package test test-unit test-asan test-tsan test-fuzz test-windows bench install\
  clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run-sample $(BUILD_DIR)

# The Debian package (CPack) in $(BUILD_DIR)/package, from the same build.
package: build
	@cmake --build $(BUILD_DIR) --target package >/dev/null
	@ls $(BUILD_DIR)/package/*.deb

# The package is built first so that its test checks this build's package.
test-unit: package
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOBRENTA_SANITIZE=ON \
	  -DOBRENTA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j $(JOBS)

# The reader's tests under ThreadSanitizer, since the reader runs on every core; only what they
# need is built.
test-tsan: deps
	@cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOBRENTA_BUILD_UI=OFF \
	  -DOBRENTA_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS=-fsanitize=thread \
	  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread >/dev/null
	@cmake --build $(TSAN_DIR) -j $(JOBS) --target scorelog_tests
	@cd $(TSAN_DIR) && TZ=Asia/Tokyo TSAN_OPTIONS=halt_on_error=1 tests/scorelog/scorelog_tests --gtest_brief=1

# Each libFuzzer target for FUZZ_SECONDS on a copy of its corpus; skipped when clang is missing.
FUZZ_SECONDS ?= 20
test-fuzz: deps
	@JOBS=$(JOBS) bash fuzz/run-fuzz $(FUZZ_DIR) $(FUZZ_SECONDS)

# The toolkit-free core, the report and their tests cross-built for Windows (MinGW-w64) and run
# under Wine, in a Wine prefix of the build's own; see CONTRIBUTING.md, "Building on Windows".
# -O1: a third quicker to build than -O2 (the Linux builds test the optimised code), and free of
# GCC 12's false -Wrestrict warnings about strings at -O3.
test-windows: deps
	@cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DOBRENTA_BUILD_UI=OFF \
	  -DOBRENTA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(WINDOWS_DIR) -j $(JOBS)
	@[ -d $(WINDOWS_DIR)/wine-prefix ] || bash cmake/wine-run.sh $(abspath $(WINDOWS_DIR))/wine-prefix \
	  wineboot -i >/dev/null 2>&1
	@cd $(WINDOWS_DIR) && ctest --output-on-failure -j $(JOBS)

test: test-unit test-asan test-tsan test-fuzz test-windows

bench: build
	@bash bench/run $(BUILD_DIR)

install: build
	@cmake --install $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(TSAN_DIR) $(FUZZ_DIR) $(WINDOWS_DIR)

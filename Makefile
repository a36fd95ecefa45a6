# Two set-up commands: `make run` and `make test`. Both install what is
# missing first (Debian packages, as root).

WIN32_DIR := build/win32
HOST_DIR  := build/host

.PHONY: all deps build wine-build run test clean screenshots dist fuzz bench

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --no-warn-unused-cli -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DDORVANE_TESTS=OFF >/dev/null
	@cmake --build $(WIN32_DIR) -j 2
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST_DIR) -j 2

# What the Wine levels run: the test programs (build/win32-tests), and, on a
# machine that runs no 32-bit code, the program and the tests built for
# x86_64 (build/win64, build/win64-tests).
wine-build: build
	@scripts/build-wine.sh

run: wine-build
	@scripts/run.sh

test: wine-build
	@scripts/test-all.sh

screenshots: wine-build
	@scripts/screenshots.sh

# --- What is handed out: build/dist/dorvane-4.0-setup.exe (NSIS) and
# build/dist/dorvane-4.0.zip, both from the 32-bit build.
dist: build
	@scripts/make-dist.sh
# --- end of dist

# The fuzz targets (build/fuzz: clang++, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), each for 10^6 executions or FUZZ_SECONDS
# (60) seconds; `make test` runs a few seconds of each.
fuzz: deps
	@scripts/fuzz.sh

# The benchmark under Wine: each figure beside its anchor's, measured in the
# same run (tests/bench/run-bench.sh). Not part of make test.
bench: wine-build
	@tests/bench/run-bench.sh

clean:
	rm -rf build

# Two set-up commands: `make run` and `make test`. Both install what is
# missing first (Debian packages, as root).

WIN32_DIR := build/win32
HOST_DIR  := build/host

.PHONY: all deps build wine-build run test clean screenshots bench

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --no-warn-unused-cli -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32_DIR) -j 2
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST_DIR) -j 2

# What the Wine levels run: the 32-bit build itself, or, on a machine that
# runs no 32-bit code, the same sources built for x86_64 in build/win64.
wine-build: build
	@scripts/build-wine.sh

run: wine-build
	@scripts/run.sh

test: wine-build
	@scripts/test-all.sh

screenshots: wine-build
	@scripts/screenshots.sh

# The benchmark under Wine: each figure beside its anchor's, measured in the
# same run (tests/bench/run-bench.sh). Not part of make test.
bench: wine-build
	@tests/bench/run-bench.sh

clean:
	rm -rf build

# Two set-up commands: `make run` and `make test`. Both install what is
# missing first (Debian packages, as root).

WIN32_DIR := build/win32
HOST_DIR  := build/host

.PHONY: all deps build run test clean screenshots

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@cmake --no-warn-unused-cli -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32_DIR) -j 2
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST_DIR) -j 2

run: build
	@scripts/run.sh

test: build
	@scripts/test-all.sh

screenshots: build
	@scripts/screenshots.sh

clean:
	rm -rf build

# Two set-up commands: `make run` and `make test`. Both install what is
# missing first (Debian packages, as root).

WIN32_DIR := build/win32
HOST_DIR  := build/host
# The recursive makes of the builds say nothing of the folders they enter.
MAKEFLAGS += --no-print-directory
# As many build jobs as the machine has processors.
export DORVANE_JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build host-build wine-build run test clean screenshots dist fuzz bench

all: build

# Each target installs only what it uses (scripts/install-deps.sh names the
# groups): `make build` needs no Wine, no NSIS and no clang.
deps:
	@scripts/install-deps.sh build host wine dist fuzz

build:
	@scripts/install-deps.sh build
	@cmake --no-warn-unused-cli -S . -B $(WIN32_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DDORVANE_TESTS=OFF >/dev/null
	@cmake --build $(WIN32_DIR) -j $(DORVANE_JOBS)

# The host build: the unit tests against the fakes, and the setup's command
# table that makensis includes.
host-build: build
	@scripts/install-deps.sh host
	@cmake -S . -B $(HOST_DIR) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(HOST_DIR) -j $(DORVANE_JOBS)

# What the Wine levels run: the test programs (build/win32-tests), and, on a
# machine that runs no 32-bit code, the program and the tests built for
# x86_64 (build/win64, build/win64-tests).
wine-build: build
	@scripts/install-deps.sh wine
	@scripts/build-wine.sh

run: wine-build
	@scripts/run.sh

# One install for everything the tests use, before anything is built.
test:
	@scripts/install-deps.sh build host wine dist fuzz
	@$(MAKE) wine-build host-build
	@scripts/test-all.sh

screenshots: wine-build
	@scripts/screenshots.sh

# --- What is handed out: build/dist/dorvane-4.0-setup.exe (NSIS),
# build/dist/dorvane-4.0.zip, build/dist/dorvane-4.0.msi (wixl) and the
# policy templates in build/dist/policy, all from the 32-bit build.
dist: host-build
	@scripts/install-deps.sh dist
	@scripts/make-dist.sh
# --- end of dist

# The fuzz targets (build/fuzz: clang++, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), each for 10^6 executions or FUZZ_SECONDS
# (60) seconds; `make test` runs a few seconds of each.
fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

# The benchmark under Wine: each figure beside its anchor's, measured in the
# same run (tests/bench/run-bench.sh). Not part of make test.
bench: wine-build
	@tests/bench/run-bench.sh

clean:
	rm -rf build

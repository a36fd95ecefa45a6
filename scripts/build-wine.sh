#!/usr/bin/env bash
# Builds what the Wine levels run besides build/win32/dorvane.exe: the test
# programs, with the -posix compilers that GoogleTest needs, and, on a
# machine that runs no 32-bit code, the program itself for x86_64, built as
# the shipped one is (scripts/wine-env.sh decides which).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

configure() {  # DIR TOOLCHAIN OPTIONS...
  local dir=$1 toolchain=$2; shift 2
  cmake --no-warn-unused-cli -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain" \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j "${DORVANE_JOBS:-$(nproc)}"
}

if [ "$WINE_BITS" = 64 ]; then
  echo "Wine levels: $WINE_BITS_NOTE; building the 64-bit program in $WINE_PROGRAM."
  configure "$WINE_PROGRAM" mingw-x86_64.cmake -DDORVANE_TESTS=OFF
  configure "$WINE_BUILD" mingw-x86_64-posix.cmake -DDORVANE_PROGRAM=OFF
else
  configure "$WINE_BUILD" mingw-i686-posix.cmake -DDORVANE_PROGRAM=OFF
fi

#!/usr/bin/env bash
# Builds what the Wine levels run when it is not the shipped 32-bit build:
# on a machine that runs no 32-bit code, the same sources for x86_64 in
# build/win64 (scripts/wine-env.sh decides). Elsewhere there is nothing to do.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

[ "$WINE_BITS" = 64 ] || exit 0
echo "This machine runs no 32-bit code: building the Wine tests' 64-bit build in $WINE_BUILD."
cmake --no-warn-unused-cli -S . -B "$WINE_BUILD" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WINE_BUILD" -j 2

#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages.
# Quiet and quick when everything is already there.
set -euo pipefail

# The x86_64 compilers make a second, 64-bit build of the same sources for
# the Wine tests on machines that cannot run 32-bit code (see docs/wine.md).
packages=(cmake make g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64
          wine wine64 xvfb xdotool imagemagick x11-utils python3
          nsis zip)  # the setup and the zip (make dist)
# The fuzz targets (scripts/fuzz.sh): clang++ and its libFuzzer and
# sanitizer runtimes.
packages+=(clang libclang-rt-14-dev)

# Whether this machine runs 32-bit code at all, asked before any i386
# package: a few-byte static i386 program made with binutils.
runs_32bit() {
  local d rc
  d=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1,%%eax\n xorl %%ebx,%%ebx\n int $0x80\n' >"$d/t.s"
  as --32 -o "$d/t.o" "$d/t.s" 2>/dev/null && ld -m elf_i386 -o "$d/t" "$d/t.o" 2>/dev/null && "$d/t" 2>/dev/null
  rc=$?
  rm -rf "$d"
  return $rc
}

missing=()
need_i386=0
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if runs_32bit; then
  dpkg --print-foreign-architectures | grep -qx i386 || need_i386=1
  # wine32 is an i386 package; dpkg -s finds it only under its arch-qualified name.
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
fi

if [ "$need_i386" = 0 ] && [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "Missing packages (${missing[*]}); run 'make' as root to install them." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
[ "$need_i386" = 1 ] && dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null

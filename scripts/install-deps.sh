#!/usr/bin/env bash
# Installs from Debian's packages what the named parts of the work need:
#   scripts/install-deps.sh GROUP...
#     build  the program and its help (make build)
#     host   the host build: the unit tests and the setup's command table
#     wine   the Wine levels (make run, make test, make screenshots, make bench)
#     dist   the setup and the zip (make dist)
#     fuzz   the fuzz targets (make fuzz)
# Quiet and quick when everything is already there.
#
# The Wine levels take one of two ways (scripts/wine-env.sh): the shipped
# 32-bit program under 32-bit Wine, where the machine runs 32-bit code and
# wine32 can be had, and otherwise the same sources built for x86_64 under
# 64-bit Wine. The 64-bit way is a fallback, never a failure: its reason goes
# to $DORVANE_WINE_WAY (build/wine-way.txt), and the tests' summary names it.
# The set-up stops only when a package that the chosen way needs cannot be
# installed, and says which and why.
set -uo pipefail

way_file=${DORVANE_WINE_WAY:-build/wine-way.txt}

declare -A group_packages=(
  [build]="cmake make g++-mingw-w64-i686 python3 fp-utils"
  [host]="cmake make g++ googletest"
  [wine]="wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest xvfb xdotool x11-utils imagemagick python3"
  [dist]="nsis zip imagemagick wixl msitools"
  [fuzz]="clang libclang-rt-14-dev cmake"
)

groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=(build host wine dist fuzz)

packages=()
wants_wine=0
for g in "${groups[@]}"; do
  if [ -z "${group_packages[$g]+x}" ]; then
    echo "install-deps: unknown group '$g' (build, host, wine, dist, fuzz)" >&2
    exit 2
  fi
  # shellcheck disable=SC2206
  packages+=(${group_packages[$g]})
  [ "$g" = wine ] && wants_wine=1
done

# Whether this machine runs 32-bit Linux code at all, asked with what is
# already there (binutils) and before any i386 package: a few-byte static
# i386 program that exits 0. A kernel without IA-32 emulation refuses it
# with "Exec format error".
runs_32bit() {
  local d ok=1
  d=$(mktemp -d) || return 1
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$d/t.s"
  if as --32 -o "$d/t.o" "$d/t.s" >/dev/null 2>&1 &&
     ld -m elf_i386 -o "$d/t" "$d/t.o" >/dev/null 2>&1 &&
     "$d/t" >/dev/null 2>&1; then
    ok=0
  fi
  rm -rf "$d"
  return $ok
}

installed() { dpkg -s "$1" >/dev/null 2>&1; }

# apt's own reason for refusing PACKAGE: its "E:" lines, and the lines that
# name the package's unmet dependencies.
apt_reason() {  # OUTPUT
  local reason
  reason=$(printf '%s\n' "$1" | grep -E '^E: |Depends:|but it is not|is not installable' \
    | sed 's/^ *//' | tr '\n' ' ' | sed 's/ *$//')
  [ -n "$reason" ] || reason=$(printf '%s\n' "$1" | tail -1)
  printf '%s' "$reason"
}

# Whether the 32-bit way is wanted here: a machine that runs 32-bit code,
# unless DORVANE_WINE_BITS=64 asks for the 64-bit way, and unless an earlier
# set-up found that wine32 cannot be installed (remove the file to try again).
want_wine32=0
if [ "$wants_wine" = 1 ] && [ "${DORVANE_WINE_BITS:-}" != 64 ]; then
  if ! runs_32bit; then
    mkdir -p "$(dirname "$way_file")"
    echo "this machine runs no 32-bit code" >"$way_file"
  elif installed wine32:i386; then
    rm -f "$way_file"
  elif [ -f "$way_file" ] && grep -q '^wine32 could not be installed' "$way_file"; then
    echo "install-deps: $(cat "$way_file") (earlier); taking the 64-bit way." \
         "Remove $way_file to try again."
  else
    want_wine32=1
  fi
fi

missing=()
for p in "${packages[@]}"; do
  case " ${missing[*]} " in *" $p "*) continue ;; esac
  installed "$p" || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && [ "$want_wine32" = 0 ] && exit 0

if [ "$(id -u)" != 0 ]; then
  [ "$want_wine32" = 1 ] && missing+=(wine32:i386)
  echo "Missing packages (${missing[*]}); run 'make' as root to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
added_i386=0
if [ "$want_wine32" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 && added_i386=1
fi

# A package index that fails its check (a mirror in the middle of a sync)
# is not a failed set-up: try once more, then let the install decide with
# whatever indexes there are.
if ! apt-get update -qq; then
  echo "install-deps: some package indexes failed to download; trying once more."
  apt-get update -qq || echo "install-deps: some package indexes are still failing; going on with those there are."
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! out=$(apt-get install -y -qq "${missing[@]}" 2>&1); then
    # Find which of them apt refuses, and why, one at a time.
    failed=0
    for p in "${missing[@]}"; do
      installed "$p" && continue
      if ! one=$(apt-get install -y -qq "$p" 2>&1); then
        echo "install-deps: cannot install $p: $(apt_reason "$one")" >&2
        failed=1
      fi
    done
    if [ "$failed" = 1 ]; then
      [ "$added_i386" = 1 ] && dpkg --remove-architecture i386 2>/dev/null
      exit 1
    fi
  fi
fi

# wine32 is the 32-bit way's alone: when apt refuses it (versions out of
# step between the architectures, a broken i386 index...), the Wine levels
# take the 64-bit way, and the summary says why.
if [ "$want_wine32" = 1 ]; then
  echo "Installing: wine32:i386"
  if out=$(apt-get install -y -qq wine32:i386 2>&1); then
    rm -f "$way_file"
  else
    reason=$(apt_reason "$out")
    mkdir -p "$(dirname "$way_file")"
    echo "wine32 could not be installed: $reason" >"$way_file"
    echo "install-deps: wine32 could not be installed ($reason); taking the 64-bit way."
    # Nothing of i386 came in: take the architecture out again, so that a
    # broken i386 index cannot fail later updates.
    [ "$added_i386" = 1 ] && dpkg --remove-architecture i386 2>/dev/null
  fi
fi
exit 0

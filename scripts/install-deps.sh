#!/usr/bin/env bash
# Installs from Debian's packages what the named parts of the work need:
#   scripts/install-deps.sh GROUP...
#     build  the program and its help (make build)
#     host   the host build: the unit tests and the setup's command table
#     wine   the Wine levels (make run, make test, make screenshots, make bench)
#     dist   the setup, the zip and the Windows Installer package (make dist)
#     fuzz   the fuzz targets (make fuzz)
# Quiet and quick when everything is already there; otherwise it says how
# many packages it installs and how much it downloads, how apt gets on,
# and how long it took.
#
# The Wine levels take one of two ways (scripts/wine-env.sh): the shipped
# 32-bit program under 32-bit Wine, where the machine runs 32-bit code and
# wine32 can be had, and otherwise the same sources built for x86_64 under
# 64-bit Wine. The 64-bit way is a fallback, never a failure: its reason goes
# to $DORVANE_WINE_WAY (build/wine-way.txt), and the tests' summary names it.
# The way is chosen after the first install, which brings binutils for the
# 32-bit test, so that a first run chooses as every later one does. The
# set-up stops only when a package that the chosen way needs cannot be
# installed, and says which and why.
set -uo pipefail

# The run's scratch folder (the 32-bit test program, apt's output while it
# works) goes however the script ends: an interrupt while apt downloads for
# minutes must not leave it in /tmp. The traps come before anything is made.
scratch=
trap '[ -z "$scratch" ] || rm -rf "$scratch"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
scratch=$(mktemp -d) || exit 1

way_file=${DORVANE_WINE_WAY:-build/wine-way.txt}

declare -A group_packages=(
  [build]="cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 python3 fp-utils"
  [host]="cmake make g++ googletest binutils-mingw-w64-i686"
  [wine]="wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest xvfb xdotool x11-utils imagemagick python3 locales"
  [dist]="nsis zip imagemagick wixl msitools"
  [fuzz]="clang libclang-rt-14-dev cmake binutils-mingw-w64-i686"
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

# Whether this machine runs 32-bit Linux code: a few-byte static i386
# program, made with binutils, that exits 0. A kernel without IA-32
# emulation refuses it with "Exec format error". 0: it runs; 1: it does
# not; 2: the test program could not be made (no assembler or linker), so
# nothing was learnt.
runs_32bit() {
  local t=$scratch/t32 ok=1
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$t.s"
  if ! as --32 -o "$t.o" "$t.s" >/dev/null 2>&1 ||
     ! ld -m elf_i386 -o "$t" "$t.o" >/dev/null 2>&1; then
    ok=2
  elif "$t" >/dev/null 2>&1; then
    ok=0
  fi
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

# apt_install PACKAGE...: installs them and says what it does: first how
# many packages that takes with what they need and how much to download,
# then while apt works a line at least every $PROGRESS_EVERY seconds
# (apt's own progress), and at the end how long it took. A first install
# downloads hundreds of megabytes: minutes that would otherwise pass in
# silence. apt's own words go to $apt_out, for the reason of a refusal.
PROGRESS_EVERY=${DORVANE_PROGRESS_EVERY:-10}  # seconds; shortened only by the set-up's tests
apt_install() {
  local plan count size out=$scratch/apt-out status_file=$scratch/apt-status pid started last
  plan=$(LC_ALL=C apt-get install --assume-no "$@" 2>&1)
  count=$(printf '%s\n' "$plan" | sed -nE 's/.* ([0-9]+) newly installed.*/\1/p' | tail -1)
  # "Need to get 780 MB of archives." or, with some already downloaded,
  # "Need to get 12.3 MB/780 MB of archives."
  size=$(printf '%s\n' "$plan" | sed -nE 's/^Need to get ([^/]+)(\/.*)? of archives\..*/\1/p' | tail -1)
  if [ -n "$count" ]; then
    echo "Installing: $* ($count packages with what they need, ${size:-0 B} to download)"
  else
    echo "Installing: $*"
  fi
  started=$SECONDS
  last=$SECONDS
  LC_ALL=C apt-get install -y -qq -o APT::Status-Fd=3 "$@" >"$out" 2>&1 3>"$status_file" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if [ $((SECONDS - last)) -ge "$PROGRESS_EVERY" ]; then
      echo "  $(progress "$status_file"), $(elapsed $((SECONDS - started))) so far"
      last=$SECONDS
    fi
    sleep 0.2
  done
  wait "$pid"
  local status=$?
  apt_out=$(cat "$out")
  [ "$status" = 0 ] && echo "  done in $(elapsed $((SECONDS - started)))"
  return "$status"
}

# apt's last status line in words: "dlstatus:3:35.2:Retrieving file 3 of
# 419" while it downloads, "pmstatus:wine:60:Unpacking wine (amd64)"
# while it installs.
progress() {  # STATUS-FILE
  local line kind percent what
  line=$(grep -E '^(dl|pm)status:' "$1" 2>/dev/null | tail -1)
  # Nothing yet: apt is fetching its first package.
  [ -n "$line" ] || { echo "downloading"; return; }
  IFS=: read -r kind _ percent what <<<"$line"
  percent=${percent%%.*}
  if [ "$kind" = dlstatus ]; then
    echo "downloading, $percent% ($what)"
  else
    echo "installing, $percent% ($what)"
  fi
}

elapsed() {  # SECONDS: "2 min 31 s"
  if [ "$1" -ge 60 ]; then echo "$(($1 / 60)) min $(($1 % 60)) s"; else echo "$1 s"; fi
}

# A package index that fails its check (a mirror in the middle of a sync)
# is not a failed set-up: try once more, then let the install decide with
# whatever indexes there are.
update_indexes() {
  echo "Reading the package indexes (apt-get update)..."
  if ! apt-get update -qq; then
    echo "install-deps: some package indexes failed to download; trying once more."
    apt-get update -qq || echo "install-deps: some package indexes are still failing; going on with those there are."
  fi
}

# Whether the 32-bit test needs binutils installed first: the test is only
# worth its answer once it can be made. Without them (a minimal root has
# neither `as` nor `ld`) a first run would take the 64-bit way for a false
# reason, and a later run, with binutils brought in by the compilers,
# would switch ways.
wants_32bit_test=0
if [ "$wants_wine" = 1 ] && [ "${DORVANE_WINE_BITS:-}" != 64 ]; then
  wants_32bit_test=1
  packages+=(binutils)
fi

missing=()
for p in "${packages[@]}"; do
  case " ${missing[*]} " in *" $p "*) continue ;; esac
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ] && [ "$(id -u)" != 0 ]; then
  echo "Missing packages (${missing[*]}); run 'make' as root to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
updated=0
if [ ${#missing[@]} -gt 0 ]; then
  update_indexes
  updated=1
  if ! apt_install "${missing[@]}"; then
    # Find which of them apt refuses, and why, one at a time.
    failed=0
    for p in "${missing[@]}"; do
      installed "$p" && continue
      if ! one=$(apt-get install -y -qq "$p" 2>&1); then
        echo "install-deps: cannot install $p: $(apt_reason "$one")" >&2
        failed=1
      fi
    done
    [ "$failed" = 1 ] && exit 1
  fi
fi

# Whether the 32-bit way is wanted here, asked now that the test can be
# made: a machine that runs 32-bit code, unless DORVANE_WINE_BITS=64 asks
# for the 64-bit way, and unless an earlier set-up found that wine32 cannot
# be installed (remove the file to try again).
want_wine32=0
if [ "$wants_32bit_test" = 1 ]; then
  runs_32bit
  case $? in
    0)
      if installed wine32:i386; then
        rm -f "$way_file"
      elif [ -f "$way_file" ] && grep -q '^wine32 could not be installed' "$way_file"; then
        echo "install-deps: $(cat "$way_file") (earlier); taking the 64-bit way." \
             "Remove $way_file to try again."
      else
        want_wine32=1
      fi ;;
    1)
      mkdir -p "$(dirname "$way_file")"
      echo "this machine runs no 32-bit code" >"$way_file" ;;
    *)
      echo "install-deps: binutils' as and ld cannot make the 32-bit test program;" \
           "taking the 64-bit way this time." >&2 ;;
  esac
fi

[ "$want_wine32" = 1 ] || exit 0

if [ "$(id -u)" != 0 ]; then
  echo "Missing packages (wine32:i386); run 'make' as root to install them." >&2
  exit 1
fi

added_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386 && added_i386=1
fi
# The i386 indexes come in only now, with the architecture.
if [ "$updated" = 0 ] || [ "$added_i386" = 1 ]; then update_indexes; fi

# wine32 is the 32-bit way's alone: when apt refuses it (versions out of
# step between the architectures, a broken i386 index...), the Wine levels
# take the 64-bit way, and the summary says why.
if apt_install wine32:i386; then
  rm -f "$way_file"
else
  reason=$(apt_reason "$apt_out")
  mkdir -p "$(dirname "$way_file")"
  echo "wine32 could not be installed: $reason" >"$way_file"
  echo "install-deps: wine32 could not be installed ($reason); taking the 64-bit way."
  # Nothing of i386 came in: take the architecture out again, so that a
  # broken i386 index cannot fail later updates.
  [ "$added_i386" = 1 ] && dpkg --remove-architecture i386 2>/dev/null
fi
exit 0

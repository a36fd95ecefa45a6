# Shared by the scripts that run Windows programs under Wine: a virtual X
# server and a throwaway prefix of the project's own, never ~/.wine.
# Source it, then call the functions.

# Which builds the Wine levels use. The shipped program is 32-bit and runs
# in a 32-bit prefix; but some machines (CI's among them) run no 32-bit
# Linux code at all, so Debian's 32-bit loader cannot start there ("Exec
# format error"), and on others wine32 cannot be installed some days. On
# those the same sources are built a second time for x86_64 and run in a
# 64-bit prefix with the 64-bit loader.
# WINE_LOADER is the loader that starts the way's programs; WINE_PROGRAM
# holds dorvane.exe and its help files, built as it ships (win32 thread model);
# WINE_BUILD holds the test programs (-posix compilers, for GoogleTest).
# /usr/bin/wine picks the 32-bit loader whenever it is installed, so the
# 64-bit one is called directly, and WINELOADER tells Wine's own programs
# (wineboot, explorer, start) which loader to start their children with.
# DORVANE_WINE_BITS=64 takes the 64-bit way on any machine, to see here
# what CI sees.
WINE32_LOADER=${DORVANE_WINE32_LOADER:-/usr/lib/wine/wine}  # overridden only by the set-up's tests
WINE64_LOADER=/usr/lib/wine/wine64
if [ "${DORVANE_WINE_BITS:-}" != 64 ] && "$WINE32_LOADER" --version >/dev/null 2>&1; then
  WINE_BITS=32
  WINE_LOADER=$WINE32_LOADER
  WINE_PROGRAM=build/win32
  WINE_BUILD=build/win32-tests
  export WINEARCH=win32
  WINE_BITS_NOTE="32-bit build"
else
  WINE_BITS=64
  WINE_LOADER=$WINE64_LOADER
  WINE_PROGRAM=build/win64
  WINE_BUILD=build/win64-tests
  export WINEARCH=win64
  export WINELOADER=$WINE64_LOADER
  # Why: asked for, or the set-up's finding (scripts/install-deps.sh).
  if [ "${DORVANE_WINE_BITS:-}" = 64 ]; then
    WINE_BITS_WHY="DORVANE_WINE_BITS=64"
  elif [ -s "${DORVANE_WINE_WAY:-build/wine-way.txt}" ]; then
    WINE_BITS_WHY=$(head -1 "${DORVANE_WINE_WAY:-build/wine-way.txt}")
  else
    WINE_BITS_WHY="32-bit Wine does not run here"
  fi
  WINE_BITS_NOTE="64-bit build ($WINE_BITS_WHY)"
  wine() { "$WINE64_LOADER" "$@"; }
  wineboot() { "$WINE64_LOADER" wineboot "$@"; }
fi
export WINEDEBUG=-all
# No Mono or Gecko install prompts in a throwaway prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# start_display: uses $DISPLAY when one answers, else starts Xvfb on a free
# display and stops it when the calling script exits, after the EXIT trap
# that the caller set before (a trap set later replaces this one: call
# stop_display from it). Returns non-zero, saying why, when Xvfb does not
# start. Runs share the machine: a display is free when it has neither a
# lock file nor a socket, and one that another run takes between that look
# and Xvfb's start (Xvfb then ends at once) is passed over.
XVFB_WAIT=${DORVANE_XVFB_WAIT:-30}  # seconds; shortened only by the scripts' tests
X_TMP=${DORVANE_X_TMP:-/tmp}        # moved only by the scripts' tests
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n errors
  errors=$(mktemp) || return 1
  for n in $(seq 90 120); do
    if display_taken "$n"; then continue; fi
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>"$errors" &
    XVFB_PID=$!
    if display_answers "$n"; then
      rm -f "$errors"
      export DISPLAY=":$n"
      eval "stop_display_on_exit $(trap -p EXIT)"
      return 0
    fi
    if ! kill -0 "$XVFB_PID" 2>/dev/null && display_taken "$n"; then continue; fi
    kill "$XVFB_PID" >/dev/null 2>&1
    XVFB_PID=
    echo "Xvfb did not start on :$n: $(cat "$errors")" >&2
    rm -f "$errors"
    return 1
  done
  rm -f "$errors"
  echo "Xvfb did not start: no free display among :90 to :120" >&2
  return 1
}

display_taken() {  # NUMBER
  [ -e "$X_TMP/.X$1-lock" ] || [ -e "$X_TMP/.X11-unix/X$1" ]
}

# display_answers NUMBER: waits until the Xvfb just started there answers;
# false as soon as it has ended, or after $XVFB_WAIT seconds.
display_answers() {
  local deadline=$((SECONDS + XVFB_WAIT))
  while kill -0 "$XVFB_PID" 2>/dev/null; do
    DISPLAY=":$1" xdpyinfo >/dev/null 2>&1 && return 0
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
  return 1
}

stop_display_on_exit() {  # the words of `trap -p EXIT`, if any
  trap "${3:+$3; }stop_display" EXIT
}

stop_display() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}

# forget_server DIR: the server of the prefix in DIR ended and its folder
# removed. Debian's Wine keeps a folder for each prefix's server,
# /tmp/wine-XXXXXX/server-DEVICE-INODE, named by the prefix folder's device
# and inode, and leaves it when the server ends.
forget_server() {
  local name folder
  [ -d "$1" ] || return 0
  name=$(stat -c '%d %i' "$1" | awk '{ printf "server-%x-%x", $1, $2 }')
  # Asked only where the folder is: asking a prefix without one makes it.
  compgen -G "/tmp/wine-*/$name" >/dev/null || return 0
  WINEPREFIX=$1 wineserver -k >/dev/null 2>&1
  WINEPREFIX=$1 wineserver -w >/dev/null 2>&1
  for folder in /tmp/wine-*/"$name"; do
    [ -d "$folder" ] || continue
    rm -rf "$folder"
    rmdir "$(dirname "$folder")" 2>/dev/null
  done
  return 0
}

# forget_prefix DIR: the prefix in DIR removed, with its server's folder: a
# prefix made afresh in the same place has another inode, so the old one's
# folder would stay for good.
forget_prefix() {
  forget_server "$1"
  rm -rf "$1"
}

# make_prefix DIR: a fresh prefix in DIR, booted and idle.
make_prefix() {
  forget_prefix "$1"
  export WINEPREFIX="$1"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
  # Debian's 32-bit Wine does not find its own fonts (MS Sans Serif,
  # Marlett for the caption buttons...) where they are installed; in the
  # prefix's Fonts folder it does, and the windows look as on Windows.
  if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
}

# map_drive LETTER TARGET: drive LETTER: becomes the folder TARGET (which
# may not exist: a drive without a medium). A running server of the prefix
# does not see the change: restart_wine_server after the last drive.
map_drive() {
  local letter="$1" target="$2"
  rm -f "$WINEPREFIX/dosdevices/$letter:"
  ln -s "$target" "$WINEPREFIX/dosdevices/$letter:"
}

# make_medium LETTER FOLDER [LABEL [TYPE]]: drive LETTER: holds FOLDER, made
# as a medium labelled LABEL; with no label FOLDER is not made, and the
# drive has no medium. TYPE (floppy, cdrom, hd) goes into the key Wine
# takes drive types from. Wine reads labels and types only when the
# prefix's server starts: restart_wine_server after the last medium.
make_medium() {
  local letter=$1 folder=$2 label=${3:-} type=${4:-}
  if [ -n "$label" ]; then
    mkdir -p "$folder"
    echo "$label" > "$folder/.windows-label"
  fi
  if [ -n "$type" ]; then
    wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$type" /f >/dev/null 2>&1
  fi
  map_drive "$letter" "$folder"
}

# set_dpi DPI: the prefix's display at DPI (96 is 100 %, 144 is 150 %).
# Wine takes the DPI from LogPixels, the user's and the current hardware
# profile's, when the prefix's server starts: the server is restarted.
set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
  restart_wine_server
}

# restart_wine_server: the prefix's server stopped, so that the next program
# starts one that reads the drives, their labels and their types afresh.
restart_wine_server() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
}

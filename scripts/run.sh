#!/usr/bin/env bash
# Starts dorvane.exe under Wine in a virtual desktop with a taskbar, in the
# project's own prefix (build/wine/prefix-run), from a bare folder C:\Dorvane.
# Drive A: holds a disk labelled DEMO: end the session (or choose Shut Down
# from the tray menu) to see the warning.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
root=$PWD

own_display=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then own_display=1; fi
start_display

export WINEPREFIX="$root/build/wine/prefix-run"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing the Wine prefix (first run only)..."
  make_prefix "$WINEPREFIX"
fi
# A label someone gave the demo disk (to try the excluded labels) stays.
label=$(cat "$root/build/wine/media-run/a/.windows-label" 2>/dev/null) || label=DEMO
make_medium a "$root/build/wine/media-run/a" "${label:-DEMO}"
restart_wine_server
mkdir -p "$WINEPREFIX/drive_c/Dorvane"
cp "$WINE_PROGRAM/dorvane.exe" "$WINEPREFIX/drive_c/Dorvane/"

if [ "$WINE_BITS" = 64 ]; then
  echo "Wine levels: $WINE_BITS_NOTE: running $WINE_PROGRAM/dorvane.exe;"
  echo "the shipped program is build/win32/dorvane.exe."
fi
echo "Starting dorvane.exe on display $DISPLAY (virtual desktop 'Dorvane', 800x600)."
if [ "$own_display" = 1 ]; then
  echo "No X display was given, so it runs on a virtual X server ($DISPLAY)."
  echo "To see it: DISPLAY=$DISPLAY import -window root shot.png   (then open shot.png)"
fi
echo "Stop it with Ctrl+C, or choose Exit from its tray icon's menu."
wine explorer /desktop=Dorvane,800x600 'C:\Dorvane\dorvane.exe'
wineserver -w

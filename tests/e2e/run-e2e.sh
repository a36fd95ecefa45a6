#!/usr/bin/env bash
# Runs the end-to-end tests: dorvane.exe copied into a bare folder of a
# throwaway Wine prefix, drive A: mapped to a folder that the tests fill
# and empty as a user inserts and removes a disk, and the driver asking the
# program's windows as Windows and a user do.
set -uo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh
root=$PWD

start_display
make_prefix "$root/build/wine/prefix-e2e"
media="$root/build/wine/media-e2e"
rm -rf "$media"; mkdir -p "$media/a"
# Wine reads the labels when its server starts: the media are made now.
echo MYDISK > "$media/a/.windows-label"
wineserver -k >/dev/null 2>&1; wineserver -w
map_drive a "$media/a"

mkdir -p "$WINEPREFIX/drive_c/Dorvane"
cp "$WINE_PROGRAM"/dorvane.exe "$WINEPREFIX/drive_c/Dorvane/"
cp "$WINE_BUILD"/menu_probe.dll "$WINEPREFIX/drive_c/"
# The help beside the program, as a user puts it there.
cp build/win32/dvn40.hlp build/win32/dvn40.cnt "$WINEPREFIX/drive_c/Dorvane/"

# Links open in a recorder of the tests' own instead of a browser or a mail
# program: registered as the "open" command of http and mailto addresses,
# it notes each address the shell hands it in C:\DorvaneTests\links.txt.
mkdir -p "$WINEPREFIX/drive_c/DorvaneTests"
cp "$WINE_BUILD"/LinkRecorder.exe "$WINEPREFIX/drive_c/DorvaneTests/"
for protocol in http mailto; do
  wine reg add "HKCR\\$protocol\\shell\\open\\command" /ve /t REG_SZ \
    /d '"C:\DorvaneTests\LinkRecorder.exe" "%1"' /f >/dev/null 2>&1
done
export DORVANE_LINK_LOG='C:\DorvaneTests\links.txt'

export DORVANE_EXE='C:\Dorvane\dorvane.exe'
export DORVANE_MEDIA="Z:$(echo "$media" | tr / '\\')"
export DORVANE_DESKTOP=dorvane-e2e
export SCREENSHOT_DIR="$root/build/screenshots"
mkdir -p "$SCREENSHOT_DIR"
export SCREENSHOT_DIR_WIN="Z:$(echo "$SCREENSHOT_DIR" | tr / '\\')"

(cd "$WINE_BUILD" && wine e2e_tests.exe "$@" 2>&1) | tr -d '\r'
status=${PIPESTATUS[0]}
wineserver -k >/dev/null 2>&1

# A whole run (no test named) also reads the block reason from Wine's trace.
if [ $# -eq 0 ]; then
  . tests/e2e/check-block-reason.sh
  wineserver -k >/dev/null 2>&1
  [ "$block_reason_status" = 0 ] || status=1
fi
exit "$status"

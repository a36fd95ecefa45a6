#!/usr/bin/env bash
# Runs the end-to-end tests: dorvane.exe copied into a bare folder of a
# throwaway Wine prefix, drive A: mapped to a folder that the tests fill
# and empty as a user inserts and removes a disk, and the driver asking the
# program's windows as Windows and a user do.
set -uo pipefail
cd "$(dirname "$0")/../.."
. scripts/wine-env.sh
root=$PWD

# DORVANE_E2E_PART: "resources" runs only the resource loops, and "others"
# every case but those, each part in a prefix and on media of its own, so
# that `make test` runs the two side by side. Unset, a run with no test
# named runs them all.
part=${DORVANE_E2E_PART:-}
RESOURCE_TESTS='ResourceTest.*:ResourceCountTest.*'
media="$root/build/wine/media-e2e${part:+-$part}"

# --- Media that refuse the log (tests/e2e/LogFaultTest.cpp), made as root:
# drive F: a small tmpfs that the test fills, drive G: a tmpfs remounted
# read-only with a log on it, and a folder under chattr +i (no new file,
# not even root's, while its log stays writable). Undone however the
# script ends, before anything else of the run is removed.
fault_media_cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  chattr -i "$media/sealed" 2>/dev/null || true
  local mounted
  for mounted in "$media/full" "$media/readonly"; do
    if mountpoint -q "$mounted" 2>/dev/null; then umount "$mounted" || umount -l "$mounted"; fi
  done
  return 0
}
fault_media_make() {
  mkdir -p "$media/full" "$media/readonly" "$media/sealed"
  if [ "$(id -u)" != 0 ]; then
    echo "not root: the full and write-protected media and the sealed folder are left out" >&2
    return 0
  fi
  mount -t tmpfs -o size=64k dorvane-full "$media/full"
  mount -t tmpfs -o size=64k dorvane-readonly "$media/readonly"
  printf 'old line\r\n' > "$media/readonly/dvn.dvl"
  mount -o remount,ro "$media/readonly"
  printf 'old line\r\n' > "$media/sealed/dvn.dvl"
  chattr +i "$media/sealed"
}
fault_media_cleanup
# --- end of the media that refuse the log

trap fault_media_cleanup EXIT
trap 'exit 130' INT TERM
start_display || exit
mkdir -p "$root/build/logs"
make_prefix "$root/build/wine/prefix-e2e${part:+-$part}"
rm -rf "$media"
fault_media_make
make_medium a "$media/a" MYDISK
# --- Removable drives: E: a floppy-type drive (as Windows reports a USB
# stick or a card reader) holding a medium labelled STICK, H: a CD drive
# holding a disc labelled DISC.
make_medium e "$media/e" STICK floppy
make_medium h "$media/h" DISC cdrom
# --- end of the removable drives
map_drive f "$media/full"
map_drive g "$media/readonly"
restart_wine_server

mkdir -p "$WINEPREFIX/drive_c/Dorvane"
cp "$WINE_PROGRAM"/dorvane.exe "$WINEPREFIX/drive_c/Dorvane/"
cp "$WINE_BUILD"/menu_probe.dll "$WINEPREFIX/drive_c/"
# The help and the language files beside the program, as a user puts them
# there: the English run shows that they change nothing in English.
cp "$WINE_PROGRAM"/dvn40.hlp "$WINE_PROGRAM"/dvn40.cnt "$WINEPREFIX/drive_c/Dorvane/"
cp -r "$WINE_PROGRAM"/lang "$WINEPREFIX/drive_c/Dorvane/"
# A second copy in a folder of its own, beside DLLs named as system DLLs
# that leave a mark when loaded (tests/e2e/PlantedDllTest.cpp).
mkdir -p "$WINEPREFIX/drive_c/Planted"
cp "$WINE_PROGRAM"/dorvane.exe "$WINE_BUILD"/planted/*.dll "$WINEPREFIX/drive_c/Planted/"

# Links open in a recorder of the tests' own instead of a browser or a mail
# program: registered as the "open" command of http and mailto addresses,
# it notes each address the shell hands it in C:\DorvaneTests\links.txt.
mkdir -p "$WINEPREFIX/drive_c/DorvaneTests"
cp "$WINE_BUILD"/LinkRecorder.exe "$WINE_BUILD"/LogHolder.exe "$WINEPREFIX/drive_c/DorvaneTests/"
cp "$WINE_BUILD"/gui_probe.dll "$WINE_BUILD"/text_probe.dll "$WINEPREFIX/drive_c/"
for protocol in http mailto; do
  wine reg add "HKCR\\$protocol\\shell\\open\\command" /ve /t REG_SZ \
    /d '"C:\DorvaneTests\LinkRecorder.exe" "%1"' /f >/dev/null 2>&1
done
export DORVANE_LINK_LOG='C:\DorvaneTests\links.txt'

# The driver's cases that the trace checks below run under Wine's traces.
BLOCK_TRACED_TESTS='EndOfSessionTest.ADiskInAGivesOneSystemModalWarningThatHoldsTheAnswer'
EVENT_TRACED_TESTS='ManagedPcTest.*'
AWAY_TRACED_TESTS='AwayReminderTest.ALock*:AwayReminderTest.Without*'
# The cases of the other languages, which check-languages.sh runs, each in
# its display language.
LANGUAGE_TESTS='LanguageLayoutTest.*:GermanTest.*:FrenchTest.*:PolishTest.*'
export DORVANE_EXE='C:\Dorvane\dorvane.exe'
export DORVANE_MEDIA="Z:$(echo "$media" | tr / '\\')"
export DORVANE_DESKTOP=dorvane-e2e
export SCREENSHOT_DIR="$root/build/screenshots"
mkdir -p "$SCREENSHOT_DIR"
export SCREENSHOT_DIR_WIN="Z:$(echo "$SCREENSHOT_DIR" | tr / '\\')"

# Wine prefers a native DLL beside the program over its own for the system
# DLLs that Windows does not keep among its known DLLs, as Windows' loader
# does (tests/e2e/PlantedDllTest.cpp); only C:\Planted holds such DLLs.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm,msimg32,comctl32,wtsapi32=n,b"

# The high-DPI cases need a display at 144 DPI: check-high-dpi.sh runs
# them. The cases that the trace checks below run under Wine's traces run
# there alone, and each check counts their results.
whole_run=0
if [ $# -eq 0 ] && [ "$part" = resources ]; then
  set -- --gtest_filter="$RESOURCE_TESTS"
elif [ $# -eq 0 ]; then
  whole_run=1
  excluded="HighDpiTest.*:$LANGUAGE_TESTS:$BLOCK_TRACED_TESTS:$EVENT_TRACED_TESTS:$AWAY_TRACED_TESTS"
  [ "$part" != others ] || excluded+=":$RESOURCE_TESTS"
  set -- --gtest_filter="-$excluded"
fi
(cd "$WINE_BUILD" && wine e2e_tests.exe "$@" 2>&1) | tr -d '\r'
status=${PIPESTATUS[0]}
wineserver -k >/dev/null 2>&1

# traced_run TRACE OUT [ARGS]: the driver with ARGS, Wine's debug output
# (WINEDEBUG as the caller sets it) into TRACE, the driver's own into OUT.
# Now and then 64-bit Wine cannot start a process at all ("failed to map
# the shared user data": its fixed page was taken before it could reserve
# it); no test ran then, and the run is made once more.
traced_run() {
  local trace=$1 out=$2 attempt
  shift 2
  for attempt in 1 2; do
    (cd "$WINE_BUILD" && wine e2e_tests.exe "$@" 2>"$trace" | tr -d '\r' >"$out")
    grep -aq 'failed to map the shared user data' "$trace" || break
    echo "Wine could not start the driver (the shared user data's page was taken); once more" >&2
  done
}

# trace_row NAME CHECKED OUT...: the check's row, "NAME: N passed, M failed",
# with the driver's cases of each OUT counted as themselves (a driver that
# did not reach its end counts one failure) and the trace's own check as
# one more: CHECKED 1 when it held, 0 when not, "-" for none. A driver
# that ran no case counts one failure where something else of the row ran;
# a row of which nothing ran at all stays "0 passed, 0 failed", which the
# summary shows as a level that ran no test. Prints the cases and their
# failures; sets trace_status.
trace_row() {
  local name=$1 checked=$2 out ran passed=0 failed=0 none_ran=0
  shift 2
  case $checked in
    1) passed=1 ;;
    0) failed=1 ;;
  esac
  for out in "$@"; do
    if [ ! -f "$out" ]; then none_ran=$((none_ran + 1)); continue; fi
    grep -E -A4 ': Failure$' "$out" | grep -v '^--$'
    grep -E '^\[ +(OK|FAILED) +\] [A-Za-z]+\.[A-Za-z]+ \(' "$out"
    ran=$(grep -cE '^\[ +(OK|FAILED) +\] [A-Za-z]+\.[A-Za-z]+ \(' "$out")
    passed=$((passed + $(grep -cE '^\[ +OK +\] ' "$out")))
    failed=$((failed + $(grep -cE '^\[  FAILED  \] [A-Za-z]+\.[A-Za-z]+ \(' "$out")))
    if [ "$ran" = 0 ]; then
      none_ran=$((none_ran + 1))
    elif ! grep -q '^\[==========\] .* ran\.' "$out"; then
      failed=$((failed + 1))
    fi
  done
  if [ "$passed" != 0 ] || [ "$failed" != 0 ]; then failed=$((failed + none_ran)); fi
  echo "$name: $passed passed, $failed failed"
  trace_status=$((failed > 0 || none_ran > 0))
}

# A whole run (no test named), or one that asks for them
# (DORVANE_HIGH_DPI=1), runs the cases at 144 DPI.
if [ "$whole_run" = 1 ] || [ "${DORVANE_HIGH_DPI:-0}" = 1 ]; then
  . tests/e2e/check-high-dpi.sh
  wineserver -k >/dev/null 2>&1
  [ "$high_dpi_status" = 0 ] || status=1
fi

# A whole run (no test named), or one that asks for them
# (DORVANE_LANGUAGES=1), runs the cases of the other languages.
if [ "$whole_run" = 1 ] || [ "${DORVANE_LANGUAGES:-0}" = 1 ]; then
  . tests/e2e/check-languages.sh
  wineserver -k >/dev/null 2>&1
  [ "$languages_status" = 0 ] || status=1
fi

# A whole run (no test named) also reads the block reason and the events
# from Wine's traces.
if [ "$whole_run" = 1 ]; then
  . tests/e2e/check-block-reason.sh
  wineserver -k >/dev/null 2>&1
  [ "$block_reason_status" = 0 ] || status=1
  . tests/e2e/check-event-log.sh
  wineserver -k >/dev/null 2>&1
  [ "$event_log_status" = 0 ] || status=1
fi
# A whole run, or one that names the reminder's tests (DORVANE_AWAY_TRACE=1),
# reads the reminder's sounds and balloons from the trace.
if [ "$whole_run" = 1 ] || [ "${DORVANE_AWAY_TRACE:-0}" = 1 ]; then
  . tests/e2e/check-away-reminder.sh
  wineserver -k >/dev/null 2>&1
  [ "$away_reminder_status" = 0 ] || status=1
fi
exit "$status"

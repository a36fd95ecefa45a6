#!/usr/bin/env bash
# Runs the three levels of tests and prints the count of each.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

root=$PWD

# --- The lanes (below) run in process groups of their own, which Ctrl+C
# does not reach: they are ended however the run ends. The traps come
# before anything is started, so that no interrupt falls between a start
# and its trap.
lane_pids=()
stop_lanes() {
  local pid
  for pid in "${lane_pids[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
}
trap 'stop_lanes; stop_display' EXIT
trap 'exit 130' INT TERM
# --- end of the traps

results=()
passed_total=0
failed_total=0
skipped_total=0

# The readers of the levels' counts: each prints "passed failed", and
# GoogleTest's and the help runner's also "skipped".
gtest_counts() {  # LOG: from a GoogleTest summary
  local p f s
  p=$(grep -oE '\[  PASSED  \] [0-9]+' "$1" | grep -oE '[0-9]+$' | tail -1)
  f=$(grep -oE '\[  FAILED  \] [0-9]+ tests?,' "$1" | grep -oE '[0-9]+' | tail -1)
  s=$(grep -oE '\[  SKIPPED \] [0-9]+ tests?,' "$1" | grep -oE '[0-9]+' | tail -1)
  echo "${p:-0} ${f:-0} ${s:-0}"
}
line_counts() {  # PREFIX LOG: from the last line "PREFIX: N passed, M failed"
  local p f
  read -r p f <<<"$(grep -E "^$1: [0-9]+ passed, [0-9]+ failed\$" "$2" | tail -1 | grep -oE '[0-9]+' | tr '\n' ' ')"
  echo "${p:-0} ${f:-0}"
}
runner_counts() {  # LOG: from the Python runner's "N passed, M failed, K skipped"
  local p f s
  read -r p f s <<<"$(grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' "$1" | tail -1 \
    | grep -oE '[0-9]+' | tr '\n' ' ')"
  echo "${p:-0} ${f:-0} ${s:-0}"
}

# count_level NAME LOG STATUS READER [ARGS]: the level's row of the summary
# into $row, its figures into $row_passed, $row_failed and $row_skipped, as
# READER ARGS LOG reads them. A level that ended non-zero with no failure counted (it
# crashed before its summary, say) counts one failure; so does a level that
# ran nothing, whose row says so: a level whose build or tools are
# missing has tested nothing, and must not leave the run green. One whose
# every case ran and failed says where to read why. Skips are only for
# what this machine cannot do (a case that needs root, say).
count_level() {
  local name=$1 log=$2 status=$3 skipped why=
  shift 3
  read -r row_passed row_failed skipped <<<"$("$@" "$log")"
  if [ "$row_passed" = 0 ] && [ "$row_failed" = 0 ]; then
    why=" (ran no test: see build/logs/$(basename "$log"))"
    row_failed=1
  elif [ "$row_passed" = 0 ]; then
    why=" (failed: see build/logs/$(basename "$log"))"
  elif [ "$status" != 0 ] && [ "$row_failed" = 0 ]; then
    row_failed=1
  fi
  row=$(printf '%-22s %4d passed, %d failed' "$name" "$row_passed" "$row_failed")
  row_skipped=${skipped:-0}
  if [ "$row_skipped" != 0 ]; then row+=", $row_skipped skipped"; fi
  row+=$why
}

record() {  # as count_level; the row goes into the summary and its totals
  count_level "$@"
  timed "$1" ${level_seconds:+"$level_seconds"}
  results+=("$row")
  passed_total=$((passed_total + row_passed)); failed_total=$((failed_total + row_failed))
  skipped_total=$((skipped_total + row_skipped))
}

# --- Time per level: each level's time is from the end of the one before
# to its own row, so that a slow level shows in the summary.
times=()
run_started=$SECONDS
level_started=$SECONDS
minutes() { printf '%d:%02d' $(($1 / 60)) $(($1 % 60)); }
timed() {  # NAME [SECONDS]: SECONDS for a level that ran beside others
  times+=("$(printf '  %-22s %s' "$1" "$(minutes "${2:-$((SECONDS - level_started))}")")")
  level_started=$SECONDS
}
# --- end of the time per level

# --- Wine's server folders (scripts/wine-env.sh, forget_server): those of
# this run's prefixes (under build/) go at the end, after their servers;
# other runs' prefixes are left alone. A prefix made afresh during the run
# took its old folder with it (forget_prefix).
remove_server_folders() {
  local prefix
  while IFS= read -r prefix; do
    forget_server "$prefix"
  done < <(find "$root/build" -maxdepth 5 -name system.reg -printf '%h\n' 2>/dev/null)
  # The display's exit trap asks the prefix named here to end its server,
  # which would make its folder again.
  unset WINEPREFIX
}
# --- end of Wine's server folders

mkdir -p build/logs
# --- Failure figures: the fault tests of every level write what they saw
# into this folder (tests/figures/Figures.h); printed after the summary.
export DORVANE_FIGURES="$root/build/logs/figures"
rm -rf "$DORVANE_FIGURES"; mkdir -p "$DORVANE_FIGURES"
# --- end of the failure figures' set-up

# --- Checks of the sources: scripts that pass or fail as a whole, one row
# each with what it found. Another check is one more call here.
source_check() {  # NAME WHEN-PASSED WHEN-FAILED SCRIPT [ARGS]
  local name=$1 passed=$2 failed=$3
  shift 3
  if "$@"; then
    timed "$name"
    results+=("$(printf '%-22s %s' "$name" "$passed")")
  else
    timed "$name"
    results+=("$(printf '%-22s %s' "$name" "FAILED: $failed")")
    failed_total=$((failed_total + 1))
  fi
}
echo "== Layering (includes between folders)"
source_check layering "no include runs back up" "an include runs back up" scripts/check-layers.sh
echo "== Callbacks (every CALLBACK of the window layer catches)"
source_check callbacks "each CALLBACK catches everything" "a CALLBACK without a catch (...)" scripts/check-callbacks.sh
# --- end of the checks of the sources

echo "== The program as Windows XP SP3 loads it (imports, header, size)"
tests/program/check-program.sh build/win32/dorvane.exe "$WINE_BUILD/win_tests.exe" 2>&1 \
  | tee build/logs/program.log
record "program checks" build/logs/program.log "${PIPESTATUS[0]}" line_counts program
results[-1]+=" ($(grep -oE '^program size: .*' build/logs/program.log | sed 's/^program size: /size /'))"

echo "== Host unit tests (native, against fakes)"
build/host/tests/host/host_tests 2>&1 | tee build/logs/host.log
record "host unit tests" build/logs/host.log "${PIPESTATUS[0]}" gtest_counts

# --- Levels in lanes beside the main one: the fuzz targets, the
# Windows-side tests, the end-to-end resource loops, the help viewers', the
# setup's and the package's tests each make a prefix and a display of their
# own, and most spend their time waiting on Wine, so two lanes run them one
# after another while the end-to-end tests run here. Their output goes to
# their logs and is shown, with their rows, once the end-to-end tests are
# done. Each level is one call of lane_level, in running order per lane;
# its reader and its command are functions, called as they stand.
fuzz_smoke() {  # a few seconds of each target; `make fuzz` runs them long
  scripts/fuzz.sh --smoke
}
fuzz_counts() { line_counts fuzz "$1"; }
windows_side_tests() {
  start_display || return 1
  local media="$root/build/wine/media-win" status
  rm -rf "$media"
  make_prefix "$root/build/wine/prefix-win"
  # M: a disk labelled WINTEST, N: a drive without a medium, R: a floppy
  # drive with a disk, S: a CD drive without a disc.
  make_medium m "$media/m" WINTEST
  make_medium n "$media/missing"
  make_medium r "$media/r" WINFLOPPY floppy
  make_medium s "$media/missing" "" cdrom
  restart_wine_server
  (cd "$WINE_BUILD" && wine win_tests.exe 2>&1) | tr -d '\r'
  status=${PIPESTATUS[0]}
  wineserver -k >/dev/null 2>&1
  return "$status"
}
resource_loops() {
  DORVANE_E2E_PART=resources tests/e2e/run-e2e.sh
}
python_level() {  # FOLDER MODULE
  PYTHONPATH=$1 python3 tests/help/run_tests.py "$2"
}
help_in_winhlp32() { python_level tests/help test_winhlp32; }
help_in_html_help() { python_level tests/help test_htmlhelp; }
setup_and_zip() { python_level tests/setup test_setup; }
package_and_templates() { python_level tests/setup test_msi; }
level_lanes=() level_names=() level_logs=() level_readers=() level_headings=() level_commands=()
lane_level() {  # LANE NAME LOG READER HEADING COMMAND
  level_lanes+=("$1"); level_names+=("$2"); level_logs+=("$3")
  level_readers+=("$4"); level_headings+=("$5"); level_commands+=("$6")
}
lane_level 1 "fuzz targets (smoke)" fuzz fuzz_counts \
  "Fuzz targets (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer; short)" fuzz_smoke
lane_level 1 "Windows-side tests" win gtest_counts \
  "Windows-side tests (MinGW, under Wine; $WINE_BITS_NOTE)" windows_side_tests
lane_level 1 "resource loops" e2e-resources gtest_counts \
  "End-to-end resource loops (dorvane.exe under Wine, beside the other cases)" resource_loops
lane_level 1 "help in winhlp32" test_winhlp32 runner_counts \
  "Help in Wine's viewer (winhlp32; $WINE_BITS_NOTE)" help_in_winhlp32
lane_level 2 "help in HTML Help" test_htmlhelp runner_counts \
  "Help through dorvane.exe in Wine's HTML Help (as Windows 10) and WinHelp (as XP; $WINE_BITS_NOTE)" \
  help_in_html_help
lane_level 2 "setup and zip" test_setup runner_counts \
  "Setup and zip (NSIS, under Wine)" setup_and_zip
lane_level 2 "package and templates" test_msi runner_counts \
  "Installer package and policy templates (wixl, msiexec under Wine)" package_and_templates
run_lane() {  # LANE: each level's log, then "STATUS SECONDS" in its .status
  local i log started
  for i in "${!level_lanes[@]}"; do
    [ "${level_lanes[i]}" = "$1" ] || continue
    log=build/logs/${level_logs[i]}
    started=$SECONDS
    # A display of the level's own, stopped when the level ends.
    (trap - EXIT; unset DISPLAY; "${level_commands[i]}") >"$log.log" 2>&1
    echo "$? $((SECONDS - started))" >"$log.status"
  done
}
for log in "${level_logs[@]}"; do rm -f "build/logs/$log.status"; done
beside=$(printf '%s, ' "${level_names[@]}")
echo "== Beside the end-to-end tests: ${beside%, } (shown when they end)"
# Each lane in a process group of its own (job control on while they
# start), so that an interrupted run ends them with all their Wine
# programs; the terminal's Ctrl+C reaches only the foreground's.
set -m
for lane in 1 2; do
  run_lane "$lane" &
  lane_pids+=($!)
done
set +m
# --- end of the levels in lanes

if [ -x tests/e2e/run-e2e.sh ]; then
  echo "== End-to-end tests (dorvane.exe under Wine)"
  DORVANE_E2E_PART=others tests/e2e/run-e2e.sh 2>&1 | tee build/logs/e2e.log
  record "end-to-end tests" build/logs/e2e.log "${PIPESTATUS[0]}" gtest_counts
  # Read from Wine's traces after the driver's own tests; a failure
  # there already fails the run above (its row counts one), so only the
  # passes are added: the traced cases, the cases at 144 DPI and those in
  # the other languages, run there alone.
  for trace in "block reason" "event log" "away reminder" "high DPI" "languages"; do
    if grep -qE "^$trace: [0-9]+ passed" build/logs/e2e.log; then
      label="$trace (trace)"
      [ "$trace" != "high DPI" ] || label="at 144 DPI"
      [ "$trace" != "languages" ] || label="in four languages"
      count_level "$label" build/logs/e2e.log 0 line_counts "$trace"
      results+=("$row")
      passed_total=$((passed_total + row_passed))
    fi
  done
fi

# --- Help file (resources/help): the built dvn40.hlp read back, then opened
# in Wine's viewer. Their runner ends with "N passed, M failed, K skipped".
help_tests() {  # NAME MODULE
  python3 tests/help/run_tests.py "$2" 2>&1 | tee "build/logs/$2.log"
  record "$1" "build/logs/$2.log" "${PIPESTATUS[0]}" runner_counts
}
echo "== Help file tests (read back by the tests' reader)"
help_tests "help file tests" test_help_file
# --- end of the help tests

# --- The set-up's own decisions (scripts/install-deps.sh): 32-bit code or
# not, wine32 or not, failing indexes, acted out by stand-in commands.
echo "== Set-up decisions (install-deps.sh with stand-in commands)"
PYTHONPATH=tests/deps help_tests "set-up decisions" test_install_deps
# --- end of the set-up decisions

# --- How the Wine levels get a display (scripts/wine-env.sh, tests/xvfb.py):
# a free one, a clear error when Xvfb does not start, the caller's EXIT
# trap kept; acted out by a stand-in Xvfb.
echo "== Display decisions (wine-env.sh with a stand-in Xvfb)"
PYTHONPATH=tests/scripts help_tests "display decisions" test_wine_env
# --- end of the display decisions

# --- The levels that ran in the lanes (above): the fuzz targets, the
# Windows-side tests and the resource loops, the help in Wine's viewers,
# the setup and the zip installed, run over a running copy and removed, the
# Windows Installer package and the policy templates read back and run by
# msiexec. Each row's time is the level's own.
for pid in "${lane_pids[@]}"; do wait "$pid"; done
lane_pids=()
for i in "${!level_lanes[@]}"; do
  log=build/logs/${level_logs[i]}
  echo "== ${level_headings[i]}"
  cat "$log.log" 2>/dev/null
  read -r status level_seconds 2>/dev/null <"$log.status" ||
    { status=1; level_seconds=0; echo "(the level did not end: no $log.status)"; }
  record "${level_names[i]}" "$log.log" "$status" "${level_readers[i]}"
done
unset level_seconds
# --- end of the levels in lanes

remove_server_folders

echo
echo "== Summary"
echo "Wine levels: $WINE_BITS_NOTE"
for line in "${results[@]}"; do echo "$line"; done
echo "Time per level (minutes:seconds), $(minutes $((SECONDS - run_started))) in all:"
for line in "${times[@]}"; do echo "$line"; done

# --- Failure figures: one table of the log's faults, then the registry's
# counts and the resources before and after their loops.
figures_table() {  # HEADER (tab-separated) FILE: the rows in aligned columns
  { printf '%s\n' "$1"; cat "$2"; } | awk -F'\t' '
    { for (i = 1; i <= NF; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) }
      if (NF > columns) columns = NF }
    END { for (r = 1; r <= NR; r++) { line = ""
            for (i = 1; i <= columns; i++) line = line (i < columns ? sprintf("%-" width[i] "s  ", cell[r, i]) : cell[r, i])
            print "  " line } }'
}
if [ -n "$(ls -A "$DORVANE_FIGURES" 2>/dev/null)" ]; then
  echo
  echo "== Failure figures (from the fault tests' own observations)"
  [ -s "$DORVANE_FIGURES/figures-log.tsv" ] &&
    figures_table $'fault\tlog intact\tmessage\tanswer to the end of the session' \
      "$DORVANE_FIGURES/figures-log.tsv"
  if [ -s "$DORVANE_FIGURES/figures-registry.tsv" ]; then
    echo "The registry:"
    figures_table $'registry\tloaded' "$DORVANE_FIGURES/figures-registry.tsv"
  fi
  if [ -s "$DORVANE_FIGURES/figures-resources.tsv" ]; then
    echo "Resources of dorvane.exe, first -> last (after a warm-up of 10 runs):"
    figures_table $'loop\tGDI objects\tUSER objects\tprivate memory (kB)\tpace' \
      "$DORVANE_FIGURES/figures-resources.tsv"
  fi
fi
# --- end of the failure figures
echo "all: $passed_total passed, $failed_total failed$([ "$skipped_total" = 0 ] || echo ", $skipped_total skipped")"
[ "$failed_total" = 0 ]

#!/usr/bin/env bash
# Runs the three levels of tests and prints the count of each.
set -uo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

root=$PWD
results=()
passed_total=0
failed_total=0

# gtest_counts LOGFILE: "passed failed" from a GoogleTest summary.
gtest_counts() {
  local p f
  p=$(grep -oE '\[  PASSED  \] [0-9]+' "$1" | grep -oE '[0-9]+$' | tail -1)
  f=$(grep -oE '\[  FAILED  \] [0-9]+ tests?,' "$1" | grep -oE '[0-9]+' | tail -1)
  echo "${p:-0} ${f:-0}"
}

record() {  # NAME LOGFILE EXITCODE
  local counts p f
  counts=$(gtest_counts "$2"); p=${counts% *}; f=${counts#* }
  if [ "$3" != 0 ] && [ "$f" = 0 ]; then f=1; fi
  results+=("$(printf '%-22s %4d passed, %d failed' "$1" "$p" "$f")")
  passed_total=$((passed_total + p)); failed_total=$((failed_total + f))
}

mkdir -p build/logs
# --- Failure figures: the fault tests of every level write what they saw
# into this folder (tests/figures/Figures.h); printed after the summary.
export DORVANE_FIGURES="$root/build/logs/figures"
rm -rf "$DORVANE_FIGURES"; mkdir -p "$DORVANE_FIGURES"
# --- end of the failure figures' set-up

echo "== Layering (includes between folders)"
if scripts/check-layers.sh; then
  results+=("$(printf '%-22s %s' "layering" "no include runs back up")")
else
  results+=("$(printf '%-22s %s' "layering" "FAILED: an include runs back up")")
  failed_total=$((failed_total + 1))
fi

echo "== The program as Windows XP SP3 loads it (imports, header, size)"
tests/program/check-program.sh build/win32/dorvane.exe "$WINE_BUILD/win_tests.exe" 2>&1 \
  | tee build/logs/program.log
program_status=${PIPESTATUS[0]}
read -r p f <<<"$(grep -oE '^program: [0-9]+ passed, [0-9]+ failed' build/logs/program.log \
  | grep -oE '[0-9]+' | tr '\n' ' ')"
p=${p:-0}; f=${f:-0}
if [ "$program_status" != 0 ] && [ "$f" = 0 ]; then f=1; fi
results+=("$(printf '%-22s %4d passed, %d failed (%s)' "program checks" "$p" "$f" \
  "$(grep -oE '^program size: .*' build/logs/program.log | sed 's/^program size: /size /')")")
passed_total=$((passed_total + p)); failed_total=$((failed_total + f))

echo "== Host unit tests (native, against fakes)"
build/host/tests/host/host_tests 2>&1 | tee build/logs/host.log
record "host unit tests" build/logs/host.log "${PIPESTATUS[0]}"

# --- Fuzz targets (build/fuzz): a few seconds of each; `make fuzz` runs
# them long. Counted per target from the runner's "fuzz: N passed, M failed".
echo "== Fuzz targets (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer; short)"
scripts/fuzz.sh --smoke 2>&1 | tee build/logs/fuzz.log
fuzz_status=${PIPESTATUS[0]}
fuzz_line=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed$' build/logs/fuzz.log | tail -1)
fuzz_p=$(echo "$fuzz_line" | grep -oE '[0-9]+ passed' | grep -oE '[0-9]+')
fuzz_f=$(echo "$fuzz_line" | grep -oE '[0-9]+ failed' | grep -oE '[0-9]+')
fuzz_p=${fuzz_p:-0}; fuzz_f=${fuzz_f:-0}
if [ "$fuzz_status" != 0 ] && [ "$fuzz_f" = 0 ]; then fuzz_f=1; fi
results+=("$(printf '%-22s %4d passed, %d failed' "fuzz targets (smoke)" "$fuzz_p" "$fuzz_f")")
passed_total=$((passed_total + fuzz_p)); failed_total=$((failed_total + fuzz_f))
# --- end of the fuzz targets

echo "== Windows-side tests (MinGW, under Wine; $WINE_BITS_NOTE)"
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
  (cd "$WINE_BUILD" && wine win_tests.exe 2>&1) | tr -d '\r' | tee build/logs/win.log
  status=${PIPESTATUS[0]}
  wineserver -k >/dev/null 2>&1
  return "$status"
}
: > build/logs/win.log
windows_side_tests
record "Windows-side tests" build/logs/win.log $?

if [ -x tests/e2e/run-e2e.sh ]; then
  echo "== End-to-end tests (dorvane.exe under Wine)"
  tests/e2e/run-e2e.sh 2>&1 | tee build/logs/e2e.log
  record "end-to-end tests" build/logs/e2e.log "${PIPESTATUS[0]}"
  # Read from Wine's relay trace after the driver's own tests.
  if reason=$(grep -oE '^block reason: [0-9]+ passed, [0-9]+ failed' build/logs/e2e.log); then
    results+=("$(printf '%-22s %s' "block reason (trace)" "${reason#block reason: }")")
  fi
fi

# --- Help file (resources/help): the built dvn40.hlp read back, then opened
# in Wine's viewer. Their runner ends with "N passed, M failed, K skipped".
help_tests() {  # NAME MODULE
  python3 tests/help/run_tests.py "$2" 2>&1 | tee "build/logs/$2.log"
  local status=${PIPESTATUS[0]} line p f s
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed, [0-9]+ skipped$' "build/logs/$2.log" | tail -1)
  read -r p f s <<<"$(echo "$line" | grep -oE '[0-9]+' | tr '\n' ' ')"
  p=${p:-0}; f=${f:-0}; s=${s:-0}
  if [ "$status" != 0 ] && [ "$f" = 0 ]; then f=1; fi
  results+=("$(printf '%-22s %4d passed, %d failed, %d skipped' "$1" "$p" "$f" "$s")")
  passed_total=$((passed_total + p)); failed_total=$((failed_total + f))
}
echo "== Help file tests (read back by the tests' reader)"
help_tests "help file tests" test_help_file
echo "== Help in Wine's viewer (64-bit winhlp32)"
help_tests "help in winhlp32" test_winhlp32
echo "== Help through dorvane.exe in Wine's HTML Help (as Windows 10) and WinHelp (as XP)"
help_tests "help in HTML Help" test_htmlhelp
# --- end of the help tests

# --- The setup and the zip (make dist): installed, run over a running copy
# and removed under Wine; the same runner, with the setup's tests.
echo "== Setup and zip (NSIS, under Wine)"
PYTHONPATH=tests/setup help_tests "setup and zip" test_setup
# --- end of the setup tests

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

echo
echo "== Summary"
echo "Wine levels: $WINE_BITS_NOTE"
for line in "${results[@]}"; do echo "$line"; done

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
echo "all: $passed_total passed, $failed_total failed"
[ "$failed_total" = 0 ]

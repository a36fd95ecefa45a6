#!/usr/bin/env bash
# Builds the fuzz targets (build/fuzz: clang++, libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each from its seed corpus.
#
#   scripts/fuzz.sh          each target for FUZZ_RUNS executions (10^6) or
#                            FUZZ_SECONDS seconds (60), whichever ends first
#   scripts/fuzz.sh --smoke  a few seconds each, as `make test` runs them
#
# Inputs the fuzzer finds new go to build/fuzz/corpus/<target>, never into
# the committed seeds; a failing input is kept as build/fuzz/<target>/crash-*.
# Each target runs as one process on one core. Ends with
# "fuzz: N passed, M failed", one count per target.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

runs=${FUZZ_RUNS:-1000000}
seconds=${FUZZ_SECONDS:-60}
if [ "${1:-}" = --smoke ]; then
  runs=${FUZZ_SMOKE_RUNS:-20000}
  seconds=${FUZZ_SMOKE_SECONDS:-3}
fi
targets=(line_breaks date_time labels drive_string settings_load inflate picture shrink language_file)

# A configured build/fuzz keeps its compiler; a fresh one gets clang++.
if [ ! -f build/fuzz/CMakeCache.txt ]; then
  cmake -S tests/fuzz -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
fi
cmake --build build/fuzz -j "${DORVANE_JOBS:-$(nproc)}" >/dev/null || { cmake --build build/fuzz -j 1; exit 1; }

passed=0
failed=0
for target in "${targets[@]}"; do
  work="$root/build/fuzz/$target"
  mkdir -p "$work" "$root/build/fuzz/corpus/$target"
  log="$work/run.log"
  seeds=("$root/tests/fuzz/corpus/$target")
  # The shipped language files are seeds as they stand (and the folder's
  # CMakeLists.txt one more damaged file).
  [ "$target" = language_file ] && seeds+=("$root/resources/lang")
  (cd "$work" && "$root/build/fuzz/fuzz_$target" -runs="$runs" -max_total_time="$seconds" \
     -max_len=1024 -print_final_stats=1 \
     "$root/build/fuzz/corpus/$target" "${seeds[@]}") >"$log" 2>&1
  status=$?
  executions=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  if [ "$status" = 0 ]; then
    passed=$((passed + 1))
    printf '%-14s ok, %s executions\n' "$target" "${executions:-?}"
  else
    failed=$((failed + 1))
    printf '%-14s FAILED (exit %s)\n' "$target" "$status"
    grep -E -A12 '^Property broken|ERROR: (AddressSanitizer|libFuzzer)|runtime error' "$log" | head -40
    ls "$work"/crash-* 2>/dev/null
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" = 0 ]

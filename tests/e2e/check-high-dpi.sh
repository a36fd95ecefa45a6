#!/usr/bin/env bash
# The program on a display at 150 %: the prefix's DPI set to 144, the
# driver's HighDpiTest cases run, and the DPI set back to 96. Wine takes
# the DPI from LogPixels, the user's and the current hardware profile's,
# when the prefix's server starts. Sourced by run-e2e.sh, whose prefix and
# environment it uses; the driver's own output goes into its log, so that
# the run's summary stays the 96-DPI run's. Sets high_dpi_status.
set_dpi() {  # DPI
  local key
  for key in 'HKCU\Control Panel\Desktop' \
             'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
  restart_wine_server
}
high_dpi_log="$root/build/logs/e2e-high-dpi.log"
mkdir -p "$(dirname "$high_dpi_log")"
set_dpi 144
(cd "$WINE_BUILD" && wine e2e_tests.exe --gtest_filter='HighDpiTest.*' 2>&1) | tr -d '\r' \
  > "$high_dpi_log"
high_dpi_status=${PIPESTATUS[0]}
set_dpi 96
dpi_passed=$(grep -oE '\[  PASSED  \] [0-9]+' "$high_dpi_log" | grep -oE '[0-9]+$' | tail -1)
dpi_failed=$(grep -oE '\[  FAILED  \] [0-9]+ tests?,' "$high_dpi_log" | grep -oE '[0-9]+' | tail -1)
if [ "$high_dpi_status" = 0 ] && [ "${dpi_passed:-0}" -gt 0 ]; then
  echo "high DPI (144, LogPixels): the windows at 150 % as their layouts scale"
else
  echo "high DPI (144, LogPixels) FAILED; the driver's output:"
  grep -E 'Failure|Expected|Which is|actual|\[  FAILED' "$high_dpi_log" | head -30
  [ "${dpi_failed:-0}" -gt 0 ] || dpi_failed=1
  high_dpi_status=1
fi
echo "high DPI: ${dpi_passed:-0} passed, ${dpi_failed:-0} failed"

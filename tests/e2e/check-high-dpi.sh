#!/usr/bin/env bash
# The program on a display at 150 %: the prefix's DPI set to 144, the
# driver's HighDpiTest cases run, and the DPI set back to 96. Wine takes
# the DPI from LogPixels, the user's and the current hardware profile's,
# when the prefix's server starts. Sourced by run-e2e.sh, whose prefix and
# environment it uses; the driver's own output goes into its log, so that
# the run's summary stays the 96-DPI run's; its row counts the cases.
# Sets high_dpi_status.
high_dpi_log="$root/build/logs/e2e-high-dpi.log"
set_dpi 144
traced_run "$high_dpi_log.trace" "$high_dpi_log" --gtest_filter='HighDpiTest.*'
set_dpi 96
echo "high DPI (144, LogPixels): the windows at 150 % as their layouts scale, then at 96 after WM_DPICHANGED"
trace_row "high DPI" - "$high_dpi_log"
high_dpi_status=$trace_status

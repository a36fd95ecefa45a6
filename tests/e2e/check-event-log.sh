#!/usr/bin/env bash
# The program's events in the Application log: Wine's ReportEventA is a
# stub that succeeds, but its trace shows each event's type and number, and
# each inserted text. Runs the managed computer's test of the driver under
# that trace: the start names the administrator's drives (event 1003,
# information; its second text, the options set by policy, empty; its
# third the language, English), and the warning at the end of the session
# is event 1000, a warning whose texts are the drive letter and the label. Sourced by
# run-e2e.sh, whose prefix and environment it uses.
trace="$root/build/logs/event-log.trace"
mkdir -p "$(dirname "$trace")"
WINEDEBUG=fixme+advapi,+eventlog traced_run "$trace" "$trace.out" \
  --gtest_filter="$EVENT_TRACED_TESTS"

# Each event as one line: "TYPE ID text|text" (type and number in the
# stub's hexadecimal), from the stub's call and the texts that follow it.
events=$(tr -d '\r' < "$trace" | awk '
  /ReportEventA \(/ {
    if (line != "") print line
    split($0, a, ","); line = a[2] " " a[4]; sep = " "; next }
  /eventlog:ReportEventW L"/ && line != "" {
    s = $0; sub(/.*ReportEventW L"/, "", s); sub(/"$/, "", s); line = line sep s; sep = "|" }
  END { if (line != "") print line }')
start_ok=0; warning_ok=0
# EVENTLOG_INFORMATION_TYPE is 4 and EVENTLOG_WARNING_TYPE 2; 1003 is
# 0x3eb and 1000 0x3e8.
grep -q -x '0x0004 0x000003eb A:, E:||en' <<<"$events" && start_ok=1
grep -q -x '0x0002 0x000003e8 A|MYDISK' <<<"$events" &&
  grep -q -x '0x0002 0x000003e8 E|STICK' <<<"$events" && warning_ok=1
if [ "$start_ok" = 1 ] && [ "$warning_ok" = 1 ]; then
  echo "event log (eventlog trace): start 1003 names A:, E:; each warning is 1000 with drive and label"
  trace_row "event log" 1 "$trace.out"
else
  echo "event log (eventlog trace) FAILED: start named = $start_ok, warnings = $warning_ok; events were:"
  printf '%s\n' "$events" | head -10
  trace_row "event log" 0 "$trace.out"
fi
event_log_status=$trace_status

#!/usr/bin/env bash
# While the warning box holds the end of the session, the program tells
# Windows why (ShutdownBlockReasonCreate) and withdraws the reason as soon
# as the box closes. Wine's two calls are stubs that return FALSE, but its
# relay trace shows each call with its text, in order with the box. Runs
# one end-of-session test of the driver under the trace; sourced by
# run-e2e.sh, whose prefix and environment it uses.
trace="$root/build/logs/block-reason.trace"
mkdir -p "$(dirname "$trace")"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
  /d 'user32.ShutdownBlockReasonCreate;user32.ShutdownBlockReasonDestroy;user32.MessageBoxA;user32.MessageBoxW' \
  /f >/dev/null 2>&1
WINEDEBUG=+relay traced_run "$trace" "$trace.out" --gtest_filter="$BLOCK_TRACED_TESTS"
wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1

# The calls of the program, in their order: reason, box, box closed,
# withdrawal. The box is a wide one since its text may be translated.
steps=$(grep -a -E '^[0-9a-f]+:(Call|Ret) +user32\.(ShutdownBlockReason(Create|Destroy)|MessageBox[AW])' "$trace" |
        sed -E 's/^[0-9a-f]+:(Call|Ret) +user32\.([A-Za-z]+).*/\1 \2/' | tr '\n' ';')
expected='Call ShutdownBlockReasonCreate;Ret ShutdownBlockReasonCreate;Call MessageBoxW;Ret MessageBoxW;Call ShutdownBlockReasonDestroy;Ret ShutdownBlockReasonDestroy;'
reason_ok=0
grep -a -q 'Call user32.ShutdownBlockReasonCreate(.*L"The disk \\"MYDISK\\" is still in drive A:\. Take it out before the computer starts again\.' "$trace" && reason_ok=1
if [ "$steps" = "$expected" ] && [ "$reason_ok" = 1 ]; then
  echo "block reason (relay trace): set with drive A: before the warning, withdrawn after it"
  trace_row "block reason" 1 "$trace.out"
else
  echo "block reason (relay trace) FAILED: calls were [$steps], reason names A: = $reason_ok"
  grep -a 'ShutdownBlockReason' "$trace" | head -5
  trace_row "block reason" 0 "$trace.out"
fi
block_reason_status=$trace_status

#!/usr/bin/env bash
# The reminder when the computer is locked or goes to sleep: Wine plays no
# sound and shows no balloon, but its relay trace shows each call. Runs the
# driver's reminder tests under the trace, one trace for the case with a
# disk and the option on, one for the cases without; sourced by run-e2e.sh,
# whose prefix and environment it uses. Sets away_reminder_status.
away_trace() {  # FILTER TRACE: the driver's own results into TRACE.out
  WINEDEBUG=+relay traced_run "$2" "$2.out" --gtest_filter="$1"
}
# The program's calls: beeps, wave files, NIM_MODIFY of the icon, boxes.
away_count() {  # PATTERN TRACE
  grep -a -c -E "^[0-9a-f]+:Call +$1" "$2"
}
trace_dir="$root/build/logs"
mkdir -p "$trace_dir"
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
  /d 'user32.MessageBeep;winmm.sndPlaySoundA;shell32.Shell_NotifyIconA;shell32.Shell_NotifyIconW;user32.MessageBoxA;user32.MessageBoxW' \
  /f >/dev/null 2>&1
away_trace "${AWAY_TRACED_TESTS%%:*}" "$trace_dir/away-reminder.trace"
away_trace "${AWAY_TRACED_TESTS#*:}" "$trace_dir/away-silent.trace"
wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1

beep='user32\.MessageBeep\(0*30\)'
modify='shell32\.Shell_NotifyIcon[AW]\(0*1,'
any_sound='(user32\.MessageBeep|winmm\.sndPlaySoundA)\('
box='user32\.MessageBox[AW]\('
found="beeps $(away_count "$beep" "$trace_dir/away-reminder.trace")"
found+=", sounds $(away_count "$any_sound" "$trace_dir/away-reminder.trace")"
found+=", icon changes $(away_count "$modify" "$trace_dir/away-reminder.trace")"
found+=", boxes $(away_count "$box" "$trace_dir/away-reminder.trace")"
silent="sounds $(away_count "$any_sound" "$trace_dir/away-silent.trace")"
silent+=", icon changes $(away_count "$modify" "$trace_dir/away-silent.trace")"
silent+=", boxes $(away_count "$box" "$trace_dir/away-silent.trace")"
# The lock and the sleep: one exclamation and one balloon each. Without the
# option or the disk: nothing.
if [ "$found" = "beeps 2, sounds 2, icon changes 2, boxes 0" ] &&
   [ "$silent" = "sounds 0, icon changes 0, boxes 0" ]; then
  echo "away reminder (relay trace): a lock and a sleep each sounded the exclamation and changed the icon once, with no box; nothing without the option or the disk"
  trace_row "away reminder" 1 "$trace_dir"/away-{reminder,silent}.trace.out
else
  echo "away reminder (relay trace) FAILED: with a disk [$found], without [$silent]"
  grep -a -E "Call +($beep|$modify|$any_sound|$box)" "$trace_dir/away-reminder.trace" | head -8
  trace_row "away reminder" 0 "$trace_dir"/away-{reminder,silent}.trace.out
fi
away_reminder_status=$trace_status

#!/usr/bin/env bash
# Checks the file a user copies, build/win32/dorvane.exe, as Windows XP SP3
# would load it: every import in xp-imports.txt, the header's OS and
# subsystem versions at 5.1 or lower, and the whole file at most 256 KB.
# Prints "program: N passed, M failed" for the summary, and the size.
#
#   check-program.sh PROGRAM [TEST_PROGRAM]
# TEST_PROGRAM, a test program built with the -posix runtime, is also read:
# it imports GetTickCount64, which XP lacks, so the import check must
# reject it; that shows the check can fail.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
test_program=${2:-}
allowed="$here/xp-imports.txt"
limit=$((256 * 1024))
passed=0 failed=0

pass() { echo "[ OK ] $1"; passed=$((passed + 1)); }
fail() { echo "[FAIL] $1"; failed=$((failed + 1)); }

# imports FILE: "DLL FUNCTION" lines, the DLL's name in capitals.
imports() {
  objdump -p "$1" | awk '
    /DLL Name:/ { dll = toupper($3) }
    /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll " " $3 }' | sort -u
}

# not_on_xp FILE: the imports that the allowed list lacks.
not_on_xp() {
  comm -23 <(imports "$1") <(grep -v '^#' "$allowed" | grep -v '^$' | sort -u)
}

header_field() {  # FILE NAME
  objdump -p "$1" | awk -v name="$2" '$1 == name { print $2 }'
}

if [ ! -f "$program" ]; then
  fail "no program at $program"
  echo "program: $passed passed, $failed failed"
  exit 1
fi

program_imports=$(imports "$program")
count=$(grep -c . <<<"$program_imports")
dlls=$(awk '{ print $1 }' <<<"$program_imports" | sort -u | grep -c .)
missing=$(not_on_xp "$program")
if [ "$count" -gt 0 ] && [ -z "$missing" ]; then
  pass "imports: $count functions from $dlls DLLs, all in Windows XP SP3"
else
  fail "imports that Windows XP SP3 lacks (or none read):"
  echo "$missing" | sed 's/^/         /'
fi

for field in OSystemVersion SubsystemVersion; do
  major=$(header_field "$program" "Major$field")
  minor=$(header_field "$program" "Minor$field")
  if [ -n "$major" ] && { [ "$major" -lt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -le 1 ]; }; }; then
    pass "header $field $major.$minor (at most 5.1)"
  else
    fail "header $field ${major:-?}.${minor:-?}: Windows XP (5.1) refuses a later one"
  fi
done

# The program's own header: a 32-bit Windows program for the GUI subsystem.
magic=$(objdump -f "$program" | awk '/file format/ { print $NF }')
if [ "$magic" = pei-i386 ]; then pass "a 32-bit Windows program ($magic)"
else fail "not a 32-bit Windows program: ${magic:-unknown}"; fi

# The manifest that Windows reads before the program runs: aware of the
# DPI (the system's and each monitor's), no execution level, which would
# end Windows' registry virtualization for it, and no common controls 6.
# Wine gives every program the display's DPI whatever its manifest says,
# so only the file shows it.
manifest=$(tr -d '\0\r\n' < "$program" | grep -aoE '<assembly .*</assembly>' | head -1)
if ! grep -q '<dpiAware[^>]*>true</dpiAware>' <<<"$manifest"; then
  fail "manifest: no dpiAware true (${manifest:+present}${manifest:-none found})"
elif ! grep -qE '<dpiAwareness[^>]*> *PerMonitorV2 *, *PerMonitor *</dpiAwareness>' <<<"$manifest"; then
  # Windows 10 1607 knows no PerMonitorV2 and, with dpiAwareness there,
  # ignores dpiAware: without the fallback it would run the program unaware.
  fail "manifest: dpiAwareness is not PerMonitorV2 with PerMonitor after it"
elif grep -qE 'requestedExecutionLevel|Microsoft\.Windows\.Common-Controls' <<<"$manifest"; then
  fail "manifest: an execution level or common controls 6, which the program must not ask for"
else
  pass "manifest: aware of the DPI of each monitor (PerMonitorV2, PerMonitor), no execution level, classic controls"
fi

size=$(stat -c %s "$program")
kb=$(awk -v s="$size" 'BEGIN { printf "%.1f", s / 1024 }')
if [ "$size" -le "$limit" ]; then pass "size $kb KB ($size bytes; at most 256 KB)"
else fail "size $kb KB ($size bytes): more than 256 KB"; fi
echo "program size: $kb KB"

if [ -n "$test_program" ]; then
  if not_on_xp "$test_program" | grep -q ' GetTickCount64$'; then
    pass "the check rejects a -posix build (GetTickCount64)"
  else
    fail "the check did not reject $test_program, which imports GetTickCount64"
  fi
fi

echo "program: $passed passed, $failed failed"
[ "$failed" = 0 ]

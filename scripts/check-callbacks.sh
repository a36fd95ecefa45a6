#!/usr/bin/env bash
# Every function of the window layer that Windows calls back (a window or
# dialog procedure, an enumeration callback, a hook: each is declared
# CALLBACK) catches everything in its own body, with a catch (...): a C++
# exception of any type must not unwind through Windows's frames, past which
# it ends the program without a word.
# Lists each CALLBACK definition whose body has no catch and fails on any.
# Usage: scripts/check-callbacks.sh [FOLDER], by default platform/win32.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=${1:-platform/win32}

shopt -s nullglob
files=("$folder"/*.cpp "$folder"/*.h)
[ ${#files[@]} -gt 0 ] || { echo "callbacks: no sources in $folder" >&2; exit 2; }

# One line per definition: "FILE:LINE NAME caught|uncaught". A definition
# starts at a line with CALLBACK and a name followed by "("; a ";" before
# its first "{" makes it a declaration. The body runs to the brace that
# closes the first one; comments and strings hold no braces here.
report=$(awk '
  FNR == 1 { state = 0 }
  state == 0 && /CALLBACK/ && /[A-Za-z_][A-Za-z0-9_:]*[ \t]*\(/ {
    state = 1; start = FNR; caught = 0; depth = 0
    name = $0; sub(/\(.*/, "", name); sub(/.*[ \t]/, "", name)
  }
  state == 1 {
    line = $0
    sub(/\/\/.*/, "", line)
    if (index(line, "{") == 0) { if (index(line, ";") > 0) state = 0; next }
    state = 2; line = substr(line, index(line, "{"))
  }
  state == 2 {
    if (line == "") { line = $0; sub(/\/\/.*/, "", line) }
    if (line ~ /(^|[^A-Za-z0-9_])catch[ \t]*\([ \t]*\.\.\.[ \t]*\)/) caught = 1
    n = split(line, chars, "")
    for (i = 1; i <= n; i++) {
      if (chars[i] == "{") depth++
      else if (chars[i] == "}" && --depth == 0) {
        print FILENAME ":" start " " name " " (caught ? "caught" : "uncaught")
        state = 0; break
      }
    }
    line = ""
  }
' "${files[@]}")

total=$(grep -c . <<<"$report" || true)
uncaught=$(grep -c ' uncaught$' <<<"$report" || true)
[ -z "$report" ] || sed 's/^/  /' <<<"$report"
echo "callbacks: $total in $folder, $uncaught without a catch (...)"
[ "$total" -gt 0 ] && [ "$uncaught" = 0 ]

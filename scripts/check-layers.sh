#!/usr/bin/env bash
# Draws the dependencies between the product's folders from their
# #include lines and fails on any that runs back up. The layers, top to
# bottom: shell/ (the program body and the main window), settings/ and
# about/ (which never include each other), resources/ (layouts and texts),
# platform/ (which knows no product). A folder may include its own files
# and any folder below it.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
  case "$1" in
    shell) echo 3 ;;
    settings|about) echo 2 ;;
    resources) echo 1 ;;
    platform) echo 0 ;;
    *) echo -1 ;;
  esac
}

declare -A edges=()
upward=0
for from in shell settings about resources platform; do
  while IFS= read -r line; do
    file=${line%%:*}
    to=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
    [ "$(rank "$to")" -ge 0 ] || continue
    [ "$to" = "$from" ] && continue
    edges["$from -> $to"]=$(( ${edges["$from -> $to"]:-0} + 1 ))
    if [ "$(rank "$to")" -ge "$(rank "$from")" ]; then
      echo "runs back up: $file includes $to/" >&2
      upward=$((upward + 1))
    fi
  done < <(grep -rHE '^#include "[a-z]+/' "$from" --include='*.h' --include='*.cpp' || true)
done

echo "Dependencies between folders (includes):"
for edge in $(printf '%s\n' "${!edges[@]}" | sed 's/ -> /->/' | sort); do
  printf '  %-22s %3d\n' "${edge/->/ -> }" "${edges[${edge/->/ -> }]}"
done
echo "layering: ${#edges[@]} folder dependencies, $upward running back up"
[ "$upward" = 0 ]

#!/usr/bin/env bash
# Generates the locales whose languages the tests show the program in.
# Wine takes a process's display language from LC_MESSAGES, but only for a
# locale this machine has generated (Debian's locales, locale-gen); and
# LANG=en_US.UTF-8 beside it keeps the ANSI code page at 1252, so that
# Polish shows on a Western Windows (docs/wine.md). Quiet and quick when
# they are there already; the generation needs root and takes some 20 s.
#
#   scripts/make-locales.sh     exit code 0 when every locale is there
set -uo pipefail

wanted=(en_US de_DE fr_FR es_ES pl_PL)

missing() {
  local available locale
  available=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]')
  for locale in "${wanted[@]}"; do
    grep -qx "$(tr '[:upper:]' '[:lower:]' <<<"$locale").utf8" <<<"$available" || echo "$locale"
  done
}

[ -z "$(missing)" ] && exit 0
if [ "$(id -u)" != 0 ] || ! command -v locale-gen >/dev/null; then
  echo "make-locales: the locales $(missing | tr '\n' ' ')are missing, and only root can" \
       "generate them (package locales)" >&2
  exit 1
fi
for locale in $(missing); do
  grep -qx "$locale.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null ||
    echo "$locale.UTF-8 UTF-8" >> /etc/locale.gen
done
locale-gen >/dev/null || exit 1
[ -z "$(missing)" ]

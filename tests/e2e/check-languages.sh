#!/usr/bin/env bash
# The program in the languages it ships beside English: for each, the
# driver's suites of that language run with Windows' display language set
# to it (Wine takes it from LC_MESSAGES, for a locale the machine has
# generated: scripts/make-locales.sh), LANG=en_US.UTF-8 keeping the ANSI
# code page at 1252; at 96 DPI, then the layout case again at 144. Sourced
# by run-e2e.sh, whose prefix and environment it uses; the driver's output
# goes into the run's logs, and its row counts the cases. Sets
# languages_status.
languages_log="$root/build/logs/e2e-languages"
languages_outs=()

# run_language LOCALE FILTER DPI
run_language() {
  local out="$languages_log-${1%%_*}-$3.log"
  # Where make-locales.sh has just generated the locales, this shell still
  # reads the archive it mapped at its start and warns that it cannot
  # change its own locale; the driver and Wine, started afresh, find them.
  (
    { export LANG=en_US.UTF-8 LC_MESSAGES="$1.UTF-8"; } 2>/dev/null
    traced_run "$out.trace" "$out" --gtest_filter="$2"
  )
  languages_outs+=("$out")
}

if scripts/make-locales.sh; then
  run_language de_DE 'LanguageLayoutTest.*:GermanTest.*' 96
  run_language fr_FR 'LanguageLayoutTest.*:FrenchTest.*' 96
  run_language es_ES 'LanguageLayoutTest.*' 96
  run_language pl_PL 'LanguageLayoutTest.*:PolishTest.*' 96
  set_dpi 144
  for locale in de_DE fr_FR es_ES pl_PL; do run_language "$locale" 'LanguageLayoutTest.*' 144; done
  set_dpi 96
  echo "languages: German, French, Spanish and Polish from LC_MESSAGES, at 96 and 144 DPI"
  trace_row "languages" - "${languages_outs[@]}"
  languages_status=$trace_status
else
  echo "languages: 0 passed, 1 failed"
  languages_status=1
fi

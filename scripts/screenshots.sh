#!/usr/bin/env bash
# Makes the README's screenshots again: runs the end-to-end tests that show
# each screen, then keeps their pictures as PNG files under docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=(splash tray-menu settings-drives settings-sound settings-logging settings-other about warning help
  settings-150 splash-150 settings-managed settings-pl warning-de)
rm -rf build/screenshots
tests/e2e/run-e2e.sh >/dev/null || true
# The setup's pages, from the test that walks through them.
shots+=(setup-welcome setup-folder setup-startup setup-drives setup-finish)
PYTHONPATH=tests/setup python3 tests/help/run_tests.py test_setup.SetupPages >/dev/null 2>&1 || true
mkdir -p docs/screenshots
missing=0
for shot in "${shots[@]}"; do
  # A test's own PNG shows its window alone; a BMP is the whole desktop.
  if [ -f "build/screenshots/$shot.png" ]; then
    convert "build/screenshots/$shot.png" -colors 256 "docs/screenshots/$shot.png"
    echo "docs/screenshots/$shot.png"
  elif [ -f "build/screenshots/$shot.bmp" ]; then
    convert "build/screenshots/$shot.bmp" "docs/screenshots/$shot.png"
    echo "docs/screenshots/$shot.png"
  else
    echo "missing: $shot (its test did not save it)" >&2
    missing=1
  fi
done
exit "$missing"

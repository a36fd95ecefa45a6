#!/usr/bin/env bash
# Makes a setup program from setup/dorvane.nsi:
#   scripts/make-setup.sh BUILD_DIR TARGET OUTFILE
# BUILD_DIR holds dorvane.exe, dvn40.hlp, dvn40.cnt, dvn40.chm and the
# language files in lang\; TARGET is NSIS's
# x86-unicode (the shipped setup, from build/win32) or amd64-unicode (the
# same script around the 64-bit build, for machines that run no 32-bit
# code). The host build must have made build/host/setup/ExitCommand.nsh
# and StoreDefaults.nsh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "$1" && pwd); target=$2; outfile=$3

generated=(build/host/setup/ExitCommand.nsh build/host/setup/StoreDefaults.nsh)
for file in "${generated[@]}"; do
  if [ ! -f "$file" ]; then
    echo "missing $file: run 'make host-build' first" >&2
    exit 1
  fi
done
gen=$root/build/setup-gen/$target
mkdir -p "$gen" "$(dirname "$outfile")"
cp "${generated[@]}" "$gen/"
# The package's upgrade code, by which the setup finds a copy that the
# package installed: setup/dorvane.wxs is its one source.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([0-9A-F-]*\)".*/\1/p' setup/dorvane.wxs | head -n 1)
# The welcome and finish pages' picture, 164 x 314: the product's logo on
# white, its background colour (that of its bottom-left pixel) taken out.
logo=resources/art/logo.bmp
background=$(convert "$logo" -format '%[pixel:p{0,h-1}]' info:)
convert -size 164x314 xc:white \( "$logo" -transparent "$background" \) \
  -gravity north -geometry +0+60 -composite -type TrueColor BMP3:"$gen/wizard.bmp"

# The language files beside the program, each installed and removed by
# name: the uninstaller takes away what the setup brought, and a file a
# translator added to lang\ stays, with the folder.
{
  echo '!macro InstallLanguageFiles'
  echo '  SetOutPath "$INSTDIR\lang"'
  for file in "$build"/lang/*.txt; do echo "  File \"$file\""; done
  echo '!macroend'
  echo '!macro RemoveLanguageFiles'
  for file in "$build"/lang/*.txt; do echo "  Delete \"\$INSTDIR\\lang\\$(basename "$file")\""; done
  echo '  RMDir "$INSTDIR\lang"'
  echo '!macroend'
} > "$gen/LanguageFiles.nsh"

# A text that one of the setup's languages lacks is only a warning to
# makensis, and shows empty: every warning fails the build (-WX).
makensis -V2 -WX -DDORVANE_TARGET="$target" -DDORVANE_EXE="$build/dorvane.exe" \
  -DDORVANE_UPGRADE_CODE="{$upgrade_code}" \
  -DDORVANE_HELP="$build" -DDORVANE_GENERATED="$gen" \
  -DDORVANE_OUTFILE="$(cd "$(dirname "$outfile")" && pwd)/$(basename "$outfile")" \
  setup/dorvane.nsi

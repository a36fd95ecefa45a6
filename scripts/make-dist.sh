#!/usr/bin/env bash
# Makes what is handed out, from the shipped 32-bit build (build/win32):
#   build/dist/dorvane-4.0-setup.exe  the setup (setup/dorvane.nsi)
#   build/dist/dorvane-4.0.zip        the portable copy: dorvane.exe, its
#                                     help, its language files in lang\ and
#                                     readme.txt
#   build/dist/dorvane-4.0.msi        the Windows Installer package
#                                     (setup/dorvane.wxs), for Group Policy,
#                                     Intune and msiexec
#   build/dist/policy/                the policy templates: dorvane.admx and
#                                     a dorvane.adml per language folder
#                                     (en-US, de-DE, fr-FR, es-ES, pl-PL)
set -euo pipefail
cd "$(dirname "$0")/.."

dist=build/dist
mkdir -p "$dist"
scripts/make-setup.sh build/win32 x86-unicode "$dist/dorvane-4.0-setup.exe"

# The zip is for Windows: its readme gets CR LF line breaks, which
# Notepad needs.
stage=build/dist-zip
rm -rf "$stage"; mkdir -p "$stage"
cp build/win32/dorvane.exe build/win32/dvn40.hlp build/win32/dvn40.cnt build/win32/dvn40.chm \
  "$stage/"
mkdir -p "$stage/lang"
cp build/win32/lang/*.txt "$stage/lang/"
sed 's/$/\r/' setup/readme.txt > "$stage/readme.txt"
rm -f "$dist/dorvane-4.0.zip"
(cd "$stage" && zip -q -X -9 "$OLDPWD/$dist/dorvane-4.0.zip" dorvane.exe dvn40.hlp dvn40.cnt \
  dvn40.chm lang/*.txt readme.txt)
scripts/make-msi.sh build/win32 "$dist/dorvane-4.0.msi"
rm -rf "$dist/policy"
cp -r setup/policy "$dist/policy"
ls -l "$dist"/dorvane-4.0-setup.exe "$dist"/dorvane-4.0.zip "$dist"/dorvane-4.0.msi

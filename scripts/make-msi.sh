#!/usr/bin/env bash
# Makes the Windows Installer package from setup/dorvane.wxs:
#   scripts/make-msi.sh BUILD_DIR OUTFILE [VERSION]
# BUILD_DIR holds dorvane.exe, dvn40.hlp, dvn40.cnt, dvn40.chm and the
# language files in lang/. VERSION
# (major.minor.build) defaults to the program's own, PRODUCTVERSION in
# resources/dorvane.rc; a later one makes the package that upgrades this.
# Each package gets a product code of its own, so that one built again at
# the same version installs over the last one as a later version does. The
# host build must have made build/host/setup/StoreDefaults.wxi.
#
# wixl knows a part of WiX: not a component's Condition, nor RemoveFile.
# The package is built without them, then they are written into its tables
# as setup/dorvane.wxs states them.
set -euo pipefail
if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: scripts/make-msi.sh BUILD_DIR OUTFILE [VERSION]" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "$1" && pwd); outfile=$2
defaults=build/host/setup/StoreDefaults.wxi
if [ ! -f "$defaults" ]; then
  echo "missing $defaults: run 'make host-build' first" >&2
  exit 1
fi
version=${3:-$(sed -n 's/^PRODUCTVERSION \([0-9]*\),\([0-9]*\),\([0-9]*\),.*/\1.\2.\3/p' \
  resources/dorvane.rc)}
if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
  echo "make-msi: no version major.minor.build (got '$version')" >&2
  exit 1
fi

gen=$root/build/msi-gen/$version
rm -rf "$gen"; mkdir -p "$gen/files" "$(dirname "$outfile")"
cp "$build"/dorvane.exe "$build"/dvn40.hlp "$build"/dvn40.cnt "$build"/dvn40.chm "$gen/files/"
mkdir -p "$gen/files/lang"
cp "$build"/lang/*.txt "$gen/files/lang/"
cp resources/art/dorvane.ico "$defaults" "$gen/"

# A product code of its own for each package: Windows Installer refuses a
# package whose product code is installed under another package code (1638,
# "another version of this product is already installed") and compares only
# three fields of a version, so a program rebuilt at the same version gets
# to the computers only as another product, which the major upgrade puts
# in the place of the last one.
python3 - setup/dorvane.wxs "$gen" "$version" <<'EOF'
import os
import re
import sys
import uuid
import xml.etree.ElementTree as ET

# The namespace of the language files' component codes (any fixed UUID).
LANGUAGE_NAMESPACE = "6F1C2D0E-9B7A-4E5C-8D3F-2A1B0C9D8E7F"

source, gen, version = sys.argv[1:]
NS = "{http://schemas.microsoft.com/wix/2006/wi}"
text = open(source, encoding="utf-8").read()

# Each component's condition, for the Component table.
with open(gen + "/conditions.tsv", "w") as out:
    for component in ET.fromstring(text).iter(NS + "Component"):
        condition = component.find(NS + "Condition")
        if condition is not None:
            out.write("%s\t%s\n" % (component.get("Id"), " ".join(condition.text.split())))

# Files the program's use leaves in a component's folder, for the
# RemoveFile table (all of them removed at uninstall).
with open(gen + "/remove-files.tsv", "w") as out:
    for component in ET.fromstring(text).iter(NS + "Component"):
        for remove in component.iter(NS + "RemoveFile"):
            assert remove.get("On") == "uninstall", remove.get("Id")
            out.write("%s\t%s\t%s\n" % (remove.get("Id"), component.get("Id"), remove.get("Name")))

# A component for each language file, its code derived from the file's
# name, so that every version's package calls the same file the same.
languages = sorted(name for name in os.listdir(gen + "/files/lang") if name.endswith(".txt"))
components = "".join(
    '\n            <Component Id="Language_%s" Guid="%s">'
    '\n              <File Id="lang_%s" Name="%s" Source="$(var.Files)/lang/%s" KeyPath="yes" />'
    '\n            </Component>'
    % (name[:-4].replace("-", "_"), str(uuid.uuid5(uuid.UUID(LANGUAGE_NAMESPACE), name)).upper(),
       name.replace("-", "_"), name, name)
    for name in languages)
references = "".join('\n      <ComponentRef Id="Language_%s" />' % name[:-4].replace("-", "_")
                     for name in languages)
text = text.replace("\n            <!-- language file components -->", components)
text = text.replace("\n      <!-- language file references -->", references)

# What wixl reads: the same, without them.
text = re.sub(r"\s*<Condition>.*?</Condition>", "", text, flags=re.S)
text = re.sub(r"\s*<RemoveFile [^>]*/>", "", text)
# A launch condition on one line, as Windows Installer's parser takes it.
text = re.sub(r"(<Condition [^>]*>)(.*?)(</Condition>)",
              lambda m: m.group(1) + " ".join(m.group(2).split()) + m.group(3), text, flags=re.S)
open(gen + "/dorvane.wxs", "w", encoding="utf-8").write(text)

open(gen + "/product-code", "w").write(str(uuid.uuid4()).upper())
EOF

(cd "$gen" && wixl -a x86 -D Version="$version" -D ProductCode="$(cat product-code)" \
  -D Files=files -D Icon=dorvane.ico -o dorvane.msi dorvane.wxs)

while IFS=$'\t' read -r name condition; do
  msibuild "$gen/dorvane.msi" -q "UPDATE Component SET Condition = '${condition//\'/\'\'}' \
WHERE Component = '$name'"
done < "$gen/conditions.tsv"

# wixl makes a property-setting action deferred (51 + 2048), where it sets
# nothing, and puts it after InstallFinalize; it belongs right after
# CostFinalize, once the folders are known.
cost_finalize=$(msiinfo export "$gen/dorvane.msi" InstallExecuteSequence | tr -d '\r' \
  | awk -F'\t' '$1 == "CostFinalize" { print $3 }')
msibuild "$gen/dorvane.msi" -q "UPDATE CustomAction SET Type = 51 WHERE Action = 'SetInstallLocation'"
msibuild "$gen/dorvane.msi" -q "UPDATE InstallExecuteSequence SET Sequence = $((cost_finalize + 1)) \
WHERE Action = 'SetInstallLocation'"

# wixl leaves out IncludeMaximum: the upgrade of the versions up to this
# one includes this one (256 + 512: minimum and maximum inclusive), so that
# a package built again at the same version replaces the last one. The
# attributes are part of the row's key, which Windows Installer's SQL does
# not update: the row is made again.
upgrade=$(msiinfo export "$gen/dorvane.msi" Upgrade | tr -d '\r' \
  | awk -F'\t' '$7 == "DORVANE_OLDER" { print $1 "\t" $2 "\t" $3 }')
IFS=$'\t' read -r upgrade_code version_min version_max <<<"$upgrade"
msibuild "$gen/dorvane.msi" -q "DELETE FROM Upgrade WHERE ActionProperty = 'DORVANE_OLDER'"
msibuild "$gen/dorvane.msi" -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, \
Attributes, ActionProperty) VALUES ('$upgrade_code', '$version_min', '$version_max', 768, \
'DORVANE_OLDER')"

# In the folder of the component's directory; 2: at uninstall.
while IFS=$'\t' read -r key component name; do
  directory=$(msiinfo export "$gen/dorvane.msi" Component | tr -d '\r' \
    | awk -F'\t' -v n="$component" '$1 == n { print $3 }')
  msibuild "$gen/dorvane.msi" -q "INSERT INTO RemoveFile (FileKey, Component_, FileName, \
DirProperty, InstallMode) VALUES ('$key', '$component', '$name', '$directory', 2)"
done < "$gen/remove-files.tsv"

# The options an administrator gives pass to the installation that runs
# with the system's rights (Group Policy, Intune, an elevated msiexec).
# msiinfo ends its lines with CR LF.
secure=$(msiinfo export "$gen/dorvane.msi" Property | tr -d '\r' \
  | awk -F'\t' '$1 == "SecureCustomProperties" { print $2 }')
msibuild "$gen/dorvane.msi" -q "UPDATE Property SET Value = '$secure;DRIVES;REMOVABLEDRIVES;LOGGING;LOGFILE;NODIALOG;REMINDWHENAWAY' WHERE Property = 'SecureCustomProperties'"

mv "$gen/dorvane.msi" "$outfile"

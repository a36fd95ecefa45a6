"""The Windows Installer package and the policy templates of make dist.

The package's tables are read back with msiinfo; the templates are read
against the value names, types and words that the program's own source
reads from the policy key, so that a value renamed there fails here. Under Wine, in a 64-bit prefix as
on an administrator's computers of today, msiexec installs, repairs,
removes and upgrades the package, which holds the shipped 32-bit program:
its folder is Program Files (x86), its registry entries are under
WOW6432Node. msiexec itself is 64-bit there, so no 32-bit code needs to
run.
"""

import filecmp
import os
import re
import subprocess
import unittest
import xml.etree.ElementTree as ET

from test_setup import (ROOT, RUN_KEY, SETTINGS_KEY, SHIPPED_FILES, WinePrefix, built, lnk_names,
                        make_setups, top_level, variant)
from wineway import WINE64  # test_setup puts tests/ on the path

DIST = os.path.join(ROOT, "build", "dist")
MSI = os.path.join(DIST, "dorvane-4.0.msi")
UPGRADE_CODE = "{6E0B5F43-95D1-4C8A-9C39-2F1D7B0E4A61}"
UNINSTALL_ROOT = r"Software\Microsoft\Windows\CurrentVersion\Uninstall"
EVENT_SOURCE_KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Dorvane"
POLICY_KEY = r"SOFTWARE\Policies\Kestrome\Dorvane\4.0"
# Windows Installer's "fatal error"; Wine passes an exit code's low byte on.
ERROR_INSTALL_FAILURE = 1603 & 0xFF
# "Another version of this product is already installed": the setup's
# refusal over the package's copy.
ERROR_PRODUCT_VERSION = 1638 & 0xFF


def source(*path):
    with open(os.path.join(ROOT, *path)) as text:
        return text.read()


def value_names():
    """{constant: value name} of the settings' values, from their source."""
    return dict(re.findall(r'constexpr char (k\w+)\[\] = "(\w+)";',
                           source("settings", "StoreValues.h")))


def store_values():
    """{value name: "REG_SZ" or "REG_DWORD"} as the settings store writes
    its values, read from its source."""
    names = value_names()
    kinds = {"WriteText": "REG_SZ", "WriteBool": "REG_DWORD"}
    values = {}
    for writer, constant in re.findall(r"(WriteText|WriteBool)\(\*key, (k\w+Value)",
                                       source("settings", "SettingsStore.cpp")):
        values[names[constant]] = kinds[writer]
    assert len(values) >= 8, values
    return values


def policy_values():
    """{value name: (type, words)} as the program reads them from the policy
    key, from its source: the words a text may hold, or None for any."""
    names = value_names()
    store = source("settings", "SettingsStore.cpp")
    words = {kind: set(re.findall(r'\{T' + kind + r'::\w+, "(\w+)"\}', store))
             for kind in ("Sound", "WindowsSound")}
    kinds = {"Flag": "REG_DWORD", "Labels": "REG_DWORD", "Path": "REG_SZ", "Drives": "REG_SZ",
             "Sound": "REG_SZ", "WindowsSound": "REG_SZ"}
    values = {}
    policies = source("settings", "Policies.cpp")
    for constant, kind in re.findall(r"\{kOption\w+, (k\w+), TPolicyKind::(\w+)", policies):
        values[names[constant]] = (kinds[kind], words.get(kind))
    # The language, read apart at the start: any text.
    for constant in re.findall(r"ReadPolicyText\(\*key, (k\w+),", policies):
        values[names[constant]] = ("REG_SZ", None)
    assert len(values) == 11 and all(words.values()), (values, words)
    return values


def msi_table(path, table):
    """The rows of a table of the package, as lists of columns."""
    output = subprocess.run(["msiinfo", "export", path, table], capture_output=True,
                            text=True, check=True).stdout
    # Column names, their types and the table's key come first.
    return [line.split("\t") for line in output.replace("\r", "").split("\n")[3:] if line]


def make_package(name, version=None):
    """Another package from the same build, as make dist makes it."""
    path = os.path.join(ROOT, "build", "msi-test", name)
    subprocess.run([os.path.join(ROOT, "scripts", "make-msi.sh"),
                    os.path.join(ROOT, "build", "win32"), path] + ([version] if version else []),
                   check=True, stdout=subprocess.DEVNULL, timeout=300)
    return path


def next_version(version):
    major, minor, build = version.split(".")
    return f"{major}.{minor}.{int(build) + 1}"


class PackageTables(unittest.TestCase):
    """build/dist/dorvane-4.0.msi as msiinfo reads it."""

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.properties = dict(row[:2] for row in msi_table(MSI, "Property"))

    def test_holds_the_shipped_files_as_built(self):
        # The File table names a file without its folder.
        files = {row[2]: int(row[3]) for row in msi_table(MSI, "File")}
        shipped = {name.split("\\")[-1]: name for name in SHIPPED_FILES}
        self.assertEqual(sorted(files), sorted(shipped))
        for name, size in files.items():
            with self.subTest(file=name):
                self.assertEqual(size, os.path.getsize(built(shipped[name])))

    def test_names_the_product_its_version_publisher_and_upgrade_code(self):
        with open(os.path.join(ROOT, "resources", "dorvane.rc")) as rc:
            version = re.search(r"^PRODUCTVERSION (\d+),(\d+),(\d+),", rc.read(), re.M).groups()
        self.assertEqual(
            {k: self.properties.get(k) for k in
             ("ProductName", "Manufacturer", "ProductVersion", "UpgradeCode", "ALLUSERS")},
            {"ProductName": "Dorvane 4.0", "Manufacturer": "Kestrome",
             "ProductVersion": ".".join(version), "UpgradeCode": UPGRADE_CODE, "ALLUSERS": "1"})
        # Passed on to an installation with the system's rights.
        secure = self.properties["SecureCustomProperties"].split(";")
        for name in ("DRIVES", "REMOVABLEDRIVES", "LOGGING", "LOGFILE", "NODIALOG",
                     "REMINDWHENAWAY"):
            self.assertIn(name, secure)

    def test_settings_values_have_the_stores_names_and_types(self):
        store = store_values()
        components = {row[0]: row for row in msi_table(MSI, "Component")}
        written = set()
        for _, root, key, name, value, component in msi_table(MSI, "Registry"):
            if key != SETTINGS_KEY:
                continue
            with self.subTest(value=name, component=component):
                self.assertEqual(root, "2")  # HKEY_LOCAL_MACHINE
                self.assertIn(name, store)
                # "#" makes a REG_DWORD; a text stays REG_SZ.
                self.assertEqual("REG_DWORD" if value.startswith("#") else "REG_SZ", store[name])
                # Unregistered: written where the condition asks at an
                # install, never rewritten by a repair nor removed.
                self.assertEqual(components[component][1], "")
                self.assertTrue(components[component][4], "written whatever the key holds already")
            written.add(name)
        self.assertEqual(sorted(written), sorted(store))


class PolicyTemplates(unittest.TestCase):
    """build/dist/policy: every policy writes, for the computer or the user,
    a value that the program reads from the policy key, of the type and
    with the words it reads there; and says what each of its states does,
    in English and in each language file beside it."""

    NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.admx = ET.parse(os.path.join(DIST, "policy", "dorvane.admx")).getroot()
        cls.adml = ET.parse(os.path.join(DIST, "policy", "en-US", "dorvane.adml")).getroot()
        cls.strings = {s.get("id"): s.text or "" for s in
                       cls.adml.iterfind(".//p:stringTable/p:string", cls.NS)}

    def policies(self):
        return list(self.admx.iterfind("p:policies/p:policy", self.NS))

    def kind(self, holder):
        """The type of the value an enabledValue or a list's item holds."""
        if holder.find("p:decimal", self.NS) is not None:
            return "REG_DWORD"
        return "REG_SZ" if holder.find("p:string", self.NS) is not None else "?"

    def writes(self, policy):
        """(key, value name, type, words) of each value the policy writes;
        words: the strings an enumeration writes, else None."""
        key = policy.get("key")
        found = []
        for state in ("enabledValue", "disabledValue"):
            holder = policy.find("p:" + state, self.NS)
            if holder is not None:
                found.append((key, policy.get("valueName"), self.kind(holder), None))
        for item in policy.iterfind("p:enabledList/p:item", self.NS):
            found.append((item.get("key", key), item.get("valueName"),
                          self.kind(item.find("p:value", self.NS)), None))
        for item in policy.iterfind("p:disabledList/p:item", self.NS):
            found.append((item.get("key", key), item.get("valueName"),
                          self.kind(item.find("p:value", self.NS)), None))
        for element in policy.find("p:elements", self.NS) or []:
            tag = element.tag.split("}")[1]
            if tag == "list":
                # One value per label, named by it: no prefix, no names of
                # their own.
                self.assertIsNone(element.get("valuePrefix"))
                self.assertNotEqual(element.get("explicitValue"), "true")
                found.append((element.get("key"), "*", "REG_SZ", None))
                continue
            kind = {"text": "REG_SZ", "enum": "REG_SZ", "decimal": "REG_DWORD",
                    "boolean": "REG_DWORD"}.get(tag, "?")
            if element.get("expandable") == "true":
                kind = "REG_EXPAND_SZ"
            words = {v.text for v in element.iterfind("p:item/p:value/p:string", self.NS)}
            found.append((element.get("key", key), element.get("valueName"), kind,
                          words if tag == "enum" else None))
        return found

    def test_each_policy_writes_a_value_the_program_reads_from_the_policy_key(self):
        program = policy_values()
        covered = set()
        for policy in self.policies():
            with self.subTest(policy=policy.get("name")):
                # Computer Configuration and User Configuration alike.
                self.assertEqual(policy.get("class"), "Both")
                self.assertEqual(policy.find("p:parentCategory", self.NS).get("ref"), "Dorvane40")
                for key, name, kind, words in self.writes(policy):
                    if name == "*":
                        self.assertEqual(key.lower(), (POLICY_KEY + "\\Exclusions").lower())
                        self.assertEqual(program.get(policy.get("valueName")),
                                         ("REG_DWORD", None), "the labels' switch")
                        continue
                    self.assertEqual(key.lower(), POLICY_KEY.lower())
                    self.assertIn(name, program)
                    self.assertEqual(kind, program[name][0], name)
                    if words is not None:
                        self.assertEqual(words, program[name][1], name)
                    covered.add(name)
        self.assertEqual(covered, set(program))

    def test_each_policy_says_what_enabled_disabled_and_not_configured_do(self):
        for policy in self.policies():
            explain = self.strings[re.fullmatch(r"\$\(string\.(\w+)\)",
                                                policy.get("explainText")).group(1)]
            with self.subTest(policy=policy.get("name")):
                for state in ("Enabled:", "Disabled:", "Not Configured:"):
                    self.assertIn(state, explain)
                self.assertIn("never override a policy", explain)

    def test_every_text_and_box_the_template_names_is_in_the_language_file(self):
        boxes = {p.get("id"): {t.get("refId") for t in p} for p in
                 self.adml.iterfind(".//p:presentationTable/p:presentation", self.NS)}
        text = ET.tostring(self.admx, encoding="unicode")
        self.assertEqual(set(re.findall(r"\$\(string\.(\w+)\)", text)) - set(self.strings), set())
        for policy in self.policies():
            elements = {e.get("id") for e in policy.find("p:elements", self.NS) or []}
            if not elements:
                continue
            with self.subTest(policy=policy.get("name")):
                presentation = re.fullmatch(r"\$\(presentation\.(\w+)\)",
                                            policy.get("presentation"))
                self.assertEqual(boxes.get(presentation.group(1)), elements)

    # What the editor's own radio buttons read in each shipped translation:
    # a help text that names the states otherwise leaves the administrator
    # guessing which paragraph is which.
    STATES = {
        "de-DE": ("Aktiviert", "Deaktiviert", "Nicht konfiguriert"),
        "fr-FR": ("Activé", "Désactivé", "Non configuré"),
        "es-ES": ("Habilitada", "Deshabilitada", "No configurada"),
        "pl-PL": ("Włączone", "Wyłączone", "Nie skonfigurowano"),
    }
    # Numbers, paths, file names and environment variables: what an
    # administrator types or looks for as it stands, in any language.
    LITERAL = re.compile(r"[^\s(]*(?:\d|\\|%|\w\.\w)[^\s,;)]*")

    def translations(self):
        """{folder: adml root} of every language the dist ships but en-US."""
        folder = os.path.join(DIST, "policy")
        return {name: ET.parse(os.path.join(folder, name, "dorvane.adml")).getroot()
                for name in sorted(os.listdir(folder))
                if os.path.isdir(os.path.join(folder, name)) and name != "en-US"}

    def presentations(self, adml):
        """Each box's id, kind, refId and attributes, and a default value:
        all but the labels, which are translated."""
        return [(p.get("id"), [(c.tag, sorted(c.attrib.items()),
                                [g.text for g in c.iterfind("p:defaultValue", self.NS)])
                               for c in p])
                for p in adml.iterfind(".//p:presentationTable/p:presentation", self.NS)]

    def test_each_language_file_has_the_english_texts_translated(self):
        """Each language folder beside en-US: the same string ids and boxes as
        en-US; every English text longer than 40 characters (the help texts,
        the longer names) differs from its translation, so a text left in
        English fails while Dorvane 4.0 or a short name may stay; and the
        numbers, paths and file names of each English text stand in its
        translation unchanged."""
        languages = self.translations()
        self.assertLessEqual(set(self.STATES), set(languages))
        english = self.presentations(self.adml)
        for language, adml in languages.items():
            strings = {s.get("id"): s.text or "" for s in
                       adml.iterfind(".//p:stringTable/p:string", self.NS)}
            with self.subTest(language=language):
                self.assertEqual(sorted(strings), sorted(self.strings))
                self.assertEqual(self.presentations(adml), english)
            for name, text in self.strings.items():
                with self.subTest(language=language, string=name):
                    if len(text) > 40:
                        self.assertFalse(strings.get(name) == text, "left in English")
                    for literal in self.LITERAL.findall(text):
                        self.assertIn(literal.rstrip("."), strings.get(name, ""))

    def test_each_translated_help_names_the_states_as_the_editor_does(self):
        languages = self.translations()
        for language, states in self.STATES.items():
            helps = [s.text for s in languages[language].iterfind(".//p:stringTable/p:string",
                                                                  self.NS)
                     if s.get("id").endswith("_Help")]
            self.assertEqual(len(helps), len(self.policies()))
            for help_text in helps:
                with self.subTest(language=language, help=help_text[:40]):
                    for state in states:
                        # French sets a (no-break) space before the colon.
                        self.assertRegex(help_text, r"(?m)^" + state + r"\s?:")


class MsiPrefix(WinePrefix):
    """A 64-bit prefix for the package, whatever way the other Wine levels
    take: the package is 32-bit on every computer."""

    def __init__(self, name):
        super().__init__(name)
        self.loader, self.prefix_bits, self.setup_bits, self.setup = WINE64, 64, 32, MSI
        self.env.update(WINEARCH="win64", WINELOADER=WINE64)

    @property
    def probe_path(self):
        # Nothing runs here but msiexec and reg.
        return self.setup

    def msiexec(self, option, *properties, package=MSI):
        """msiexec's exit code, silent: /i or /x with the package."""
        return self.wine("msiexec", option, "Z:" + package.replace("/", "\\"), *properties,
                         "/qn", timeout=300)[0]

    def entries(self):
        """{key name: values} of each Programs and Features entry of Dorvane."""
        status, output = self.wine("reg", "query", self.hklm(UNINSTALL_ROOT), "/s")
        found = {}
        for block in output.split("\n\n"):
            match = re.match(r"\s*HKEY_\S+\\Uninstall\\([^\n\\]+)\n", block)
            if match and re.search(r"DisplayName\s+REG_SZ\s+Dorvane", block):
                found[match.group(1)] = self.registry(
                    self.hklm(UNINSTALL_ROOT + "\\" + match.group(1)))
        return found

    def start_menu_folders(self):
        """The Start-menu folders Dorvane has: all users' (as on Windows) or
        the installing user's (where Wine's msiexec puts it)."""
        users = self.unix(r"C:\users")
        folders = [self.start_menu()] + [
            os.path.join(users, user, r"AppData/Roaming/Microsoft/Windows/Start Menu/Programs",
                         "Dorvane") for user in os.listdir(users)]
        return [f for f in folders if os.path.isdir(f)]


class Msiexec(unittest.TestCase):
    """An administrator's msiexec, silent, with a disk in drive A:: install
    with options, repair, removal, install over kept settings, upgrade."""

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.product_code = dict(row[:2] for row in msi_table(MSI, "Property"))["ProductCode"]
        cls.wine_prefix = MsiPrefix("msi")
        try:
            cls.wine_prefix.start()
        except BaseException:
            cls.wine_prefix.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.wine_prefix.stop()

    def setUp(self):
        self.p = self.wine_prefix

    def installed(self, name=""):
        return self.p.unix(self.p.install_dir + ("\\" + name if name else ""))

    def settings(self):
        return self.p.registry(self.p.hklm(SETTINGS_KEY))

    def assert_installed_as_built(self):
        self.assertEqual(sorted(os.listdir(self.installed())), top_level(SHIPPED_FILES))
        for name in SHIPPED_FILES:
            with self.subTest(file=name):
                self.assertTrue(filecmp.cmp(self.installed(name), built(name), shallow=False))

    def test_01_installs_silently_with_the_options_given(self):
        self.assertEqual(self.p.msiexec("/i", "REMOVABLEDRIVES=1", "DRIVES=AB"), 0)
        self.assert_installed_as_built()
        # The designed values, the given ones among them; the log beside
        # the program, as the program's own first start would have it.
        self.assertEqual(self.settings(), {
            "Sound": "NoSound", "SoundFile": "(None)", "WindowsSound": "Exclamation",
            "Logging": "0x0", "LogFile": self.p.install_dir + "\\dvn.dvl", "NoDialog": "0x0",
            "Drives": "AB", "RemovableDrives": "0x1"})

    def test_02_one_entry_the_logon_start_the_shortcut_and_the_event_source(self):
        entries = self.p.entries()
        self.assertEqual(list(entries), [self.product_code])
        entry = entries[self.product_code]
        self.assertEqual((entry["DisplayName"], entry["Publisher"], entry["InstallLocation"]),
                         ("Dorvane 4.0", "Kestrome", self.p.install_dir + "\\"))
        self.assertRegex(entry["DisplayVersion"], r"^\d+\.\d+\.\d+$")
        exe = self.p.install_dir + "\\dorvane.exe"
        self.assertEqual(self.p.registry(self.p.hklm(RUN_KEY)).get("Dorvane"), f'"{exe}"')
        folders = self.p.start_menu_folders()
        self.assertEqual(len(folders), 1, folders)
        self.assertTrue(lnk_names(os.path.join(folders[0], "Dorvane.lnk"), exe))
        self.assertEqual(self.p.registry(EVENT_SOURCE_KEY),
                         {"EventMessageFile": exe, "TypesSupported": "0x7"})

    def test_03_repair_puts_back_a_deleted_program_and_keeps_the_settings(self):
        os.remove(self.installed("dorvane.exe"))
        # A user's change since the install: a repair must not undo it.
        status, _ = self.p.wine("reg", "add", self.p.hklm(SETTINGS_KEY), "/v", "Drives", "/d",
                                "AC", "/f")
        self.assertEqual(status, 0)
        before = self.settings()
        # What msiexec /fa asks; Wine's msiexec has no /f.
        self.assertEqual(self.p.msiexec("/i", "REINSTALL=ALL", "REINSTALLMODE=amus"), 0)
        self.assert_installed_as_built()
        self.assertEqual(self.settings(), before)

    def test_04_removal_takes_everything_but_the_settings(self):
        kept = self.settings()
        # The index Windows' help viewer writes beside the help.
        with open(self.installed("dvn40.gid"), "wb") as index:
            index.write(b"?_\x03\x00")
        self.assertEqual(self.p.msiexec("/x"), 0)
        self.assertFalse(os.path.exists(self.installed()))
        self.assertEqual(self.p.entries(), {})
        self.assertNotIn("Dorvane", self.p.registry(self.p.hklm(RUN_KEY)) or {})
        self.assertEqual(self.p.start_menu_folders(), [])
        self.assertIsNone(self.p.registry(EVENT_SOURCE_KEY))
        self.assertEqual(self.settings(), kept)

    def test_05_an_install_over_kept_settings_changes_none_of_them(self):
        # Only the removable drives checked: an empty "Drives", which must
        # not become drive A: again.
        for value, data, kind in (("Drives", "", "REG_SZ"), ("RemovableDrives", "1", "REG_DWORD")):
            status, _ = self.p.wine("reg", "add", self.p.hklm(SETTINGS_KEY), "/v", value, "/t", kind,
                                    "/d", data, "/f")
            self.assertEqual(status, 0)
        kept = self.settings()
        self.assertEqual((kept["Drives"], kept["RemovableDrives"]), ("", "0x1"))
        self.assertEqual(self.p.msiexec("/i"), 0)
        self.assert_installed_as_built()
        self.assertEqual(self.settings(), kept)

    def test_05a_a_package_built_again_installs_over_the_last_one(self):
        kept = self.settings()
        rebuilt = make_package("dorvane-rebuilt.msi")
        code = dict(row[:2] for row in msi_table(rebuilt, "Property"))["ProductCode"]
        self.assertNotEqual(code, self.product_code)
        self.assertEqual(self.p.msiexec("/i", package=rebuilt), 0)
        self.assertEqual(list(self.p.entries()), [code])
        self.assert_installed_as_built()
        self.assertEqual(self.settings(), kept)
        # And the first one over the rebuilt one, as an administrator who
        # deploys the earlier file again.
        self.assertEqual(self.p.msiexec("/i"), 0)
        self.assertEqual(list(self.p.entries()), [self.product_code])
        self.assertEqual(self.settings(), kept)

    def test_05b_the_setup_refuses_to_install_over_the_packages_copy(self):
        os.makedirs(self.p.unix(r"C:\DorvaneTests"), exist_ok=True)
        self.assertEqual(self.p.run_setup(variant()[4], "/S"), ERROR_PRODUCT_VERSION, self.p.did)
        self.assertIn(f"remove it first with msiexec /x {self.product_code} /qn",
                      self.p.setup_log())
        self.assertEqual(list(self.p.entries()), [self.product_code])
        self.assertIsNone(self.p.registry(self.p.hklm(UNINSTALL_ROOT + "\\Dorvane")))
        self.assert_installed_as_built()

    def test_06_a_later_version_replaces_this_one_and_writes_only_the_option_given(self):
        kept = self.settings()
        version = dict(row[:2] for row in msi_table(MSI, "Property"))["ProductVersion"]
        later = make_package("dorvane-later.msi", next_version(version))
        self.assertEqual(self.p.msiexec("/i", "LOGGING=1", package=later), 0)
        entries = self.p.entries()
        self.assertEqual(len(entries), 1, entries)
        self.assertEqual(next(iter(entries.values()))["DisplayVersion"], next_version(version))
        self.assert_installed_as_built()
        self.assertEqual(self.settings(), dict(kept, Logging="0x1"))
        # The earlier package does not go back over it.
        self.assertEqual(self.p.msiexec("/i"), ERROR_INSTALL_FAILURE)
        self.assertEqual(len(self.p.entries()), 1)
        self.assertEqual(self.p.msiexec("/x", package=later), 0)
        self.assertEqual(self.p.entries(), {})

    def test_07_refusals_install_nothing(self):
        setup_copy = self.p.hklm(UNINSTALL_ROOT + "\\Dorvane")
        cases = [
            # (what, properties, set-up)
            ("an option out of range", ["LOGGING=yes"], None),
            ("a copy of the setup program", [], setup_copy),
        ]
        for what, properties, key in cases:
            with self.subTest(what):
                if key:
                    self.p.wine("reg", "add", key, "/v", "UninstallString", "/d",
                                f'"{self.p.install_dir}\\uninstall.exe"', "/f")
                try:
                    self.assertEqual(self.p.msiexec("/i", *properties), ERROR_INSTALL_FAILURE)
                finally:
                    if key:
                        self.p.wine("reg", "delete", key, "/f")
                self.assertFalse(os.path.exists(self.installed()))
                self.assertEqual(self.p.entries(), {})


if __name__ == "__main__":
    unittest.main()

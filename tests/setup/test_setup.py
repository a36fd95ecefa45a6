"""The setup and the zip, end to end under Wine.

The shipped setup is 32-bit. Where 32-bit code runs, the tests install that
very build/dist/dorvane-4.0-setup.exe in a 32-bit prefix. Where it does not
(the kernel runs no IA-32 code), they install a test build of the same
setup/dorvane.nsi made with NSIS's amd64-unicode target around build/win64's
dorvane.exe, in a 64-bit prefix: the same pages, files, entries and
commands, but a 64-bit program that sees the registry without WOW6432Node.

Each class keeps one prefix and runs its tests in the order of their names,
each building on the last, as a user's install, update and removal do.
Screenshots of the setup's pages go to build/screenshots/setup-*.png.
"""

import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests"))
import wineway  # noqa: E402
from xvfb import start_xvfb  # noqa: E402
WORK = os.path.join(ROOT, "build", "setup-wine")
SHOTS = os.path.join(ROOT, "build", "screenshots")
WINESERVER = wineway.WINESERVER

UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Dorvane"
RUN_KEY = r"Software\Microsoft\Windows\CurrentVersion\Run"
SETTINGS_KEY = r"SOFTWARE\Kestrome\Dorvane\4.0"
# Not below Software: the same key for 32-bit and 64-bit setups.
EVENT_SOURCE_KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Dorvane"
LOG_FILE = r"C:\DorvaneTests\dvn.dvl"
DISK_LABEL = "TESTDISK"
# The files beside the program, as Windows names them below its folder; the
# language files in lang\.
SHIPPED_FILES = ("dorvane.exe", "dvn40.hlp", "dvn40.cnt", "dvn40.chm",
                 "lang\\de.txt", "lang\\es.txt", "lang\\fr.txt", "lang\\pl.txt")


def top_level(names):
    """The names that a folder holding `names` lists itself: files and subfolders."""
    return sorted({name.split("\\")[0] for name in names})


def built(name):
    """The file of the shipped build that `name` (below the program's folder) is."""
    return os.path.join(ROOT, "build", "win32", *name.split("\\"))

# The wizard's buttons (NSIS): Next, Install, Uninstall, Finish and Close
# share the first; a question box has Yes and No.
NEXT, IDYES, IDNO = 1, 6, 7


def variant():
    """(loader, WINEARCH, the program's build folder, the test programs'
    build folder, setup program, setup's bits), of the way every Wine level
    takes here (tests/wineway.py)."""
    way = wineway.way()
    if way.bits == 32:
        setup = os.path.join(ROOT, "build", "dist", "dorvane-4.0-setup.exe")
    else:
        setup = os.path.join(ROOT, "build", "setup-test", "dorvane-4.0-setup-amd64.exe")
    return (way.loader, way.arch, way.program, way.tests, setup, way.bits)


_made = []


def make_setups():
    """build/dist from the 32-bit build, and where needed the 64-bit test
    build; once per run."""
    if _made:
        return
    _made.append(True)
    subprocess.run([os.path.join(ROOT, "scripts", "make-dist.sh")], check=True,
                   stdout=subprocess.DEVNULL, timeout=300)
    loader, _, build, _, setup, bits = variant()
    if bits == 64:
        subprocess.run([os.path.join(ROOT, "scripts", "make-setup.sh"), build, "amd64-unicode",
                        setup], check=True, stdout=subprocess.DEVNULL, timeout=300)


def poll(condition, timeout=30.0, step=0.25):
    """The condition's first true value, or its last value after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


class WinePrefix:
    """A throwaway prefix of its own on an X server of its own."""

    def __init__(self, name):
        self.loader, arch, self.build, self.tests_build, self.setup, self.setup_bits = variant()
        self.root = os.path.join(WORK, name)
        self.xvfb = None
        self.env = dict(os.environ, WINEARCH=arch, WINELOADER=self.loader, WINEDEBUG="-all",
                        WINEPREFIX=os.path.join(self.root, "prefix"),
                        # No Mono or Gecko prompts; no Linux menu entries for
                        # the shortcuts the setup makes.
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.prefix_bits = 32 if arch == "win32" else 64

    def start(self):
        missing = [p for p in (self.loader, WINESERVER, self.setup, self.probe_path)
                   if not os.path.exists(p)]
        missing += [t for t in ("Xvfb", "import", "convert", "makensis") if shutil.which(t) is None]
        # A missing build file or tool is a failure of the run, never a skip:
        # a level that skips every test has tested nothing.
        if missing:
            raise FileNotFoundError("missing for the setup's tests: " + ", ".join(missing))
        self.start_display()
        wineway.forget_prefix(self.env)
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.env["WINEPREFIX"])
        subprocess.run([self.loader, "wineboot", "-i"], env=self.env, capture_output=True,
                       timeout=300)
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=120)
        fonts = self.unix(r"C:\windows\Fonts")
        if os.path.isdir("/usr/share/wine/fonts") and os.path.isdir(fonts):
            for font in os.listdir("/usr/share/wine/fonts"):
                shutil.copy(os.path.join("/usr/share/wine/fonts", font), fonts)
        # Drive A: holds a disk; Wine reads its label when its server starts,
        # which is after this.
        disk = os.path.join(self.root, "media", "a")
        os.makedirs(disk)
        with open(os.path.join(disk, ".windows-label"), "w") as label:
            label.write(DISK_LABEL + "\n")
        link = os.path.join(self.env["WINEPREFIX"], "dosdevices", "a:")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(disk, link)
        os.makedirs(self.unix(r"C:\DorvaneTests"), exist_ok=True)

    def start_display(self):
        self.xvfb, self.env["DISPLAY"] = start_xvfb(range(180, 220))

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=30)

    @property
    def probe_path(self):
        return os.path.join(self.tests_build, "setup_probe.exe")

    # The folder "Program Files\Dorvane": the 32-bit Program Files, as the
    # shipped 32-bit setup finds it ($PROGRAMFILES32) in a 32-bit prefix or
    # on 64-bit Windows, where it is "Program Files (x86)".
    @property
    def install_dir(self):
        folder = "Program Files" if self.prefix_bits == 32 else "Program Files (x86)"
        return "C:\\" + folder + "\\Dorvane"

    # A 32-bit setup on 64-bit Windows writes HKLM\Software through the
    # WOW6432Node view; a setup of the prefix's own width does not.
    def hklm(self, key):
        if self.setup_bits == 32 and self.prefix_bits == 64:
            key = re.sub(r"^(?i:software)\\", r"Software\\WOW6432Node\\", key)
        return "HKLM\\" + key

    def unix(self, windows_path):
        drive, rest = windows_path.split(":", 1)
        assert drive.upper() == "C"
        return os.path.join(self.env["WINEPREFIX"], "drive_c", *rest.strip("\\").split("\\"))

    def wine(self, *args, timeout=120, errors=False):
        """(exit code, output); with `errors`, (exit code, output, errors)."""
        # Output into files: a program the command starts inherits them and
        # would hold a pipe open for its whole life.
        with tempfile.TemporaryFile() as output, tempfile.TemporaryFile() as error:
            result = subprocess.run([self.loader, *args], env=self.env, stdout=output,
                                    stderr=error, timeout=timeout)
            texts = []
            for stream in (output, error):
                stream.seek(0)
                texts.append(stream.read().decode("cp1252", "replace").replace("\r", ""))
        return (result.returncode, *texts) if errors else (result.returncode, texts[0])

    # --- The setup and the uninstaller, run with their record (/LOG=) in
    # C:\DorvaneTests: the last run's exit code and record go into the
    # message of any check that fails after it.
    SETUP_LOG = r"C:\DorvaneTests\setup.log"

    def run_setup(self, program, *switches):
        """Runs the setup or the uninstaller; its exit code."""
        try:
            os.remove(self.unix(self.SETUP_LOG))
        except FileNotFoundError:
            pass
        self.last_run = os.path.basename(program.replace("\\", "/"))
        self.last_status, _ = self.wine(program, *switches, "/LOG=" + self.SETUP_LOG)
        return self.last_status

    def setup_log(self):
        try:
            with open(self.unix(self.SETUP_LOG), "rb") as log:
                return log.read().decode("cp1252", "replace").replace("\r", "")
        except FileNotFoundError:
            return ""

    def uninstalled(self):
        """Whether the uninstaller's copy, which does the work after the
        uninstaller returned, has ended: its record's last line says so."""
        return "\nUninstaller ended" in "\n" + self.setup_log()

    @property
    def did(self):
        """What the last setup or uninstaller did, read when a check fails."""
        prefix = self

        class Report:
            def __str__(self):
                return (f"{prefix.last_run} ended with exit code {prefix.last_status}; "
                        f"its record:\n{prefix.setup_log() or '(empty)'}")
        return Report()

    def probe(self, *args):
        return self.wine(self.probe_path, *args)

    def running(self):
        """(pid, path) of each running Dorvane's main window."""
        status, output = self.probe("splash")
        # 1 with nothing said: none runs. Anything else is the probe's own
        # failure, which must not pass for "none runs".
        assert status in (0, 1), f"setup_probe splash failed with {status}: {output}"
        return re.findall(r"^splash pid=(\d+) path=(.*)$", output, re.M)

    def registry(self, key):
        """The values of `key` as {name: text}, or None when it does not exist."""
        status, output, errors = self.wine("reg", "query", key, errors=True)
        if status != 0:
            # Only reg's own answer means the key is not there; a failure
            # of Wine under load must not pass for it.
            assert status == 1 and "unable to find" in (output + errors).lower(), \
                f"reg query {key} failed with {status}: {output}{errors}"
            return None
        values = {}
        for name, _, data in re.findall(r"^    (.*?)    (REG_\w+)    ?(.*)$", output, re.M):
            values[name] = data
        return values

    def import_registry(self, text):
        path = os.path.join(self.root, "import.reg")
        with open(path, "w", encoding="cp1252", newline="\r\n") as reg:
            reg.write(text)
        status, _ = self.wine("regedit", "/s", "Z:" + path.replace("/", "\\"))
        assert status == 0, "regedit refused " + path

    def start_menu(self):
        return self.unix(r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Dorvane")


def log_lines(prefix):
    try:
        with open(prefix.unix(LOG_FILE), "rb") as log:
            return log.read().decode("cp1252").splitlines()
    except FileNotFoundError:
        return []


def lnk_names(path, target):
    """Whether the shortcut file names `target` (in either of its encodings)."""
    with open(path, "rb") as lnk:
        data = lnk.read().lower()
    return target.lower().encode("cp1252") in data or target.lower().encode("utf-16-le") in data


class SilentSetup(unittest.TestCase):
    """What an administrator's `dorvane-4.0-setup.exe /S` does, and the
    uninstaller's `/S`, with a disk left in drive A: throughout."""

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.wine_prefix = WinePrefix("silent")
        try:
            cls.wine_prefix.start()
            # A user of an earlier install: logging on, into a file outside
            # the program's folder, and the warning box on.
            cls.wine_prefix.import_registry(
                "REGEDIT4\n\n"
                f"[HKEY_LOCAL_MACHINE\\{SETTINGS_KEY}]\n"
                '"Sound"="NoSound"\n"SoundFile"="(None)"\n"WindowsSound"="Exclamation"\n'
                '"Logging"=dword:00000001\n'
                f'"LogFile"="{LOG_FILE.replace(chr(92), chr(92) * 2)}"\n'
                '"NoDialog"=dword:00000000\n"Drives"="A"\n\n'
                f"[HKEY_LOCAL_MACHINE\\{SETTINGS_KEY}\\Exclusions]\n")
            cls.status = cls.wine_prefix.run_setup(cls.wine_prefix.setup, "/S")
        except BaseException:
            cls.wine_prefix.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.wine_prefix.stop()

    def setUp(self):
        self.p = self.wine_prefix

    def installed(self, name):
        return self.p.unix(self.p.install_dir + "\\" + name)

    def assert_installed_as_built(self):
        for name in SHIPPED_FILES:
            with self.subTest(file=name):
                self.assertTrue(filecmp.cmp(self.installed(name),
                                            os.path.join(self.p.build, *name.split("\\")),
                                            shallow=False), self.p.did)

    def assert_runs_installed(self):
        running = poll(self.p.running, timeout=30)
        self.assertEqual(len(running), 1, f"{running}; {self.p.did}")
        self.assertEqual(running[0][1].lower(), (self.p.install_dir + "\\dorvane.exe").lower())
        return running[0][0]

    def test_01_installs_the_program_its_help_and_the_uninstaller(self):
        self.assertEqual(self.status, 0, self.p.did)
        self.assertTrue(os.path.isfile(self.installed("uninstall.exe")))
        self.assert_installed_as_built()
        self.assertEqual(sorted(os.listdir(self.p.unix(self.p.install_dir))),
                         top_level(SHIPPED_FILES + ("uninstall.exe",)))

    def test_02_starts_the_program_at_logon(self):
        run = self.p.registry(self.p.hklm(RUN_KEY))
        self.assertEqual(run.get("Dorvane"), f'"{self.p.install_dir}\\dorvane.exe"')

    def test_03_adds_three_start_menu_shortcuts_for_all_users(self):
        folder = self.p.start_menu()
        # A prefix answers as Windows 7 unless told otherwise: the help
        # shortcut opens the HTML Help file there.
        targets = {"Dorvane.lnk": "dorvane.exe", "Dorvane Help.lnk": "dvn40.chm",
                   "Uninstall Dorvane.lnk": "uninstall.exe"}
        self.assertEqual(sorted(os.listdir(folder)), sorted(targets))
        for name, target in targets.items():
            with self.subTest(shortcut=name):
                self.assertTrue(lnk_names(os.path.join(folder, name),
                                          self.p.install_dir + "\\" + target))

    def test_04_adds_the_uninstall_entry(self):
        entry = self.p.registry(self.p.hklm(UNINSTALL_KEY))
        self.assertIsNotNone(entry)
        folder = self.p.install_dir
        size = sum(os.path.getsize(self.installed(n)) for n in SHIPPED_FILES + ("uninstall.exe",))
        expected = {
            "DisplayName": "Dorvane 4.0",
            "DisplayVersion": "4.0",
            "Publisher": "Kestrome",
            "DisplayIcon": folder + "\\dorvane.exe,0",
            "UninstallString": f'"{folder}\\uninstall.exe"',
            "QuietUninstallString": f'"{folder}\\uninstall.exe" /S',
            "InstallLocation": folder,
            "NoModify": "0x1",
            "NoRepair": "0x1",
        }
        for name, value in expected.items():
            with self.subTest(value=name):
                self.assertEqual(entry.get(name), value)
        # In kilobytes, as Add or Remove Programs shows it.
        self.assertEqual(int(entry["EstimatedSize"], 16), size // 1024)
        # The Event Viewer's way to the texts of the program's events.
        self.assertEqual(self.p.registry(EVENT_SOURCE_KEY),
                         {"EventMessageFile": folder + "\\dorvane.exe", "TypesSupported": "0x7"})

    def test_04a_keeps_the_settings_of_the_earlier_install_as_they_are(self):
        settings = self.p.registry(self.p.hklm(SETTINGS_KEY))
        self.assertEqual(settings, {
            "Sound": "NoSound", "SoundFile": "(None)", "WindowsSound": "Exclamation",
            "Logging": "0x1", "LogFile": LOG_FILE, "NoDialog": "0x0", "Drives": "A"})

    def test_05_starts_the_installed_program(self):
        self.assert_runs_installed()

    def test_06_the_running_copy_warns_of_the_disk_at_the_end_of_the_session(self):
        # The check that an ending of the program by its Exit command must
        # not run: a log line and a warning box.
        status, output = self.p.probe("query")
        self.assertEqual(status, 0, output)
        self.assertIn("answer=1", output)
        self.assertRegex(output, rf"box=.*{DISK_LABEL}")
        lines = log_lines(self.p)
        self.assertEqual(len(lines), 1, lines)
        self.assertIn(DISK_LABEL, lines[0])

    def test_07_setup_over_a_running_copy_ends_it_and_replaces_the_files(self):
        before = self.assert_runs_installed()
        with open(self.installed("dvn40.cnt"), "wb") as damaged:
            damaged.write(b"not the help's contents")
        self.assertEqual(self.p.run_setup(self.p.setup, "/S"), 0, self.p.did)
        self.assert_installed_as_built()
        after = self.assert_runs_installed()
        self.assertNotEqual(before, after, "the first copy still runs")
        # Ended through Exit: no check, no warning box, no log line.
        self.assertEqual(len(log_lines(self.p)), 1)

    def test_08_silent_uninstall_removes_everything_but_the_settings(self):
        self.assertEqual(len(self.p.running()), 1)
        entry = self.p.registry(self.p.hklm(UNINSTALL_KEY))
        uninstaller = entry["UninstallString"].strip('"')
        self.assertEqual(self.p.run_setup(uninstaller, "/S"), 0, self.p.did)
        # The uninstaller hands over to a copy of itself outside the folder
        # and returns at once; the copy's record says when it is done.
        self.assertTrue(poll(self.p.uninstalled, timeout=60), self.p.did)
        folder = self.p.unix(self.p.install_dir)
        self.assertFalse(os.path.exists(folder), self.p.did)
        self.assertEqual(self.p.running(), [])
        self.assertEqual(len(log_lines(self.p)), 1, "the program ended with a check")
        self.assertIsNone(self.p.registry(self.p.hklm(UNINSTALL_KEY)), self.p.did)
        self.assertIsNone(self.p.registry(EVENT_SOURCE_KEY), self.p.did)
        self.assertNotIn("Dorvane", self.p.registry(self.p.hklm(RUN_KEY)) or {})
        self.assertFalse(os.path.exists(self.p.start_menu()))
        settings = self.p.registry(self.p.hklm(SETTINGS_KEY))
        self.assertIsNotNone(settings, f"the settings went with the program; {self.p.did}")
        self.assertEqual((settings.get("Logging"), settings.get("LogFile")), ("0x1", LOG_FILE))

    def test_09_silent_uninstall_keeps_a_log_in_the_folder_and_with_it_the_folder(self):
        self.assertEqual(self.p.run_setup(self.p.setup, "/S"), 0, self.p.did)
        self.assert_runs_installed()
        with open(self.installed("dvn.dvl"), "wb") as log:
            log.write(b"12/8/2026   -   4:35:12 PM   -   an earlier line\r\n")
        status = self.p.run_setup(self.p.install_dir + "\\uninstall.exe", "/S")
        self.assertEqual(status, 0, self.p.did)
        self.assertTrue(poll(self.p.uninstalled, timeout=60), self.p.did)
        self.assertEqual(os.listdir(self.p.unix(self.p.install_dir)), ["dvn.dvl"], self.p.did)
        self.assertIsNone(self.p.registry(self.p.hklm(UNINSTALL_KEY)), self.p.did)
        self.assertEqual(self.p.running(), [])

    def test_10_a_copy_that_will_not_end_stops_the_silent_setup_with_an_error(self):
        folder = os.listdir(self.p.unix(self.p.install_dir))
        stub = subprocess.Popen([self.p.loader, self.p.probe_path, "stub", "60"], env=self.p.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.assertTrue(poll(self.p.running, timeout=30), "the stand-in did not start")
            started = time.monotonic()
            status = self.p.run_setup(self.p.setup, "/S")
            waited = time.monotonic() - started
        finally:
            stub.kill()
            stub.wait(timeout=30)
        self.assertEqual(status, 3, self.p.did)
        self.assertIn("Dorvane is still running (exit code 3)", self.p.setup_log())
        self.assertGreaterEqual(waited, 10.0, "the setup did not wait for the program to end")
        self.assertEqual(os.listdir(self.p.unix(self.p.install_dir)), folder)
        self.assertIsNone(self.p.registry(self.p.hklm(UNINSTALL_KEY)))


class InteractiveSetup(unittest.TestCase):
    """setup.exe started as a user starts it, in a virtual desktop of Wine's
    explorer of its own, which draws the windows' frames and captions as
    Windows does (bare Xvfb has no window manager to draw them). A class
    names its prefix, its desktop, the environment and the switches."""

    PREFIX = DESKTOP = None
    ENV = {}
    SWITCHES = []

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.wine_prefix = p = WinePrefix(cls.PREFIX)
        try:
            p.start()
            p.env.update(cls.ENV, SETUP_PROBE_DESKTOP=cls.DESKTOP)
            shutil.copy(p.setup, p.unix(r"C:\DorvaneTests\setup.exe"))
            p.last_run, p.last_status = "setup.exe", "(not ended yet)"
            cls.explorer = subprocess.Popen(
                [p.loader, "explorer", f"/desktop={cls.DESKTOP},800x600",
                 r"C:\DorvaneTests\setup.exe", *cls.SWITCHES],
                env=p.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except BaseException:
            # unittest does not tear down a class whose set-up failed.
            p.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.wine_prefix.stop()
        try:
            cls.explorer.wait(timeout=30)
        except subprocess.TimeoutExpired:
            cls.explorer.kill()
            cls.explorer.wait()

    def wizard(self, text, whole_line=True):
        """The probe's view of the wizard once it shows `text` (as a whole
        line of text, or within one), else None."""
        wanted = f"text={text}\n" if whole_line else text
        def shown():
            status, output = self.wine_prefix.probe("wizard")
            return output if status == 0 and wanted in output else None
        return poll(shown, timeout=30, step=0.5)


class SetupPages(InteractiveSetup):
    """The interactive setup, page by page, with its defaults: each page is
    photographed and checked, then its Next button pressed; then the
    interactive uninstaller, its questions answered."""

    PREFIX, DESKTOP = "pages", "DorvaneSetup"
    SWITCHES = ["/LOG=" + WinePrefix.SETUP_LOG]
    PAGES = [
        # (screenshot, a text of the page, its check boxes)
        ("setup-welcome", "Welcome to Dorvane 4.0 Setup", {}),
        ("setup-folder", "Choose Install Location", {}),
        ("setup-startup", "Start with Windows", {"&Start Dorvane when Windows starts": "1"}),
        # Wine makes drive A: a floppy drive unless told otherwise: the box
        # starts clear.
        ("setup-drives", "Drives to check", {"Also check USB sticks, memory cards and CDs": "0"}),
        ("setup-finish", "Completing Dorvane 4.0 Setup", {"Start Dorvane now": "1"}),
    ]

    def screenshot(self, name, output):
        # The wizard's place on the virtual desktop, whose X window holds it.
        rect = [int(n) for n in re.search(r"^rect=(.*)$", output, re.M).group(1).split(",")]
        found = subprocess.run(["xdotool", "search", "--name", self.DESKTOP],
                               env=self.wine_prefix.env, capture_output=True, text=True)
        window = found.stdout.split()[0] if found.stdout.split() else "root"
        left, top, right, bottom = rect
        take = ["import", "-display", self.wine_prefix.env["DISPLAY"], "-window", window,
                "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "ppm:-"]
        # The probe had the wizard paint before it described the page, but
        # Wine puts what a window drew on the screen when the window's
        # thread next waits: the picture is taken until two in a row agree.
        pictures = [None, None]  # the one before, the last

        def steady():
            pictures[:] = [pictures[1], subprocess.run(take, capture_output=True,
                                                       timeout=60).stdout]
            return bool(pictures[1]) and pictures[0] == pictures[1]
        poll(steady, timeout=10, step=0.1)
        subprocess.run(["convert", "ppm:-", os.path.join(SHOTS, name + ".png")],
                       input=pictures[1], capture_output=True, timeout=60)

    def test_each_page_and_the_installed_program(self):
        p = self.wine_prefix
        os.makedirs(SHOTS, exist_ok=True)
        for shot, text, checks in self.PAGES:
            output = self.wizard(text)
            self.assertIsNotNone(output, f"no page showing {text!r}; {p.did}")
            self.screenshot(shot, output)
            with self.subTest(page=shot):
                self.assertIn("caption=Dorvane 4.0 Setup", output)
                for name, state in checks.items():
                    self.assertIn(f"check={name}={state}\n", output)
            self.assertEqual(p.probe("click", str(NEXT))[0], 0)
        self.assertTrue(poll(lambda: p.probe("wizard")[0] != 0, timeout=30),
                        f"the setup stays; {p.did}")
        running = poll(p.running, timeout=30)
        self.assertEqual([path.lower() for _, path in running],
                         [(p.install_dir + "\\dorvane.exe").lower()])
        run = p.registry(p.hklm(RUN_KEY))
        self.assertEqual(run.get("Dorvane"), f'"{p.install_dir}\\dorvane.exe"')
        # The clear box: the program's first start wrote its own defaults.
        settings = poll(lambda: p.registry(p.hklm(SETTINGS_KEY)), timeout=30) or {}
        self.assertEqual(settings.get("Drives"), "A", settings)
        self.assertNotIn("RemovableDrives", settings)

        # The uninstaller asks two questions, each kept by default: answered
        # against the defaults here, the log stays and the settings go.
        self.assertIsNotNone(p.registry(p.hklm(SETTINGS_KEY)), "the program made no settings")
        with open(p.unix(p.install_dir + "\\dvn.dvl"), "wb") as log:
            log.write(b"12/8/2026   -   4:35:12 PM   -   an earlier line\r\n")
        if os.path.exists(p.unix(p.SETUP_LOG)):
            os.remove(p.unix(p.SETUP_LOG))
        p.last_run, p.last_status = "uninstall.exe", "(not ended yet)"
        uninstaller = subprocess.Popen(
            [p.loader, "explorer", f"/desktop={self.DESKTOP},800x600",
             p.install_dir + "\\uninstall.exe", "/LOG=" + p.SETUP_LOG],
            env=p.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for text, button in (("Uninstall Dorvane 4.0", NEXT),
                                 ("Delete the log too?", IDNO),
                                 ("Remove Dorvane's settings", IDYES),
                                 ("Uninstallation Complete", NEXT)):
                shown = poll(lambda: text in p.probe("wizard")[1], timeout=30, step=0.5)
                self.assertTrue(shown, f"the uninstaller never showed {text!r}; {p.did}")
                self.assertEqual(p.probe("click", str(button))[0], 0, text)
            self.assertTrue(poll(p.uninstalled, timeout=60), p.did)
        finally:
            uninstaller.wait(timeout=60)
        self.assertEqual(p.running(), [])
        self.assertEqual(os.listdir(p.unix(p.install_dir)), ["dvn.dvl"], p.did)
        self.assertIsNone(p.registry(p.hklm(UNINSTALL_KEY)), p.did)
        self.assertIsNone(p.registry(p.hklm(SETTINGS_KEY)), p.did)
        self.assertIsNone(p.registry(p.hklm(r"Software\Kestrome")))


class SetupInGerman(InteractiveSetup):
    """The setup with Windows' display language German (Wine takes it from
    LC_MESSAGES, for a locale the machine has generated): its own pages and
    NSIS's in German, as far as the start page; then cancelled, which
    leaves nothing installed."""

    PREFIX, DESKTOP = "german", "DorvaneSetupDe"
    ENV = {"LANG": "en_US.UTF-8", "LC_MESSAGES": "de_DE.UTF-8"}

    @classmethod
    def setUpClass(cls):
        subprocess.run([os.path.join(ROOT, "scripts", "make-locales.sh")], check=True)
        super().setUpClass()

    def wizard(self, text):
        return super().wizard(text, whole_line=False)

    def test_the_pages_are_in_german(self):
        p = self.wine_prefix
        welcome = self.wizard("Dieser Assistent installiert Dorvane 4.0")
        self.assertIsNotNone(welcome, f"no German welcome page; {p.did}")
        self.assertIn("Weiter", welcome, "NSIS's own buttons in German")
        self.assertEqual(p.probe("click", str(NEXT))[0], 0)
        self.assertIsNotNone(self.wizard("Zielverzeichnis"), f"no German folder page; {p.did}")
        self.assertEqual(p.probe("click", str(NEXT))[0], 0)
        startup = self.wizard("Mit Windows starten")
        self.assertIsNotNone(startup, f"no German start page; {p.did}")
        self.assertIn("check=Dorvane mit Windows &starten=1\n", startup)
        # Cancel, and yes to the question whether to leave the setup.
        self.assertEqual(p.probe("click", "2")[0], 0)
        self.assertTrue(poll(lambda: p.probe("click", str(IDYES))[0] == 0, timeout=30), p.did)
        self.assertTrue(poll(lambda: p.probe("wizard")[0] != 0, timeout=30), "the setup stays")
        self.assertFalse(os.path.exists(p.unix(p.install_dir)), "cancelled, yet installed")


class RemovableDrivesChoice(unittest.TestCase):
    """The setup's "Also check USB sticks, memory cards and CDs": its
    default by drive A:'s kind, the /RemovableDrives= switch, and the first
    start of the program that keeps what the setup chose. Drive A: holds a
    disk in a folder, made a hard disk (Wine makes A: a floppy drive by
    default), and E: is a floppy-type drive (as Windows reports a USB
    stick) holding STICK."""

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.wine_prefix = p = WinePrefix("removable")
        try:
            p.start()
            stick = os.path.join(p.root, "media", "e")
            os.makedirs(stick)
            with open(os.path.join(stick, ".windows-label"), "w") as label:
                label.write("STICK\n")
            cls.set_drive_types(p, {"a:": "hd", "e:": "floppy"})
            os.symlink(stick, os.path.join(p.env["WINEPREFIX"], "dosdevices", "e:"))
        except BaseException:
            p.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.wine_prefix.stop()

    @staticmethod
    def set_drive_types(p, types):
        # Wine takes a drive's type from this key when its server starts.
        for letter, kind in types.items():
            status, _ = p.wine("reg", "add", r"HKLM\Software\Wine\Drives", "/v", letter, "/d",
                               kind, "/f")
            assert status == 0, "reg add refused " + letter
        subprocess.run([WINESERVER, "-k"], env=p.env, capture_output=True, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=p.env, timeout=120)

    def setUp(self):
        self.p = self.wine_prefix

    def settings(self):
        return self.p.registry(self.p.hklm(SETTINGS_KEY)) or {}

    def install(self, *switches):
        self.assertEqual(self.p.run_setup(self.p.setup, "/S", *switches), 0, self.p.did)
        running = poll(self.p.running, timeout=30)
        self.assertEqual(len(running), 1, f"{running}; {self.p.did}")

    def remove_with_the_settings(self):
        status = self.p.run_setup(self.p.install_dir + "\\uninstall.exe", "/S")
        self.assertEqual(status, 0, self.p.did)
        self.assertTrue(poll(self.p.uninstalled, timeout=60), self.p.did)
        self.assertIsNone(self.p.registry(self.p.hklm(UNINSTALL_KEY)), self.p.did)
        self.assertEqual(self.p.running(), [], self.p.did)
        status, _ = self.p.wine("reg", "delete", self.p.hklm(SETTINGS_KEY), "/f")
        self.assertEqual(status, 0, "reg delete failed")
        self.assertIsNone(self.p.registry(self.p.hklm(SETTINGS_KEY)))

    def boxes(self):
        status, output = self.p.probe("query")
        self.assertEqual(status, 0, output)
        self.assertIn("answer=1", output)
        return re.findall(r"^box=(.*)$", output, re.M)

    def test_1_without_a_floppy_drive_the_option_is_on_after_the_first_start(self):
        self.install()
        # The program has started and loaded its settings: the option is
        # still there, with the defaults that keep its load from a reset.
        settings = self.settings()
        self.assertEqual(settings.get("RemovableDrives"), "0x1", settings)
        self.assertEqual(settings.get("Drives"), "A")
        self.assertEqual(settings.get("NoDialog"), "0x0")
        self.assertEqual(settings.get("LogFile"), self.p.install_dir + "\\dvn.dvl")
        boxes = self.boxes()
        self.assertEqual(len(boxes), 2, boxes)
        self.assertIn(f'"{DISK_LABEL}" in your A-drive', boxes[0])
        self.assertIn('"STICK" in your E-drive', boxes[1])
        # The program has surely loaded by now, and kept the option.
        self.assertEqual(self.settings().get("RemovableDrives"), "0x1")

    def test_2_an_upgrade_keeps_the_settings_whatever_the_switch(self):
        # Only the removable drives checked: an empty "Drives", which must
        # not become drive A: again.
        status, _ = self.p.wine("reg", "add", self.p.hklm(SETTINGS_KEY), "/v", "Drives", "/d", "",
                                "/f")
        self.assertEqual(status, 0)
        self.install("/RemovableDrives=0")
        self.assertEqual(self.settings().get("RemovableDrives"), "0x1")
        self.assertEqual(self.settings().get("Drives"), "")
        boxes = self.boxes()
        self.assertEqual(len(boxes), 1, boxes)
        self.assertIn('"STICK" in your E-drive', boxes[0])

    def test_3_the_switch_clears_the_box(self):
        self.remove_with_the_settings()
        self.install("/RemovableDrives=0")
        # The program's own first start wrote its defaults: the option off.
        self.assertTrue(poll(lambda: "Drives" in self.settings(), timeout=30))
        self.assertNotIn("RemovableDrives", self.settings())
        boxes = self.boxes()
        self.assertEqual(len(boxes), 1, boxes)
        self.assertIn("A-drive", boxes[0])

    def test_4_with_a_floppy_drive_the_box_is_clear_unless_the_switch_ticks_it(self):
        self.remove_with_the_settings()
        self.set_drive_types(self.p, {"a:": "floppy"})
        self.install()
        self.assertTrue(poll(lambda: "Drives" in self.settings(), timeout=30))
        self.assertNotIn("RemovableDrives", self.settings())

        self.remove_with_the_settings()
        self.install("/RemovableDrives=1")
        self.assertEqual(self.settings().get("RemovableDrives"), "0x1")
        self.assertEqual(len(self.boxes()), 2)


class PortableZip(unittest.TestCase):
    """build/dist/dorvane-4.0.zip: the program for a folder of the user's."""

    @classmethod
    def setUpClass(cls):
        make_setups()
        cls.zip = zipfile.ZipFile(os.path.join(ROOT, "build", "dist", "dorvane-4.0.zip"))

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()

    def test_holds_the_program_its_help_its_languages_and_the_readme_alone(self):
        zipped = [name.replace("\\", "/") for name in SHIPPED_FILES]
        self.assertEqual(sorted(self.zip.namelist()), sorted(zipped + ["readme.txt"]))
        for name in SHIPPED_FILES:
            with self.subTest(file=name):
                with open(built(name), "rb") as build_file:
                    self.assertEqual(self.zip.read(name.replace("\\", "/")), build_file.read())

    def test_readme_has_cr_lf_line_breaks_and_the_logon_start(self):
        text = self.zip.read("readme.txt")
        self.assertGreater(text.count(b"\r\n"), 10)
        self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "a line break without CR")
        self.assertEqual(text.count(b"\r"), text.count(b"\r\n"), "a CR without LF")
        self.assertIn(rb"CurrentVersion\Run", text)
        self.assertIn(b"shell:startup", text)
        self.assertIn(b"Unblock", text)


if __name__ == "__main__":
    unittest.main()

"""The help through dorvane.exe under Wine, on each side of Windows Vista.

Windows' version is set for the test prefix (HKCU\\Software\\Wine,
Version): as Windows 10 the three requests open dvn40.chm in HTML Help,
whose window (class "HH Parent") runs in the program's process; as Windows
XP, or without the .chm, they go to WinHelp as designed. The program runs
with Wine's HTML Help trace and a relay trace of WinHelpA, which name every
request and the page it opened. Wine's pages are drawn by its HTML engine,
which the prefixes switch off (mshtml=) and Debian does not package: so the
tests look at the window, its caption, its contents tree and the page asked
for, not at the page's pixels.

The program, its help files and the probe are of the way the Wine levels
take here (wine_prefix.py): where 32-bit code runs, the shipped
build/win32/dorvane.exe in a 32-bit prefix. Screenshots go to
build/help-wine/.
"""

import os
import re
import shutil
import subprocess
import time

from wine_prefix import PROGRAM, TESTS, WINE, WINESERVER, WORK, WinePrefixTest

PROBE = os.path.join(TESTS, "htmlhelp_probe.exe")
FOLDER = r"C:\Dorvane"
HELP_FILES = ("dvn40.hlp", "dvn40.cnt", "dvn40.chm")
HELP_CONTEXT, HELP_FINDER = 1, 11


class ProgramUnderWine(WinePrefixTest):
    """One prefix for the class; each test starts the program afresh under
    the Windows version it names."""

    required = (PROBE, os.path.join(PROGRAM, "dorvane.exe"),
                *(os.path.join(PROGRAM, name) for name in HELP_FILES))
    displays = range(220, 260)
    prefix_name = "prefix-htmlhelp"

    @classmethod
    def prepare_prefix(cls):
        cls.wine("reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude",
                 "/d", "user32.WinHelpA", "/f")

    @classmethod
    def wine(cls, *args):
        return subprocess.run([WINE, *args], env=cls.env, capture_output=True, timeout=120)

    def start(self, version, help_files=HELP_FILES):
        """dorvane.exe in a folder with `help_files`, Windows `version`."""
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=60)
        folder = self.folder("Dorvane")
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for name in ("dorvane.exe",) + tuple(help_files):
            shutil.copy(os.path.join(PROGRAM, name), folder)
        self.assertEqual(self.wine("reg", "add", r"HKCU\Software\Wine", "/v", "Version",
                                   "/d", version, "/f").returncode, 0)
        self.trace_path = os.path.join(WORK, f"trace-{self._testMethodName}.txt")
        self.trace_file = open(self.trace_path, "wb")
        self.addCleanup(self.trace_file.close)
        traced = dict(self.env, WINEDEBUG="trace+htmlhelp,+relay")
        self.program = subprocess.Popen([WINE, FOLDER + r"\dorvane.exe"], env=traced,
                                        stdout=self.trace_file, stderr=subprocess.STDOUT)
        self.addCleanup(self.program.wait, 60)
        self.addCleanup(subprocess.run, [WINESERVER, "-k"], env=self.env, timeout=60)

    def probe(self, command):
        return self.run_probe(PROBE, command)

    def ask(self, command):
        status, output = self.probe(command)
        self.assertEqual(status, 0, output)

    def trace(self, pattern, timeout=20):
        """The lines of the program's trace that match, once there are any."""
        deadline = time.monotonic() + timeout
        while True:
            with open(self.trace_path, "rb") as f:
                text = f.read().decode("utf-8", "replace")
            found = re.findall(pattern, text, re.M)
            if found or time.monotonic() > deadline:
                return found
            time.sleep(0.2)

    def html_help_requests(self):
        return self.trace(r'HtmlHelpW \([0-9A-F]+, L"(.*)", command=(\w+), data=0\)', timeout=0)

    def winhelp_requests(self):
        return self.trace(r'Call user32\.WinHelpA\([0-9a-f]+,[0-9a-f]+ "(.*)",([0-9a-f]+),'
                          r'([0-9a-f]+)\)', timeout=0)

    def expected_tree(self):
        lines = [f"tree=1 {t.title}" for t in self.source.topics if t.book is None]
        for book in self.source.books:
            lines.append(f"tree=1 {book}")
            lines += [f"tree=2 {t.title}" for t in self.source.topics if t.book == book]
        return lines


class HtmlHelpFromWindows10(ProgramUnderWine):

    def assert_page_opened(self, page):
        path = f"{FOLDER}\\dvn40.chm".replace("\\", "\\\\")
        opened = self.trace(rf'navigate_url L"mk:@MSITStore:{re.escape(path)}::/(\S+?)"')
        self.assertEqual(opened, [page])

    def test_help_topics_opens_the_contents_in_a_window_titled_for_the_product(self):
        self.start("win10")
        self.ask("topics")
        status, output = self.probe("show")
        self.screenshot("htmlhelp-topics")
        self.assertEqual(status, 0, output)
        self.assertIn("caption=Dorvane 4.0 Help\n", output)
        self.assertEqual(re.findall(r"^tree=.*$", output, re.M), self.expected_tree())
        self.assert_page_opened("contents.htm")
        self.assertEqual(self.html_help_requests(),
                         [(r"C:\\Dorvane\\dvn40.chm", "HH_DISPLAY_TOC")])
        self.assertEqual(self.winhelp_requests(), [])

    def test_the_settings_dialogs_help_opens_the_settings_topic(self):
        self.start("win10")
        self.ask("settings")
        status, output = self.probe("show")
        self.assertEqual(status, 0, output)
        self.assertIn("caption=Dorvane 4.0 Help\n", output)
        self.assert_page_opened("settings.htm")
        self.assertEqual(self.html_help_requests(),
                         [(r"C:\\Dorvane\\dvn40.chm::/settings.htm", "HH_DISPLAY_TOPIC")])
        self.assertEqual(self.winhelp_requests(), [])

    def test_how_to_use_help_opens_the_page_on_using_this_help(self):
        self.start("win10")
        self.ask("howto")
        status, output = self.probe("show")
        self.assertEqual(status, 0, output)
        self.assert_page_opened("using_help.htm")
        self.assertEqual(self.html_help_requests(),
                         [(r"C:\\Dorvane\\dvn40.chm::/using_help.htm", "HH_DISPLAY_TOPIC")])

    def test_exit_with_the_help_window_open_ends_the_program_cleanly(self):
        # HTML Help's windows live in the program's process and its code is
        # unloaded at the end: the program must still end as Exit ends it.
        self.start("win10")
        self.ask("settings")
        status, output = self.probe("show")
        self.assertEqual(status, 0, output)
        self.ask("exit")
        self.assertEqual(self.program.wait(timeout=60), 0)
        self.assertEqual(self.trace(r"^.*(?:err:seh|Unhandled exception).*$", timeout=0), [])

    def test_without_the_chm_the_request_goes_to_winhelp(self):
        self.start("win10", help_files=("dvn40.hlp", "dvn40.cnt"))
        self.ask("topics")
        status, output = self.probe("winhelp")
        self.assertEqual((status, output), (0, "caption=Dorvane 4.0 Help\n"))
        self.assertEqual(self.winhelp_requests(),
                         [(r"C:\\Dorvane\\dvn40.hlp", f"{HELP_FINDER:08x}", "00000000")])
        self.assertEqual(self.html_help_requests(), [])


class WinHelpFromWindowsXp(ProgramUnderWine):

    def test_help_topics_and_the_settings_help_ask_winhelp_as_designed(self):
        self.start("winxp")
        self.ask("topics")
        status, output = self.probe("winhelp")
        self.assertEqual((status, output), (0, "caption=Dorvane 4.0 Help\n"))
        self.ask("settings")
        requests = self.trace(r"Call user32\.WinHelpA.*,00000023\)")
        self.assertEqual(len(requests), 1)
        self.screenshot("winhelp-xp")
        self.assertEqual(self.winhelp_requests(),
                         [(r"C:\\Dorvane\\dvn40.hlp", f"{HELP_FINDER:08x}", "00000000"),
                          (r"C:\\Dorvane\\dvn40.hlp", f"{HELP_CONTEXT:08x}", "00000023")])
        self.assertEqual(self.html_help_requests(), [])
        # HTML Help was not even loaded.
        self.assertEqual(self.trace(r"trace:htmlhelp:DllMain", timeout=0), [])


if __name__ == "__main__":
    unittest.main()

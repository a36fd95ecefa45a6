"""The built help file in a real viewer: Wine's winhlp32, asked through
WinHelpA as the program asks, and read back with help_probe64.exe.

64-bit Wine runs on the test machines, 32-bit Wine does not, so the viewer
and the probe are 64-bit; the help file is the same for both. Screenshots
of each step go to build/help-wine/.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "resources", "help"))
sys.path.insert(0, os.path.join(ROOT, "tests"))

import make_help  # noqa: E402
from xvfb import start_xvfb  # noqa: E402

BUILD = os.environ.get("DORVANE_WIN32_BUILD", os.path.join(ROOT, "build", "win32"))
WORK = os.path.join(ROOT, "build", "help-wine")
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
PROBE = os.path.join(BUILD, "help_probe64.exe")
HELP_PATH = r"C:\Dorvane\dvn40.hlp"
HELP_CONTEXT, HELP_FINDER = 1, 11


def squeeze(text):
    return " ".join(text.split())


class WineViewer(unittest.TestCase):
    """Each test leaves the viewer open for the next, as a user would."""

    @classmethod
    def setUpClass(cls):
        missing = [p for p in (WINE, WINESERVER, PROBE, os.path.join(BUILD, "dvn40.hlp"))
                   if not os.path.exists(p)]
        for tool in ("Xvfb", "import"):
            if shutil.which(tool) is None:
                missing.append(tool)
        if missing:
            raise unittest.SkipTest("not here: " + ", ".join(missing))
        with open(os.path.join(ROOT, "resources", "help", "dvn40.txt"), encoding="utf-8") as f:
            cls.source = make_help.parse_source(f.read())
        os.makedirs(WORK, exist_ok=True)
        cls.xvfb = None
        cls.env = dict(os.environ, WINEARCH="win64", WINELOADER=WINE, WINEDEBUG="-all",
                       WINEDLLOVERRIDES="mscoree,mshtml=",
                       WINEPREFIX=os.path.join(WORK, "prefix"))
        cls.start_display()
        try:
            cls.make_prefix()
        except BaseException:
            # unittest does not tear down a class whose set-up failed.
            cls.tearDownClass()
            raise

    @classmethod
    def make_prefix(cls):
        shutil.rmtree(cls.env["WINEPREFIX"], ignore_errors=True)
        subprocess.run([WINE, "wineboot", "-i"], env=cls.env, capture_output=True, timeout=300)
        subprocess.run([WINESERVER, "-w"], env=cls.env, timeout=120)
        folder = os.path.join(cls.env["WINEPREFIX"], "drive_c", "Dorvane")
        if not os.path.isdir(os.path.dirname(folder)):
            raise unittest.SkipTest("64-bit Wine made no prefix")
        os.makedirs(folder, exist_ok=True)
        for name in ("dvn40.hlp", "dvn40.cnt"):
            shutil.copy(os.path.join(BUILD, name), folder)

    @classmethod
    def start_display(cls):
        cls.xvfb, cls.env["DISPLAY"] = start_xvfb(range(140, 180))

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINESERVER, "-k"], env=cls.env, capture_output=True, timeout=60)
        if cls.xvfb is not None:
            cls.xvfb.terminate()
            cls.xvfb.wait(timeout=30)

    def probe(self, *args):
        # Into a file, not a pipe: the viewer that WinHelpA starts inherits
        # the probe's output and would hold a pipe open for its whole life.
        with tempfile.TemporaryFile() as output:
            result = subprocess.run([WINE, PROBE, *args], env=self.env, stdout=output,
                                    stderr=subprocess.DEVNULL, timeout=120)
            output.seek(0)
            text = output.read()
        return result.returncode, text.decode("cp1252", "replace").replace("\r", "")

    def screenshot(self, name):
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root",
                        os.path.join(WORK, name + ".png")], capture_output=True, timeout=60)

    def shown(self, output):
        caption = re.search(r"^caption=(.*)$", output, re.M)
        text = re.search(r"^text<<<\n(.*)\n>>>$", output, re.S | re.M)
        self.assertTrue(caption and text, f"the probe saw no help window:\n{output}")
        return caption.group(1), text.group(1)

    def assert_shows(self, output, context):
        caption, text = self.shown(output)
        self.assertEqual(caption, "Dorvane 4.0 Help")
        topic = self.source.topic(context)
        shown = squeeze(text)
        self.assertTrue(shown.startswith(squeeze(topic.title)), shown[:200])
        for block in topic.blocks:
            self.assertIn(squeeze(block.plain()), shown)

    def assert_no_error_box(self):
        status, output = self.probe("errors")
        self.assertEqual(status, 0)
        self.assertNotIn("error=", output)

    def test_1_context_35_from_the_settings_dialog_opens_its_topic(self):
        status, output = self.probe("help", HELP_PATH, str(HELP_CONTEXT), "35")
        self.assertEqual((status, output.strip()), (0, "result=1"))
        status, output = self.probe("show")
        self.screenshot("context-35")
        self.assertEqual(status, 0, output)
        self.assert_shows(output, "settings")
        self.assert_no_error_box()

    def test_2_help_topics_opens_the_contents(self):
        status, output = self.probe("help", HELP_PATH, str(HELP_FINDER), "0")
        self.assertEqual((status, output.strip()), (0, "result=1"))
        status, output = self.probe("show")
        self.screenshot("help-topics")
        self.assert_shows(output, self.source.contents)
        self.assert_no_error_box()

    def test_3_index_lists_every_keyword_and_opens_its_topic(self):
        keywords = sorted(((k, t) for t in self.source.topics for k, _ in t.keywords),
                          key=lambda entry: entry[0].lower())
        status, output = self.probe("index")
        self.screenshot("index")
        self.assertEqual(status, 0, output)
        self.assertIn("caption=Help topics: Dorvane 4.0 Help", output)
        entries = re.findall(r"^entry=(.*)$", output, re.M)
        self.assertEqual(entries, [k for k, _ in keywords])
        first_keyword = {}
        for keyword, topic in keywords:
            first_keyword.setdefault(topic.context, keyword)
        for context, keyword in first_keyword.items():
            with self.subTest(keyword=keyword):
                if keyword != keywords[0][0] or context != keywords[0][1].context:
                    status, output = self.probe("index")
                    self.assertEqual(status, 0, output)
                status, output = self.probe("pick", keyword)
                self.assertEqual(status, 0, output)
                self.assert_shows(output, context)
        self.assert_no_error_box()

    def test_4_a_context_string_opens_its_topic(self):
        status, output = self.probe("close")
        self.assertEqual(status, 0, output)
        viewer = subprocess.Popen([WINE, "winhlp32.exe", "-i", "log_file", HELP_PATH],
                                  env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        try:
            status, output = self.probe("show")
            self.screenshot("context-string")
            self.assert_shows(output, "log_file")
            self.assert_no_error_box()
        finally:
            self.probe("close")
            viewer.wait(timeout=60)


if __name__ == "__main__":
    unittest.main()

"""The built help file in a real viewer: Wine's winhlp32, asked through
WinHelpA as the program asks, and read back with help_probe.exe.

The viewer and the probe are of the way the Wine levels take here
(wine_prefix.py); the help file is the same on both. Screenshots of each
step go to build/help-wine/.
"""

import os
import re
import shutil
import subprocess
import unittest

from wine_prefix import PROGRAM, TESTS, WINE, WinePrefixTest

PROBE = os.path.join(TESTS, "help_probe.exe")
HELP_PATH = r"C:\Dorvane\dvn40.hlp"
HELP_CONTEXT, HELP_FINDER = 1, 11


def squeeze(text):
    return " ".join(text.split())


class WineViewer(WinePrefixTest):
    """Each test leaves the viewer open for the next, as a user would."""

    required = (PROBE, os.path.join(PROGRAM, "dvn40.hlp"), os.path.join(PROGRAM, "dvn40.cnt"))

    @classmethod
    def prepare_prefix(cls):
        folder = cls.folder("Dorvane")
        os.makedirs(folder, exist_ok=True)
        for name in ("dvn40.hlp", "dvn40.cnt"):
            shutil.copy(os.path.join(PROGRAM, name), folder)

    def probe(self, *args):
        return self.run_probe(PROBE, *args)

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

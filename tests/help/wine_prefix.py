"""A Wine prefix and an X display of a test class's own, for the help tests
that run Windows programs. The prefix, its loader, the program, its help
files and the probes are those of the way that every Wine level takes here
(tests/wineway.py): the shipped 32-bit build under 32-bit Wine where this
machine runs 32-bit code, the 64-bit build under 64-bit Wine elsewhere.
Screenshots and prefixes go to build/help-wine/."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "resources", "help"))
sys.path.insert(0, os.path.join(ROOT, "tests"))

import make_help  # noqa: E402
from wineway import WINESERVER, boot_prefix, way  # noqa: E402
from xvfb import start_xvfb  # noqa: E402

WORK = os.path.join(ROOT, "build", "help-wine")
WAY = way()
WINE = WAY.loader
PROGRAM = WAY.program
TESTS = WAY.tests


class WinePrefixTest(unittest.TestCase):
    """Set-up of a class: the build files it needs (`required`), the help's
    source, a display among `displays`, a fresh prefix `prefix_name`, then
    `prepare_prefix`. A missing build file fails the class: the build that
    the level is to test was not made."""

    required = ()
    displays = range(140, 180)
    prefix_name = "prefix"

    @classmethod
    def setUpClass(cls):
        missing = [p for p in cls.required if not os.path.exists(p)]
        if missing:
            raise FileNotFoundError(f"missing from the {WAY.note}: " + ", ".join(missing))
        with open(os.path.join(ROOT, "resources", "help", "dvn40.txt"), encoding="utf-8") as f:
            cls.source = make_help.parse_source(f.read())
        os.makedirs(WORK, exist_ok=True)
        cls.xvfb = None
        cls.env = WAY.environment(os.path.join(WORK, cls.prefix_name))
        try:
            cls.xvfb, cls.env["DISPLAY"] = start_xvfb(cls.displays)
            boot_prefix(cls.env)
            cls.prepare_prefix()
        except BaseException:
            # unittest does not tear down a class whose set-up failed.
            cls.tearDownClass()
            raise

    @classmethod
    def prepare_prefix(cls):
        pass

    @classmethod
    def tearDownClass(cls):
        subprocess.run([WINESERVER, "-k"], env=cls.env, capture_output=True, timeout=60)
        if cls.xvfb is not None:
            cls.xvfb.terminate()
            cls.xvfb.wait(timeout=30)

    @classmethod
    def folder(cls, name):
        """A folder of drive C:, as Linux sees it."""
        return os.path.join(cls.env["WINEPREFIX"], "drive_c", name)

    def run_probe(self, probe, *args):
        """A probe's exit code and output. Into a file, not a pipe: a
        program that Wine starts meanwhile (the viewer that WinHelpA starts,
        say) can inherit the probe's output and hold a pipe open long after
        the probe has ended."""
        with tempfile.TemporaryFile() as output:
            result = subprocess.run([WINE, probe, *args], env=self.env, stdout=output,
                                    stderr=subprocess.DEVNULL, timeout=120)
            output.seek(0)
            text = output.read()
        return result.returncode, text.decode("cp1252", "replace").replace("\r", "")

    def screenshot(self, name):
        subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root",
                        os.path.join(WORK, name + ".png")], capture_output=True, timeout=60)

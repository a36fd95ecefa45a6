"""A 64-bit Wine prefix and an X display of a test class's own, for the
help tests that run Windows programs: 64-bit Wine runs on the test
machines, 32-bit Wine does not. Screenshots and prefixes go to
build/help-wine/."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "resources", "help"))
sys.path.insert(0, os.path.join(ROOT, "tests"))

import make_help  # noqa: E402
from xvfb import start_xvfb  # noqa: E402

WORK = os.path.join(ROOT, "build", "help-wine")
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"


class WinePrefixTest(unittest.TestCase):
    """Set-up of a class: the files it needs (`required`), the help's
    source, a display among `displays`, a fresh prefix `prefix_name`, then
    `prepare_prefix`. Skipped where a file or tool is missing."""

    required = ()
    displays = range(140, 180)
    prefix_name = "prefix"

    @classmethod
    def setUpClass(cls):
        missing = [p for p in (WINE, WINESERVER, *cls.required) if not os.path.exists(p)]
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
                       WINEPREFIX=os.path.join(WORK, cls.prefix_name))
        cls.xvfb, cls.env["DISPLAY"] = start_xvfb(cls.displays)
        try:
            shutil.rmtree(cls.env["WINEPREFIX"], ignore_errors=True)
            subprocess.run([WINE, "wineboot", "-i"], env=cls.env, capture_output=True,
                           timeout=300)
            subprocess.run([WINESERVER, "-w"], env=cls.env, timeout=120)
            if not os.path.isdir(os.path.join(cls.env["WINEPREFIX"], "drive_c")):
                raise unittest.SkipTest("64-bit Wine made no prefix")
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

"""How scripts/wine-env.sh finds a display, with stand-in X commands.

Each case sources the real script in bash with Xvfb and xdpyinfo replaced
by stand-ins on PATH, and the X server's lock files and sockets looked for
in a folder of the case's own. The stand-in Xvfb acts out one display as
the case says: it starts, ends at once with an error, never answers, or
loses the display to another run. It writes its starts and stops to a
journal.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import textwrap
import time
import unittest
from unittest import mock

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
WINE_ENV = os.path.join(ROOT, "scripts", "wine-env.sh")
sys.path.insert(0, os.path.join(ROOT, "tests"))

from xvfb import start_xvfb  # noqa: E402

STANDINS = {
    "Xvfb": """
        n=${1#:}
        trap 'echo "stop $n" >> "$STUB/journal"; exit 0' TERM
        echo "start $n" >> "$STUB/journal"
        case $(cat "$STUB/mode-$n" 2>/dev/null) in
          fails) echo "(EE) Fatal server error:" >&2
                 echo "(EE) no screens found" >&2; exit 1 ;;
          taken) : > "$DORVANE_X_TMP/.X$n-lock"
                 echo "(EE) Server is already active for display $n" >&2; exit 1 ;;
          hangs) ;;
          *) : > "$STUB/answers-$n" ;;
        esac
        while :; do sleep 0.1; done
    """,
    "xdpyinfo": """
        [ -e "$STUB/answers-${DISPLAY#:}" ]
    """,
}


class Machine:
    """Stand-in X commands, and a script that sources wine-env.sh."""

    def __init__(self, modes=None):
        self.dir = tempfile.mkdtemp(prefix="wine-env-")
        self.stub = os.path.join(self.dir, "state")
        self.bin = os.path.join(self.dir, "bin")
        self.x_tmp = os.path.join(self.dir, "tmp")
        for folder in (self.stub, self.bin, os.path.join(self.x_tmp, ".X11-unix")):
            os.makedirs(folder)
        for name, body in STANDINS.items():
            path = os.path.join(self.bin, name)
            with open(path, "w") as f:
                f.write("#!/usr/bin/env bash\n" + textwrap.dedent(body))
            os.chmod(path, 0o755)
        for number, mode in (modes or {}).items():
            self.write(f"mode-{number}", mode)
        self.write("journal", "")

    def write(self, name, text):
        with open(os.path.join(self.stub, name), "w") as f:
            f.write(text)

    def journal(self, waiting_for=None):
        """The journal; with `waiting_for`, once that line is in it (the
        stand-in notes its stop after the script has ended)."""
        deadline = time.monotonic() + 5
        while True:
            with open(os.path.join(self.stub, "journal")) as f:
                lines = f.read().splitlines()
            if waiting_for is None or waiting_for in lines or time.monotonic() > deadline:
                return lines
            time.sleep(0.05)

    def env(self, **extra):
        env = dict(os.environ, STUB=self.stub, DORVANE_X_TMP=self.x_tmp,
                   DORVANE_WINE32_LOADER=os.path.join(self.dir, "no-such-loader"),
                   PATH=self.bin + os.pathsep + os.environ["PATH"])
        for name in ("DISPLAY", "WINEPREFIX"):
            env.pop(name, None)
        env.update(extra)
        return env

    def run(self, body, **extra):
        """Runs BODY after sourcing wine-env.sh; sets status, out and err."""
        r = subprocess.run(["bash", "-c", f'. "{WINE_ENV}"\n{body}'], env=self.env(**extra),
                           capture_output=True, text=True, timeout=60)
        self.status, self.out, self.err = r.returncode, r.stdout, r.stderr
        return self

    def close(self):
        shutil.rmtree(self.dir, ignore_errors=True)


class StartDisplayTest(unittest.TestCase):

    def machine(self, modes=None):
        m = Machine(modes)
        self.addCleanup(m.close)
        return m

    def test_an_xvfb_that_fails_stops_the_caller_with_its_words(self):
        m = self.machine({90: "fails"})
        m.run('start_display || exit; echo "went on"')
        self.assertNotEqual(m.status, 0)
        self.assertNotIn("went on", m.out)
        self.assertIn("Xvfb did not start on :90: (EE) Fatal server error:\n(EE) no screens found",
                      m.err)
        self.assertEqual(m.journal(), ["start 90"])

    def test_an_xvfb_that_never_answers_is_stopped_after_the_wait(self):
        m = self.machine({90: "hangs"})
        began = time.monotonic()
        # Two seconds by the shell's clock: at least one.
        m.run("start_display", DORVANE_XVFB_WAIT="2")
        self.assertLess(time.monotonic() - began, 20)
        self.assertNotEqual(m.status, 0)
        self.assertIn("Xvfb did not start on :90:", m.err)
        self.assertEqual(m.journal(waiting_for="stop 90"), ["start 90", "stop 90"])

    def test_displays_that_are_taken_are_passed_over(self):
        # :90 has a lock file, :91 a socket, and :92 goes to another run
        # between the look and the start.
        m = self.machine({92: "taken"})
        open(os.path.join(m.x_tmp, ".X90-lock"), "w").close()
        open(os.path.join(m.x_tmp, ".X11-unix", "X91"), "w").close()
        m.run('start_display && echo "display $DISPLAY"')
        self.assertEqual(m.status, 0, m.err)
        self.assertIn("display :93", m.out)
        self.assertEqual(m.journal(waiting_for="stop 93"), ["start 92", "start 93", "stop 93"])

    def test_the_callers_exit_trap_still_runs_and_the_display_stops_after_it(self):
        m = self.machine()
        m.run(r"""trap 'echo "caller'\''s cleanup" >> "$STUB/journal"' EXIT""" "\nstart_display")
        self.assertEqual(m.status, 0, m.err)
        self.assertEqual(m.journal(waiting_for="stop 90"),
                         ["start 90", "caller's cleanup", "stop 90"])

    def test_a_display_that_answers_is_used_as_it_is(self):
        m = self.machine()
        m.write("answers-7", "")
        m.run('start_display && echo "display $DISPLAY"', DISPLAY=":7")
        self.assertIn("display :7", m.out)
        self.assertEqual(m.journal(), [])


class StartXvfbTest(unittest.TestCase):
    """tests/xvfb.py, for the Python tests: the same stand-in Xvfb."""

    def test_an_xvfb_that_fails_raises_with_its_words(self):
        m = Machine({n: "fails" for n in range(250, 300)})
        self.addCleanup(m.close)
        with mock.patch.dict(os.environ, m.env()):
            with self.assertRaisesRegex(RuntimeError,
                                        r"(?s)Xvfb did not start on :2[5-9][0-9]: .*no screens found"):
                start_xvfb(range(250, 300), wait=5)
        self.assertEqual(len(m.journal()), 1)


if __name__ == "__main__":
    unittest.main()

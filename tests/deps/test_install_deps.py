"""The set-up's decisions (scripts/install-deps.sh), with stand-in commands.

Each case runs the real script with apt-get, dpkg, as, ld and id replaced
by small stand-ins on PATH that act out one machine: whether it runs 32-bit
code, which packages are there, which indexes fail and what apt refuses.
The stand-ins write every call to a journal, so a case checks the way the
set-up took, the words it printed, and what it never asked for.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import textwrap
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SCRIPT = os.path.join(ROOT, "scripts", "install-deps.sh")
WINE_ENV = os.path.join(ROOT, "scripts", "wine-env.sh")

# binutils-mingw-w64-i686 brings the message compiler, which every build of
# the logic runs: the host and fuzz groups name it too.
BUILD = ["cmake", "make", "g++-mingw-w64-i686", "binutils-mingw-w64-i686", "python3", "fp-utils"]
HOST = ["g++", "googletest"]
WINE = ["wine", "wine64", "g++-mingw-w64-x86-64", "xvfb", "xdotool",
        "x11-utils", "imagemagick", "binutils", "locales"]
EVERYTHING = BUILD + HOST + WINE + ["nsis", "zip", "wixl", "msitools", "clang",
                                    "libclang-rt-14-dev"]

# The stand-ins keep the machine's state in files under $STUB.
STANDINS = {
    # Both come with binutils, which a minimal root lacks.
    "as": """
        grep -qx binutils "$STUB/installed" || { echo "as: command not found" >&2; exit 127; }
        while [ $# -gt 0 ]; do [ "$1" = -o ] && { : > "$2"; shift; }; shift; done
    """,
    # The program that ld makes runs exactly where the machine runs 32-bit
    # code; elsewhere it fails as the kernel's "Exec format error" does.
    "ld": """
        grep -qx binutils "$STUB/installed" || { echo "ld: command not found" >&2; exit 127; }
        while [ $# -gt 0 ]; do [ "$1" = -o ] && out=$2; shift; done
        if [ -f "$STUB/runs32" ]; then printf '#!/bin/sh\\nexit 0\\n' > "$out"
        else printf '#!/bin/sh\\necho "Exec format error" >&2; exit 126\\n' > "$out"; fi
        chmod +x "$out"
    """,
    "id": """echo 0""",
    "dpkg": """
        echo "dpkg $*" >> "$STUB/journal"
        case "$1" in
          -s) grep -qxF "$2" "$STUB/installed" ;;
          --print-foreign-architectures) cat "$STUB/arches" ;;
          --add-architecture) echo "$2" >> "$STUB/arches" ;;
          --remove-architecture) grep -vxF "$2" "$STUB/arches" > "$STUB/a"; mv "$STUB/a" "$STUB/arches" ;;
        esac
    """,
    "apt-get": """
        echo "apt-get $*" >> "$STUB/journal"
        if [ "$1" = update ]; then
          n=$(cat "$STUB/update-failures")
          if [ "$n" -gt 0 ]; then
            echo $((n - 1)) > "$STUB/update-failures"
            echo "E: Failed to fetch binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
            exit 100
          fi
          exit 0
        fi
        shift
        pkgs=() plan=0
        while [ $# -gt 0 ]; do
          case "$1" in
            -o) shift ;;
            --assume-no) plan=1 ;;
            -*) ;;
            *) pkgs+=("$1") ;;
          esac
          shift
        done
        for p in "${pkgs[@]}"; do
          case "$p" in *:i386) grep -qx i386 "$STUB/arches" || { echo "E: Unable to locate package $p" >&2; exit 100; } ;; esac
          reason=$(grep -F "$p	" "$STUB/refuse" | cut -f2)
          if [ -n "$reason" ]; then printf '%b\\n' "$reason" >&2; exit 100; fi
        done
        if [ "$plan" = 1 ]; then
          echo "0 upgraded, $((${#pkgs[@]} * 10)) newly installed, 0 to remove and 0 not upgraded."
          echo "Need to get 12.3 MB/780 MB of archives."
          echo "Abort."
          exit 1
        fi
        # apt's progress, to the descriptor that APT::Status-Fd names: each
        # step of the download lasts until the set-up has shown it (or for
        # 20 s, should it never).
        for i in $(seq 1 "$(cat "$STUB/apt-steps")"); do
          { echo "dlstatus:$i:$((i * 10)).5:Retrieving file $i of 40" >&3; } 2>/dev/null
          deadline=$((SECONDS + 20))
          until grep -q "Retrieving file $i of 40" "$SETUP_OUT" || [ "$SECONDS" -ge "$deadline" ]; do
            sleep 0.05
          done
        done
        { echo "pmstatus:wine:60:Unpacking wine (amd64)" >&3; } 2>/dev/null
        printf '%s\\n' "${pkgs[@]}" >> "$STUB/installed"
    """,
}

HELD_BROKEN = ("The following packages have unmet dependencies:\n"
               " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed\n"
               "E: Unable to correct problems, you have held broken packages.")


class Machine:
    """One stand-in machine, and the script run on it."""

    def __init__(self, runs32=False, installed=(), update_failures=0, refuse=None, apt_steps=0):
        self.dir = tempfile.mkdtemp(prefix="deps-")
        self.stub = os.path.join(self.dir, "state")
        self.bin = os.path.join(self.dir, "bin")
        # The script's temporary files, and its output, which the stand-in
        # apt reads to know that the set-up has shown its progress.
        self.tmp = os.path.join(self.dir, "tmp")
        self.output = os.path.join(self.dir, "out")
        self.process = None
        for folder in (self.stub, self.bin, self.tmp):
            os.makedirs(folder)
        for name, body in STANDINS.items():
            path = os.path.join(self.bin, name)
            with open(path, "w") as f:
                f.write("#!/usr/bin/env bash\n" + textwrap.dedent(body))
            os.chmod(path, 0o755)
        self.write("installed", "".join(p + "\n" for p in installed))
        self.write("arches", "")
        self.write("journal", "")
        self.write("update-failures", str(update_failures))
        self.write("apt-steps", str(apt_steps))
        # One line a package: apt's words, their line breaks written as \n.
        self.write("refuse", "".join(p + "\t" + r.replace("\n", "\\n") + "\n"
                                     for p, r in (refuse or {}).items()))
        if runs32:
            self.write("runs32", "")
        self.way = os.path.join(self.dir, "wine-way.txt")

    def write(self, name, text):
        with open(os.path.join(self.stub, name), "w") as f:
            f.write(text)

    def read(self, name):
        with open(os.path.join(self.stub, name)) as f:
            return f.read()

    def journal(self):
        return self.read("journal").splitlines()

    def start(self, *groups, env=None):
        """Starts the script in a process group of its own, as a terminal
        runs a command, with Ctrl+C's signal at its default as a terminal's
        shell gives it (a run started in the background of a script, as
        `make test &` is, ignores it, and an ignored signal cannot be
        trapped); its output goes to self.output."""
        full = dict(os.environ, STUB=self.stub, DORVANE_WINE_WAY=self.way, TMPDIR=self.tmp,
                    SETUP_OUT=self.output, PATH=self.bin + os.pathsep + os.environ["PATH"])
        full.pop("DORVANE_WINE_BITS", None)
        full.update(env or {})
        with open(self.output, "w") as out:
            self.process = subprocess.Popen(["bash", SCRIPT, *groups], cwd=self.dir, env=full,
                                            stdout=out, stderr=subprocess.PIPE, text=True,
                                            start_new_session=True,
                                            preexec_fn=lambda: signal.signal(signal.SIGINT,
                                                                             signal.SIG_DFL))
        return self.process

    def finish(self):
        _, self.err = self.process.communicate(timeout=60)
        self.status = self.process.returncode
        with open(self.output) as out:
            self.out = out.read()
        return self

    def run(self, *groups, env=None):
        self.start(*groups, env=env)
        return self.finish()

    def installs(self):
        """The packages of each install apt carried out, in order."""
        return [[a for a in c.split()[2:] if not a.startswith("-") and "=" not in a]
                for c in self.journal()
                if c.startswith("apt-get install -y")]

    def way_text(self):
        if not os.path.exists(self.way):
            return None
        with open(self.way) as f:
            return f.read().strip()

    def note(self):
        """The summary's words for the build, from scripts/wine-env.sh with
        a 32-bit Wine loader that does not run."""
        env = dict(os.environ, DORVANE_WINE_WAY=self.way,
                   DORVANE_WINE32_LOADER=os.path.join(self.dir, "no-such-loader"))
        env.pop("DORVANE_WINE_BITS", None)
        return subprocess.run(["bash", "-c", f'. "{WINE_ENV}"; echo "$WINE_BITS_NOTE"'],
                              env=env, capture_output=True, text=True).stdout.strip()

    def close(self):
        # A stand-in apt that an interrupted script left working.
        if self.process is not None:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


class SetupDecisions(unittest.TestCase):

    def machine(self, **kw):
        m = Machine(**kw)
        self.addCleanup(m.close)
        return m

    def assertNoI386(self, m):
        calls = "\n".join(m.journal())
        self.assertNotIn("--add-architecture", calls)
        self.assertNotIn("wine32", calls)
        self.assertEqual(m.read("arches"), "")

    def test_no_32bit_code_takes_the_64bit_way_without_touching_i386(self):
        m = self.machine(runs32=False, installed=BUILD + HOST).run()
        self.assertEqual(m.status, 0, m.err)
        self.assertNoI386(m)
        for p in WINE:
            self.assertIn(p, m.read("installed").split())
        self.assertEqual(m.way_text(), "this machine runs no 32-bit code")
        self.assertEqual(m.note(), "64-bit build (this machine runs no 32-bit code)")

    def test_the_first_run_from_a_minimal_root_decides_as_every_later_one(self):
        # A minimal root has neither as nor ld: binutils come in before the
        # 32-bit test, and a second run keeps the way the first one took.
        for runs32, way, wine32 in ((True, None, True),
                                    (False, "this machine runs no 32-bit code", False)):
            with self.subTest(runs32=runs32):
                m = self.machine(runs32=runs32)
                for run in ("first", "second"):
                    m.write("journal", "")
                    m.run()
                    self.assertEqual(m.status, 0, m.err)
                    self.assertEqual(m.way_text(), way, run)
                    self.assertEqual("wine32:i386" in m.read("installed").split(), wine32, run)
                    if run == "first":
                        installs = m.installs()
                        self.assertIn("binutils", installs[0])
                        self.assertEqual(len(installs), 2 if wine32 else 1, installs)
                self.assertEqual(m.journal(), [l for l in m.journal() if l.startswith("dpkg -s")],
                                 "the second run asked apt again")

    def test_says_what_it_installs_and_how_it_goes_while_apt_works(self):
        m = self.machine(runs32=False, installed=BUILD, apt_steps=2)
        m.run("host", env={"DORVANE_PROGRESS_EVERY": "1"})
        self.assertEqual(m.status, 0, m.err)
        self.assertIn("Installing: g++ googletest (20 packages with what they need, "
                      "12.3 MB to download)", m.out)
        progress = [l for l in m.out.splitlines() if l.startswith("  downloading, ")]
        self.assertGreaterEqual(len(progress), 2, m.out)
        self.assertEqual(progress[-1].split(", ")[:2], ["  downloading", "20% (Retrieving file 2 of 40)"])
        self.assertRegex(progress[-1], r", [0-9]+ s so far$")
        self.assertRegex(m.out, r"\n  done in [0-9]+ s\n")

    def test_an_interrupt_while_apt_works_leaves_no_temporary_folder(self):
        # Ctrl+C reaches the terminal's whole process group; a stop from
        # outside reaches the script alone, while it waits on apt.
        for way, sig, exit_status in (("Ctrl+C", signal.SIGINT, 130),
                                      ("kill", signal.SIGTERM, 143)):
            with self.subTest(way=way):
                m = self.machine(runs32=False, installed=BUILD, apt_steps=1)
                m.start("host", env={"DORVANE_PROGRESS_EVERY": "1000"})
                deadline = time.monotonic() + 30
                while not any(c.startswith("apt-get install -y") for c in m.journal()):
                    self.assertLess(time.monotonic(), deadline, "apt never started")
                    time.sleep(0.05)
                self.assertEqual(len(os.listdir(m.tmp)), 1, "no temporary folder while apt works")
                if sig == signal.SIGINT:
                    os.killpg(m.process.pid, sig)
                else:
                    m.process.send_signal(sig)
                m.finish()
                self.assertEqual(m.status, exit_status, m.err)
                self.assertEqual(os.listdir(m.tmp), [])

    def test_failed_index_is_retried_once_then_the_install_decides(self):
        for failures, updates, words in ((1, 2, "trying once more"),
                                         (5, 2, "still failing; going on")):
            with self.subTest(failures=failures):
                m = self.machine(runs32=False, installed=BUILD, update_failures=failures).run()
                self.assertEqual(m.status, 0, m.err)
                self.assertEqual(sum(c == "apt-get update -qq" for c in m.journal()), updates)
                self.assertIn(words, m.out)
                self.assertIn("googletest", m.read("installed").split())
                self.assertNoI386(m)

    def test_32bit_machine_installs_wine32_after_adding_i386(self):
        m = self.machine(runs32=True, installed=EVERYTHING).run()
        self.assertEqual(m.status, 0, m.err)
        calls = m.journal()
        add = calls.index("dpkg --add-architecture i386")
        update = calls.index("apt-get update -qq")
        wine32 = next(i for i, c in enumerate(calls)
                      if c.startswith("apt-get install -y") and "wine32:i386" in c)
        self.assertLess(add, update)
        self.assertLess(update, wine32)
        self.assertIsNone(m.way_text())
        self.assertEqual(m.read("arches").split(), ["i386"])

    def test_wine32_refused_falls_back_and_says_why(self):
        for failures in (0, 2):  # held broken packages; also with a broken i386 index
            with self.subTest(index_failures=failures):
                m = self.machine(runs32=True, installed=BUILD + HOST, update_failures=failures,
                                 refuse={"wine32:i386": HELD_BROKEN}).run()
                self.assertEqual(m.status, 0, m.err)
                self.assertIn("taking the 64-bit way", m.out)
                self.assertTrue(m.way_text().startswith("wine32 could not be installed: "))
                self.assertIn("held broken packages", m.way_text())
                self.assertIn("libwine:i386", m.way_text())
                # The architecture added for it goes again with it.
                self.assertEqual(m.read("arches"), "")
                self.assertIn("wine64", m.read("installed").split())
                self.assertEqual(m.note(), "64-bit build (" + m.way_text() + ")")

    def test_an_earlier_refusal_is_not_retried_at_every_make(self):
        m = self.machine(runs32=True, installed=EVERYTHING)
        with open(m.way, "w") as f:
            f.write("wine32 could not be installed: E: Unable to correct problems\n")
        m.run("wine")
        self.assertEqual(m.status, 0, m.err)
        self.assertNotIn("apt-get", "\n".join(m.journal()))
        self.assertIn("Remove " + m.way + " to try again", m.out)

    def test_a_needed_package_refused_stops_with_its_name_and_apts_reason(self):
        m = self.machine(runs32=False, installed=BUILD,
                         refuse={"wine64": "E: Package 'wine64' has no installation candidate"})
        m.run("wine")
        self.assertEqual(m.status, 1)
        self.assertIn("cannot install wine64: E: Package 'wine64' has no installation candidate", m.err)
        # Only the refused one is named.
        self.assertNotIn("cannot install xvfb", m.err)

    def test_build_alone_needs_no_wine(self):
        for runs32 in (False, True):
            with self.subTest(runs32=runs32):
                m = self.machine(runs32=runs32).run("build")
                self.assertEqual(m.status, 0, m.err)
                installed = m.read("installed").split()
                self.assertEqual(sorted(installed), sorted(BUILD))
                self.assertNoI386(m)
                self.assertIsNone(m.way_text())

    def test_64bit_asked_for_on_a_32bit_machine_leaves_i386_alone(self):
        m = self.machine(runs32=True, installed=EVERYTHING).run(env={"DORVANE_WINE_BITS": "64"})
        self.assertEqual(m.status, 0, m.err)
        self.assertNoI386(m)

    def test_nothing_missing_asks_apt_nothing_and_prints_nothing(self):
        m = self.machine(runs32=False, installed=EVERYTHING).run()
        self.assertEqual((m.status, m.out, m.err), (0, "", ""))
        self.assertNotIn("apt-get", "\n".join(m.journal()))


if __name__ == "__main__":
    unittest.main()

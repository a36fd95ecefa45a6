"""Which way the Wine levels take on this machine, for the Python tests.

scripts/wine-env.sh decides it for every level (the shipped 32-bit program
under 32-bit Wine where this machine runs 32-bit code, otherwise the same
sources built for x86_64 under 64-bit Wine), from what the set-up found;
this module asks it rather than deciding again, so that no level can test
another build than the others."""

import functools
import glob
import os
import shutil
import subprocess
from dataclasses import dataclass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINESERVER = "/usr/lib/wine/wineserver"
# The 64-bit loader, for what runs in a 64-bit prefix on either way: the
# Windows Installer package is installed as on 64-bit Windows everywhere.
WINE64 = "/usr/lib/wine/wine64"


@dataclass(frozen=True)
class Way:
    bits: int        # 32 or 64
    arch: str        # WINEARCH of its prefixes
    loader: str      # the Wine loader to start programs with
    program: str     # the folder of dorvane.exe and its help files
    tests: str       # the folder of the test programs and probes
    note: str        # as the summary of scripts/test-all.sh names it

    def environment(self, prefix, **extra):
        """The environment of a throwaway prefix in the folder `prefix`."""
        return dict(os.environ, WINEARCH=self.arch, WINELOADER=self.loader, WINEDEBUG="-all",
                    WINEDLLOVERRIDES="mscoree,mshtml=", WINEPREFIX=prefix, **extra)


@functools.lru_cache(maxsize=None)
def way():
    script = ('. scripts/wine-env.sh >/dev/null && '
              'printf "%s\\n" "$WINE_BITS" "$WINEARCH" "$WINE_LOADER" '
              '"$WINE_PROGRAM" "$WINE_BUILD" "$WINE_BITS_NOTE"')
    lines = subprocess.run(["bash", "-c", script], cwd=ROOT, capture_output=True, text=True,
                           check=True, timeout=120).stdout.splitlines()
    bits, arch, loader, program, tests, note = lines
    return Way(int(bits), arch, loader, os.path.join(ROOT, program), os.path.join(ROOT, tests),
               note)


def forget_prefix(env):
    """Removes the prefix where env says, with its server's folder.

    Debian's Wine keeps a folder for each prefix's server,
    /tmp/wine-XXXXXX/server-DEVICE-INODE, named by the prefix folder's
    device and inode, and leaves it when the server ends. A prefix made
    afresh in the same place is another folder with another inode, so
    the folder of the one before would stay for good: its server is ended
    and its folder removed first."""
    prefix = env["WINEPREFIX"]
    if os.path.isdir(prefix):
        stat = os.stat(prefix)
        folders = glob.glob("/tmp/wine-*/server-%x-%x" % (stat.st_dev, stat.st_ino))
        # Asked only where the folder is: asking a prefix without one makes it.
        if folders:
            subprocess.run([WINESERVER, "-k"], env=env, capture_output=True, timeout=60)
            subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
        for folder in folders:
            shutil.rmtree(folder, ignore_errors=True)
            try:
                os.rmdir(os.path.dirname(folder))
            except OSError:
                pass
    shutil.rmtree(prefix, ignore_errors=True)


def boot_prefix(env):
    """A fresh prefix where env says, booted and idle, with Wine's own fonts
    in its Fonts folder: Debian's 32-bit Wine finds them nowhere else, and
    without them its captions and dialogs fall back to other faces."""
    forget_prefix(env)
    subprocess.run([env["WINELOADER"], "wineboot", "-i"], env=env, capture_output=True,
                   timeout=300)
    subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
    fonts = os.path.join(env["WINEPREFIX"], "drive_c", "windows", "Fonts")
    if not os.path.isdir(fonts):
        raise RuntimeError(f"{env['WINELOADER']} wineboot made no prefix in {env['WINEPREFIX']}")
    if os.path.isdir("/usr/share/wine/fonts"):
        for font in os.listdir("/usr/share/wine/fonts"):
            if not os.path.exists(os.path.join(fonts, font)):
                shutil.copy(os.path.join("/usr/share/wine/fonts", font), fonts)

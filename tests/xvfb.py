"""A virtual X server of a test's own, for the Python tests that run Wine."""

import os
import subprocess
import tempfile
import time


def taken(number):
    """Whether another X server holds the display: its lock file or its socket."""
    return os.path.exists(f"/tmp/.X{number}-lock") or \
        os.path.exists(f"/tmp/.X11-unix/X{number}")


def start_xvfb(numbers, wait=30):
    """Starts Xvfb on the first free display among `numbers` and waits until
    it listens; returns (the process, the DISPLAY value). Other runs share
    the machine: a display that one takes between the look and Xvfb's start
    (Xvfb then ends at once) is passed over. Raises RuntimeError with Xvfb's
    own words when it ends or does not listen within `wait` seconds."""
    for number in numbers:
        if taken(number):
            continue
        errors = tempfile.TemporaryFile()
        process = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24",
                                    "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                   stderr=errors)
        socket = f"/tmp/.X11-unix/X{number}"
        deadline = time.monotonic() + wait
        while process.poll() is None and time.monotonic() < deadline:
            if os.path.exists(socket):
                errors.close()
                return process, f":{number}"
            time.sleep(0.1)
        if process.poll() is not None and taken(number):
            errors.close()
            continue
        process.kill()
        process.wait()
        errors.seek(0)
        words = errors.read().decode("utf-8", "replace").strip()
        errors.close()
        raise RuntimeError(f"Xvfb did not start on :{number}: {words}")
    raise RuntimeError(f"Xvfb did not start: no free display among {list(numbers)}")

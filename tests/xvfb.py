"""A virtual X server of a test's own, for the Python tests that run Wine."""

import os
import subprocess
import time


def start_xvfb(numbers):
    """Starts Xvfb on the first free display among `numbers` and waits until
    it listens; returns (the process, the DISPLAY value)."""
    for number in numbers:
        if not os.path.exists(f"/tmp/.X{number}-lock") and \
                not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            break
    process = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24",
                                "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    socket = f"/tmp/.X11-unix/X{number}"
    deadline = time.monotonic() + 10
    while not os.path.exists(socket) and time.monotonic() < deadline:
        time.sleep(0.1)
    return process, f":{number}"

"""What every part of the suite shares: waiting, skipping, the programs a case started."""

import os
import time

TIMEOUT = 30.0  # seconds to wait for anything the program shows; longer under a wrapper
LAUNCHED = []  # every program started, so that a failed case leaves none behind


def wait_for(what, check, timeout=None):
    deadline = time.monotonic() + (timeout or globals()["TIMEOUT"])
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


class Skipped(Exception):
    """A case that does not apply to this session."""


def read_line(fd, what):
    line = b""
    while not line.endswith(b"\n"):
        chunk = os.read(fd, 256)
        if not chunk:
            raise RuntimeError(what + " did not start")
        line += chunk
    os.close(fd)
    return line.decode().strip()

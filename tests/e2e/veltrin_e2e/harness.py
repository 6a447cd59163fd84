"""What every part of the suite shares: waiting, skipping, the programs a case started."""

import atexit
import os
import shutil
import subprocess
import tempfile
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


LOCALES = {"pl": "pl_PL"}  # the desktop locale each language's case starts the program in


def speaking(language):
    """The environment a desktop gives a program: English whatever this machine's locale is,
    or a `language` user's locale (LANG=pl_PL.UTF-8), generated as on their system (here into
    a folder of our own, LOCPATH, rather than the system's)."""
    if not language:
        return {"LANGUAGE": "", "LC_ALL": "C.UTF-8"}
    if not hasattr(speaking, "folder"):
        speaking.folder = tempfile.mkdtemp(prefix="veltrin-locales-")
        atexit.register(shutil.rmtree, speaking.folder, True)
    locale = LOCALES[language] + ".UTF-8"
    if not os.path.isdir(os.path.join(speaking.folder, locale)):
        folder = os.path.join(speaking.folder, locale)
        command = ["localedef", "-i", LOCALES[language], "-f", "UTF-8", folder]
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return {"LANGUAGE": "", "LC_ALL": "", "LANG": locale, "LOCPATH": speaking.folder}


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

"""The command line, from tests/e2e:
    python3 -m veltrin_e2e --binary PATH [--wm openbox|weston | --wine WINPROBE_EXE]
                           [--screen-reader] [--wrapper "valgrind ..."] [case ...]"""

import argparse
import subprocess
import sys
import time
import traceback

from . import cases, harness
from . import screenshot  # noqa: F401  (its case joins the others)
from .cases import CASES
from .harness import LAUNCHED, Skipped
from .weston import Weston
from .wine import Wine
from .x11 import Display


def where(e):
    """The line of the cases where a failure surfaced: even a bare assert names itself."""
    frames = [f for f in traceback.extract_tb(e.__traceback__) if f.filename == cases.__file__]
    return " at cases.py:%d: %s" % (frames[-1].lineno, frames[-1].line) if frames else ""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--wm", choices=["openbox", "weston"])
    parser.add_argument(
        "--wine",
        metavar="WINPROBE_EXE",
        help="run the Windows program under Wine, read through this probe",
    )
    parser.add_argument(
        "--screen-reader",
        action="store_true",
        help="switch on assistive technology and read what it sees",
    )
    parser.add_argument("--wrapper", help="run the program under this command")
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()
    if args.wrapper:
        harness.TIMEOUT *= 10
    if args.wine:
        d = Wine(args.wine)
    elif args.wm == "weston":
        d = Weston()
    else:
        d = Display(args.wm, args.screen_reader)
    if args.wrapper:
        d.launcher = args.wrapper.split()
    passed = failed = 0
    started = time.monotonic()
    try:
        for fn in CASES:
            if args.cases and fn.__name__ not in args.cases:
                continue
            t = time.monotonic()
            try:
                fn(d, args.binary)
                passed += 1
                print("PASS %s (%.1f s)" % (fn.__name__, time.monotonic() - t), flush=True)
            except Skipped as e:
                print("SKIP %s: %s" % (fn.__name__, e), flush=True)
            except Exception as e:  # report and go on to the next case
                failed += 1
                print("FAIL %s: %r%s" % (fn.__name__, e, where(e)), flush=True)
                subprocess.run(
                    ["import", "-window", "root", "/tmp/veltrin-e2e-%s.png" % fn.__name__],
                    env=d.env,
                )
            finally:
                for process in LAUNCHED:
                    if process.poll() is None:
                        process.kill()
                        process.wait()
                LAUNCHED.clear()
    finally:
        d.close()
    print("%d passed, %d failed in %.1f s" % (passed, failed, time.monotonic() - started))
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Times launch -> start-up message on screen, for Veltrin and for bench/bare_message, on
its own Xvfb, alternating the two so that both see the same machine load.

usage: startup.py VELTRIN BARE_MESSAGE [RUNS]
       (RUNS 15 by default; VELTRIN_BENCH_SHORT set, 2)
"""

import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from veltrin_e2e.harness import wait_for  # noqa: E402  (the end-to-end suite's X helpers)
from veltrin_e2e.x11 import Display  # noqa: E402


def time_to_message(display, binary):
    started = time.monotonic()
    process = subprocess.Popen(
        [binary], env=display.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
    )
    wait_for("the message", lambda: display.find("Veltrin", process.pid))
    took = time.monotonic() - started
    process.kill()
    process.wait()
    wait_for("the message to go", lambda: display.find("Veltrin", None) is None)
    return took


def main():
    usage = __doc__.split("\n\n")[-1].strip()
    if sys.argv[1:2] in (["-h"], ["--help"]):
        print(usage)
        return
    if len(sys.argv) not in (3, 4):
        print(usage, file=sys.stderr)
        sys.exit(2)
    veltrin, bare = sys.argv[1], sys.argv[2]
    runs = 2 if "VELTRIN_BENCH_SHORT" in os.environ else 15
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else runs
    display = Display()
    times = {veltrin: [], bare: []}
    try:
        for _ in range(runs):
            for binary in (veltrin, bare):
                times[binary].append(time_to_message(display, binary))
    finally:
        display.close()
    for name, binary in (("Veltrin", veltrin), ("bare message box", bare)):
        t = times[binary]
        print(
            "%-17s median %.1f ms, min %.1f ms over %d launches"
            % (name, 1000 * statistics.median(t), 1000 * min(t), len(t))
        )
    print(
        "ratio of medians Veltrin / bare: %.2f"
        % (statistics.median(times[veltrin]) / statistics.median(times[bare]))
    )


if __name__ == "__main__":
    main()

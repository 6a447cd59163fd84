"""The screenshots the docs show (docs/screenshot-NAME.png), taken of the real program in the
sessions that run anyway and compared with the committed ones by ImageMagick's `compare`;
with VELTRIN_SCREENSHOTS=write, written afresh instead. The page's, taken in Chromium
(web.test.mjs), come here too:

    python3 -m veltrin_e2e.screenshot NAME < PNG"""

import os
import re
import subprocess
import sys
import tempfile

from .cases import case
from .harness import Skipped, wait_for
from .program import Veltrin

DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "docs")
BOARD = "RBWWBRBRW"  # the board every screenshot shows, its last square clicked last

# A remake on the same machine gives the same pixels; fonts, antialiasing or a toolkit's
# version elsewhere may move a few. A pixel counts as changed when its colour lies further
# than FUZZ from the committed one's, and a picture as changed when more than MOST of its
# pixels are, or its size is not the same.
FUZZ = "10%"
MOST = 0.005


def png(image, *source):
    """The PNG of `image` read by ImageMagick as `source` ("png:-", or raw pixels), with no
    time in it, so that the same picture is the same bytes."""
    convert = ["convert", *source, "-alpha", "off", "-define", "png:exclude-chunks=date,time"]
    return subprocess.run(
        convert + ["PNG24:-"], input=image, capture_output=True, check=True
    ).stdout


def check(name, image):
    """Compares the PNG `image` with docs/screenshot-NAME.png, or writes it there. Returns
    what it found; raises AssertionError where the two differ."""
    committed = os.path.normpath(os.path.join(DOCS, "screenshot-%s.png" % name))
    fresh = png(image, "png:-")
    if os.environ.get("VELTRIN_SCREENSHOTS") == "write":
        with open(committed, "wb") as f:
            f.write(fresh)
        return "wrote " + committed
    kept = os.path.join(tempfile.gettempdir(), "veltrin-screenshot-%s.png" % name)
    with open(kept, "wb") as f:
        f.write(fresh)
    identify = ["identify", "-format", "%wx%h\n", committed, kept]
    sizes = subprocess.run(identify, capture_output=True, text=True).stdout.split("\n")
    now = f"the window now ({kept})"
    assert sizes[0] == sizes[1], f"{committed} is {sizes[0]} pixels, {now} {sizes[1]}"
    compare = ["compare", "-metric", "AE", "-fuzz", FUZZ, committed, kept, "null:"]
    done = subprocess.run(compare, capture_output=True, text=True)
    changed = re.fullmatch(r"\s*([\d.e+]+)\s*", done.stderr)
    assert changed and done.returncode in (0, 1), f"{' '.join(compare)}: {done.stderr.strip()}"
    width, height = map(int, sizes[1].split("x"))
    share = float(changed.group(1)) / (width * height)
    assert share <= MOST, (
        "%s and the window now (%s) differ in %.1f %% of their pixels; if the look changed on "
        "purpose, write them afresh with VELTRIN_SCREENSHOTS=write" % (committed, kept, 100 * share)
    )
    os.remove(kept)
    return "%s: %.2f %% of the pixels differ" % (os.path.basename(committed), 100 * share)


@case
def the_window_as_the_docs_show_it(d, binary):
    """The docs' screenshot of this session: the window with a board clicked in, in the frame
    the session gives it, as the committed picture shows it."""
    if not d.shot:
        raise Skipped("the docs show the openbox, Weston and Wine sessions")
    v = Veltrin(d, binary)
    v.enter(BOARD)
    looks = [None]

    def settled():  # two looks in a row the same: the focus mark drawn too
        looks.append(d.docs_picture(v))
        return looks[-1] if looks[-1] == looks[-2] else None

    width, height, pixels = wait_for("the window to settle", settled)
    raw = ["-size", "%dx%d" % (width, height), "-depth", "8", "bgra:-"]
    print("    " + check(d.shot, png(pixels, *raw)))
    v.quit()


if __name__ == "__main__":
    try:
        print(check(sys.argv[1], sys.stdin.buffer.read()))
    except AssertionError as e:
        sys.exit(str(e))

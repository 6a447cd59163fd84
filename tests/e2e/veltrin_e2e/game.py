"""The game's colours, the texts the program shows as every harness expects them
(tests/texts.json, Polish among them) and the searches of a fresh run
(tests/solver/golden.txt): written independently of the code under test."""

import json
import os
import re
from collections import namedtuple

COLOURS = {(255, 0, 0): "R", (0, 0, 255): "B", (255, 255, 255): "W"}

TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
with open(os.path.join(TESTS, "texts.json"), encoding="utf-8") as texts:
    TEXTS = json.load(texts)
STARTUP_TEXT, PROMPT, NAMES = TEXTS["startUp"], TEXTS["prompt"], TEXTS["squareNames"]
APP, WINDOW, SOLVE = TEXTS["appTitle"], TEXTS["windowTitle"], TEXTS["solveCaption"]


def polish_result(english):
    """The result message a Polish user reads for the search whose English text is given: the
    same counts, in Polish words, each with the form its count takes."""
    pl = TEXTS["pl"]
    lines = [
        "\r\n\r\n%s %s" % (name, pl["times"][n])
        for name, n in zip(pl["squareNames"], parse_result(english))
    ]
    return pl["prompt"] + "".join(lines)


def advance(letter):
    return "RBW"[("RBW".index(letter) + 1) % 3]


def parse_result(text):
    """The nine press counts of a result message (its exact text is checked against the
    recorded searches)."""
    assert text.startswith(PROMPT), repr(text)
    return [int(n) for n in re.findall(r" ([012]) time\(s\)", text)]


Search = namedtuple("Search", "board trials solved text")


def golden():
    """The boards a fresh run solves one after another, with the trials each takes, the
    board it leaves and the exact combination text."""
    with open(os.path.join(TESTS, "solver", "golden.txt"), encoding="ascii") as lines:
        return [
            Search(board, int(trials), solved, text.replace("\\r\\n", "\r\n"))
            for board, trials, solved, text in (
                line.rstrip("\n").split(" ", 3) for line in lines if not line.startswith("#")
            )
        ]

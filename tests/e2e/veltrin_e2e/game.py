"""The game, from its rules, the texts the program shows as every harness expects them
(tests/texts.json) and the searches of a fresh run (tests/solver/golden.txt): written
independently of the code under test."""

import json
import os
import re
from collections import namedtuple

COLOURS = {(255, 0, 0): "R", (0, 0, 255): "B", (255, 255, 255): "W"}

TESTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
with open(os.path.join(TESTS, "texts.json"), encoding="ascii") as texts:
    TEXTS = json.load(texts)
STARTUP_TEXT, PROMPT, NAMES = TEXTS["startUp"], TEXTS["prompt"], TEXTS["squareNames"]
APP, WINDOW, SOLVE = TEXTS["appTitle"], TEXTS["windowTitle"], TEXTS["solveCaption"]


def advance(letter):
    return "RBW"[("RBW".index(letter) + 1) % 3]


def game_press(board, p):
    board = list(board)
    r, c = divmod(p, 3)
    for dr, dc in ((0, 0), (0, -1), (0, 1), (-1, 0), (1, 0)):
        if 0 <= r + dr < 3 and 0 <= c + dc < 3:
            k = (r + dr) * 3 + c + dc
            board[k] = advance(board[k])
    return "".join(board)


def parse_result(text):
    """The nine press counts of a result message (its exact text is checked against the
    recorded searches)."""
    assert text.startswith(PROMPT), repr(text)
    return [int(n) for n in re.findall(r" ([012]) time\(s\)", text)]


Search = namedtuple("Search", "board trials text")


def golden():
    """The boards a fresh run solves one after another, with the trials each takes and the
    exact combination text."""
    with open(os.path.join(TESTS, "solver", "golden.txt"), encoding="ascii") as lines:
        return [
            Search(board, int(trials), text.replace("\\r\\n", "\r\n"))
            for board, trials, text in (
                line.rstrip("\n").split(" ", 2) for line in lines if not line.startswith("#")
            )
        ]

"""One run of the program, from launch to the window being up, driven as a person would."""

import subprocess
import tempfile
import time

from . import harness
from .game import APP, COLOURS, TEXTS, WINDOW, advance
from .harness import LAUNCHED, wait_for


class Veltrin:
    """One run of the program, from launch to the window being up."""

    def __init__(self, display, binary, language=None):
        """Started in English, whatever the session's locale, or as a desktop in `language`
        ("pl") starts it, its caption then that language's."""
        self.d = display
        self.restless_rounds = 0
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            display.launcher + [binary],
            env=dict(display.env, **harness.speaking(language)),
            stdout=subprocess.DEVNULL,
            stderr=self.errors,
        )
        LAUNCHED.append(self.process)
        self.caption = TEXTS[language]["windowTitle"] if language else WINDOW
        box = wait_for("the start-up message", lambda: self.find(APP) or self.gone())
        self.startup_window_was_hidden = self.find(self.caption) is None
        self.startup_text = self.read_message(box)
        self.window = wait_for("the main window", lambda: self.find(self.caption))
        wait_for("nine red squares", lambda: self.board() == "RRRRRRRRR")

    def find(self, title):
        return self.d.find(title, self.process.pid)

    def read_message(self, box):
        text = self.d.read_message(self, box)
        if hasattr(self, "window"):
            # What the message covered is repainted a moment later (on Weston at its next
            # frame, on X once the program has its expose event, later on a busy machine):
            # wait for two looks in a row to show the same whole board.
            def settled():
                board = self.board()
                return "?" not in board and board == self.board()

            wait_for("the window to be repainted", settled)
        return text

    def square_centre(self, k):
        return 8 + (k % 3) * 40 + 20, 8 + (k // 3) * 40 + 20

    def board(self):
        pixel = self.d.pixels(self.window)
        # Read up and left of the centre: a compositor draws the pointer into its screenshots,
        # with its tip where the last click was.
        points = [(x - 10, y - 10) for x, y in map(self.square_centre, range(9))]
        return "".join(COLOURS.get(pixel(x, y), "?") for x, y in points)

    def click(self, x, y):
        self.d.run(["xdotool"] + self.d.pointer(self.window, x, y) + ["click", "1"])

    def click_square(self, k):
        self.click(*self.square_centre(k))

    def enter(self, board):
        current = self.board()
        for k in range(9):
            while current[k] != board[k]:
                self.click_square(k)
                expected = current[:k] + advance(current[k]) + current[k + 1 :]
                current = wait_for(
                    "square %d to change" % k,
                    lambda: (lambda b: b if b == expected else None)(self.board()),
                )

    def solve(self, restless=False):
        """Presses Solve and returns the result message's text. Restless: clicks on every
        square and on Solve while the search runs, round after round in one xdotool run each,
        until the result is up (it is modal: clicks cannot reach the window behind it). No
        keys: a search may end before they arrive, and a key for the window would answer the
        message instead; keys during a search are checked in process (search_test)."""
        solve = self.d.pointer(self.window, 68, 140) + ["click", "1"]
        command = ["xdotool"] + solve
        started = time.monotonic()
        while True:
            if restless:
                self.restless_rounds += 1
                for k in range(9):
                    command += self.d.pointer(self.window, *self.square_centre(k)) + ["click", "1"]
                command += solve
            self.d.run(command)
            if not restless or self.find(APP):
                break
            assert time.monotonic() < started + 120, "the search never ended"
            command = ["xdotool"]
        box = wait_for("the result message", lambda: self.find(APP) or self.gone(), timeout=120)
        return self.read_message(box)

    def gone(self):
        """Fails at once, rather than by a time-out, if the program is no longer running."""
        if self.process.poll() is not None:
            raise AssertionError(self.exit_report())
        return None

    def exit_report(self):
        """How the program ended, and what it said on the way."""
        self.errors.seek(0)
        # Under valgrind, its log file's name too.
        logs = [a.replace("%p", str(self.process.pid)) for a in self.d.launcher if "log" in a]
        under = " ".join(["", "under"] + self.d.launcher[:1] + logs) if self.d.launcher else ""
        status, said = self.process.returncode, self.errors.read().decode()
        return f"Veltrin{under} exited with status {status}: {said}"

    def quit(self):
        """Closes the window, as a user does; the program must end with status 0."""
        self.d.close_window(self.window)
        self.process.wait(timeout=harness.TIMEOUT)
        assert self.process.returncode == 0, self.exit_report()

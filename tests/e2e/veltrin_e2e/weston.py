"""A Wayland session: Weston on our Xvfb, Veltrin its native Wayland client."""

import os
import shutil
import tempfile

from .game import APP
from .harness import wait_for
from .x11 import Display, OnScreen


class Weston(OnScreen, Display):
    """A Wayland session: Weston runs as a window on our Xvfb (its X11 back end), so that
    xdotool's pointer and keys reach Weston's seat and, through it, Veltrin, a native Wayland
    client. Weston places windows itself and Qt draws their frames, so the board is found on
    the screen, and windows and messages through the screen reader's view."""

    SOCKET = "veltrin-e2e"

    def __init__(self):
        super().__init__(screen_reader=True, size="820x620")
        self.shot = "weston"
        self.runtime = runtime = tempfile.mkdtemp(prefix="veltrin-e2e-")  # private, as XDG wants
        self.env.update(
            XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=Weston.SOCKET, QT_QPA_PLATFORM="wayland"
        )
        self.start(
            ["weston", "--backend=x11-backend.so", "--socket=" + Weston.SOCKET, "--use-pixman"]
            + ["--width=800", "--height=600", "--idle-time=0"]
        )
        # Up once its desktop shell has drawn the background.
        wait_for(
            "Weston's desktop",
            lambda: self.screenshot()[2][:3] != b"\0\0\0"
            if os.path.exists(os.path.join(runtime, Weston.SOCKET))
            else None,
        )
        # Weston follows the pointer once it has entered its window; the screen is a little
        # larger than that window, so that the pointer can come in from outside.
        self.run(
            ["xdotool", "mousemove", "810", "610", "sleep", "0.1", "mousemove", "400", "300"],
            check=True,
        )

    def close(self):
        super().close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    # The window as the docs show it, relative to its client area's top left corner: within
    # the frame Qt draws, without the desktop about it, which differs with where Weston puts
    # the window (only the frame's rounded corners show a few of its pixels).
    PICTURE = (-3, -30, 142, 191)

    def docs_picture(self, veltrin):
        # Weston draws the pointer into its output: out of the way, in a corner of its desktop.
        self.run(["xdotool", "mousemove", "10", "590"], check=True)
        width, _, data = self.screenshot()
        (x, y), (dx, dy, w, h) = veltrin.window, self.PICTURE
        rows = [data[((y + dy + r) * width + x + dx) * 4 :][: w * 4] for r in range(h)]
        return w, h, b"".join(rows)

    def find(self, title, pid):
        if self.reader.window(pid, title, "frame"):
            return self.locate_board()
        return self.reader.window(pid, title) and True  # a message: one is up at a time

    def locate_board(self):
        """The main window's top left corner on the screen, from its red squares (a fresh
        board is all red): the first red pixel with eight more at the squares' pitch."""
        width, _, data = self.screenshot()
        red = b"\x00\x00\xff"  # BGR
        grid = [(40 * j * width + 40 * i) * 4 for i in range(3) for j in range(3)]
        at = data.find(red)
        while at >= 0:
            if at % 4 == 0 and all(data[at + d : at + d + 3] == red for d in grid):
                x, y = at // 4 % width, at // 4 // width
                return x - 9, y - 9  # a square's fill starts inside its one-pixel frame
            at = data.find(red, at + 1)
        return None

    def read_message(self, veltrin, box):
        # Read and answered as a screen reader user does. Keys would go wherever Weston has
        # put the keyboard focus, and Qt may call the message active a moment before Weston
        # gives it the keyboard: a Return sent then would press the focused Solve button.
        # Ctrl+C and the exact CR LF text are checked on X.
        def read():
            # None while Qt is still building the message's tree and its objects change.
            try:
                message = self.reader.window(veltrin.process.pid, APP)
                labels = self.reader.descendants(message, "label")
                ok = [b for b in self.reader.descendants(message, "push button") if b.name == "OK"]
                return "\n".join(label.name for label in labels if label.name), ok[0]
            except Exception:
                return None

        text, ok = wait_for("the message's text", read)
        self.reader.press(ok)
        wait_for("the message to close", lambda: not veltrin.find(APP))
        # The label shows the lines split by LF alone.
        return text.replace("\n", "\r\n")

    def close_window(self, window):
        # The close button of the frame Qt draws, at its place beside the window's contents.
        self.run(["xdotool"] + self.pointer(window, 121, -16) + ["click", "1"])

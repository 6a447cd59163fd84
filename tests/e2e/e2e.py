#!/usr/bin/env python3
"""Veltrin end to end, as a person uses it: the real binary on a real X server (Xvfb), bare,
under a window manager, as a Wayland client of Weston, or the Windows program under Wine,
driven with xdotool, read back from the screen and, for messages, through Ctrl+C and the
clipboard; with --screen-reader (and under Weston and Wine) also as assistive technology
sees it. Results are checked against this file's own model of the game.

usage: e2e.py --binary PATH [--wm openbox|weston | --wine WINPROBE_EXE] [--screen-reader]
              [--wrapper "valgrind ..."] [case ...]
"""

import argparse
import ctypes
import ctypes.util
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

TIMEOUT = 30.0
COLOURS = {(255, 0, 0): "R", (0, 0, 255): "B", (255, 255, 255): "W"}
# The texts the program shows, as every harness expects them (tests/texts.json).
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "texts.json"),
          encoding="ascii") as texts:
    TEXTS = json.load(texts)
STARTUP_TEXT, PROMPT, NAMES = TEXTS["startUp"], TEXTS["prompt"], TEXTS["squareNames"]
APP, WINDOW, SOLVE = TEXTS["appTitle"], TEXTS["windowTitle"], TEXTS["solveCaption"]


# ---- the game, from its rules -------------------------------------------------------------

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
    """The nine press counts of a result message, checking its exact form on the way."""
    assert text.startswith(PROMPT), repr(text)
    entries = text[len(PROMPT):].split("\r\n\r\n")
    assert entries[0] == "" and len(entries) == 10, repr(text)
    counts = []
    for name, entry in zip(NAMES, entries[1:]):
        m = re.fullmatch(re.escape(name) + r" ([012]) time\(s\)", entry)
        assert m, repr(entry)
        counts.append(int(m.group(1)))
    return counts


# ---- the sessions -----------------------------------------------------------------------------

def wait_for(what, check, timeout=None):
    deadline = time.monotonic() + (timeout or TIMEOUT)
    while True:
        result = check()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.02)


class Skipped(Exception):
    """A case that does not apply to this session."""


def ppm(data):
    """(width, height, RGB bytes) of a binary PPM image."""
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return int(m.group(1)), int(m.group(2)), data[m.end():]


class Display:
    """An X session of our own: Xvfb, optionally a window manager, and optionally a session
    bus with assistive technology switched on, so that a screen reader's view can be read."""

    def __init__(self, wm=None, screen_reader=False, size="800x600"):
        read, write = os.pipe()
        # -noreset: by default Xvfb resets whenever its last client disconnects, and refuses
        # the connections that arrive meanwhile, as they do between one program and the next.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-noreset", "-screen", "0", size + "x24",
             "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self.name = ":" + read_line(read, "Xvfb")
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.helpers = []  # processes to end with the session, last started first
        self.launcher = []  # what the program is started through (valgrind, Wine)
        self.reader = ScreenReader(self) if screen_reader else None
        if wm:
            self.start([wm])
            wait_for("the window manager", lambda: "window id" in self.run(
                ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]))

    def start(self, args, env=None):
        process = subprocess.Popen(args, env=env or self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.helpers.append(process)
        return process

    def run(self, args, check=False):
        # Decoded by hand: text mode would turn the messages' CR LF into LF.
        done = subprocess.run(args, env=self.env, capture_output=True)
        if check and done.returncode:
            raise AssertionError("%s failed: %s" % (args[0], done.stderr.decode()))
        return done.stdout.decode()

    def close(self):
        for p in list(reversed(self.helpers)) + [self.xvfb]:
            p.terminate()
            p.wait()

    def screenshot(self, window="root"):
        return ppm(subprocess.run(["import", "-window", window, "-depth", "8", "ppm:-"],
                                  env=self.env, capture_output=True, check=True).stdout)

    # ---- what differs between sessions: finding windows, pointing, reading, closing ----

    def find(self, title, pid):
        """The visible window of that title, or None. Only one Veltrin runs at a time."""
        ids = self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title]).split()
        return ids[0] if ids else None

    def pointer(self, window, x, y):
        """xdotool arguments that put the pointer at (x, y) in the window."""
        return ["mousemove", "--window", window, str(x), str(y)]

    def capture(self, window):
        """A screenshot that shows the window, and the window's place in it."""
        return self.screenshot(window), (0, 0)

    def pixels(self, window):
        """A function giving the RGB of the window's pixel (x, y)."""
        (width, _, data), (ox, oy) = self.capture(window)

        def pixel(x, y):
            at = ((oy + y) * width + ox + x) * 3
            return tuple(data[at:at + 3])
        return pixel

    def read_message(self, veltrin, box):
        """Copies a message box's text with Ctrl+C, then presses OK (Return)."""
        self.clear_clipboard()
        # Real key presses (XTEST) go to the focused window; events sent to a window directly
        # are marked synthetic, and toolkits may ignore them.
        self.run(["xdotool", "windowfocus", "--sync", box])

        def copied():
            self.run(["xdotool", "key", "ctrl+c"])
            return self.run(["timeout", "5", "xclip", "-selection", "clipboard", "-o"])

        text = wait_for("the message on the clipboard", copied)
        self.run(["xdotool", "key", "Return"])
        wait_for("the message to close", lambda: not veltrin.find(APP))
        return text

    def clear_clipboard(self):
        # xclip stays behind to serve what it was given: no pipes for it to hold open.
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)

    def close_window(self, window):
        """Asks the window to close, as a window manager's close button does."""
        x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XInternAtom.restype = ctypes.c_ulong
        x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.c_void_p]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

        class ClientMessage(ctypes.Structure):
            _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                        ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                        ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                        ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                        ("pad", ctypes.c_long * 16)]

        dpy = x11.XOpenDisplay(self.name.encode())
        assert dpy, "no connection to the X server"
        event = ClientMessage()
        event.type = 33  # ClientMessage
        event.window = int(window)
        event.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
        x11.XSendEvent(dpy, int(window), 0, 0, ctypes.byref(event))
        x11.XFlush(dpy)
        x11.XCloseDisplay(dpy)


def read_line(fd, what):
    line = b""
    while not line.endswith(b"\n"):
        chunk = os.read(fd, 256)
        if not chunk:
            raise RuntimeError(what + " did not start")
        line += chunk
    os.close(fd)
    return line.decode().strip()


class ScreenReader:
    """The session's accessibility, switched on as a screen reader does, and Veltrin as
    assistive technology sees it: its AT-SPI tree, read through pyatspi."""

    def __init__(self, display):
        read, write = os.pipe()
        display.helpers.append(subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write)
        address = read_line(read, "the session bus")
        display.env["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address  # for pyatspi, in this process
        display.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                     "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                     "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                    check=True)
        import pyatspi  # Debian's python3-pyatspi; connects to the bus above
        self.atspi = pyatspi

    def window(self, pid, name, role=None):
        """The showing top-level window of that name (and role) of process pid, or None."""
        try:
            for app in self.atspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == pid:
                    for w in app:
                        if (w.name == name and role in (None, w.getRoleName())
                                and self.showing(w)):
                            return w
        except Exception:  # the window or the program went away while we asked
            pass
        return None

    def descendants(self, accessible, role):
        return self.atspi.findAllDescendants(accessible, lambda a: a.getRoleName() == role)

    def showing(self, accessible):
        return accessible.getState().contains(self.atspi.STATE_SHOWING)

    def press(self, accessible):
        """Presses it through the action interface, as a screen reader user does."""
        action = accessible.queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))

    def tree(self, accessible, depth=0):
        """The tree as text: role, name, description, one node a line."""
        line = "%s[%s] %r" % ("  " * depth, accessible.getRoleName(), accessible.name)
        if accessible.description:
            line += " (%s)" % accessible.description
        if not self.showing(accessible):
            line += " hidden"
        return "\n".join([line] + [self.tree(c, depth + 1) for c in accessible])


class OnScreen:
    """For sessions that place windows themselves: a window is its client area's top left
    corner on the screen, pointed at and read from screenshots of the whole screen."""

    def pointer(self, window, x, y):
        return ["mousemove", str(window[0] + x), str(window[1] + y)]

    def capture(self, window):
        return self.screenshot(), window


class Weston(OnScreen, Display):
    """A Wayland session: Weston runs as a window on our Xvfb (its X11 back end), so that
    xdotool's pointer and keys reach Weston's seat and, through it, Veltrin, a native Wayland
    client. Weston places windows itself and Qt draws their frames, so the board is found on
    the screen, and windows and messages through the screen reader's view."""

    SOCKET = "veltrin-e2e"

    def __init__(self):
        super().__init__(screen_reader=True, size="820x620")
        self.runtime = runtime = tempfile.mkdtemp(prefix="veltrin-e2e-")  # private, as XDG wants
        self.env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY=Weston.SOCKET,
                        QT_QPA_PLATFORM="wayland")
        self.start(["weston", "--backend=x11-backend.so", "--socket=" + Weston.SOCKET,
                    "--use-pixman", "--width=800", "--height=600", "--idle-time=0"])
        # Up once its desktop shell has drawn the background.
        wait_for("Weston's desktop", lambda: self.screenshot()[2][:3] != b"\0\0\0"
                 if os.path.exists(os.path.join(runtime, Weston.SOCKET)) else None)
        # Weston follows the pointer once it has entered its window; the screen is a little
        # larger than that window, so that the pointer can come in from outside.
        self.run(["xdotool", "mousemove", "810", "610", "sleep", "0.1", "mousemove", "400", "300"],
                 check=True)

    def close(self):
        super().close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def find(self, title, pid):
        if self.reader.window(pid, title, "frame"):
            return self.locate_board()
        return self.reader.window(pid, title) and True  # a message: one is up at a time

    def locate_board(self):
        """The main window's top left corner on the screen, from its red squares (a fresh
        board is all red): the first red pixel with eight more at the squares' pitch."""
        width, _, data = self.screenshot()
        red = b"\xff\x00\x00"
        grid = [(40 * j * width + 40 * i) * 3 for i in range(3) for j in range(3)]
        at = data.find(red)
        while at >= 0:
            if at % 3 == 0 and all(data[at + d:at + d + 3] == red for d in grid):
                x, y = at // 3 % width, at // 3 // width
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
                ok = [b for b in self.reader.descendants(message, "push button")
                      if b.name == "OK"]
                return "\n".join(label.name for label in labels if label.name), ok[0]
            except Exception:
                return None

        text, ok = wait_for("the message's text", read)
        self.reader.press(ok)
        wait_for("the message to close", lambda: not veltrin.find(APP))
        if hasattr(veltrin, "window"):
            # Weston repaints what the message covered at its next frame: wait for two
            # screenshots in a row to show the same whole board.
            def settled():
                board = veltrin.board()
                return "?" not in board and board == veltrin.board()
            wait_for("the window to be repainted", settled)
        # The label shows the lines split by LF alone.
        return text.replace("\n", "\r\n")

    def close_window(self, window):
        # The close button of the frame Qt draws, at its place beside the window's contents.
        self.run(["xdotool"] + self.pointer(window, 121, -16) + ["click", "1"])


class Wine(OnScreen, Display):
    """Windows: the Windows program under Wine on our Xvfb, with no window manager, so that
    Wine draws the frames as Windows does. A throw-away prefix with one persistent server.
    Windows and messages are read through the Win32 API by the suite's own probe, a Windows
    program run in the same prefix, as assistive technology on Windows reads them."""

    def __init__(self, probe):
        super().__init__()
        self.probe_exe = probe
        self.prefix = tempfile.mkdtemp(prefix="veltrin-wine-")
        # No Mono or Gecko: without them Wine would offer to download them, in a dialog.
        self.env.update(WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.launcher = ["wine"]
        self.server = self.start(["wineserver", "--foreground", "--persistent"])
        self.quietly(["wineboot", "--init"])
        self.prober = None

    def quietly(self, args):
        """Runs a Wine command with no pipes: the services it starts would hold them open."""
        subprocess.run(args, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True)

    def close(self):
        self.stop_probe()
        self.run(["wineserver", "--kill"])
        super().close()
        shutil.rmtree(self.prefix, ignore_errors=True)

    def probe(self, what):
        """What the probe prints, or "" when the window is not there. One probe process
        answers every question of the run: a Windows program takes most of a second to
        start under Wine."""
        if not self.prober:
            self.prober = subprocess.Popen(["wine", self.probe_exe, "serve"], env=self.env,
                                           stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL)
        self.prober.stdin.write(what.encode() + b"\n")
        self.prober.stdin.flush()
        status, length = map(int, self.prober.stdout.readline().split())
        text = self.prober.stdout.read(length).decode()
        return text if status == 0 else ""

    def stop_probe(self):
        if self.prober:
            self.prober.stdin.close()
            self.prober.wait()
            self.prober = None

    def window_info(self):
        """The main window as the probe sees it: {"client": [x, y, w, h], "dpi": [n],
        "close": [x, y], "style": [...], "focus": text, "controls": [[class, text, x, y, w,
        h, visible, enabled], ...]}, or None."""
        info = {"controls": []}
        for line in self.probe("window").splitlines():
            key, *fields = line.split("\t")
            fields = [int(f) if re.fullmatch(r"-?\d+", f) else f for f in fields]
            if key == "control":
                info["controls"].append(fields)
            else:
                info[key] = fields
        return info if "client" in info else None

    def find(self, title, pid):
        box = super().find(title, pid)
        if box and title == WINDOW:
            info = self.window_info()
            return info and tuple(info["client"][:2])
        return box

    def read_message(self, veltrin, box):
        text = wait_for("the message's text", lambda: self.probe("message"))
        # Copied with Ctrl+C, as a user takes the combination elsewhere: a Windows program
        # pastes exactly the text; X programs get it from Wine with Unix line ends.
        self.clear_clipboard()
        self.run(["xdotool", "windowfocus", "--sync", box])

        def copied():
            self.run(["xdotool", "key", "ctrl+c"])
            return self.probe("clipboard")

        assert wait_for("the message on the clipboard", copied) == text
        x_text = self.run(["timeout", "5", "xclip", "-selection", "clipboard", "-o"])
        assert x_text == text.replace("\r\n", "\n"), repr(x_text)
        self.run(["xdotool", "key", "Return"])
        wait_for("the message to close", lambda: not veltrin.find(APP))
        return text

    def keys(self, *keys):
        """Types these keys into the main window."""
        self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % WINDOW,
                  "windowfocus", "--sync", "key"] + list(keys), check=True)

    def close_window(self, window):
        # The close button of the frame Wine draws, as a user closes the window.
        x, y = self.window_info()["close"]
        self.run(["xdotool", "mousemove", str(x), str(y), "click", "1"])


LAUNCHED = []  # every program started, so that a failed case leaves none behind


class Veltrin:
    """One run of the program, from launch to the window being up."""

    def __init__(self, display, binary):
        self.d = display
        self.errors = tempfile.TemporaryFile()
        self.process = subprocess.Popen(display.launcher + [binary], env=display.env,
                                        stdout=subprocess.DEVNULL, stderr=self.errors)
        LAUNCHED.append(self.process)
        box = wait_for("the start-up message", lambda: self.find(APP) or self.gone())
        self.startup_window_was_hidden = self.find(WINDOW) is None
        self.startup_text = self.read_message(box)
        self.window = wait_for("the main window", lambda: self.find(WINDOW))
        wait_for("nine red squares", lambda: self.board() == "RRRRRRRRR")

    def find(self, title):
        return self.d.find(title, self.process.pid)

    def read_message(self, box):
        return self.d.read_message(self, box)

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
                expected = current[:k] + advance(current[k]) + current[k + 1:]
                current = wait_for("square %d to change" % k,
                                   lambda: (lambda b: b if b == expected else None)(self.board()))

    def solve(self, abuse_for=0.0):
        """Presses Solve and returns the result message's text; the search's duration is
        kept in last_search_seconds."""
        started = time.monotonic()
        self.click(8 + 60, 8 + 132)
        if abuse_for:
            # Everything a restless user can do while the search runs. Clicks go on until the
            # result is up (it is modal, so they cannot reach the window behind it); keys stop
            # well before the search does, since keys sent as the result comes up would
            # answer the message itself.
            self.abuse_rounds = 0
            while not self.find(APP):
                self.abuse_rounds += 1
                # One xdotool run per round, so that rounds come thick and fast.
                # Keys first: a round of clicks can take a while under a compositor.
                command = ["xdotool"]
                if time.monotonic() < started + abuse_for:
                    command += ["key", "space", "Return", "Tab", "space"]
                for x, y in [self.square_centre(k) for k in range(9)] + [(68, 140)]:
                    command += self.d.pointer(self.window, x, y) + ["click", "1"]
                self.d.run(command)
                assert time.monotonic() < started + 120, "the search never ended"
        box = wait_for("the result message", lambda: self.find(APP) or self.gone(),
                       timeout=120)
        self.last_search_seconds = time.monotonic() - started
        return self.read_message(box)

    def gone(self):
        """Fails at once, rather than by a time-out, if the program is no longer running."""
        if self.process.poll() is not None:
            self.errors.seek(0)
            raise AssertionError("Veltrin exited with status %d: %s"
                                 % (self.process.returncode, self.errors.read().decode()))
        return None

    def quit(self):
        self.d.close_window(self.window)
        return self.process.wait(timeout=TIMEOUT)


# ---- the cases ------------------------------------------------------------------------------

CASES = []


def case(fn):
    CASES.append(fn)
    return fn


@case
def one_short_solve(d, binary):
    """Start-up, one solve, close: the whole life of the program, quick enough to run under
    a memory checker. The fixed generator solves this board in four trials."""
    v = Veltrin(d, binary)
    v.enter("BWBRRBRRR")
    counts = parse_result(v.solve())
    assert len(set(v.board())) == 1, v.board()
    assert counts != [0] * 9
    assert v.quit() == 0


@case
def startup_message_comes_first_and_is_exact(d, binary):
    v = Veltrin(d, binary)
    assert v.startup_window_was_hidden, "the window was up before the start-up message"
    assert v.startup_text == STARTUP_TEXT, repr(v.startup_text)
    assert v.quit() == 0


@case
def clicks_cycle_only_the_clicked_square(d, binary):
    v = Veltrin(d, binary)
    model = "RRRRRRRRR"
    for k in (4, 0, 8, 4, 4, 2, 6, 1, 3, 5, 7, 8, 8):
        v.click_square(k)
        model = model[:k] + advance(model[k]) + model[k + 1:]
        wait_for("board %s" % model, lambda: v.board() == model)
    assert v.quit() == 0


@case
def reported_combinations_solve_the_entered_boards(d, binary):
    v = Veltrin(d, binary)
    for entered in ("RWRWWWRWR", "BRRRRRRRR", "WBRWBRWBR", "RRRRRRRRR", "BWWRBRWBB"):
        v.enter(entered)
        counts = parse_result(v.solve())
        replay = entered
        for p, n in enumerate(counts):
            for _ in range(n):
                replay = game_press(replay, p)
        assert len(set(replay)) == 1, (entered, counts, replay)
        assert v.board() == replay, (entered, v.board(), replay)
        if entered == "RRRRRRRRR":
            assert counts == [0] * 9
    assert v.quit() == 0


@case
def same_clicks_in_a_fresh_run_give_the_same_message(d, binary):
    messages = []
    for _ in range(2):
        v = Veltrin(d, binary)
        v.enter("BWRRBWWRB")
        messages.append(v.solve())
        assert v.quit() == 0
    assert messages[0] == messages[1], messages


@case
def input_during_a_search_changes_nothing(d, binary):
    board = "WRBBBWRBW"  # the longest search from a fresh start: 64,138 trials
    quiet = Veltrin(d, binary)
    quiet.enter(board)
    expected = quiet.solve()
    assert quiet.quit() == 0
    # A fresh run makes the same trials, so it takes at least as long.
    busy = Veltrin(d, binary)
    busy.enter(board)
    got = busy.solve(abuse_for=quiet.last_search_seconds / 2)
    assert got == expected, (got, expected)
    print("    %d rounds of 10 clicks (and 4 keys early on) during a %.1f s search"
          % (busy.abuse_rounds, busy.last_search_seconds))
    assert busy.abuse_rounds >= 2, busy.abuse_rounds
    assert busy.quit() == 0


@case
def closing_during_a_search_ends_at_once(d, binary):
    v = Veltrin(d, binary)
    v.enter("RBWRBWRBW")
    v.click(8 + 60, 8 + 132)
    # The search is on once the board starts changing.
    wait_for("the search to start", lambda: v.board() != "RBWRBWRBW")
    started = time.monotonic()
    v.d.close_window(v.window)
    status = v.process.wait(timeout=10)
    took = time.monotonic() - started
    assert status == 0, status
    assert took < 1.0, "took %.2f s to end" % took
    assert not v.find(APP), "a result message appeared"
    print("    closed mid-search in %.3f s" % took)


@case
def a_screen_reader_sees_the_window_and_follows_the_squares(d, binary):
    """The AT-SPI tree: a window titled "Veltrin Solver", nine push buttons named as the
    combination names them whose descriptions give their colours and follow clicks and a
    solve, the Solve button, no visible mode box; a press through the action interface
    advances that square alone."""
    if not d.reader:
        raise Skipped("no screen reader in this session")
    v = Veltrin(d, binary)
    frame = d.reader.window(v.process.pid, WINDOW)
    print(d.reader.tree(frame))
    assert frame.getRoleName() in ("frame", "window"), frame.getRoleName()
    buttons = d.reader.descendants(frame, "push button")
    assert [b.name for b in buttons] == NAMES + [SOLVE], [b.name for b in buttons]
    assert not any(d.reader.showing(c) for c in d.reader.descendants(frame, "check box"))

    def heard():
        return "".join({"red": "R", "blue": "B", "white": "W"}.get(b.description, "?")
                       for b in buttons[:9])

    assert heard() == "RRRRRRRRR", heard()
    v.click_square(4)
    wait_for("the description to follow a click", lambda: heard() == "RRRRBRRRR")
    d.reader.press(buttons[0])
    wait_for("a screen reader's press", lambda: v.board() == "BRRRBRRRR")
    assert heard() == "BRRRBRRRR", heard()
    parse_result(v.solve())
    reached = v.board()
    assert len(set(reached)) == 1, reached
    wait_for("the descriptions to follow the search", lambda: heard() == reached)
    assert v.quit() == 0


@case
def the_keyboard_walks_the_board_and_presses_squares(d, binary):
    """Windows: Tab from the Solve button through the squares from the bottom right back,
    Space presses the focused button, Enter and Esc do nothing."""
    if not isinstance(d, Wine):
        raise Skipped("the Qt window's keyboard is tested in process")
    v = Veltrin(d, binary)

    def focus():
        return d.window_info()["focus"][0]

    assert wait_for("the focus", focus) == SOLVE
    order = []
    for _ in range(9):
        d.keys("Tab")
        order.append(focus())
    assert order == NAMES[::-1], order
    d.keys("space")
    wait_for("the focused square to advance", lambda: v.board() == "BRRRRRRRR")
    d.keys("Return", "Escape")
    time.sleep(0.5)
    assert v.board() == "BRRRRRRRR" and not v.find(APP), v.board()
    d.keys("Tab")
    assert focus() == SOLVE
    d.keys("space")
    box = wait_for("the result message", lambda: v.find(APP) or v.gone())
    parse_result(v.read_message(box))
    assert len(set(v.board())) == 1, v.board()
    assert v.quit() == 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--wm", choices=["openbox", "weston"])
    parser.add_argument("--wine", metavar="WINPROBE_EXE",
                        help="run the Windows program under Wine, read through this probe")
    parser.add_argument("--screen-reader", action="store_true",
                        help="switch on assistive technology and read what it sees")
    parser.add_argument("--screenshot", help="save a screenshot of the window here")
    parser.add_argument("--wrapper", help="run the program under this command")
    parser.add_argument("cases", nargs="*")
    args = parser.parse_args()
    if args.wrapper:
        global TIMEOUT
        TIMEOUT *= 10
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
        if args.screenshot:
            v = Veltrin(d, args.binary)
            v.enter("RBWWBRBRW")
            d.run(["import", "-window", "root", args.screenshot], check=True)
            v.quit()
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
                print("FAIL %s: %r" % (fn.__name__, e), flush=True)
                subprocess.run(["import", "-window", "root", "/tmp/veltrin-e2e-%s.png"
                                % fn.__name__], env=d.env)
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

"""An X session of our own, and what sessions that place windows themselves share."""

import os
import subprocess

from Xlib import X
from Xlib import display as xdisplay
from Xlib.protocol.event import ClientMessage

from .game import APP
from .harness import read_line, wait_for
from .screenreader import ScreenReader


class Display:
    """An X session of our own: Xvfb, optionally a window manager, and optionally a session
    bus with assistive technology switched on, so that a screen reader's view can be read."""

    # Whether the languages' case runs here: once for each front end, where its names can be
    # read (the bare session with a screen reader, for Qt).
    languages = False
    # The docs' screenshot this session takes, docs/screenshot-SHOT.png (screenshot.py).
    shot = None

    def __init__(self, wm=None, screen_reader=False, size="800x600"):
        read, write = os.pipe()
        # -noreset: by default Xvfb resets whenever its last client disconnects, and refuses
        # the connections that arrive meanwhile, as they do between one program and the next.
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-noreset", "-screen", "0", size + "x24"]
            + ["-nolisten", "tcp"],
            pass_fds=(write,),
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        os.close(write)
        self.name = ":" + read_line(read, "Xvfb")
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.helpers = []  # processes to end with the session, last started first
        self.launcher = []  # what the program is started through (valgrind, Wine)
        self.reader = ScreenReader(self) if screen_reader else None
        self.languages = screen_reader and not wm
        self.shot = "openbox" if wm == "openbox" else None
        if wm:
            self.start([wm])
            wait_for(
                "the window manager",
                lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
            )

    def start(self, args, env=None):
        null = subprocess.DEVNULL
        process = subprocess.Popen(args, env=env or self.env, stdout=null, stderr=null)
        self.helpers.append(process)
        return process

    def run(self, args, check=False):
        # Decoded by hand: text mode would turn the messages' CR LF into LF.
        done = subprocess.run(args, env=self.env, capture_output=True)
        if check and done.returncode:
            raise AssertionError("%s failed: %s" % (args[0], done.stderr.decode()))
        return done.stdout.decode()

    def close(self):
        if getattr(self, "x", None):
            self.x.close()
        for p in list(reversed(self.helpers)) + [self.xvfb]:
            p.terminate()
            p.wait()

    def connection(self):
        """This process's own connection to the X server, made at its first use."""
        if not getattr(self, "x", None):
            self.x = xdisplay.Display(self.name)
        return self.x

    def screenshot(self, window="root"):
        """(width, height, pixels) of the window as it shows now, read over the X protocol in
        this process: a screenshot tool's process for every look would cost far more. The
        pixels are 32-bit BGRX, 4 bytes each."""
        x = self.connection()
        target = (
            x.screen().root if window == "root" else x.create_resource_object("window", int(window))
        )
        geometry = target.get_geometry()
        image = target.get_image(0, 0, geometry.width, geometry.height, X.ZPixmap, 0xFFFFFFFF)
        return geometry.width, geometry.height, image.data

    def docs_picture(self, veltrin):
        """The window as the docs show it, in the frame the window manager gives it."""
        return self.screenshot(self.frame(veltrin.window))

    def frame(self, window):
        """The top-level window that holds `window`: the window manager's frame around it."""
        x = self.connection()
        child = x.create_resource_object("window", int(window))
        while True:
            parent = child.query_tree().parent
            if parent == x.screen().root:
                return child.id
            child = parent

    # ---- what differs between sessions: finding windows, pointing, reading, closing ----

    def find(self, title, pid):
        """The visible window of that title, or None. Only one Veltrin runs at a time."""
        ids = self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title]).split()
        return ids[0] if ids else None

    def names(self, veltrin):
        """The names of the window's buttons, as assistive technology reads them."""
        return [b.name for b in self.reader.buttons(veltrin)]

    def descriptions(self, veltrin):
        """What assistive technology says of each square, from the top left."""
        return [b.description for b in self.reader.buttons(veltrin)[:9]]

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
            at = ((oy + y) * width + ox + x) * 4
            return data[at + 2], data[at + 1], data[at]

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
        null, clear = subprocess.DEVNULL, ["xclip", "-selection", "clipboard", "-i", "/dev/null"]
        subprocess.run(clear, env=self.env, stdout=null, stderr=null, check=True)

    def close_window(self, window):
        """Asks the window to close, as a window manager's close button does."""
        x = self.connection()
        target = x.create_resource_object("window", int(window))
        target.send_event(
            ClientMessage(
                window=target,
                client_type=x.intern_atom("WM_PROTOCOLS"),
                data=(32, [x.intern_atom("WM_DELETE_WINDOW"), 0, 0, 0, 0]),
            )
        )
        x.flush()


class OnScreen:
    """For sessions that place windows themselves: a window is its client area's top left
    corner on the screen, pointed at and read from screenshots of the whole screen."""

    def pointer(self, window, x, y):
        return ["mousemove", str(window[0] + x), str(window[1] + y)]

    def capture(self, window):
        return self.screenshot(), window

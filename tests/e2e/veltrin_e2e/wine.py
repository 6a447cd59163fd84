"""Windows: the Windows program under Wine, read through the Win32 API by our probe."""

import shutil
import subprocess
import tempfile

from . import harness
from .game import APP
from .harness import wait_for
from .x11 import Display, OnScreen


class Wine(OnScreen, Display):
    """Windows: the Windows program under Wine on our Xvfb, under openbox: with no window
    manager Wine waits up to two seconds for every window it shows, message boxes included
    (the frames are then openbox's, not Wine's own; the window's style is checked in
    window.win32). A throw-away prefix with one persistent server.
    Windows and messages are read through the Win32 API by the suite's own probe, a Windows
    program run in the same prefix, as assistive technology on Windows reads them."""

    def __init__(self, probe):
        super().__init__(wm="openbox")
        self.languages = True  # the Win32 front end's are checked here
        self.shot = "wine"
        self.probe_exe = probe
        self.prefix = tempfile.mkdtemp(prefix="veltrin-wine-")
        # No Mono or Gecko: without them Wine would offer to download them, in a dialog.
        self.env.update(
            WINEPREFIX=self.prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml="
        )
        self.launcher = ["wine"]
        self.server = self.start(["wineserver", "--foreground", "--persistent"])
        # With no pipes: the services it starts would hold them open.
        null = subprocess.DEVNULL
        subprocess.run(["wineboot", "--init"], env=self.env, stdout=null, stderr=null, check=True)
        self.prober = None

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
            pipe, null = subprocess.PIPE, subprocess.DEVNULL
            command = ["wine", self.probe_exe]
            self.prober = subprocess.Popen(
                command, env=self.env, stdin=pipe, stdout=pipe, stderr=null
            )
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

    def find(self, title, pid):
        box = super().find(title, pid)
        if box and title != APP:  # the main window, whatever its language
            corner = self.probe("window").split()  # its client area's, on the screen
            return corner and tuple(map(int, corner))
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

    def x_window(self):
        """The X window Wine shows the program's window in."""
        return self.run(["xdotool", "search", "--onlyvisible", "--class", "veltrin.exe"]).split()[0]

    def docs_picture(self, veltrin):
        return self.screenshot(self.frame(self.x_window()))

    def close_window(self, window):
        # As the window manager's close button asks: Wine turns it into WM_CLOSE.
        Display.close_window(self, self.x_window())

    def names(self, veltrin):
        """The buttons' texts, as assistive technology on Windows reads them, the squares first
        from the top left, then Solve (Windows keeps them Solve first, then the squares from the
        bottom right)."""
        solve, *squares = self.probe("names").splitlines()
        return squares[::-1] + [solve]

    def language(self, language):
        """The display language Windows gives a program started in `language`'s locale."""
        done = subprocess.run(
            ["wine", self.probe_exe],
            input=b"language\n",
            env=dict(self.env, **harness.speaking(language)),
            capture_output=True,
        )
        return done.stdout.split(b"\n", 1)[1].decode()

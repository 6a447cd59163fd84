"""A screen reader's view of the session: AT-SPI, read through Debian's pyatspi."""

import atexit
import os
import shutil
import subprocess
import tempfile

from .harness import read_line


class ScreenReader:
    """The session's accessibility, switched on as a screen reader does, and Veltrin as
    assistive technology sees it: its AT-SPI tree, read through pyatspi."""

    def __init__(self, display):
        read, write = os.pipe()
        # The accessibility bus the session bus starts puts its socket in XDG_RUNTIME_DIR:
        # a folder of this session's own, or two sessions side by side would share one bus.
        runtime = tempfile.mkdtemp(prefix="veltrin-a11y-")
        atexit.register(shutil.rmtree, runtime, True)
        display.helpers.append(
            subprocess.Popen(
                ["dbus-daemon", "--session", "--nofork", "--print-address=%d" % write],
                env=dict(display.env, XDG_RUNTIME_DIR=runtime),
                pass_fds=(write,),
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
            )
        )
        os.close(write)
        address = read_line(read, "the session bus")
        display.env["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address  # for pyatspi, in this process
        enable = "org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled"
        send = "dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus " + enable
        display.run(send.split() + ["variant:boolean:true"], check=True)
        import pyatspi  # Debian's python3-pyatspi; connects to the bus above

        self.atspi = pyatspi

    def window(self, pid, name, role=None):
        """The showing top-level window of that name (and role) of process pid, or None."""
        try:
            for app in self.atspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == pid:
                    for w in app:
                        if w.name == name and role in (None, w.getRoleName()) and self.showing(w):
                            return w
        except Exception:  # the window or the program went away while we asked
            pass
        return None

    def buttons(self, veltrin):
        """The push buttons of Veltrin's window, the squares first."""
        frame = self.window(veltrin.process.pid, veltrin.caption)
        return self.descendants(frame, "push button")

    def descendants(self, accessible, role):
        return self.atspi.findAllDescendants(accessible, lambda a: a.getRoleName() == role)

    def showing(self, accessible):
        return accessible.getState().contains(self.atspi.STATE_SHOWING)

    def press(self, accessible):
        """Presses it through the action interface, as a screen reader user does."""
        action = accessible.queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))

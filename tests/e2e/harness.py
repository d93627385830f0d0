"""Drives the real zorvik program on a private X server for end-to-end tests: each script runs
inside its own session bus, with Xvfb on a free display, openbox and, where asked, a tray, and a
fresh home; all of it stops afterwards. Readiness is polled, never slept for."""
import contextlib
import ctypes
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from gi.repository import Gio, GLib


def in_private_bus():
    """Re-runs the calling script inside its own session bus, once."""
    if os.environ.get("ZORVIK_E2E_PRIVATE_BUS") == "1":
        return
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY")}
    env.update(ZORVIK_E2E_PRIVATE_BUS="1")
    # As root, also in a network namespace of its own: the single-instance name (an abstract
    # socket) then never meets the program of another test running at the same time.
    own_net = ["unshare", "--net"]
    if os.geteuid() != 0 or subprocess.run(own_net + ["true"], stderr=subprocess.DEVNULL).returncode != 0:
        own_net = []
    argv = own_net + ["dbus-run-session", "--", sys.executable, os.path.abspath(sys.argv[0])] + sys.argv[1:]
    os.execvpe(argv[0], argv, env)


def dead_display():
    """An X display name that no server answers: Xvfb -displayfd takes the lowest free number."""
    return ":" + str(next(n for n in range(5000, 6000) if not os.path.exists(f"/tmp/.X11-unix/X{n}")))


def poll(predicate, timeout=20.0, interval=0.05, what="condition"):
    """Returns the first truthy value of predicate() within timeout, else raises."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Desktop:
    """Xvfb (1280 x 800) + openbox, or mutter compositing (wm="mutter"), (+ a tray: "sni" or
    "xembed"), and zorvik processes on it."""

    def __init__(self, binary, tray=None, wm="openbox"):
        self.binary, self.tray, self.wm = binary, tray, wm
        self.processes, self.apps, self.env = [], [], None
        self.home = tempfile.mkdtemp(prefix="zorvik-e2e-")

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def spawn(self, argv, **kw):
        process = subprocess.Popen(argv, start_new_session=True, stdout=kw.pop("stdout", subprocess.DEVNULL),
                                   stderr=subprocess.DEVNULL, env=kw.pop("env", self.env), **kw)
        self.processes.append(process)
        return process

    def _start(self):
        # No sound server here: never let a client spawn one in this home.
        os.makedirs(os.path.join(self.home, "config", "pulse"))
        with open(os.path.join(self.home, "config", "pulse", "client.conf"), "w") as f:
            f.write("autospawn = no\n")
        os.makedirs(os.path.join(self.home, "runtime"), mode=0o700)
        # Other X servers come and go on this machine; if ours fails, start over on another display.
        for attempt in range(3):
            try:
                self._start_display()
                break
            except TimeoutError:
                self._stop_processes()
                if attempt == 2:
                    raise
        self.start_tray(self.tray)

    def start_tray(self, kind):
        """A StatusNotifierItem host ("sni"), an XEmbed tray ("xembed"), or none."""
        if kind == "sni":
            here = os.path.dirname(os.path.abspath(__file__))
            watcher = self.spawn(["/usr/bin/python3", "-u", os.path.join(here, "sni_watcher.py")],
                                 stdout=subprocess.PIPE, text=True)
            assert watcher.stdout.readline().strip() == "ready", "the StatusNotifierWatcher did not start"
        elif kind == "xembed":
            self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120",
                        "--heighttype", "pixel", "--height", "32", "--SetDockType", "true",
                        "--transparent", "false", "--tint", "0xdddddd"])
            poll(lambda: self.selection_owner("_NET_SYSTEM_TRAY_S0"), what="trayer's tray")

    def _environment(self, **display):
        env = dict(os.environ, HOME=self.home, LANG="C.UTF-8", LC_ALL="C.UTF-8",
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"), XDG_DATA_HOME=os.path.join(self.home, "data"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"), XDG_RUNTIME_DIR=os.path.join(self.home, "runtime"),
                   **display)
        env.pop("ZORVIK_E2E_PRIVATE_BUS", None)
        return env

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        # -noreset: by default the server resets when its last client leaves, and a client that
        # connects during the reset (openbox right after the readiness probe) is turned away.
        self.spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                    "-noreset"], pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            self.display = ":" + pipe.readline().strip()
        self.env = self._environment(DISPLAY=self.display)
        poll(lambda: self.run(["xprop", "-root", "_NET_SUPPORTED"], check=False).returncode == 0,
             what="the X server on " + self.display)
        manager = self.spawn(["mutter", "--x11", "--replace", "--sm-disable"] if self.wm == "mutter"
                             else ["openbox", "--sm-disable"])
        poll(lambda: manager.poll() is None and "window id" in self.prop("root", "_NET_SUPPORTING_WM_CHECK")
             and (self.wm != "mutter" or self.selection_owner("_NET_WM_CM_S0")), what=self.wm + " on " + self.display)

    def _stop_processes(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGTERM)
                try:
                    process.wait(3)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
            for stream in (process.stdin, process.stdout):
                if stream:
                    stream.close()
        self.processes.clear()

    def close(self):
        for app in self.apps:
            app.kill()
            app.wait()
        self._stop_processes()
        shutil.rmtree(self.home, ignore_errors=True)

    # -- tools -------------------------------------------------------------------------------

    def run(self, argv, check=True):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check, timeout=20)

    def _xlib(self, ask):
        """ask(x11, display) on a connection of its own to our X server."""
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XInternAtom.restype = x11.XGetSelectionOwner.restype = ctypes.c_ulong
        display = ctypes.c_void_p(x11.XOpenDisplay(self.display.encode()))
        try:
            return ask(x11, display)
        finally:
            x11.XCloseDisplay(display)

    def selection_owner(self, name):
        """Whether an X selection (a tray, a compositing manager) has an owner."""
        return self._xlib(lambda x11, d: x11.XGetSelectionOwner(
            d, ctypes.c_ulong(x11.XInternAtom(d, name.encode(), 0)))) != 0

    def shaped(self, window):
        """Whether the window carries a bounding shape of its own (a clip of its outline)."""
        return "No window shape defined" not in self.run(["xwininfo", "-shape", "-id", str(window)]).stdout

    def launch(self, stderr=None, **env):
        """Starts zorvik (its errors go to the test's unless stderr says), with extra environment variables."""
        process = subprocess.Popen([self.binary], env=dict(self.env, **env), stdout=subprocess.DEVNULL,
                                   stderr=stderr, text=True)
        self.apps.append(process)
        return process

    def info(self, window):
        """xwininfo of a window: x, y (absolute), width, height, map state; None once it is gone."""
        out = self.run(["xwininfo", "-id", str(window)], check=False).stdout
        if not out:
            return None
        field = lambda label: re.search(label + r":\s+(-?\S+)", out).group(1)  # noqa: E731
        return {"x": int(field("Absolute upper-left X")), "y": int(field("Absolute upper-left Y")),
                "width": int(field("Width")), "height": int(field("Height")), "state": field("Map State")}

    def frame(self, window):
        """The panel's frame: the window without the shadow margin it declares (_GTK_FRAME_EXTENTS)."""
        info = self.info(window)
        extents = [int(v) for v in re.findall(r"\d+", self.prop(window, "_GTK_FRAME_EXTENTS").partition("=")[2])]
        left, right, top, bottom = extents if len(extents) == 4 else (0, 0, 0, 0)
        return dict(info, x=info["x"] + left, y=info["y"] + top, width=info["width"] - left - right,
                    height=info["height"] - top - bottom)

    def screenshot(self):
        """The screen as it is shown: a function (x, y) -> (red, green, blue)."""
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                             check=True, timeout=20).stdout
        return lambda x, y: tuple(raw[(y * 1280 + x) * 3:(y * 1280 + x) * 3 + 3])

    def panels(self):
        found = self.run(["xdotool", "search", "--name", "^Zorvik$"], check=False).stdout.split()
        return [int(w) for w in found if (self.info(w) or {}).get("width", 0) >= 200]

    def start(self, stderr=None, **env):
        """Launches zorvik and waits for its panel to show: (process, panel window)."""
        app = self.launch(stderr, **env)
        window = poll(lambda: (self.panels() or [None])[0], what="the panel window")
        self.wait_mapped(window)
        return app, window

    def wait_mapped(self, window, mapped=True):
        poll(lambda: ((self.info(window) or {}).get("state") == "IsViewable") == mapped,
             what=f"window {window} to be " + ("shown" if mapped else "hidden"))

    def prop(self, window, name):
        where = ["-root"] if window == "root" else ["-id", str(window)]
        return self.run(["xprop", *where, name], check=False).stdout.strip()

    def click_panel(self, window, x, y, button=1):
        info = self.frame(window)
        self.run(["xdotool", "mousemove", "--sync", str(info["x"] + x), str(info["y"] + y), "click", str(button)])

    def flick(self, window):
        """A quick sweep clockwise over the lower right of the panel's wheel, well away from the hub."""
        info = self.info(window)
        cx, cy = info["x"] + WHEEL_CENTRE[0], info["y"] + WHEEL_CENTRE[1]
        self.drag([(round(cx + 105 * math.cos(i * math.pi / 16)), round(cy + 105 * math.sin(i * math.pi / 16)))
                   for i in range(9)], step_delay=0.008)

    def drag(self, points, step_delay, settle=0.0):
        """Presses at the first point, moves through the rest, releases at the last. settle: a
        pause after the press (a window manager takes a moment to start a move)."""
        self.run(["xdotool", "mousemove", "--sync", *map(str, points[0]), "mousedown", "1"])
        time.sleep(settle)
        for x, y in points[1:]:
            self.run(["xdotool", "mousemove", str(x), str(y)])
            time.sleep(step_delay)
        self.run(["xdotool", "mouseup", "1"])


# The panel's layout (panel coordinates): a 36 high header band, the 280 x 280 wheel under it, the
# 32 high message line, then the two 130 wide bet buttons.
HIDE = (12 + 22, 4 + 16)             # centre of the header's 44 x 32 hide control
PIN = (300 - 12 - 14, 4 + 16)        # the keep-on-top control, last in the header row
GRIP = (150, 20)                     # the 60 x 32 move handle in the middle of the header
WHEEL_CENTRE = (150, 36 + 140)
MESSAGE = (150, 36 + 280 + 16)
RED = (14 + 65, 36 + 280 + 32 + 18)


class Bus:
    """The session bus through Gio, as a tray host sees it."""

    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(self, service, path, interface, method, args, signature):
        reply = self.bus.call_sync(service, path, interface, method, GLib.Variant(signature, args),
                                   None, Gio.DBusCallFlags.NONE, 5000, None)
        return reply.unpack()

    def prop(self, service, path, interface, name):
        return self.call(service, path, "org.freedesktop.DBus.Properties", "Get", (interface, name), "(ss)")[0]

    def tray_menu(self):
        """The properties of the registered tray item's menu entries; click() then picks one."""
        watcher = "org.kde.StatusNotifierWatcher"

        def newest():  # the item registered last, once it answers (earlier ones may be gone)
            with contextlib.suppress(GLib.Error, IndexError):
                item = self.prop(watcher, "/StatusNotifierWatcher", watcher, "RegisteredStatusNotifierItems")[-1]
                return item, self.prop(item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Menu")
        self.service, self.menu = poll(newest, what="the tray item")
        _, layout = self.call(self.service, self.menu, "com.canonical.dbusmenu", "GetLayout", (0, -1, []), "(iias)")
        self.ids = {props.get("label"): ident for ident, props, _ in layout[2]}
        return [props for _, props, _ in layout[2]]

    def click(self, label):
        self.call(self.service, self.menu, "com.canonical.dbusmenu", "Event",
                  (self.ids[label], "clicked", GLib.Variant("s", ""), 0), "(isvu)")

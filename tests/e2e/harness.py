"""Drives the real zorvik program on a private X server for end-to-end tests: each script runs
inside its own session bus, with Xvfb on a free display, openbox and, where asked, a tray, and a
fresh home; all of it stops afterwards. Readiness is polled, never slept for."""
import atexit
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
    """Re-runs the calling script inside its own session bus, once. The program's name on it is the
    script's own, and the bus starts services only from the system's folders and an empty one of its own."""
    if os.environ.get("ZORVIK_E2E_PRIVATE_BUS") == "1":
        atexit.register(shutil.rmtree, os.environ["XDG_DATA_HOME"], ignore_errors=True)
        return
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY")}
    # The bus looks for services in $XDG_DATA_HOME/dbus-1/services among the system's folders.
    data = tempfile.mkdtemp(prefix="zorvik-e2e-bus-")
    os.makedirs(os.path.join(data, "dbus-1", "services"))
    env.update(ZORVIK_E2E_PRIVATE_BUS="1", XDG_DATA_HOME=data)
    argv = ["dbus-run-session", "--", sys.executable, os.path.abspath(sys.argv[0])] + sys.argv[1:]
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
    """Xvfb (1280 x 800) + openbox, or mutter compositing (wm="mutter"), (+ with tray, xfce4-panel,
    whose systray plugin is a StatusNotifierItem host and an XEmbed tray), and zorvik processes on it."""

    def __init__(self, binary, tray=False, wm="openbox"):
        self.binary, self.tray, self.wm = binary, tray, wm
        self.processes, self.apps, self.panel, self.env = [], [], [], None
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
        if self.tray:
            self.start_panel()

    def start_panel(self, background=None):
        """xfce4-panel along the top: dark, or light on a solid background (red, green, blue from 0
        to 1). It replaces the tray this desktop shows."""
        self.stop_tray()
        folder = os.path.join(self.home, "config", "xfce4", "xfconf", "xfce-perchannel-xml")
        os.makedirs(folder, exist_ok=True)
        rgba = "".join(f'<value type="double" value="{v}"/>' for v in (*(background or (0, 0, 0)), 1))
        with open(os.path.join(os.path.dirname(__file__), "xfce4-panel.xml")) as template, \
                open(os.path.join(folder, "xfce4-panel.xml"), "w") as f:
            f.write(template.read().format(dark=str(background is None).lower(), style=int(bool(background)), rgba=rgba))
        # Its settings daemon, started here so that it reads this home's settings and ends with the
        # panel (and, should the bus start one, with this home as well); no accessibility bus for the
        # panel's sake.
        bus = Bus()
        self.panel = [self.spawn(["/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"])]
        poll(lambda: bus.has_owner("org.xfce.Xfconf"), what="xfconfd")
        self.panel.append(self.spawn(["xfce4-panel", "--disable-wm-check"], env=dict(self.env, NO_AT_BRIDGE="1")))
        poll(lambda: self.selection_owner("_NET_SYSTEM_TRAY_S0") and bus.has_owner("org.kde.StatusNotifierWatcher"),
             what="xfce4-panel's tray")

    def start_portal(self, *options):
        """The stand-in settings portal, all preferences 0 for now (--hang: one that never answers);
        set(key, value) changes one."""
        portal = self.spawn(["/usr/bin/python3", "-u", os.path.join(os.path.dirname(__file__), "portal_stand_in.py"),
                             *options], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        assert portal.stdout.readline().strip() == "ready", "the portal did not start"

        def set(key, value):
            portal.stdin.write(f"{key} {value}\n")
            portal.stdin.flush()
            assert portal.stdout.readline().split() == ["set", key, str(value)]
        portal.set = set
        return portal

    def start_trayer(self, tint=None):
        """trayer's XEmbed tray at the top right: light grey, or in a tint such as 0x303030."""
        self.stop_tray()
        look = ["--transparent", "true", "--alpha", "0", "--tint", tint] if tint else ["--transparent", "false"]
        self.panel = [self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width",
                                  "120", "--heighttype", "pixel", "--height", "32", "--SetDockType", "true", *look])]
        poll(lambda: self.selection_owner("_NET_SYSTEM_TRAY_S0"), what="trayer's tray")

    def stop_tray(self):
        for process in reversed(self.panel):
            self.stop(process)
        self.panel = []

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
        # What the bus gives the programs it starts: this desktop, this home.
        Bus().call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "UpdateActivationEnvironment",
                   ({k: v for k, v in self.env.items() if k in ("HOME", "DISPLAY", "LANG", "LC_ALL")
                     or k.startswith("XDG_")},), "(a{ss})")
        poll(lambda: self.run(["xprop", "-root", "_NET_SUPPORTED"], check=False).returncode == 0,
             what="the X server on " + self.display)
        # openbox runs its --startup command once it manages the screen; its supporting-WM window
        # comes earlier, and a window mapped in between may miss its hints.
        started = os.path.join(self.home, "wm-started")
        manager = self.spawn(["mutter", "--x11", "--replace", "--sm-disable"] if self.wm == "mutter"
                             else ["openbox", "--sm-disable", "--startup", "touch " + started])
        poll(lambda: manager.poll() is None and "window id" in self.prop("root", "_NET_SUPPORTING_WM_CHECK")
             and (self.selection_owner("_NET_WM_CM_S0") if self.wm == "mutter" else os.path.exists(started)),
             what=self.wm + " on " + self.display)

    def stop(self, process):
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

    def _stop_processes(self):
        for process in reversed(self.processes):
            self.stop(process)
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
        """The window that owns an X selection (a tray, a compositing manager); 0 for none."""
        return self._xlib(lambda x11, d: x11.XGetSelectionOwner(
            d, ctypes.c_ulong(x11.XInternAtom(d, name.encode(), 0))))

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

    def screenshot(self, keep=None):
        """The screen as it is shown: a function (x, y) -> (red, green, blue). keep: (path, (x, y,
        width, height)), a part of it to write to a PNG file."""
        raw = subprocess.run(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                             check=True, timeout=20).stdout
        if keep:
            path, (x, y, width, height) = keep
            subprocess.run(["convert", "-size", "1280x800", "-depth", "8", "rgb:-", "-crop", f"{width}x{height}+{x}+{y}",
                            "+repage", path], input=raw, check=True, timeout=20)
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
                   for i in range(9)], step_delay=0.016)

    def drag(self, points, step_delay, settle=0.0):
        """Presses at the first point, moves through the rest, releases at the last, in one xdotool
        command, so that busy cores slow no step of it (a process per step did). settle: a pause
        after the press (a window manager takes a moment to start a move)."""
        steps = [arg for x, y in points[1:] for arg in ("sleep", str(step_delay), "mousemove", str(x), str(y))]
        self.run(["xdotool", "mousemove", "--sync", *map(str, points[0]), "mousedown", "1", "sleep", str(settle),
                  *steps, "mouseup", "1"])


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

    def has_owner(self, name):
        return self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                         (name,), "(s)")[0]

    def owner_pid(self, name):
        return self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetConnectionUnixProcessID", (name,), "(s)")[0]

    def reload(self):
        """Makes the bus read its service files again, before it returns."""
        self.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReloadConfig", (), "()")

    def menu_launch(self, entry, name):
        """Starts a desktop entry as a menu does (GIO: Activate on the id of a DBusActivatable one)."""
        Gio.DesktopAppInfo.new_from_filename(entry).launch([], None)
        poll(lambda: self.has_owner(name), what=name + " on the bus")

    def prop(self, service, path, interface, name):
        return self.call(service, path, "org.freedesktop.DBus.Properties", "Get", (interface, name), "(ss)")[0]

    def tray_menu(self):
        """The properties of the registered tray item's menu entries; click() then picks one."""
        watcher = "org.kde.StatusNotifierWatcher"

        def newest():  # the item registered last, once it answers (earlier ones may be gone)
            with contextlib.suppress(GLib.Error, IndexError):  # "<bus name>/<object path>"
                item, _, path = self.prop(watcher, "/StatusNotifierWatcher", watcher,
                                          "RegisteredStatusNotifierItems")[-1].partition("/")
                return item, self.prop(item, "/" + path, "org.kde.StatusNotifierItem", "Menu")
        self.service, self.menu = poll(newest, what="the tray item")
        _, layout = self.call(self.service, self.menu, "com.canonical.dbusmenu", "GetLayout", (0, -1, []), "(iias)")
        self.ids = {props.get("label"): ident for ident, props, _ in layout[2]}
        return [props for _, props, _ in layout[2]]

    def click(self, label):
        self.call(self.service, self.menu, "com.canonical.dbusmenu", "Event",
                  (self.ids[label], "clicked", GLib.Variant("s", ""), 0), "(isvu)")

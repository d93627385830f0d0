"""Drives the real zorvik program on a private X server for end-to-end tests.

Every script runs itself inside dbus-run-session (see in_private_bus), starts Xvfb on a free
display, a window manager and, where asked, a tray, gives zorvik a fresh home, and stops all of
it afterwards. Readiness is polled, never slept for."""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time


def in_private_bus():
    """Re-runs the calling script inside its own session bus, once."""
    if os.environ.get("ZORVIK_E2E_PRIVATE_BUS") == "1":
        return
    env = dict(os.environ, ZORVIK_E2E_PRIVATE_BUS="1")
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"):
        env.pop(name, None)
    script = os.path.abspath(sys.argv[0])
    os.execvpe("dbus-run-session",
               ["dbus-run-session", "--", sys.executable, script] + sys.argv[1:], env)


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
    """Xvfb + openbox (+ a tray), and zorvik processes started on it."""

    def __init__(self, binary, tray=None, width=1280, height=800, home=None):
        self.binary = binary
        self.processes = []
        self.apps = []
        self.home = home or tempfile.mkdtemp(prefix="zorvik-e2e-")
        self.own_home = home is None
        self.width, self.height = width, height
        self.tray = tray
        self.watcher = None

    # -- setup -------------------------------------------------------------------------------

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _spawn(self, argv, **kw):
        kw.setdefault("stdout", subprocess.DEVNULL)
        kw.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, start_new_session=True, **kw)
        self.processes.append(process)
        return process

    def _start(self):
        os.makedirs(os.path.join(self.home, "config", "pulse"), exist_ok=True)
        # No sound server of its own: never let a client spawn one in this home.
        with open(os.path.join(self.home, "config", "pulse", "client.conf"), "w") as f:
            f.write("autospawn = no\n")
        # Other X servers may come and go on this machine; if the display we were given turns
        # out not to work, start over on another.
        for attempt in range(3):
            try:
                self._start_x()
                break
            except RuntimeError:
                if attempt == 2:
                    raise
                if getattr(self, "log", None):
                    self.log.close()
                for process in reversed(self.processes):
                    if process.poll() is None:
                        os.killpg(process.pid, signal.SIGKILL)
                        process.wait()
                self.processes.clear()
        if self.tray == "sni":
            here = os.path.dirname(os.path.abspath(__file__))
            self.watcher = self._spawn(["/usr/bin/python3", "-u", os.path.join(here, "sni_watcher.py")],
                                       env=self.env, stdout=subprocess.PIPE, text=True)
            line = self.watcher.stdout.readline().strip()
            if line != "ready":
                raise RuntimeError("the StatusNotifierWatcher did not start: " + line)
        elif self.tray == "xembed":
            self._spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                         "--width", "120", "--heighttype", "pixel", "--height", "32",
                         "--SetDockType", "true", "--transparent", "false", "--tint", "0xdddddd"],
                        env=self.env)
            poll(lambda: self.selection_owner("_NET_SYSTEM_TRAY_S0"), what="trayer's tray")

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        # -noreset: by default the server resets when its last client leaves, and a client that
        # connects during the reset (openbox right after the readiness probe) is turned away.
        self.xvfb = self._spawn(["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
                                 f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
                                pass_fds=(write_fd,))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not report a display")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.env.pop("ZORVIK_E2E_PRIVATE_BUS", None)
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env["XDG_RUNTIME_DIR"] = runtime
        poll(lambda: self.run(["xprop", "-root", "_NET_SUPPORTED"], check=False).returncode == 0
             or None, what="the X server")
        if self.xvfb.poll() is not None:
            raise RuntimeError(f"Xvfb on {self.display} ended")
        self.log = open(os.path.join(self.home, "desktop.log"), "w")
        self.openbox = self._spawn(["openbox", "--sm-disable"], env=self.env, stderr=self.log)
        try:
            poll(lambda: self.openbox.poll() is not None
                 or "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                            check=False).stdout, what="openbox")
            if self.openbox.poll() is not None:
                raise TimeoutError("openbox ended")
        except TimeoutError:
            self.log.flush()
            logs = ""
            for name in (self.log.name, os.path.join(self.home, "cache", "openbox", "openbox.log")):
                if os.path.exists(name):
                    with open(name) as log:
                        logs += log.read()
            raise RuntimeError(f"openbox did not start on {self.display} "
                               f"(status {self.openbox.poll()}): {logs}")

    def close(self):
        for app in self.apps:
            if app.poll() is None:
                app.kill()
            app.wait()
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
                try:
                    process.wait(3)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait()
            if process.stdout:
                process.stdout.close()
        self.processes.clear()
        for app in self.apps:
            for stream in (app.stdout, app.stderr):
                if stream:
                    stream.close()
        if getattr(self, "log", None):
            self.log.close()
        if self.own_home:
            shutil.rmtree(self.home, ignore_errors=True)

    # -- tools -------------------------------------------------------------------------------

    def run(self, argv, check=True, **kw):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check,
                              timeout=kw.pop("timeout", 20), **kw)

    def selection_owner(self, name):
        """Whether an X selection (a tray, a compositing manager) has an owner."""
        code = ("import ctypes,sys;x=ctypes.CDLL('libX11.so.6');x.XOpenDisplay.restype=ctypes.c_void_p;"
                "d=x.XOpenDisplay(None);x.XInternAtom.restype=ctypes.c_ulong;"
                "x.XInternAtom.argtypes=[ctypes.c_void_p,ctypes.c_char_p,ctypes.c_int];"
                "x.XGetSelectionOwner.restype=ctypes.c_ulong;"
                "x.XGetSelectionOwner.argtypes=[ctypes.c_void_p,ctypes.c_ulong];"
                f"print(x.XGetSelectionOwner(d,x.XInternAtom(d,b'{name}',0)))")
        out = self.run(["/usr/bin/python3", "-c", code], check=False).stdout.strip()
        return out not in ("", "0")

    def launch(self, *args, env=None, **kw):
        process = subprocess.Popen([self.binary, *args], env=env or self.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, **kw)
        self.apps.append(process)
        return process

    def windows(self, name="^Zorvik$"):
        result = self.run(["xdotool", "search", "--name", name], check=False)
        return [int(w) for w in result.stdout.split()]

    def info(self, window):
        """xwininfo of a window: x, y (absolute), width, height, map state."""
        out = self.run(["xwininfo", "-id", str(window)], check=False).stdout
        if not out:
            return None
        field = lambda label: re.search(label + r":\s+(-?\S+)", out).group(1)
        return {"x": int(field("Absolute upper-left X")), "y": int(field("Absolute upper-left Y")),
                "width": int(field("Width")), "height": int(field("Height")),
                "state": field("Map State")}

    def panel(self, timeout=20.0):
        """The panel's window id, once it exists."""
        def find():
            for window in self.windows():
                info = self.info(window)
                if info and info["width"] >= 200:
                    return window
            return None
        return poll(find, timeout, what="the panel window")

    def mapped(self, window):
        info = self.info(window)
        return bool(info) and info["state"] == "IsViewable"

    def wait_mapped(self, window, mapped=True, timeout=20.0):
        poll(lambda: self.mapped(window) == mapped, timeout,
             what="the panel to be " + ("shown" if mapped else "hidden"))

    def prop(self, window, name):
        return self.run(["xprop", "-id", str(window), name], check=False).stdout.strip()

    def click(self, x, y, button=1):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y)])
        self.run(["xdotool", "click", str(button)])

    def click_panel(self, window, x, y, button=1):
        info = self.info(window)
        self.click(info["x"] + x, info["y"] + y, button)

    def drag(self, points, button=1, step_delay=0.0, settle=0.0):
        """Presses at the first point, moves through the rest, releases at the last. settle:
        a pause after the press (a window manager takes a moment to start a move)."""
        x, y = points[0]
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "mousedown", str(button)])
        if settle:
            time.sleep(settle)
        for x, y in points[1:]:
            self.run(["xdotool", "mousemove", str(x), str(y)])
            if step_delay:
                time.sleep(step_delay)
        self.run(["xdotool", "mouseup", str(button)])

    def screenshot(self, path, crop=None):
        argv = ["import", "-window", "root"]
        if crop:
            x, y, w, h = crop
            argv += ["-crop", f"{w}x{h}+{x}+{y}", "+repage"]
        self.run(argv + [path])
        return path

    def region_bytes(self, crop):
        x, y, w, h = crop
        return subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}",
                               "+repage", "rgb:-"], env=self.env, capture_output=True,
                              check=True, timeout=20).stdout

    def quit_app(self, process, timeout=10.0):
        return process.wait(timeout)


# -- the panel's documented geometry (panel coordinates) --------------------------------------

HIDE = (12 + 22, 4 + 16)             # centre of the header's 44 x 32 hide control
PIN = (300 - 12 - 14, 4 + 16)        # the keep-on-top control, last in the header row
GRIP = (150, 20)                     # the 60 x 32 move handle in the middle of the header
WHEEL_CENTRE = (150, 36 + 140)       # the 280 x 280 wheel under the 36 high header band
MESSAGE = (10, 36 + 280, 280, 32)    # the message line under the wheel
RED = (14 + 65, 36 + 280 + 32 + 18)  # the first of the two 130 wide bet buttons


# -- StatusNotifierItem and com.canonical.dbusmenu, seen from a tray host --------------------

class TrayHost:
    """What a StatusNotifierHost sees of the registered items, through Gio."""

    def __init__(self):
        from gi.repository import Gio, GLib
        self.Gio, self.GLib = Gio, GLib
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)

    def call(self, service, path, interface, method, args=None, signature=None):
        reply = self.bus.call_sync(service, path, interface, method,
                                   self.GLib.Variant(signature, args) if signature else None,
                                   None, self.Gio.DBusCallFlags.NONE, 5000, None)
        return reply.unpack() if reply else None

    def prop(self, service, path, interface, name):
        return self.call(service, path, "org.freedesktop.DBus.Properties", "Get",
                         (interface, name), "(ss)")[0]

    def items(self):
        return self.prop("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                         "org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems")

    @staticmethod
    def split(item):
        """(service, path) of a registered item: "name" or "name/path"."""
        if "/" in item:
            service, _, path = item.partition("/")
            return service, "/" + path
        return item, "/StatusNotifierItem"

    def menu(self, item):
        """The item's menu: its service, its object path, and [(id, label, properties)]."""
        service, path = self.split(item)
        menu_path = self.prop(service, path, "org.kde.StatusNotifierItem", "Menu")
        _, layout = self.call(service, menu_path, "com.canonical.dbusmenu", "GetLayout",
                              (0, -1, []), "(iias)")
        entries = []
        for child in layout[2]:
            ident, props, _ = child
            entries.append((ident, props.get("label", ""), props))
        return service, menu_path, entries

    def click(self, service, menu_path, ident):
        self.call(service, menu_path, "com.canonical.dbusmenu", "Event",
                  (ident, "clicked", self.GLib.Variant("s", ""), 0), "(isvu)")

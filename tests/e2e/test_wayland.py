#!/usr/bin/python3
"""The real program on a Wayland desktop without X: sway, with XWayland off, while DISPLAY names an
X display that no server answers. The panel maps as a toplevel that sway places; the keyboard
picks a bet and a flick of the pointer spins the wheel (its pixels change, and the result line
reaches AT-SPI); the grip moves the panel and no position is saved; the pin shows as unavailable
and says why; the tray menu (a StatusNotifierItem) shows the hidden panel and quits; and the
program prints nothing.

How sway runs here: WLR_BACKENDS=headless and WLR_RENDERER=pixman (no GPU, no seat to open),
WLR_LIBINPUT_NO_DEVICES=1, `xwayland disable` in its configuration, and an XDG_RUNTIME_DIR of its
own. sway will not run as root (it could not give the privileges up for good), so as root it runs
as nobody, owning that directory; the program's own runtime directory links to sway's socket.
The headless seat has no input devices: the test adds a pointer through the wlr-virtual-pointer
protocol, spoken directly on the socket, and wtype types through a virtual keyboard. swaymsg
reads the window tree and grim takes the screenshots.

Usage: test_wayland.py <path to zorvik>"""
import configparser
import glob
import json
import os
import socket
import struct
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import GRIP, HIDE, poll  # noqa: E402
from test_accessibility import IDLE, RESULT, fresh, walk  # noqa: E402

from gi.repository import Atspi  # noqa: E402

BINARY = None
SIZE = (1280, 800)


def wayland_string(text):
    raw = text.encode() + b"\0"
    return struct.pack("<I", len(raw)) + raw + b"\0" * (-len(raw) % 4)


class VirtualPointer:
    """A pointer on sway's seat, made by a Wayland client of our own (object ids are given out in
    order: the registry 2, the first sync 3, the manager 4, the pointer 5)."""

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.connect(path)
        self.data, self.last_id = b"", 2
        self.request(1, 1, 2)  # wl_display.get_registry
        manager = "zwlr_virtual_pointer_manager_v1"
        self.request(2, 0, self.roundtrip()[manager], wayland_string(manager), 1, 4)  # wl_registry.bind
        self.request(4, 0, 0, 5)  # create_virtual_pointer on the default seat
        self.last_id = 5

    def roundtrip(self):
        """Returns once sway has handled every request sent before, with the globals it told of."""
        self.last_id = callback = self.last_id + 1
        self.request(1, 0, callback)  # wl_display.sync
        interfaces, done = {}, False
        while not done:
            received = self.socket.recv(65536)
            if not received:
                raise ConnectionError("sway closed the connection")
            self.data += received
            while len(self.data) >= 8 and len(self.data) >= struct.unpack_from("<I", self.data, 4)[0] >> 16:
                target, word = struct.unpack_from("<II", self.data)
                body, self.data = self.data[8:word >> 16], self.data[word >> 16:]
                if target == 1 and word & 0xFFFF == 0:  # wl_display.error
                    raise ConnectionError(f"sway refused a request: {body}")
                if target == 2:  # wl_registry.global: name, interface, version
                    interfaces[body[8:7 + struct.unpack_from("<I", body, 4)[0]].decode()] = body[:4]
                done = done or target == callback
        return interfaces

    def request(self, target, opcode, *args):
        body = b"".join(a if isinstance(a, bytes) else struct.pack("<I", a) for a in args)
        self.socket.sendall(struct.pack("<II", target, (8 + len(body)) << 16 | opcode) + body)

    def event(self, opcode, *args):
        self.request(5, opcode, int(time.monotonic() * 1000) & 0xFFFFFFFF, *args)
        self.request(5, 4)  # frame

    def move(self, x, y):
        self.event(1, x, y, *SIZE)  # motion_absolute

    def button(self, pressed):
        self.event(2, 0x110, int(pressed))  # BTN_LEFT


class Sway(harness.Desktop):
    """sway in place of the X server and window manager; the panel is the one window in it."""

    def _start_display(self):
        runtime = os.path.join(self.home, "sway")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        with open(os.path.join(runtime, "config"), "w") as f:
            f.write(f"xwayland disable\noutput HEADLESS-1 resolution {SIZE[0]}x{SIZE[1]}\n")
        as_user = []
        if os.geteuid() == 0:
            os.chmod(self.home, 0o711)
            os.chown(runtime, 65534, 65534)
            as_user = ["setpriv", "--reuid", "65534", "--regid", "65534", "--clear-groups"]
        self.spawn(as_user + ["sway", "-c", os.path.join(runtime, "config")],
                   env=dict(PATH=os.environ["PATH"], XDG_RUNTIME_DIR=runtime, WLR_BACKENDS="headless",
                            WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1"))
        found = lambda pattern: (glob.glob(os.path.join(runtime, pattern)) or [None])[0]  # noqa: E731
        display, swaysock = poll(lambda: found("wayland-[0-9]") and found("sway-ipc.*") and
                                 (found("wayland-[0-9]"), found("sway-ipc.*")), what="sway's sockets")
        os.symlink(display, os.path.join(self.home, "runtime", os.path.basename(display)))
        self.env = self._environment(DISPLAY=harness.dead_display(), WAYLAND_DISPLAY=os.path.basename(display),
                                     SWAYSOCK=swaysock)
        self.pointer = VirtualPointer(display)
        # A keyboard that stays (wtype sleeping): one that came with each key would be gone before
        # the program had bound it.
        self.spawn(["wtype", "-s", "3600000"])
        poll(lambda: json.loads(self.run(["swaymsg", "-t", "get_seats"]).stdout)[0]["capabilities"] == 3,
             what="a pointer and a keyboard on sway's seat")

    def panels(self):
        return ["panel"] if self.info(None) else []

    def info(self, _):
        """The panel's frame: sway's window less the shadow margin, as wide on either side, 4 px
        narrower above than below."""
        def nodes(node):
            yield node
            for child in node["nodes"] + node["floating_nodes"]:
                yield from nodes(child)
        tree = json.loads(self.run(["swaymsg", "-t", "get_tree"]).stdout)
        found = [n["rect"] for n in nodes(tree) if n.get("app_id") == "io.github.zorvik.Zorvik"]
        if not found:
            return None
        rect, side = found[0], (found[0]["width"] - 300) // 2
        return {"x": rect["x"] + side, "y": rect["y"] + side - 4, "width": 300, "height": rect["height"] - 2 * side,
                "state": "IsViewable"}

    frame = info

    def close(self):
        if getattr(self, "pointer", None):
            self.pointer.socket.close()
        super().close()

    def click_panel(self, window, x, y, button=1):
        self.drag([(self.info(window)["x"] + x, self.info(window)["y"] + y)] * 2, 0)

    def drag(self, points, step_delay, settle=0.0):
        self.pointer.move(*points[0])
        self.pointer.button(True)
        for point in points[1:]:
            time.sleep(step_delay)
            self.pointer.move(*point)
        self.pointer.button(False)

    def grab(self, x, y, width, height):
        return subprocess.run(["grim", "-g", f"{x},{y} {width}x{height}", "-t", "ppm", "-"], env=self.env,
                              capture_output=True, check=True, timeout=20).stdout


class WaylandTest(unittest.TestCase):
    def test_panel_on_sway(self):
        with Sway(BINARY, tray="sni") as d:
            d.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
            poll(lambda: harness.Bus().call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                            "NameHasOwner", ("org.a11y.Bus",), "(s)")[0], what="the accessibility bus")
            Atspi.init()
            app, window = d.start(subprocess.PIPE, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
            frame = d.info(window)
            self.assertEqual(frame["x"], (SIZE[0] - 300) // 2, "sway centres a new floating window")

            def find():
                desktop = Atspi.get_desktop(0)
                for program in map(desktop.get_child_at_index, range(desktop.get_child_count())):
                    if program is not None and program.get_process_id() == app.pid:
                        named = {node.get_name(): node for node in walk(program)}
                        return named if {"Keep on top", "Bet Red", IDLE} <= set(named) else None
            controls = poll(find, what="the panel's controls through AT-SPI")
            pin, red = controls["Keep on top"], controls["Bet Red"]
            self.assertFalse(pin.get_state_set().contains(Atspi.StateType.ENABLED))
            self.assertEqual(pin.get_description(),
                             "Keep on top is not available: on Wayland only the desktop decides what stays on top")

            # A bet from the keyboard, a flick with the pointer: the wheel turns, and the result is read.
            self.assertTrue(red.grab_focus())
            d.run(["wtype", "-k", "space"])
            poll(lambda: fresh(red).get_description() == "Selected", what="Bet Red to be selected")
            wheel = (frame["x"] + 10, frame["y"] + 36, 280, 280)
            still = d.grab(*wheel)
            d.flick(window)
            poll(lambda: d.grab(*wheel) != still, what="the wheel to turn")
            poll(lambda: RESULT.match(fresh(controls[IDLE]).get_name()), timeout=8, what="the result line")

            # The grip: sway takes the move up once the program asks for it; from then on the
            # panel follows the pointer exactly.
            x, y = frame["x"] + GRIP[0], frame["y"] + GRIP[1]
            d.pointer.move(x, y)
            d.pointer.button(True)
            for x in range(x + 2, x + 60, 2):
                d.pointer.move(x, y)
                d.pointer.roundtrip()  # sway has handled the motion: the tree shows what it did
                if d.info(window)["x"] != frame["x"]:
                    break
            else:
                self.fail("the grip did not start a move")
            start = d.info(window)
            for step in range(1, 11):
                d.pointer.move(x - 20 * step, y + 12 * step)
            d.pointer.button(False)
            d.pointer.roundtrip()
            moved = d.info(window)
            self.assertEqual((moved["x"], moved["y"]), (start["x"] - 200, start["y"] + 120))

            # Hidden by its control and shown again from the tray menu, where sway places it anew.
            d.click_panel(window, *HIDE)
            d.wait_mapped(window, False)
            bus = harness.Bus()
            self.assertEqual([p.get("label") for p in bus.tray_menu()], ["Show Zorvik", None, "Quit Zorvik"])
            bus.click("Show Zorvik")
            d.wait_mapped(window)
            bus.click("Quit Zorvik")
            self.assertEqual(app.wait(10), 0)
            said = [line for line in app.communicate()[1].splitlines() if "PulseAudio" not in line]  # no sound server
            self.assertEqual(said, [])
            settings = configparser.ConfigParser()
            settings.read(os.path.join(d.home, "config", "Zorvik", "zorvik.ini"))
            self.assertNotIn("ZorvikPanel", settings.sections(), "a place the compositor never uses")


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

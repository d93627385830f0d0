#!/usr/bin/python3
"""The real program on Wayland without X: sway with XWayland off, and DISPLAY naming an X display
that no server answers. The panel maps where sway puts it; a bet and a flick spin the wheel (the
screen changes, the result is announced over AT-SPI as under X11), Space bets; the grip moves the
panel and no place is saved; the pin shows as unavailable and says why; the tray menu shows the
hidden panel and quits (waybar's tray is the host); nothing is printed. sway runs headless: WLR_BACKENDS=headless,
WLR_RENDERER=pixman (no GPU), WLR_LIBINPUT_NO_DEVICES=1, `xwayland disable`, an XDG_RUNTIME_DIR of
its own. It refuses to run as root (it could not drop the privileges for good): as root it runs as
nobody, who owns that directory, and the program's runtime directory links to its socket. Its seat
has no input devices: our own Wayland client adds a pointer (wlr virtual pointer) and a sleeping
wtype a keyboard. swaymsg reads the window tree, grim the screen. Usage: test_wayland.py <zorvik>"""
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
import test_accessibility  # noqa: E402
from harness import GRIP, HIDE, poll  # noqa: E402
from test_accessibility import fresh  # noqa: E402

SIZE = (1280, 800)


class VirtualPointer:
    """A pointer on sway's seat: a Wayland client whose new objects are numbered in order (the
    registry 2, the first sync 3, the manager 4, the pointer 5)."""

    def __init__(self, path):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.connect(path)
        self.data, self.last_id = b"", 2
        self.request(1, 1, 2)  # wl_display.get_registry
        name = b"zwlr_virtual_pointer_manager_v1\0"  # a Wayland string: length, bytes padded to 4
        self.request(2, 0, self.roundtrip()[name[:-1].decode()], len(name), name, 1, 4)  # wl_registry.bind
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
                raise ConnectionError("sway closed the connection (a request it refused?)")
            self.data += received
            while len(self.data) >= 8 and len(self.data) >= struct.unpack_from("<I", self.data, 4)[0] >> 16:
                target, word = struct.unpack_from("<II", self.data)
                body, self.data = self.data[8:word >> 16], self.data[word >> 16:]
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
        found = lambda: [(glob.glob(os.path.join(runtime, p)) or [None])[0] for p in ("wayland-?", "sway-ipc.*")]  # noqa
        display, swaysock = poll(lambda: all(found()) and found(), what="sway's sockets")
        os.symlink(display, os.path.join(self.home, "runtime", os.path.basename(display)))
        self.env = self._environment(DISPLAY=harness.dead_display(), WAYLAND_DISPLAY=os.path.basename(display),
                                     SWAYSOCK=swaysock)
        self.pointer = VirtualPointer(display)
        self.spawn(["wtype", "-s", "3600000"])  # a keyboard that stays: one per key would go before it is bound
        poll(lambda: json.loads(self.run(["swaymsg", "-t", "get_seats"]).stdout)[0]["capabilities"] == 3,
             what="a pointer and a keyboard on sway's seat")

    def start_panel(self, background=None):
        """waybar with its tray alone along the top: the StatusNotifierItem host (and watcher) of a
        Wayland desktop."""
        config = os.path.join(self.home, "waybar.json")
        with open(config, "w") as f:
            json.dump({"position": "top", "height": 28, "modules-right": ["tray"]}, f)
        self.panel = [self.spawn(["waybar", "-c", config])]
        poll(lambda: harness.Bus().has_owner("org.kde.StatusNotifierWatcher"), what="waybar's tray")

    def launch(self, stderr=None, **env):
        return super().launch(subprocess.PIPE, **env)  # what it says is checked

    def panels(self):
        return ["panel"] if self.info(None) else []

    def info(self, _):
        """The panel's frame: sway's window less the shadow margin, as wide on either side and
        4 px narrower above than below."""
        def nodes(node):
            yield node
            for child in node["nodes"] + node["floating_nodes"]:
                yield from nodes(child)
        tree = json.loads(self.run(["swaymsg", "-t", "get_tree"]).stdout)
        rect = next((n["rect"] for n in nodes(tree) if n.get("app_id") == "io.github.zorvik.Zorvik"), None)
        side = rect and (rect["width"] - 300) // 2
        return rect and {"x": rect["x"] + side, "y": rect["y"] + side - 4, "width": 300,
                         "height": rect["height"] - 2 * side, "state": "IsViewable"}

    frame = info

    def click_panel(self, window, x, y, button=1):
        self.drag([(self.info(window)["x"] + x, self.info(window)["y"] + y)], 0)

    def drag(self, points, step_delay, settle=0.0):
        self.pointer.move(*points[0])
        self.pointer.button(True)
        for point in points[1:]:
            time.sleep(step_delay)
            self.pointer.move(*point)
        self.pointer.button(False)

    def grab(self):
        return subprocess.run(["grim", "-t", "ppm", "-"], env=self.env, capture_output=True, check=True).stdout


class WaylandTest(test_accessibility.AccessibilityTest):
    desktop_type = Sway
    test_tree_actions_announcements_and_reduced_motion = None  # samples the screen through X

    def test_panel_on_sway(self):
        d, controls = self.desktop, self.controls()
        frame = d.info(self.window)
        self.assertEqual(frame["x"], (SIZE[0] - 300) // 2, "sway centres a new floating window")
        pin = controls["Keep on top"]
        self.assertFalse(pin.get_state_set().contains(test_accessibility.Atspi.StateType.ENABLED))
        self.assertEqual(pin.get_description(), "Wayland does not let a window keep itself on top")

        still = d.grab()
        self.spin(controls, flick=True)  # a click on Red, a flick: the result announced within 7 s
        self.assertNotEqual(d.grab(), still)
        red = controls["Bet Red"]
        self.assertTrue(red.grab_focus())
        d.run(["wtype", "-k", "space"])
        poll(lambda: fresh(red).get_description() == "Selected", what="Space to bet Red")

        # The grip: sway takes the move up once the program asks for it; from then on the panel
        # follows the pointer exactly.
        x, y = frame["x"] + GRIP[0], frame["y"] + GRIP[1]
        d.pointer.move(x, y)
        d.pointer.button(True)
        for x in range(x + 2, x + 60, 2):
            d.pointer.move(x, y)
            d.pointer.roundtrip()  # sway has handled the motion: the tree shows what it did
            if d.info(self.window)["x"] != frame["x"]:
                break
        start = d.info(self.window)
        self.assertNotEqual(start["x"], frame["x"], "the grip did not start a move")
        for step in range(1, 11):
            d.pointer.move(x - 20 * step, y + 12 * step)
        d.pointer.button(False)
        d.pointer.roundtrip()
        moved = d.info(self.window)
        self.assertEqual((moved["x"], moved["y"]), (start["x"] - 200, start["y"] + 120))

        # Hidden by its control, shown again from the tray menu, quit from there.
        d.click_panel(self.window, *HIDE)
        d.wait_mapped(self.window, False)
        bus = harness.Bus()
        self.assertEqual([p.get("label") for p in bus.tray_menu()], ["Show Zorvik", None, "Quit Zorvik"])
        bus.click("Show Zorvik")
        d.wait_mapped(self.window)
        bus.click("Quit Zorvik")
        self.assertEqual(self.app.wait(10), 0)
        said = self.app.communicate()[1].splitlines()  # nothing, not even without a sound server
        self.assertEqual(said, [])
        settings = configparser.ConfigParser()
        settings.read(os.path.join(d.home, "config", "Zorvik", "zorvik.ini"))
        self.assertNotIn("ZorvikPanel", settings.sections(), "a place the compositor never uses")


if __name__ == "__main__":
    harness.in_private_bus()
    test_accessibility.BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

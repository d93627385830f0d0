#!/usr/bin/python3
"""The real program seen by an AT-SPI client (libatspi through gi), on a private X server with
its own accessibility bus: the panel's controls and their labels, the wheel's description and
its one action, a spin started only through accessibility actions, the assertive announcement
of each result, and a reduced-motion spin (the preference served by a stand-in portal) that
jumps straight to its end.

Usage: test_accessibility.py <path to zorvik>"""
import ctypes
import hashlib
import os
import re
import subprocess
import sys
import threading
import time
import unittest
import warnings

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import poll  # noqa: E402

import gi  # noqa: E402
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# libatspi marks its action-name getter deprecated without a replacement in this version.
warnings.filterwarnings("ignore", category=DeprecationWarning, message=".*get_action_name")

BINARY = None
HERE = os.path.dirname(os.path.abspath(__file__))
RESULT = re.compile(r"^(\d|[12]\d|3[0-6]) · (Red|Black|Green) — (You won!|Not this time\.)$")
CONTROLS = ["Hide Zorvik", "Appearance", "Mute rolling sound", "Disable keep on top",
            "Bet Red", "Bet Black", "Roulette wheel"]


def actions(node):
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


class RegionSampler(threading.Thread):
    """Fingerprints one screen rectangle as fast as the X server answers (a few ms per
    sample), with the time of each sample, until stopped. Each XGetImage is one request, so a
    sample never catches half of a window update."""

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                    ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                    ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                    ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                    ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int)]

    def __init__(self, display, rect):
        super().__init__(daemon=True)
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(self.XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                       ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("cannot open " + display)
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.rect = rect
        self.samples = []
        self.running = True

    def grab(self):
        x, y, w, h = self.rect
        image = self.x11.XGetImage(self.display, self.root, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return None
        size = image.contents.bytes_per_line * h
        digest = hashlib.sha1(ctypes.string_at(image.contents.data, size)).hexdigest()
        self.x11.XFree(image.contents.data)
        self.x11.XFree(image)
        return digest

    def run(self):
        while self.running:
            digest = self.grab()
            self.samples.append((time.monotonic(), digest))
            time.sleep(0.002)

    def stop(self):
        self.running = False
        self.join(5)
        self.x11.XCloseDisplay(self.display)

    def states(self, since, until):
        """The distinct pictures in order of appearance between two times, each run of equal
        samples counted once."""
        runs = []
        for t, digest in self.samples:
            if since <= t <= until and (not runs or runs[-1] != digest):
                runs.append(digest)
        return runs


class Client:
    """An AT-SPI client in this process: finds the program's tree and records its events with
    the time they were dispatched."""

    def __init__(self):
        Atspi.init()
        self.context = GLib.MainContext.default()
        self.events = []
        self.listener = Atspi.EventListener.new(self._record)
        for kind in ("object:announcement", "object:property-change:accessible-description"):
            self.listener.register(kind)

    def close(self):
        for kind in ("object:announcement", "object:property-change:accessible-description"):
            self.listener.deregister(kind)

    def _record(self, event):
        if event.type == "object:announcement":
            text = event.any_data
        else:
            # Qt 6.4 hands the object itself with a description change, not the new text: read
            # it from the object as the event arrives, as a screen reader would.
            text = Client.description(event.source)
        self.events.append({"time": time.monotonic(), "type": event.type, "detail1": event.detail1,
                            "text": text, "source": event.source})

    def pump(self):
        while self.context.pending():
            self.context.iteration(False)

    def poll(self, predicate, timeout=20.0, what="condition"):
        def step():
            self.pump()
            return predicate()
        return poll(step, timeout, interval=0.005, what=what)

    def application(self, pid):
        def find():
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                try:
                    if app is not None and app.get_process_id() == pid:
                        return app
                except GLib.Error:
                    continue
            return None
        return self.poll(find, what="the program on the accessibility bus")

    @staticmethod
    def walk(node, depth=0):
        yield node
        if depth > 30:
            return
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                yield from Client.walk(child, depth + 1)

    @staticmethod
    def description(node):
        node.clear_cache()
        return node.get_description()

    def announcements(self, since=0.0):
        return [e for e in self.events if e["type"] == "object:announcement" and e["time"] >= since]


class AccessibilityTest(unittest.TestCase):
    def setUp(self):
        self.desktop = harness.Desktop(BINARY, tray="sni").__enter__()
        self.addCleanup(self.desktop.close)
        d = self.desktop
        # The accessibility bus of this session, started here rather than by activation so that
        # it goes when the test does.
        launcher = d._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                            env=d.env)
        poll(lambda: launcher.poll() is not None or self._bus_has("org.a11y.Bus"),
             what="the accessibility bus launcher")
        self.assertIsNone(launcher.poll(), "at-spi-bus-launcher ended")
        # The desktop's settings portal, with reduced motion off for now.
        self.portal = d._spawn(["/usr/bin/python3", "-u", os.path.join(HERE, "portal_stand_in.py"), "0"],
                               env=d.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.assertEqual(self.portal.stdout.readline().strip(), "ready")
        self.addCleanup(self.portal.stdin.close)

        self.client = Client()
        self.addCleanup(self.client.close)
        env = dict(d.env, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.app = d.launch(env=env)
        self.window = d.panel()
        d.wait_mapped(self.window)

    def _bus_has(self, name):
        out = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                              "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                              "string:" + name], capture_output=True, text=True, timeout=10).stdout
        return "boolean true" in out

    def set_reduced_motion(self, value):
        self.portal.stdin.write(f"reduced-motion {value}\n")
        self.portal.stdin.flush()
        while True:
            line = self.portal.stdout.readline().strip()
            if line == f"set reduced-motion {value}":
                return
            self.assertTrue(line.startswith("read "), line)

    def controls(self):
        app = self.client.application(self.app.pid)
        found = {}

        def complete():
            found.clear()
            for node in Client.walk(app):
                try:
                    name = node.get_name()
                except GLib.Error:
                    continue
                if name in CONTROLS and name not in found:
                    found[name] = node
            return len(found) == len(CONTROLS)

        try:
            self.client.poll(complete, what="the panel's controls in the tree")
        except TimeoutError:
            self.fail(f"missing from the tree: {sorted(set(CONTROLS) - set(found))}")
        return found

    def spin(self, controls, sampler=None):
        """Bets red and spins through accessibility actions alone; returns (seconds from the
        Spin action to the announcement, the announcement, the settled description, the
        action's time)."""
        c = self.client
        wheel, red = controls["Roulette wheel"], controls["Bet Red"]

        names = actions(red)
        self.assertIn("Press", names)
        self.assertTrue(Atspi.Action.do_action(red, names.index("Press")))
        c.poll(lambda: Client.description(red) == "Selected", what="Bet Red to be selected")

        started = len(c.events)
        began = time.monotonic()
        self.assertTrue(Atspi.Action.do_action(wheel, 0))
        c.poll(lambda: c.announcements(began), timeout=10, what="the announcement")
        heard = c.announcements(began)[0]
        seconds = heard["time"] - began

        # Exactly one announcement; nothing more follows it.
        quiet_until = time.monotonic() + 0.6
        c.poll(lambda: time.monotonic() > quiet_until, what="a quiet moment")
        self.assertEqual(len(c.announcements(began)), 1)
        self.assertEqual(heard["detail1"], 2, "the announcement must be assertive")

        settled = Client.description(wheel)
        self.assertEqual(heard["text"], settled)
        self.assertRegex(settled, RESULT)
        colour, verdict = RESULT.match(settled).group(2, 3)
        self.assertEqual(verdict, "You won!" if colour == "Red" else "Not this time.")

        # The description went to "Spinning" and from there to the result, in that order.
        changes = [e["text"] for e in c.events[started:]
                   if e["type"].startswith("object:property-change:accessible-description")
                   and e["source"] is not None and e["source"].get_name() == "Roulette wheel"]
        self.assertEqual(changes, ["Spinning", settled])
        self.assertEqual(Client.description(red), "Not selected")
        print(f"spin: {seconds:.3f} s from the Spin action to the announcement {settled!r}",
              file=sys.stderr)
        return seconds, heard, settled, began

    def test_tree_actions_announcements_and_reduced_motion(self):
        d, c = self.desktop, self.client
        controls = self.controls()
        wheel = controls["Roulette wheel"]
        self.assertEqual(Client.description(wheel), "A little moment of chance.")
        self.assertEqual(Client.description(controls["Bet Red"]), "Not selected")
        self.assertEqual(Client.description(controls["Bet Black"]), "Not selected")
        self.assertEqual(actions(wheel), ["Spin"])

        # The wheel alone, where the panel shows it: under the 36 high header band.
        info = d.info(self.window)
        sampler = RegionSampler(d.display, (info["x"] + 10, info["y"] + 36, 280, 280))
        sampler.start()
        self.addCleanup(sampler.stop)

        # Two ordinary spins of about 5.5 s, each announced once.
        for _ in range(2):
            seconds, heard, settled, began = self.spin(controls)
            self.assertGreater(seconds, 5.4)
            self.assertLess(seconds, 7.5)
            moving = sampler.states(began, heard["time"])
            # The sampler sees the wheel turn: dozens of different pictures.
            self.assertGreater(len(moving), 20)
            print(f"  {len(moving)} different pictures of the wheel during it", file=sys.stderr)

        # Reduced motion, as the desktop's portal says it: the spin takes 0.65 s and shows no
        # position between its start and its end.
        self.set_reduced_motion(1)
        seconds, heard, settled, began = self.spin(controls)
        self.assertGreater(seconds, 0.6)
        self.assertLess(seconds, 1.2)
        # Before: the last result outlined. At the start the outline goes; then nothing
        # moves until the wheel and ball jump to their places with the new outline.
        time.sleep(0.3)
        pictures = sampler.states(began - 0.05, heard["time"] + 0.25)
        self.assertLessEqual(len(pictures), 3, f"{len(pictures)} pictures of the wheel")
        self.assertGreaterEqual(len(pictures), 2)
        self.assertNotEqual(pictures[-1], pictures[-2])
        print(f"  {len(pictures)} different pictures of the wheel from the action to the end",
              file=sys.stderr)
        self.assertIsNone(self.app.poll())


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

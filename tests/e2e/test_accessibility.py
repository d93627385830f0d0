#!/usr/bin/python3
"""The real program seen by an AT-SPI client (libatspi through gi) on its own accessibility bus:
the panel's controls, the wheel's description and its one action, spins started through
accessibility actions and by a flick of the pointer, the assertive announcement of each result,
and a reduced-motion spin (the preference served by a stand-in portal) that jumps to its end. With
a portal that takes calls and never answers, a flick still spins. In German and in Japanese the
controls, the message line and the announcement are all in that language.

Usage: test_accessibility.py <path to zorvik>"""
import ctypes
import hashlib
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import RED, poll  # noqa: E402

import gi  # noqa: E402
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

BINARY = None
# What the program says in each language: the wheel's, the bets' and the message line's first names
# (the line is named by its text), a bet's two states, the wheel's value in a spin, the tray menu's
# quit, and the result line: number, colour and verdict, which is the won one (the last) only for red.
WORDS = {
    "C": ["Roulette wheel", "Bet Red", "Bet Black", "A little moment of chance.", "Selected", "Not selected",
          "Spinning", "Quit Zorvik", ["Red", "Black", "Green"], ["Not this time.", "You won!"]],
    "de_DE": ["Roulettekessel", "Auf Rot setzen", "Auf Schwarz setzen", "Ein kleiner Moment des Zufalls.",
              "Ausgewählt", "Nicht ausgewählt", "Dreht sich", "Zorvik beenden", ["Rot", "Schwarz", "Grün"],
              ["Diesmal nicht.", "Gewonnen!"]],
    "ja_JP": ["ルーレット盤", "赤に賭ける", "黒に賭ける", "ちょっとした運試し。", "選択中", "未選択", "回転中", "Zorvik を終了",
              ["赤", "黒", "緑"], ["今回は残念。", "当たり！"]],
}
DESCRIPTION_CHANGE = "object:property-change:accessible-description"
SHOWING = "object:state-changed:showing"


def actions(node):
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def fresh(node):
    node.clear_cache()
    return node


def walk(node):
    yield node
    for child in map(node.get_child_at_index, range(node.get_child_count())):
        if child is not None:
            yield from walk(child)


class RegionSampler:
    """Fingerprints one screen rectangle at each sample(), with its time. A sample is one
    XGetImage request, so it never catches half of a window update."""

    class XImage(ctypes.Structure):
        _fields_ = [(n, ctypes.c_int) for n in ("width", "height", "xoffset", "format")] + [
            ("data", ctypes.c_void_p)] + [(n, ctypes.c_int) for n in (
                "byte_order", "bitmap_unit", "bitmap_bit_order", "bitmap_pad", "depth", "bytes_per_line")]

    def __init__(self, display, rect):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XGetImage.restype = ctypes.POINTER(self.XImage)
        self.display = ctypes.c_void_p(self.x11.XOpenDisplay(display.encode()))
        self.root = ctypes.c_ulong(self.x11.XDefaultRootWindow(self.display))
        self.rect, self.samples = rect, []

    def sample(self):
        image = self.x11.XGetImage(self.display, self.root, *self.rect, ctypes.c_ulong(0xFFFFFFFF), 2)  # ZPixmap
        data = ctypes.string_at(image.contents.data, image.contents.bytes_per_line * self.rect[3])
        self.samples.append((time.monotonic(), hashlib.sha1(data).digest()))
        self.x11.XFree(ctypes.c_void_p(image.contents.data))
        self.x11.XFree(image)

    def states(self, since, until):
        """The distinct pictures between two times, each run of equal samples counted once."""
        runs = []
        for t, digest in self.samples:
            if since <= t <= until and runs[-1:] != [digest]:
                runs.append(digest)
        return runs


class AccessibilityTest(unittest.TestCase):
    desktop_type = harness.Desktop  # where the program runs

    def setUp(self):
        self.desktop = d = self.enterContext(self.desktop_type(BINARY, tray=True))
        # The accessibility bus, started here rather than by activation so that it ends with the test.
        d.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        poll(lambda: harness.Bus().has_owner("org.a11y.Bus"), what="the accessibility bus")
        self.portal = d.start_portal()  # reduced motion off for now

        Atspi.init()
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:announcement", DESCRIPTION_CHANGE, SHOWING):
            self.listener.register(kind)
        self.launch("C")

    def launch(self, language):
        """Starts the program, accessible, in a language of WORDS."""
        self.wheel, self.red, self.black, self.idle, self.selected, self.unselected, self.spinning, self.quit, \
            colours, verdicts = WORDS[language]
        self.result = re.compile(rf"^(\d|[12]\d|3[0-6]) · ({'|'.join(colours)}) — ({'|'.join(map(re.escape, verdicts))})$")
        self.won = colours[0], verdicts[1]
        self.app, self.window = self.desktop.start(QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                                                   LC_ALL=language + ".UTF-8")
        self.sampler = None

    def record(self, event):
        # Qt 6.4 sends the object with a description change, not the new text: read it as the
        # event arrives, as a screen reader would.
        text = event.any_data if event.type == "object:announcement" else fresh(event.source).get_description()
        self.events.append({"time": time.monotonic(), "type": event.type, "detail1": event.detail1,
                            "text": text, "name": event.source and event.source.get_name()})

    def poll(self, predicate, timeout=20.0, what="condition"):
        """poll(), dispatching the AT-SPI events that have come in meanwhile and sampling the wheel."""
        context = GLib.MainContext.default()

        def step():
            while context.pending():
                context.iteration(False)
            if self.sampler:
                self.sampler.sample()
            return predicate()
        return poll(step, timeout, interval=0.005, what=what)

    def announcements(self, since):
        return [e for e in self.events if e["type"] == "object:announcement" and e["time"] >= since]

    def controls(self):
        """The program's objects by name, once the wheel, bets and message line are in its tree."""
        def find():
            desktop = Atspi.get_desktop(0)
            for app in map(desktop.get_child_at_index, range(desktop.get_child_count())):
                try:
                    if app is not None and app.get_process_id() == self.app.pid:
                        named = {node.get_name(): node for node in walk(app)}
                        return named if {self.wheel, self.red, self.black, self.idle} <= set(named) else None
                except GLib.Error:
                    continue
        return self.poll(find, what="the panel's controls in the tree")

    def spin(self, controls, flick=False):
        """Bets red and spins, through accessibility actions alone or with the pointer, and checks
        what is said on the way. Returns the seconds to the announcement and its start and end."""
        d, wheel, red = self.desktop, controls[self.wheel], controls[self.red]
        if flick:
            d.click_panel(self.window, *RED)
        else:
            self.assertTrue(Atspi.Action.do_action(red, actions(red).index("Press")))
        self.poll(lambda: fresh(red).get_description() == self.selected, what="the red bet to be selected")
        started, began = len(self.events), time.monotonic()
        if flick:
            d.flick(self.window)
        else:
            self.assertTrue(Atspi.Action.do_action(wheel, 0))
        heard = self.poll(lambda: self.announcements(began), timeout=7, what="the announcement")[0]

        # Exactly one assertive announcement, of the message line's result; nothing more follows.
        self.poll(lambda quiet_until=time.monotonic() + 0.6: time.monotonic() > quiet_until, what="a quiet moment")
        self.assertEqual(len(self.announcements(began)), 1)
        self.assertEqual(heard["detail1"], 2, "the announcement must be assertive")
        settled = fresh(controls[self.idle]).get_name()
        self.assertEqual(heard["text"], settled)
        self.assertRegex(settled, self.result)
        colour, verdict = self.result.match(settled).group(2, 3)
        self.assertEqual(verdict == self.won[1], colour == self.won[0])
        # The wheel's description went to "Spinning" and from there to the result, in that order.
        self.assertEqual([e["text"] for e in self.events[started:]
                          if e["type"] == DESCRIPTION_CHANGE and e["name"] == self.wheel], [self.spinning, settled])
        self.assertEqual(fresh(red).get_description(), self.unselected)
        # A reader listens for announcements: the notification for those that don't stays hidden.
        self.assertNotIn(settled, [e["name"] for e in self.events[started:] if e["type"] == SHOWING])
        return heard["time"] - began, began, heard["time"]

    def test_tree_actions_announcements_and_reduced_motion(self):
        controls = self.controls()
        self.assertLessEqual({"Hide Zorvik", "Appearance", "Mute rolling sound", "Disable keep on top"}, set(controls))
        wheel = controls[self.wheel]
        self.assertEqual(fresh(wheel).get_description(), self.idle)
        for bet in (self.red, self.black):
            self.assertEqual(fresh(controls[bet]).get_description(), self.unselected)
        self.assertEqual(actions(wheel), ["Spin"])

        # The wheel alone, where the panel shows it: under the 36 high header band.
        info = self.desktop.info(self.window)
        self.sampler = sampler = RegionSampler(self.desktop.display, (info["x"] + 10, info["y"] + 36, 280, 280))

        # An ordinary spin of about 5.5 s, in which the sampler sees the wheel turn.
        seconds, began, heard = self.spin(controls)
        self.assertGreater(seconds, 5.4)
        self.assertGreater(len(sampler.states(began, heard)), 20)

        # Reduced motion, as the desktop's portal says it: the spin takes 0.65 s and shows no
        # position between its start and its end.
        self.portal.set("reduced-motion", 1)
        harness.Bus().tray_menu()  # a round trip through the program's main thread, after the change
        seconds, began, heard = self.spin(controls)
        self.assertGreater(seconds, 0.6)
        self.assertLess(seconds, 1.2)
        # Before: the last result outlined. At the start the outline goes; then nothing moves
        # until the wheel and ball jump to their places with the new outline.
        pictures = sampler.states(began - 0.05, heard + 0.25)
        self.assertIn(len(pictures), (2, 3))
        self.assertNotEqual(pictures[-1], pictures[-2])
        self.assertIsNone(self.app.poll())

        # In German, with a portal that takes every call and never answers from launch on: the
        # desktop's preferences are still unanswered when the user lets go, and the flick spins
        # all the same (a bet and a flick with the pointer: a result within 7 s). Then in Japanese.
        self.portal.kill()
        self.portal.wait(5)
        self.portal = self.desktop.start_portal("--hang")
        for language, flick in (("de_DE", True), ("ja_JP", False)):
            bus = harness.Bus()
            bus.tray_menu()
            bus.click(self.quit)
            self.assertEqual(self.app.wait(10), 0)
            self.launch(language)
            self.spin(self.controls(), flick=flick)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

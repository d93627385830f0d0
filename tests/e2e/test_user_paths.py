#!/usr/bin/python3
"""The real program on a private X server with openbox, one scenario per path. With a
StatusNotifierItem host: the tray menu, keep-on-top, hiding and showing, the second launch, moving
and the remembered position; and as an AT-SPI client (libatspi through gi) on its own accessibility
bus sees it: the controls, the wheel's description and its one action, spins started through
accessibility actions and by a flick of the pointer, and the assertive announcement of each result.
A stand-in settings portal asks for a dark appearance, then reduced motion (the spin jumps to its
end) and a light one, which the popover's "Dark" overrides; a portal that takes calls and never
answers leaves flicks spinning. Then an XEmbed tray, no tray (with and without a compositing
manager) and no display at all. Usage: test_user_paths.py <path to zorvik>"""
import math
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import GRIP, HIDE, PIN, RED, SOUND, WHEEL_CENTRE, poll  # noqa: E402

import gi  # noqa: E402
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

BINARY = None
ALL_DESKTOPS = "4294967295"

RESULT = re.compile(r"^(\d|[12]\d|3[0-6]) · (Red|Black|Green) — (You won!|Not this time\.)$")
IDLE = "A little moment of chance."  # the message line's first text, hence its accessible name
CONTROLS = ["Hide Zorvik", "Appearance", "Mute rolling sound", "Disable keep on top",
            "Bet Red", "Bet Black", "Roulette wheel", IDLE]
DESCRIPTION_CHANGE = "object:property-change:accessible-description"


def actions(node):
    return [Atspi.Action.get_action_name(node, i) for i in range(Atspi.Action.get_n_actions(node))]


def fresh(node):
    return node.clear_cache() or node


def above(d, window):
    return "_NET_WM_STATE_ABOVE" in d.prop(window, "_NET_WM_STATE")


def walk(node):
    yield node
    for child in map(node.get_child_at_index, range(node.get_child_count())):
        if child is not None:
            yield from walk(child)


class PanelTest(unittest.TestCase):
    def start_accessible(self):
        self.desktop = d = self.enterContext(harness.Desktop(BINARY, tray="sni"))
        # The accessibility bus, started here rather than by activation so that it ends with the test.
        d.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        poll(lambda: harness.Bus().call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                        "NameHasOwner", ("org.a11y.Bus",), "(s)")[0], what="the accessibility bus")
        self.start_portal("color-scheme=1")

        Atspi.init()
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:announcement", DESCRIPTION_CHANGE, "object:state-changed:focused"):
            self.listener.register(kind)
        self.app, self.window = d.start(QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")

    def start_portal(self, *options):  # --hang: one that never answers
        self.portal = self.desktop.spawn(
            ["/usr/bin/python3", "-u", os.path.join(os.path.dirname(__file__), "portal_stand_in.py"), *options],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.assertEqual(self.portal.stdout.readline().strip(), "ready")

    def record(self, event):
        # Qt 6.4 sends the object with a description change, not the new text: read it as the
        # event arrives, as a screen reader would.
        text = event.any_data if event.type == "object:announcement" else fresh(event.source).get_description()
        self.events.append({"time": time.monotonic(), "type": event.type, "detail1": event.detail1,
                            "text": text, "name": event.source and event.source.get_name(), "node": event.source})

    def poll(self, predicate, timeout=20.0, what="condition"):  # dispatching the AT-SPI events meanwhile
        context = GLib.MainContext.default()

        def step():
            while context.pending():
                context.iteration(False)
            return predicate()
        return poll(step, timeout, interval=0.005, what=what)

    def announcements(self, since):
        return [e for e in self.events if e["type"] == "object:announcement" and e["time"] >= since]

    def controls(self, names=CONTROLS):
        """The program's objects by name, once all the names are in its tree."""
        def find():
            desktop = Atspi.get_desktop(0)
            for app in map(desktop.get_child_at_index, range(desktop.get_child_count())):
                try:
                    if app is not None and app.get_process_id() == self.app.pid:
                        named = {node.get_name(): node for node in walk(app)}
                        return named if set(names) <= set(named) else None
                except GLib.Error:
                    continue
        return self.poll(find, what="the panel's controls in the tree")

    def spin(self, controls, flick=False):
        """Bets red and spins, through accessibility actions alone or with the pointer, and checks
        what is said on the way. Returns the seconds to the announcement."""
        d, wheel, red = self.desktop, controls["Roulette wheel"], controls["Bet Red"]
        if flick:
            d.click_panel(self.window, *RED)
        else:
            self.assertTrue(Atspi.Action.do_action(red, actions(red).index("Press")))
        self.poll(lambda: fresh(red).get_description() == "Selected", what="Bet Red to be selected")
        started, began = len(self.events), time.monotonic()
        if flick:
            # A quick sweep clockwise over the lower right of the wheel, well away from the hub.
            info = d.info(self.window)
            cx, cy = info["x"] + WHEEL_CENTRE[0], info["y"] + WHEEL_CENTRE[1]
            d.drag([(round(cx + 105 * math.cos(i * math.pi / 16)), round(cy + 105 * math.sin(i * math.pi / 16)))
                    for i in range(9)], step_delay=0.008)
        else:
            self.assertTrue(Atspi.Action.do_action(wheel, 0))
        heard = self.poll(lambda: self.announcements(began), timeout=10, what="the announcement")[0]  # 6.2 s at most

        # Exactly one assertive announcement, of the message line's result; nothing more follows.
        self.poll(lambda quiet_until=time.monotonic() + 0.6: time.monotonic() > quiet_until, what="a quiet moment")
        self.assertEqual(len(self.announcements(began)), 1)
        self.assertEqual(heard["detail1"], 2, "the announcement must be assertive")
        settled = fresh(controls[IDLE]).get_name()
        self.assertEqual(heard["text"], settled)
        self.assertRegex(settled, RESULT)
        colour, verdict = RESULT.match(settled).group(2, 3)
        self.assertEqual(verdict, "You won!" if colour == "Red" else "Not this time.")
        # The wheel's description went to "Spinning" and from there to the result, in that order.
        self.assertEqual([e["text"] for e in self.events[started:]
                          if e["type"] == DESCRIPTION_CHANGE and e["name"] == "Roulette wheel"], ["Spinning", settled])
        self.assertEqual(fresh(red).get_description(), "Not selected")
        return heard["time"] - began

    def set_portal(self, key, value):
        """Changes a setting of the portal, and waits until the program has had the news: a round
        trip to it on the session bus after the signal."""
        self.portal.stdin.write(f"{key} {value}\n")
        self.portal.stdin.flush()
        self.assertEqual(self.portal.stdout.readline().strip(), f"set {key} {value}")
        harness.Bus().tray_menu()

    def test_accessibility_and_desktop_preferences(self):
        self.start_accessible()
        controls = self.controls()
        self.assertEqual([fresh(controls[n]).get_description() for n in ("Roulette wheel", "Bet Red", "Bet Black")],
                         [IDLE, "Not selected", "Not selected"])
        self.assertEqual(actions(controls["Roulette wheel"]), ["Spin"])
        self.assertGreater(self.spin(controls), 5.4)  # an ordinary spin of about 5.5 s
        self.spin(controls, flick=True)  # a bet and a flick with the pointer

        # The sound control mutes and unmutes; pointed at, it opens the volume card, whose slider
        # sets the volume. Both are kept.
        mute, ini = controls["Mute rolling sound"], pathlib.Path(self.desktop.home, "config", "Zorvik", "zorvik.ini")
        for name in ("Unmute rolling sound", "Mute rolling sound"):
            self.assertTrue(Atspi.Action.do_action(mute, actions(mute).index("Press")))
            self.poll(lambda: fresh(mute).get_name() == name, what=name)
        self.desktop.click_panel(self.window, *SOUND, button=None)
        self.assertTrue(Atspi.Value.set_current_value(self.controls(["Rolling sound volume"])["Rolling sound volume"], 5000))
        poll(lambda: "soundMuted=false\nsoundVolume=0.5\n" in ini.read_text(), what="sound settings kept")

        # Reduced motion, as the desktop's portal says it: the spin takes 0.65 s (against 5.5 s;
        # the margin is for the AT-SPI round trip on a busy machine).
        self.set_portal("reduced-motion", 1)
        self.assertLess(self.spin(controls), 2.5)
        # The desktop's colour scheme, dark from the start and then light, and the popover's "Dark",
        # which wins over the desktop and is kept. The popover is not in the program's tree (Qt
        # leaves popups out); its focused option is seen.
        card = lambda: self.desktop.pixel(*(self.desktop.info(self.window)[k] + o for k, o in (("x", 4), ("y", 200))))
        self.assertEqual(card(), (26, 38, 33))
        self.set_portal("color-scheme", 2)
        poll(lambda: card() == (245, 240, 227), what="the panel to turn light")
        self.assertTrue(Atspi.Action.do_action(controls["Appearance"], 0))
        system = self.poll(lambda: [e["node"] for e in self.events if e["name"] == "System"], what="the popover")[0]
        group = system.get_parent()
        dark = next(c for c in map(group.get_child_at_index, range(group.get_child_count())) if c.get_name() == "Dark")
        self.assertTrue(Atspi.Action.do_action(dark, 0))
        poll(lambda: card() == (26, 38, 33), what="the panel to turn dark")
        self.assertIn("appearance=dark", ini.read_text())

        # A portal that takes every call and never answers, from launch on: the desktop's
        # preferences are still unanswered when the user lets go, and the flick spins all the same.
        bus = harness.Bus()
        bus.tray_menu()
        bus.click("Quit Zorvik")
        self.assertEqual(self.app.wait(10), 0)
        self.portal.kill()
        self.portal.wait(5)
        self.start_portal("--hang")
        self.app, self.window = self.desktop.start(QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.spin(self.controls(), flick=True)

    def test_tray_pin_hide_show_second_launch_move(self):
        d = self.enterContext(harness.Desktop(BINARY, tray="sni"))
        app, window = d.start()
        # Centred horizontally on the 1280 wide screen, fitted to the content's height.
        self.assertEqual(d.info(window)["x"], (1280 - 300) // 2)
        self.assertGreater(d.info(window)["height"], 400)
        bus = harness.Bus()
        self.assertEqual([(p.get("label", ""), p.get("type"), p.get("shortcut")) for p in bus.tray_menu()],
                         [("Show Zorvik", None, None), ("", "separator", None),
                          ("Quit Zorvik", None, [["Control", "Q"]])])
        # On every desktop, above other windows from the start, not in the taskbar.
        self.assertIn(ALL_DESKTOPS, d.prop(window, "_NET_WM_DESKTOP"))
        self.assertTrue(above(d, window) and "_NET_WM_STATE_SKIP_TASKBAR" in d.prop(window, "_NET_WM_STATE"))

        # Keep-on-top off: the window neither moves nor is unmapped.
        before = d.info(window)
        d.click_panel(window, *PIN)
        poll(lambda: not above(d, window), what="ABOVE to be dropped")
        self.assertEqual(d.info(window), before)

        # Hidden by the header control, shown from the menu: openbox drops the hints on unmap,
        # they must be back, and the panel still unpinned.
        d.click_panel(window, *HIDE)
        d.wait_mapped(window, False)
        self.assertIsNone(app.poll(), "hiding must not end the program")
        bus.click("Show Zorvik")
        d.wait_mapped(window)
        poll(lambda: ALL_DESKTOPS in d.prop(window, "_NET_WM_DESKTOP"), what="sticky again")
        self.assertFalse(above(d, window))

        # Pinned again and hidden; a second launch shows it (above again) and exits 0.
        d.click_panel(window, *PIN)
        poll(lambda: above(d, window), what="ABOVE to come back")
        d.click_panel(window, *HIDE)
        d.wait_mapped(window, False)
        self.assertEqual(d.launch().wait(10), 0)
        d.wait_mapped(window)
        poll(lambda: above(d, window), what="above again")
        self.assertEqual(d.panels(), [window])

        # Moved by its grip, quit from the menu, and relaunched (on a "Wayland" session that has
        # XWayland: still on X11): it comes back where it was left.
        start = d.info(window)
        gx, gy = start["x"] + GRIP[0], start["y"] + GRIP[1]
        d.drag([(gx - 20 * i, gy + 12 * i) for i in range(11)], step_delay=0.02, settle=0.3)
        moved = poll(lambda: (lambda i: i if i["x"] != start["x"] else None)(d.info(window)),
                     what="the panel to move")
        # The window manager may pick the pointer up a step late.
        self.assertLess(abs(moved["x"] - (start["x"] - 200)), 25)
        self.assertLess(abs(moved["y"] - (start["y"] + 120)), 15)
        bus.click("Quit Zorvik")
        self.assertEqual(app.wait(10), 0)
        app, window = d.start(WAYLAND_DISPLAY="zorvik-test-no-such-wayland")
        again = d.info(window)
        self.assertTrue(all(abs(again[k] - moved[k]) <= 2 for k in ("x", "y", "height")), (again, moved))

        # Killed outright, it leaves nothing that would keep the next launch from starting. Saved
        # on a monitor that is gone, the panel comes back fully on the screen there is.
        app.kill()
        app.wait(10)
        poll(lambda: not d.panels(), what="the killed panel to go")
        ini = pathlib.Path(d.home, "config", "Zorvik", "zorvik.ini")
        ini.write_text(re.sub(r"(?m)^x=.*$", "x=50000", ini.read_text()).replace("screen=", "screen=GONE-"))
        app, window = d.start()
        self.assertEqual((d.info(window)["x"], d.info(window)["y"]), (1280 - 300, again["y"]))

    def test_xembed_tray(self):
        """The icon docks; a click on it brings the hidden panel back, the other button opens the menu."""
        with harness.Desktop(BINARY, tray="xembed") as d:
            app, panel = d.start()
            search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
            visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
            # The docked icon: the program's small window inside trayer's strip at the top.
            icon = poll(lambda: [w for w in visible() if (i := d.info(w)) and i["width"] <= 64 and i["y"] < 40],
                        what="the icon to dock in trayer")[0]
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            d.click_panel(icon, 11, 11)
            d.wait_mapped(panel)
            before = visible()
            d.click_panel(icon, 9, 9, button=3)  # xdotool --sync would wait for a move to the same spot
            menu = poll(lambda: visible() - before, what="the tray menu").pop()
            self.assertGreater(d.info(menu)["height"], 40)  # tall enough for both entries
            d.run(["xdotool", "key", "Escape"])
            d.wait_mapped(menu, False)
            self.assertIsNone(app.poll())

    def test_no_tray(self):
        """Once hidden, the panel comes back when the program is started again. Its corners are clipped
        by a window shape while nothing composites, and drawn translucent once something does."""
        with harness.Desktop(BINARY) as d:
            self.assertFalse(d.selection_owner("_NET_SYSTEM_TRAY_S0"))
            app, panel = d.start()
            for compositor in (False, True):
                if compositor:
                    d.spawn(["xcompmgr"])
                    poll(lambda: d.selection_owner("_NET_WM_CM_S0"), what="xcompmgr")
                d.click_panel(panel, *HIDE)
                d.wait_mapped(panel, False)
                self.assertIsNone(app.poll(), "hiding must not end the program")
                self.assertEqual(d.launch().wait(10), 0)
                d.wait_mapped(panel)
                self.assertEqual(d.panels(), [panel])
                self.assertEqual(d.shaped(panel), not compositor)
                d.run(["xdotool", "mousemove", "0", "0"])  # --sync to where the pointer already is would stall

    def test_no_display(self):
        """One line and status 1, before Qt would abort; empty variables count as unset."""
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for extra in ({}, {"DISPLAY": "", "WAYLAND_DISPLAY": ""}):
            with self.subTest(**extra), tempfile.TemporaryDirectory() as home:
                result = subprocess.run([BINARY], env=dict(env, HOME=home, XDG_CONFIG_HOME=home, **extra),
                                        capture_output=True, text=True, timeout=30)
                self.assertEqual((result.returncode, result.stdout, result.stderr),
                                 (1, "", "zorvik: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)\n"))

if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

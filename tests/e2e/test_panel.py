#!/usr/bin/python3
"""The real program on a private X server with openbox and xfce4-panel's tray: the tray menu,
hiding and showing, keep-on-top, desktop hints, moving and the remembered position; a second launch
and a launcher's Activate call bring the running panel back; another user cannot take the program's
name; saved positions that no screen holds land on the screen (test_tray.py clicks the icon itself).
Usage: test_panel.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import GRIP, HIDE, MESSAGE, PIN, poll  # noqa: E402

BINARY = None
ALL_DESKTOPS = "4294967295"
APP_ID = "io.github.zorvik.Zorvik"
GDBUS = ["gdbus", "call", "--session", "--dest"]


def above(d, window):
    return "_NET_WM_STATE_ABOVE" in d.prop(window, "_NET_WM_STATE")


class PanelTest(unittest.TestCase):
    def test_panel_through_a_session(self):
        with harness.Desktop(BINARY, tray=True) as d:
            # Another user cannot take the program's name first: this user's session bus refuses them.
            if os.geteuid() == 0:
                refused = d.run(["setpriv", "--reuid", "65534", "--regid", "65534", "--clear-groups", *GDBUS,
                                 "org.freedesktop.DBus", "--object-path", "/org/freedesktop/DBus",
                                 "--method", "org.freedesktop.DBus.RequestName", APP_ID, "4"], check=False)
                self.assertIn("Error connecting", refused.stderr)
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
            self.assertIn("_NET_WM_STATE_ABOVE", d.prop(window, "_NET_WM_STATE"))
            self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", d.prop(window, "_NET_WM_STATE"))

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
            self.assertIsNone(app.poll())
            self.assertEqual(len(d.panels()), 1)

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
            self.assertLessEqual(abs(again["x"] - moved["x"]), 2)
            self.assertLessEqual(abs(again["y"] - moved["y"]), 2)
            self.assertEqual(again["height"], moved["height"])

            # Ctrl+Q while the panel has the keyboard quits.
            d.click_panel(window, *MESSAGE)  # the message line takes no action
            poll(lambda: d.run(["xdotool", "getwindowfocus"], check=False).stdout.strip() == str(window),
                 what="the panel to have the keyboard")
            d.run(["xdotool", "key", "ctrl+q"])
            self.assertEqual(app.wait(10), 0)

            # A launcher's Activate call brings the hidden panel back (the desktop entry started as a
            # menu does, through the package's service file: test_package.py).
            app, window = d.start()
            d.run(["xdotool", "mousemove", "0", "0"])  # --sync to where the pointer already is would stall
            d.click_panel(window, *HIDE)
            d.wait_mapped(window, False)
            d.run([*GDBUS, APP_ID, "--object-path", "/io/github/zorvik/Zorvik",
                   "--method", "org.freedesktop.Application.Activate", "{}"])
            d.wait_mapped(window)
            app.terminate()
            app.wait()


    def test_saved_positions_no_screen_holds_land_on_the_screen(self):
        rows = {"far off both ways": "x=1e308\ny=-1e308\n",
                "not a number": "x=nan\ny=nan\nwidth=nan\nheight=nan\n",
                "on a screen that is gone": "x=2500\ny=1900\nscreen=GONE-1\n",
                "past the left and top": "x=-900\ny=-400\n",
                "saved tiny at the top": "x=0\ny=0\nwidth=1\nheight=1\n",
                "saved huge": "x=600\ny=500\nwidth=2147483647\nheight=2147483647\n"}
        with harness.Desktop(BINARY) as d:
            folder = os.path.join(d.home, "config", "Zorvik")
            os.makedirs(folder)
            for what, saved in rows.items():
                with self.subTest(what):
                    with open(os.path.join(folder, "zorvik.ini"), "w") as f:
                        f.write("[ZorvikPanel]\n" + saved)
                    app, panel = d.start()
                    where = d.info(panel)
                    app.kill()  # killed outright: nothing left behind may keep the next launch from starting
                    app.wait()
                    poll(lambda: not d.panels(), what="the killed panel to go")
                    self.assertTrue(0 <= where["x"] <= 1280 - where["width"], where)
                    self.assertTrue(0 <= where["y"] <= 800 - where["height"], where)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

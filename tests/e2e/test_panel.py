#!/usr/bin/python3
"""The real program on a private X server with openbox and xfce4-panel's tray: the tray menu,
hiding and showing, keep-on-top, desktop hints, the second launch, moving and the remembered
position (test_tray.py clicks the icon itself). Usage: test_panel.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import GRIP, HIDE, MESSAGE, PIN, poll  # noqa: E402

BINARY = None
ALL_DESKTOPS = "4294967295"


def above(d, window):
    return "_NET_WM_STATE_ABOVE" in d.prop(window, "_NET_WM_STATE")


class PanelTest(unittest.TestCase):
    def test_panel_through_a_session(self):
        with harness.Desktop(BINARY, tray=True) as d:
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


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

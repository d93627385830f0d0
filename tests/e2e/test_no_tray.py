#!/usr/bin/python3
"""The program on a desktop with no tray at first: the panel still shows, and once hidden it comes
back when the program is started again. Its rounded corners are clipped by a window shape while
nothing composites; a compositing manager that starts or stops gives or takes its shadow margin.
Then an XEmbed tray (trayer) starts: the icon, which waited for one, docks; a click on it opens
the menu there, and Ctrl+Q quits from the open menu.

Usage: test_no_tray.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class NoTrayTest(unittest.TestCase):
    def test_panel_without_tray_then_with_one(self):
        with harness.Desktop(BINARY) as d:
            self.assertFalse(d.selection_owner("_NET_SYSTEM_TRAY_S0"))
            app, panel = d.start()
            self.assertTrue(d.shaped(panel), "no compositor: the corners must be clipped")
            # Hidden, it comes back when started again: the only way back without a tray.
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            self.assertEqual(d.launch().wait(10), 0)
            d.wait_mapped(panel)
            self.assertTrue(d.shaped(panel))

            # A compositing manager arrives: a shadow margin grows around the same frame and the
            # shape goes; when it leaves, the margin goes and the corners are clipped again.
            frame = d.frame(panel)
            compositor = d.spawn(["xcompmgr"])
            for composited in (True, False):
                poll(lambda: (d.info(panel)["width"] > 300) == composited, what="the margin to follow")
                self.assertEqual(d.frame(panel), frame)
                self.assertEqual(d.shaped(panel), not composited)
                compositor.terminate()
            self.assertIsNone(app.poll())

            d.start_tray("xembed")
            search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
            visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
            # The docked icon: the program's small window inside trayer's strip at the top.
            icon = poll(lambda: [w for w in visible() if (i := d.info(w)) and i["width"] <= 64 and i["y"] < 40],
                        what="the icon to dock in trayer")[0]
            # A click on the icon opens the menu at the icon and does nothing else: the hidden panel
            # stays hidden.
            d.run(["xdotool", "mousemove", "0", "0"])  # --sync to where the pointer already is would stall
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            before = visible()
            d.click_panel(icon, 11, 11)
            menu = d.info(poll(lambda: visible() - before, what="the tray menu").pop())
            at = d.info(icon)
            self.assertLessEqual(abs(menu["y"] - (at["y"] + at["height"])), 4)
            self.assertTrue(menu["x"] <= at["x"] < menu["x"] + menu["width"])
            self.assertEqual(d.info(panel)["state"], "IsUnMapped")
            d.run(["xdotool", "key", "ctrl+q"])
            self.assertEqual(app.wait(10), 0)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

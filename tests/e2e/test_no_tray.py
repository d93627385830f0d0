#!/usr/bin/python3
"""The program on a desktop with no tray at all: the panel still shows, and once hidden it comes
back when the program is started again. Its rounded corners are clipped by a window shape while
nothing composites, and drawn translucent (no shape) once a compositing manager runs.

Usage: test_no_tray.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class NoTrayTest(unittest.TestCase):
    def test_panel_without_tray_with_and_without_compositor(self):
        with harness.Desktop(BINARY) as d:
            self.assertFalse(d.selection_owner("_NET_SYSTEM_TRAY_S0"))
            app, panel = d.start()
            self.assertTrue(d.shaped(panel), "no compositor: the corners must be clipped")

            def hide_and_relaunch():
                d.click_panel(panel, *HIDE)
                d.wait_mapped(panel, False)
                self.assertIsNone(app.poll(), "hiding must not end the program")
                self.assertEqual(d.launch().wait(10), 0)
                d.wait_mapped(panel)
                self.assertEqual(d.panels(), [panel])
                d.run(["xdotool", "mousemove", "0", "0"])  # --sync to where the pointer already is would stall

            hide_and_relaunch()
            self.assertTrue(d.shaped(panel))

            # A compositing manager arrives: from the next show on the window is left unclipped.
            d.spawn(["xcompmgr"])
            poll(lambda: d.selection_owner("_NET_WM_CM_S0"), what="xcompmgr")
            hide_and_relaunch()
            self.assertFalse(d.shaped(panel), "with a compositor the shape must go")
            self.assertIsNone(app.poll())


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""The program on a desktop with no tray at all: the panel still shows, and once hidden it comes
back when the program is started again. Its rounded corners are clipped by a window shape while
nothing composites; a compositing manager that starts or stops gives or takes its shadow margin.

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


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

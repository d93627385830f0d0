#!/usr/bin/python3
"""Saved panel positions that no current screen holds (another user's process on the program's name:
test_panel.py).

Usage: test_foreign_input.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import poll  # noqa: E402

BINARY = None


class ForeignInputTest(unittest.TestCase):
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

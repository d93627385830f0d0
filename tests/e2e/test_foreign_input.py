#!/usr/bin/python3
"""What reaches the program from outside its own launches: another user's process going for the
program's name on this user's session bus, and saved panel positions that no current screen holds.
Acting as another user needs root (setpriv).

Usage: test_foreign_input.py <path to zorvik>"""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None
APP_ID = "io.github.zorvik.Zorvik"


class ForeignInputTest(unittest.TestCase):
    def test_another_user_cannot_stop_a_launch(self):
        if os.geteuid() != 0:
            self.skipTest("acting as another user needs root")
        with harness.Desktop(BINARY) as d:
            # Another user tries to take the program's name first, and later to call the running
            # program: this user's session bus lets neither of them in.
            nobody = ["setpriv", "--reuid", "65534", "--regid", "65534", "--clear-groups", "gdbus", "call", "--session"]
            take = ["--dest", "org.freedesktop.DBus", "--object-path", "/org/freedesktop/DBus",
                    "--method", "org.freedesktop.DBus.RequestName", APP_ID, "4"]
            call = ["--dest", APP_ID, "--object-path", "/io/github/zorvik/Zorvik",
                    "--method", "org.freedesktop.Application.Activate", "{}"]
            refused = d.run(nobody + take, check=False)
            self.assertNotEqual(refused.returncode, 0, refused.stdout)
            self.assertIn("Error connecting", refused.stderr)
            app, panel = d.start()
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            self.assertNotEqual(d.run(nobody + call, check=False).returncode, 0)
            with self.assertRaises(TimeoutError):
                poll(lambda: d.info(panel)["state"] == "IsViewable", timeout=1.0)
            # This user's second launch still reaches it.
            self.assertEqual(d.launch().wait(10), 0)
            d.wait_mapped(panel)
            self.assertIsNone(app.poll())

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

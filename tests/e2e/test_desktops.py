#!/usr/bin/python3
"""The real program on desktops other than the usual one: an XEmbed tray (trayer) instead of a
StatusNotifierItem host; no tray at all, first with nothing compositing and then with a
compositing manager; and no display. Usage: test_desktops.py <path to zorvik>"""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class DesktopsTest(unittest.TestCase):
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
        """The panel shows, and once hidden comes back when the program is started again. Its
        rounded corners are clipped by a window shape while nothing composites, and drawn
        translucent (no shape) once a compositing manager runs."""
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

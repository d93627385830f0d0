#!/usr/bin/python3
"""The program with an XEmbed tray (trayer) instead of a StatusNotifierItem host: the icon
docks, a click on it brings the hidden panel back, the other button opens the menu. Also takes
the desktop screenshots /tmp/shell-desktop.png and /tmp/shell-scale2.png.

Usage: test_tray_xembed.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class XEmbedTrayTest(unittest.TestCase):
    def tray_icon(self, desktop):
        """The docked icon: the program's small window inside trayer's strip at the top."""
        def find():
            found = desktop.run(["xdotool", "search", "--class", "zorvik"], check=False)
            for window in map(int, found.stdout.split()):
                info = desktop.info(window)
                if info and info["state"] == "IsViewable" and info["width"] <= 64 \
                        and info["y"] < 40:
                    return window
            return None
        return poll(find, what="the icon to dock in trayer")

    def test_icon_docks_and_shows_panel_and_menu(self):
        with harness.Desktop(BINARY, tray="xembed") as d:
            app = d.launch()
            panel = d.panel()
            d.wait_mapped(panel)
            icon = self.tray_icon(d)
            d.screenshot("/tmp/shell-desktop.png")

            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            d.click_panel(icon, 11, 11)
            d.wait_mapped(panel)

            # The context menu: a new popup window of the program, here with both entries.
            before = set(d.run(["xdotool", "search", "--onlyvisible", "--class", "zorvik"],
                               check=False).stdout.split())
            d.click_panel(icon, 11, 11, button=3)
            menu = poll(lambda: set(d.run(["xdotool", "search", "--onlyvisible", "--class",
                                           "zorvik"], check=False).stdout.split()) - before,
                        what="the tray menu")
            d.screenshot("/tmp/shell-menu.png")
            info = d.info(int(next(iter(menu))))
            self.assertGreater(info["height"], 40)
            d.run(["xdotool", "key", "Escape"])
            poll(lambda: not d.mapped(int(next(iter(menu)))), what="the menu to close")
            self.assertIsNone(app.poll())

    def test_double_scale_screenshot(self):
        with harness.Desktop(BINARY, tray="xembed", width=1600, height=1100) as d:
            app = d.launch(env=dict(d.env, QT_SCALE_FACTOR="2"))
            panel = d.panel()
            d.wait_mapped(panel)
            info = d.info(panel)
            self.assertEqual(info["width"], 600)
            self.tray_icon(d)
            d.screenshot("/tmp/shell-scale2.png")
            app.terminate()
            app.wait(10)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

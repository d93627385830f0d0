#!/usr/bin/python3
"""The program with an XEmbed tray (trayer) instead of a StatusNotifierItem host: the icon docks,
a click on it brings the hidden panel back, the other button opens the menu.

Usage: test_tray_xembed.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class XEmbedTrayTest(unittest.TestCase):
    def test_icon_docks_and_shows_panel_and_menu(self):
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

            # The context menu: a new window of the program, tall enough for both entries.
            before = visible()
            d.click_panel(icon, 9, 9, button=3)  # xdotool --sync would wait for a move to the same spot
            menu = poll(lambda: visible() - before, what="the tray menu").pop()
            self.assertGreater(d.info(menu)["height"], 40)
            d.run(["xdotool", "key", "Escape"])
            d.wait_mapped(menu, False)
            self.assertIsNone(app.poll())


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

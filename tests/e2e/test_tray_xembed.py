#!/usr/bin/python3
"""The program with an XEmbed tray (trayer) instead of a StatusNotifierItem host: the icon docks,
a click on it opens the menu there, and Ctrl+Q quits from the open menu.

Usage: test_tray_xembed.py <path to zorvik>"""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None


class XEmbedTrayTest(unittest.TestCase):
    def test_icon_docks_and_opens_the_menu(self):
        with harness.Desktop(BINARY, tray="xembed") as d:
            app, panel = d.start()
            search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
            visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
            # The docked icon: the program's small window inside trayer's strip at the top.
            icon = poll(lambda: [w for w in visible() if (i := d.info(w)) and i["width"] <= 64 and i["y"] < 40],
                        what="the icon to dock in trayer")[0]

            # A click on the icon opens the menu at the icon and does nothing else: the hidden panel
            # stays hidden.
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            before = visible()
            d.click_panel(icon, 11, 11)
            menu = d.info(poll(lambda: visible() - before, what="the tray menu").pop())
            at = d.info(icon)
            self.assertLessEqual(abs(menu["y"] - (at["y"] + at["height"])), 4)
            self.assertTrue(menu["x"] <= at["x"] < menu["x"] + menu["width"])
            self.assertEqual(d.info(panel)["state"], "IsUnMapped")
            # Ctrl+Q while the menu is open quits.
            d.run(["xdotool", "key", "ctrl+q"])
            self.assertEqual(app.wait(10), 0)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

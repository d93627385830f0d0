#!/usr/bin/python3
"""The real program on a private X server with openbox and a StatusNotifierItem host:
the tray menu, hiding and showing, keep-on-top, desktop hints, moving and the remembered
position, the second launch, and a bet with a flick of the wheel.

Usage: test_panel.py <path to zorvik>"""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import GRIP, HIDE, MESSAGE, PIN, RED, WHEEL_CENTRE, poll  # noqa: E402

BINARY = None


def above(desktop, window):
    return "_NET_WM_STATE_ABOVE" in desktop.prop(window, "_NET_WM_STATE")


class PanelTest(unittest.TestCase):
    def setUp(self):
        self.desktop = harness.Desktop(BINARY, tray="sni").__enter__()
        self.addCleanup(self.desktop.close)
        self.host = harness.TrayHost()

    def start(self, **env):
        app = self.desktop.launch(env=dict(self.desktop.env, **env) if env else None)
        window = self.desktop.panel()
        self.desktop.wait_mapped(window)
        return app, window

    def menu(self):
        item = poll(self.host.items, what="the tray item to register")[0]
        return self.host.menu(item)

    def test_tray_menu_hide_show_pin_and_quit(self):
        app, window = self.start()
        d = self.desktop

        service, path, entries = self.menu()
        labels = [label for _, label, props in entries if props.get("type") != "separator"]
        self.assertEqual(labels, ["Show Zorvik", "Quit Zorvik"])
        self.assertEqual(entries[1][2].get("type"), "separator")
        ids = {label: ident for ident, label, _ in entries}
        self.assertEqual(entries[2][2].get("shortcut"), [["Control", "Q"]])
        self.assertNotIn("shortcut", entries[0][2])

        # On every desktop, above other windows from the start, not in the taskbar.
        self.assertIn("4294967295", d.prop(window, "_NET_WM_DESKTOP"))
        self.assertTrue(above(d, window))
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", d.prop(window, "_NET_WM_STATE"))

        # The header's hide control takes the panel away; the menu brings it back.
        d.click_panel(window, *HIDE)
        d.wait_mapped(window, False)
        self.assertIsNone(app.poll(), "hiding must not end the program")
        self.host.click(service, path, ids["Show Zorvik"])
        d.wait_mapped(window)
        # openbox drops the hints on unmap: they must be back after the show.
        poll(lambda: "4294967295" in d.prop(window, "_NET_WM_DESKTOP"), what="sticky again")
        poll(lambda: above(d, window), what="above again")

        # Keep-on-top off and on again, without the window moving or being unmapped.
        before = d.info(window)
        d.click_panel(window, *PIN)
        poll(lambda: not above(d, window), what="ABOVE to be dropped")
        self.assertTrue(d.mapped(window))
        d.click_panel(window, *PIN)
        poll(lambda: above(d, window), what="ABOVE to come back")
        after = d.info(window)
        self.assertEqual((before["x"], before["y"]), (after["x"], after["y"]))

        # Unpinned, hidden and shown again: it must stay unpinned (the flag survives the map).
        d.click_panel(window, *PIN)
        poll(lambda: not above(d, window), what="ABOVE to be dropped")
        d.click_panel(window, *HIDE)
        d.wait_mapped(window, False)
        self.host.click(service, path, ids["Show Zorvik"])
        d.wait_mapped(window)
        poll(lambda: "4294967295" in d.prop(window, "_NET_WM_DESKTOP"), what="sticky again")
        self.assertFalse(above(d, window))

        self.host.click(service, path, ids["Quit Zorvik"])
        self.assertEqual(app.wait(10), 0)

    def test_moved_panel_comes_back_where_it_was_left(self):
        app, window = self.start()
        d = self.desktop
        start = d.info(window)
        # Centred horizontally on the 1280 wide screen, fitted to the content's height.
        self.assertEqual(start["x"], (1280 - 300) // 2)
        self.assertGreater(start["height"], 400)

        gx, gy = start["x"] + GRIP[0], start["y"] + GRIP[1]
        d.drag([(gx, gy)] + [(gx - 20 * i, gy + 12 * i) for i in range(1, 11)],
               step_delay=0.02, settle=0.3)
        moved = poll(lambda: (lambda i: i if i["x"] != start["x"] else None)(d.info(window)),
                     what="the panel to move")
        # The window manager may pick the pointer up a step late.
        self.assertLess(abs(moved["x"] - (start["x"] - 200)), 25)
        self.assertLess(abs(moved["y"] - (start["y"] + 120)), 15)

        # Ctrl+Q while the panel has the keyboard quits.
        d.click_panel(window, 150, 36 + 280 + 16)  # the message line: takes no action
        poll(lambda: d.run(["xdotool", "getwindowfocus"], check=False).stdout.strip()
             == str(window), what="the panel to have the keyboard")
        d.run(["xdotool", "key", "ctrl+q"])
        self.assertEqual(app.wait(10), 0)

        # Relaunched on a "Wayland" session that has XWayland: it still comes up on X11.
        app, window = self.start(WAYLAND_DISPLAY="zorvik-test-no-such-wayland")
        again = d.info(window)
        self.assertLessEqual(abs(again["x"] - moved["x"]), 2)
        self.assertLessEqual(abs(again["y"] - moved["y"]), 2)
        self.assertEqual(again["height"], moved["height"])
        app.terminate()
        app.wait(10)

    def test_saved_position_off_screen_is_pulled_back(self):
        config = os.path.join(self.desktop.env["XDG_CONFIG_HOME"], "Zorvik")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "zorvik.ini"), "w") as f:
            f.write("[ZorvikPanel]\nx=5000\ny=-300\nwidth=300\nheight=432\nscreen=GONE-1\n")
        app, window = self.start()
        info = self.desktop.info(window)
        self.assertEqual(info["x"], 1280 - info["width"])
        self.assertEqual(info["y"], 0)
        app.terminate()
        app.wait(10)

    def test_second_launch_shows_the_first_and_exits(self):
        app, window = self.start()
        d = self.desktop
        d.click_panel(window, *HIDE)
        d.wait_mapped(window, False)
        second = d.launch()
        self.assertEqual(second.wait(10), 0)
        d.wait_mapped(window)
        self.assertIsNone(app.poll())
        self.assertEqual(len([w for w in d.windows() if d.info(w)["width"] >= 200]), 1)

        # Killed outright, it leaves nothing that would keep the next launch from starting.
        app.kill()
        app.wait(10)
        poll(lambda: not d.windows() or None, what="the killed panel to go")
        app, window = self.start()
        self.assertIsNone(app.poll())
        app.terminate()
        app.wait(10)

    def test_bet_and_flick_spin_to_a_result(self):
        app, window = self.start()
        d = self.desktop
        info = d.info(window)
        ox, oy = info["x"], info["y"]
        message = (ox + MESSAGE[0], oy + MESSAGE[1], MESSAGE[2], MESSAGE[3])
        idle = d.region_bytes(message)

        d.click_panel(window, *RED)
        # A quick sweep clockwise over the lower right of the wheel, well away from the hub.
        cx, cy = ox + WHEEL_CENTRE[0], oy + WHEEL_CENTRE[1]
        import math
        points = [(round(cx + 105 * math.cos(a)), round(cy + 105 * math.sin(a)))
                  for a in [i * math.pi / 2 / 8 for i in range(0, 9)]]
        d.drag(points, step_delay=0.008)
        spinning = poll(lambda: (lambda b: b if b != idle else None)(d.region_bytes(message)),
                        timeout=2, what="the message to change when the spin starts")
        d.screenshot("/tmp/shell-spinning.png")
        poll(lambda: (lambda b: b not in (idle, spinning) or None)(d.region_bytes(message)),
             timeout=7, interval=0.2, what="the result message")
        d.screenshot("/tmp/shell-result.png")
        self.assertIsNone(app.poll())
        app.terminate()
        app.wait(10)


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

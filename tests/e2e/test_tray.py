#!/usr/bin/python3
"""The tray icon on real trays, on one X server: xfce4-panel (a StatusNotifierItem host, and an
XEmbed tray that names its colours), dark and light, under a light and a dark desktop, then trayer
(XEmbed, naming none), light and dark. The icon's pixels reach 3:1 against the panel: WCAG's
contrast ratio of each against the same pixel on a screenshot without the program, as much as its
most contrasting quarter reaches. xfce4-panel draws the installed symbolic icon by name in its
foreground colour, else the program's picture in the colour it names; trayer shows the picture
light on a dark ground. A click on the icon opens the menu there; "Quit Zorvik" quits, and so does
Ctrl+Q while it is open. The screenshots stay in tray-screens/. Usage: test_tray.py <path to zorvik>"""
import os
import shutil
import subprocess
import sys
import unittest

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import HIDE, poll  # noqa: E402

BINARY = None
SYMBOLIC = os.path.join(os.path.dirname(__file__), "..", "..", "packaging", "icons", "zorvik-symbolic.svg")
STRIP = (1040, 0, 240, 34)  # the trays' right end, where the icon docks: x, y, width, height
AREA = [(x, y) for x in range(STRIP[0], STRIP[0] + STRIP[2]) for y in range(STRIP[1], STRIP[1] + STRIP[3])]


def luminance(rgb):
    return sum(w * (v / 3294.6 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4)
               for w, v in zip((0.2126, 0.7152, 0.0722), rgb)) + 0.05


class TrayTest(unittest.TestCase):
    def test_icon_on_real_trays(self):
        os.makedirs("tray-screens", exist_ok=True)
        with harness.Desktop(BINARY) as self.d:
            d = self.d
            self.portal = d.spawn(["/usr/bin/python3", "-u", os.path.join(os.path.dirname(__file__),
                                                                           "portal_stand_in.py")],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
            self.assertEqual(self.portal.stdout.readline().strip(), "ready")
            icons = os.path.join(d.home, "data", "icons", "hicolor", "symbolic", "apps")
            for panel, background in (("dark", None), ("light", (0.93, 0.93, 0.92))):
                # The icon not installed: the host shows the program's picture.
                d.start_panel(background)
                bare = self.settled()
                self.show(f"xfce-{panel}-picture", bare, "dark")
                # Installed, in this home's icon theme.
                os.makedirs(icons)
                shutil.copy(SYMBOLIC, icons)
                d.start_panel(background)
                bare = self.settled()
                for desktop in ("light", "dark"):
                    self.show(f"xfce-{panel}-named-{desktop}-desktop", bare, desktop, named=True)
                shutil.rmtree(icons)
            for look, tint in (("light", None), ("dark", "0x303030")):
                d.start_trayer(tint)
                self.show(f"trayer-{look}", self.settled(), "dark", trayer=True)

    def show(self, name, bare, desktop, named=False, trayer=False):
        """Starts the program, checks its icon and its menu, quits it and waits for the icon to go."""
        d, scheme = self.d, {"light": "2", "dark": "1"}[desktop]
        self.portal.stdin.write(f"color-scheme {scheme}\n")
        self.portal.stdin.flush()
        self.assertEqual(self.portal.stdout.readline().split(), ["set", "color-scheme", scheme])
        app, panel = d.start()
        frame = d.frame(panel)  # its header in the desktop's appearance
        poll(lambda: (luminance(d.screenshot()(frame["x"] + 90, frame["y"] + 10)) > 0.5) == (desktop == "light"),
             what=f"a panel in the {desktop} appearance")
        self.settled(bare)
        shot = d.screenshot(keep=(os.path.join("tray-screens", name + ".png"), STRIP))
        icon = [(x, y) for x, y in AREA if max(abs(a - b) for a, b in zip(shot(x, y), bare(x, y))) > 8]
        ratios = sorted(max(luminance(shot(*p)), luminance(bare(*p))) / min(luminance(shot(*p)), luminance(bare(*p)))
                        for p in icon)
        symbolic = self.symbolic_difference(shot, bare, icon) if named else None
        print(f"{name}: {len(icon)} icon pixels, {sum(r >= 3 for r in ratios)} at 3:1 or more, upper quartile from "
              f"{ratios[len(ratios) * 3 // 4]:.2f}:1, highest {ratios[-1]:.2f}:1; off the symbolic icon by {symbolic}")
        self.assertGreaterEqual(len(icon), 40, name)
        self.assertGreaterEqual(ratios[len(ratios) * 3 // 4], 3.0, name)
        if not trayer:  # drawn in the tray's foreground, by name or not: each pixel between it and the panel
            self.assertTrue(all(min(f, b) - 8 <= s <= max(f, b) + 8 for p in icon
                                for f, b, s in zip(self.foreground(), bare(*p), shot(*p))), name)
        self.assertLessEqual(symbolic or 0, 8, name)

        # A click on the icon opens the menu at the icon; a hidden panel stays hidden.
        if trayer:
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
        xs, ys = [x for x, _ in icon], [y for _, y in icon]
        search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
        visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
        before = visible()
        d.run(["xdotool", "mousemove", "--sync", str(sum(xs) // len(xs)), str(sum(ys) // len(ys)), "click", "1"])
        menu = d.info(poll(lambda: [w for w in visible() - before if d.info(w)["height"] > 40], what="the menu")[0])
        self.assertTrue(menu["y"] <= max(ys) + 8 and menu["x"] <= max(xs) <= menu["x"] + menu["width"] + 20, menu)
        if trayer:
            self.assertEqual(d.info(panel)["state"], "IsUnMapped")
            d.run(["xdotool", "key", "ctrl+q"])
        else:  # the last item
            d.run(["xdotool", "mousemove", str(menu["x"] + 30), str(menu["y"] + menu["height"] - 10), "click", "1"])
        self.assertEqual(app.wait(10), 0)
        d.run(["xdotool", "mousemove", "0", "700"])  # off the tray: no highlight left behind
        poll(lambda: all(s(*p) == bare(*p) for p in AREA) if (s := d.screenshot()) else None, what="the icon to go")

    def settled(self, bare=None):
        """A screenshot once the trays' end looks the same twice running and, given bare, shows an icon."""
        last = []

        def grab():
            shot = self.d.screenshot()
            pixels = [shot(*p) for p in AREA]
            steady, last[:] = last == [pixels], [pixels]
            return shot if steady and (bare is None or sum(s != bare(*p) for s, p in zip(pixels, AREA)) >= 40) else None
        return poll(grab, what="the tray to settle")

    def foreground(self):
        """The foreground colour the tray names (_NET_SYSTEM_TRAY_COLORS, 16 bits a channel)."""
        colours = self.d.prop(self.d.selection_owner("_NET_SYSTEM_TRAY_S0"), "_NET_SYSTEM_TRAY_COLORS")
        return [int(v) // 257 for v in colours.split("=")[1].split(",")[:3]]

    def symbolic_difference(self, shot, bare, icon):
        """How far the icon is from the symbolic icon as librsvg draws it at the systray's 22 pixels in
        the tray's foreground colour, placed where it fits best: a few levels where drawn by name."""
        fg, picture = self.foreground(), GdkPixbuf.Pixbuf.new_from_file_at_size(SYMBOLIC, 22, 22)
        alpha, stride = picture.get_pixels(), picture.get_rowstride()
        x0, y0 = min(x for x, _ in icon), min(y for _, y in icon)
        return min(max(abs(round(f * a + b * (1 - a)) - s) for i in range(22) for j in range(22)
                       for a in [alpha[j * stride + i * 4 + 3] / 255]
                       for f, b, s in zip(fg, bare(ox + i, oy + j), shot(ox + i, oy + j)))
                   for ox in range(x0 - 3, x0 + 1) for oy in range(y0 - 3, y0 + 1))


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

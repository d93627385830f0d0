#!/usr/bin/python3
"""The tray icon on real trays, all on one X server: xfce4-panel (its systray plugin is a
StatusNotifierItem host and an XEmbed tray), dark and light, under a light and a dark desktop, then
trayer (XEmbed), light and dark. Each time the icon's pixels reach 3:1 against the panel behind them
(WCAG's contrast ratio of each pixel against the same pixel without the program; the ratio its most
contrasting quarter reaches). Where the host finds the installed icon by name it shows the symbolic
icon in its own foreground colour; where it shows the program's picture, that takes the colour the
tray names, or is light on a dark ground where it names none. A click on the icon opens the menu,
and "Quit Zorvik" quits (Ctrl+Q too, while the menu is open). The screenshots stay in tray-screens/
under the working folder. Usage: test_tray.py <path to zorvik>"""
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
SCREENS = os.path.abspath("tray-screens")


def luminance(rgb):
    c = [v / 255 for v in rgb]
    c = [v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4 for v in c]
    return 0.2126 * c[0] + 0.7152 * c[1] + 0.0722 * c[2]


def contrast(a, b):
    low, high = sorted((luminance(a), luminance(b)))
    return (high + 0.05) / (low + 0.05)


class TrayTest(unittest.TestCase):
    def test_icon_on_real_trays(self):
        os.makedirs(SCREENS, exist_ok=True)
        with harness.Desktop(BINARY) as d:
            self.d = d
            self.portal = d.spawn(["/usr/bin/python3", "-u", os.path.join(os.path.dirname(__file__),
                                                                           "portal_stand_in.py")],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
            self.assertEqual(self.portal.stdout.readline().strip(), "ready")
            # A second session bus with no tray host on it: a program there docks by XEmbed.
            other = d.spawn(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
                            text=True)
            no_host = other.stdout.readline().strip()
            icons = os.path.join(d.home, "data", "icons", "hicolor", "symbolic", "apps")
            for panel, background in (("dark", None), ("light", (0.93, 0.93, 0.92))):
                # First the icon not installed: the host shows the program's picture.
                d.start_panel(background)
                bare = self.settled()
                self.show(f"xfce-{panel}-picture", bare, "dark")
                # No desktop portal on that bus either: a light desktop, as with no preference.
                self.show(f"xfce-{panel}-xembed", bare, "light", DBUS_SESSION_BUS_ADDRESS=no_host)
                # Installed where the package puts it for everyone, in this home's icon theme.
                os.makedirs(icons, exist_ok=True)
                shutil.copy(SYMBOLIC, icons)
                d.start_panel(background)
                bare = self.settled()
                for desktop in ("light", "dark"):
                    self.show(f"xfce-{panel}-named-{desktop}-desktop", bare, desktop, named=True)
                shutil.rmtree(icons)
            for look, tint in (("light", None), ("dark", "0x303030")):
                d.start_trayer(tint)
                self.show(f"trayer-{look}", self.settled(), "dark", hide_first=True)

    def show(self, name, bare, desktop, named=False, hide_first=False, **env):
        """Starts the program on the tray shown in bare and checks its icon: the contrast, the
        symbolic icon where named, the menu; quits it and waits for the icon to go."""
        d = self.d
        scheme = {"light": "2", "dark": "1"}[desktop]
        self.portal.stdin.write(f"color-scheme {scheme}\n")
        self.portal.stdin.flush()
        self.assertEqual(self.portal.stdout.readline().split(), ["set", "color-scheme", scheme])
        app, panel = d.start(**env)
        # The panel in the desktop's light or dark appearance: the header's background.
        frame = d.frame(panel)
        poll(lambda: (luminance(d.screenshot()(frame["x"] + 90, frame["y"] + 10)) > 0.5) == (desktop == "light"),
             what=f"a panel in the {desktop} appearance")
        self.settled(bare)
        shot = d.screenshot(keep=(os.path.join(SCREENS, name + ".png"), STRIP))
        icon = [(x, y) for x, y in AREA if max(abs(a - b) for a, b in zip(shot(x, y), bare(x, y))) > 8]
        ratios = sorted(contrast(shot(x, y), bare(x, y)) for x, y in icon)
        reached = ratios[len(ratios) * 3 // 4]
        symbolic = self.symbolic_difference(shot, bare, icon) if named else None
        print(f"{name}: {len(icon)} icon pixels, {sum(r >= 3 for r in ratios)} of them at 3:1 or more, upper "
              f"quartile from {reached:.2f}:1, highest {ratios[-1]:.2f}:1; off the symbolic icon by {symbolic}",
              flush=True)
        self.assertGreaterEqual(len(icon), 40, name)
        self.assertGreaterEqual(reached, 3.0, name)
        if named:
            self.assertLessEqual(symbolic, 8, name)

        # A click on the icon opens the menu at the icon; a hidden panel stays hidden.
        if hide_first:
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
        xs, ys = [x for x, _ in icon], [y for _, y in icon]
        search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
        visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
        before = visible()
        d.run(["xdotool", "mousemove", "--sync", str((min(xs) + max(xs)) // 2), str((min(ys) + max(ys)) // 2),
               "click", "1"])
        menu = d.info(poll(lambda: [w for w in visible() - before if d.info(w)["height"] > 40],
                           what="the tray menu")[0])
        self.assertLessEqual(menu["y"], max(ys) + 8)
        self.assertTrue(menu["x"] <= max(xs) and min(xs) <= menu["x"] + menu["width"], (menu, min(xs)))
        if hide_first:
            self.assertEqual(d.info(panel)["state"], "IsUnMapped")
            d.run(["xdotool", "key", "ctrl+q"])
        else:  # the last item
            d.run(["xdotool", "mousemove", str(menu["x"] + 30), str(menu["y"] + menu["height"] - 10), "click", "1"])
        self.assertEqual(app.wait(10), 0)
        d.run(["xdotool", "mousemove", "0", "700"])  # off the tray: no highlight left behind
        poll(lambda: all(shot(x, y) == bare(x, y) for x, y in AREA) if (shot := d.screenshot()) else None,
             what="the icon to go")

    def settled(self, bare=None):
        """A screenshot once the trays' end looks the same twice running and, given bare, shows an
        icon there."""
        last = []

        def grab():
            shot = self.d.screenshot()
            pixels = [shot(x, y) for x, y in AREA]
            steady, last[:] = last == [pixels], [pixels]
            shown = bare is None or sum(p != bare(x, y) for p, (x, y) in zip(pixels, AREA)) >= 40
            return shot if steady and shown else None
        return poll(grab, what="the tray to settle")

    def symbolic_difference(self, shot, bare, icon):
        """How far the shown icon is from the installed symbolic icon drawn by librsvg in the tray's
        foreground colour (the colour xfce4-panel gives its XEmbed icons too), at the size and
        place that fit it best: a few levels where the host drew it by name."""
        owner = self.d.selection_owner("_NET_SYSTEM_TRAY_S0")
        fg = [int(v) // 257 for v in self.d.prop(owner, "_NET_SYSTEM_TRAY_COLORS").split("=")[1].split(",")[:3]]
        x0, y0 = min(x for x, _ in icon), min(y for _, y in icon)
        best = 255
        for side in range(16, 25):
            picture = GdkPixbuf.Pixbuf.new_from_file_at_size(SYMBOLIC, side, side)
            alpha, stride = picture.get_pixels(), picture.get_rowstride()
            for ox in range(x0 - 4, x0 + 1):
                for oy in range(y0 - 4, y0 + 1):
                    worst = 0
                    for j in range(side):
                        for i in range(side):
                            a = alpha[j * stride + i * 4 + 3] / 255
                            drawn = [round(f * a + b * (1 - a)) for f, b in zip(fg, bare(ox + i, oy + j))]
                            worst = max(worst, *(abs(p - q) for p, q in zip(drawn, shot(ox + i, oy + j))))
                            if worst >= best:
                                break
                        if worst >= best:
                            break
                    best = min(best, worst)
        return best


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""From a desktop with no tray to real trays, on one X server. With no tray (nor a compositor) the
panel's corners are clipped by a window shape; a compositing manager that comes or goes gives or
takes its shadow margin; a tray that comes later gets the icon. Then xfce4-panel (a StatusNotifierItem host and an XEmbed tray that names
its colours), dark and light, under a light and a dark desktop, and trayer (XEmbed), light and dark:
the icon's pixels reach 3:1 against the panel (WCAG's ratio of each to the same pixel without the
program, as its most contrasting quarter reaches it); xfce4-panel draws the installed symbolic icon
by name in its own colour, else our picture in the colour it names; a click on the icon opens the
menu and nothing else; "Quit Zorvik" quits, as Ctrl+Q does with the menu open. Screenshots stay in
tray-screens/. Usage: test_tray.py <path to zorvik>"""
import os
import shutil
import sys
import unittest

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
            self.without_tray()
            self.portal = d.start_portal()
            icons = os.path.join(d.home, "data", "icons", "hicolor", "symbolic", "apps")
            for panel, background in (("dark", None), ("light", (0.93, 0.93, 0.92))):
                # First the icon not installed: the host shows the program's picture; then installed
                # in this home's icon theme, found by name.
                shots = {}
                for cases in ((("picture", "dark"),), (("named-light-desktop", "light"), ("named-dark-desktop", "dark"))):
                    d.start_panel(background)
                    bare = self.settled()
                    for case, desktop in cases:
                        shots[case] = self.show(f"xfce-{panel}-{case}", bare, desktop)
                    os.makedirs(icons, exist_ok=True)
                    shutil.copy(SYMBOLIC, icons)
                shutil.rmtree(icons)
                # Found by name, the host draws the symbolic icon (in its colour, as checked), not the picture.
                apart = max(abs(a - b) for p in AREA for a, b in zip(shots["picture"](*p), shots["named-dark-desktop"](*p)))
                print(f"xfce-{panel}: by name {apart} levels from the picture at most")
                self.assertGreater(apart, 8)
            for look, tint in (("light", None), ("dark", "0x303030")):
                d.start_trayer(tint)
                self.show(f"trayer-{look}", self.settled(), "dark", trayer=True)

    def without_tray(self):
        d = self.d
        app, panel = d.start()
        self.assertTrue(d.shaped(panel), "no compositor: the corners must be clipped")
        # A compositing manager arrives: a shadow margin grows around the same frame and the shape
        # goes; when it leaves, the margin goes and the corners are clipped again.
        frame, compositor = d.frame(panel), d.spawn(["xcompmgr"])
        for composited in (True, False):
            poll(lambda: (d.info(panel)["width"] > 300) == composited, what="the margin to follow")
            self.assertEqual((d.frame(panel), d.shaped(panel)), (frame, not composited))
            compositor.terminate()
        # A tray that comes after the program: the icon, which waited for one, docks in it.
        d.start_trayer()
        search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
        docked = lambda: [w for w in d.run(search, check=False).stdout.split()  # noqa: E731
                          if (i := d.info(int(w))) and i["height"] <= 64 and i["y"] < 40]
        poll(docked, what="the icon to dock in a tray that came late")
        d.stop_tray()
        app.kill()
        app.wait()
        poll(lambda: not d.panels(), what="the killed panel to go")

    def show(self, name, bare, desktop, trayer=False):
        """Starts the program, checks its icon and its menu, quits it and waits for the icon to go;
        returns the screenshot with the icon."""
        d = self.d
        self.portal.set("color-scheme", {"light": 2, "dark": 1}[desktop])
        app, panel = d.start()
        frame = d.frame(panel)  # its header in the desktop's appearance
        poll(lambda: (luminance(d.screenshot()(frame["x"] + 90, frame["y"] + 10)) > 0.5) == (desktop == "light"),
             what=f"a panel in the {desktop} appearance")
        self.settled(bare)
        shot = d.screenshot(keep=(os.path.join("tray-screens", name + ".png"), STRIP))
        icon = [(x, y) for x, y in AREA if max(abs(a - b) for a, b in zip(shot(x, y), bare(x, y))) > 8]
        ratios = sorted(max(luminance(shot(*p)), luminance(bare(*p))) / min(luminance(shot(*p)), luminance(bare(*p)))
                        for p in icon)
        print(f"{name}: {len(icon)} icon pixels, {sum(r >= 3 for r in ratios)} at 3:1 or more, upper quartile from "
              f"{ratios[len(ratios) * 3 // 4]:.2f}:1, highest {ratios[-1]:.2f}:1")
        self.assertGreaterEqual(len(icon), 40, name)
        self.assertGreaterEqual(ratios[len(ratios) * 3 // 4], 3.0, name)
        if not trayer:  # drawn in the tray's foreground, by name or not: each pixel between it and the panel
            self.assertTrue(all(min(f, b) - 8 <= s <= max(f, b) + 8 for p in icon
                                for f, b, s in zip(self.foreground(), bare(*p), shot(*p))), name)

        # A click on the icon opens the menu at the icon and nothing else: the hidden panel stays hidden.
        d.click_panel(panel, *HIDE)
        d.wait_mapped(panel, False)
        xs, ys = [x for x, _ in icon], [y for _, y in icon]
        search = ["xdotool", "search", "--onlyvisible", "--class", "zorvik"]
        visible = lambda: {int(w) for w in d.run(search, check=False).stdout.split()}  # noqa: E731
        before = visible()
        d.run(["xdotool", "mousemove", "--sync", str(sum(xs) // len(xs)), str(sum(ys) // len(ys)), "click", "1"])
        menu = d.info(poll(lambda: [w for w in visible() - before if d.info(w)["height"] > 40], what="the menu")[0])
        self.assertTrue(menu["y"] <= max(ys) + 8 and menu["x"] <= max(xs) <= menu["x"] + menu["width"] + 20, menu)
        self.assertEqual(d.info(panel)["state"], "IsUnMapped")
        if trayer:
            d.run(["xdotool", "key", "ctrl+q"])
        else:  # the last item
            d.run(["xdotool", "mousemove", str(menu["x"] + 30), str(menu["y"] + menu["height"] - 10), "click", "1"])
        self.assertEqual(app.wait(10), 0)
        d.run(["xdotool", "mousemove", "0", "700"])  # off the tray: no highlight left behind
        poll(lambda: all(s(*p) == bare(*p) for p in AREA) if (s := d.screenshot()) else None, what="the icon to go")
        return shot

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


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

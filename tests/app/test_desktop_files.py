#!/usr/bin/python3
"""Installs the build into a scratch DESTDIR and checks the desktop integration there: the
desktop entry and the AppStream metainfo pass their validators, every icon is in place, and the
entry names the binary, the icon and the window class the program really has.

Usage: test_desktop_files.py <build dir>"""
import configparser
import os
import subprocess
import sys
import tempfile
import unittest

BUILD = None
APP_ID = "io.github.zorvik.Zorvik"


class DesktopFilesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.TemporaryDirectory()
        env = dict(os.environ, DESTDIR=cls.scratch.name)
        subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"], env=env, check=True,
                       capture_output=True, timeout=120)
        cls.share = os.path.join(cls.scratch.name, "usr", "share")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def test_desktop_entry_validates_and_points_at_the_program(self):
        path = os.path.join(self.share, "applications", APP_ID + ".desktop")
        result = subprocess.run(["desktop-file-validate", path], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "")
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(path)
        group = entry["Desktop Entry"]
        self.assertEqual(group["Name"], "Zorvik")
        self.assertEqual(group["Exec"], "zorvik")
        self.assertEqual(group["Icon"], APP_ID)
        self.assertIn("Game", group["Categories"].split(";"))
        # Qt names the window class after the application name.
        self.assertEqual(group["StartupWMClass"], "zorvik")
        self.assertTrue(os.path.exists(os.path.join(self.scratch.name, "usr", "bin", "zorvik")))

    def test_metainfo_validates(self):
        path = os.path.join(self.share, "metainfo", APP_ID + ".metainfo.xml")
        result = subprocess.run(["appstreamcli", "validate", "--no-net", path],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_icons_for_every_size(self):
        hicolor = os.path.join(self.share, "icons", "hicolor")
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            png = os.path.join(hicolor, f"{size}x{size}", "apps", APP_ID + ".png")
            with open(png, "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n", png)
            self.assertEqual(int.from_bytes(header[16:20], "big"), size, png)
            self.assertEqual(int.from_bytes(header[20:24], "big"), size, png)
        for name in ("scalable/apps/" + APP_ID + ".svg", "symbolic/apps/" + APP_ID + "-symbolic.svg"):
            with open(os.path.join(hicolor, name)) as f:
                self.assertIn("<svg", f.read())


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""Installs the build into a scratch DESTDIR and checks the desktop integration there: desktop
entry and AppStream metainfo pass their validators and name the real binary, icon and window
class, and every icon is in place. Usage: test_desktop_files.py <build dir>"""
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
        subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"], check=True, capture_output=True,
                       timeout=120, env=dict(os.environ, DESTDIR=cls.scratch.name))
        cls.share = os.path.join(cls.scratch.name, "usr", "share")

    @classmethod
    def tearDownClass(cls):
        cls.scratch.cleanup()

    def validate(self, command, path):
        result = subprocess.run(command + [path], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        return result.stdout.strip()

    def test_desktop_entry_validates_and_points_at_the_program(self):
        path = os.path.join(self.share, "applications", APP_ID + ".desktop")
        self.assertEqual(self.validate(["desktop-file-validate"], path), "")
        entry = configparser.ConfigParser(interpolation=None)
        entry.optionxform = str
        entry.read(path)
        group = entry["Desktop Entry"]
        self.assertEqual((group["Name"], group["Exec"], group["Icon"]), ("Zorvik", "zorvik", APP_ID))
        self.assertIn("Game", group["Categories"].split(";"))
        self.assertEqual(group["StartupWMClass"], "zorvik")  # Qt's window class: the application name
        self.assertTrue(os.path.exists(os.path.join(self.scratch.name, "usr", "bin", "zorvik")))

    def test_metainfo_validates(self):
        self.validate(["appstreamcli", "validate", "--no-net"],
                      os.path.join(self.share, "metainfo", APP_ID + ".metainfo.xml"))

    def test_icons_for_every_size(self):
        hicolor = os.path.join(self.share, "icons", "hicolor")
        for size in (16, 22, 24, 32, 48, 64, 128, 256):
            png = os.path.join(hicolor, f"{size}x{size}", "apps", APP_ID + ".png")
            with open(png, "rb") as f:
                header = f.read(24)
            self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n", png)
            self.assertEqual((int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")),
                             (size, size), png)
        for name in ("scalable/apps/" + APP_ID + ".svg", "symbolic/apps/" + APP_ID + "-symbolic.svg"):
            with open(os.path.join(hicolor, name)) as f:
                self.assertIn("<svg", f.read())


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

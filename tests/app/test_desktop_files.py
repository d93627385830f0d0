#!/usr/bin/python3
"""The build installed into a scratch DESTDIR: desktop entry and metainfo pass their validators and
speak every language the program ships, the entry names the installed program, icon and window
class and is activated through the session bus's service file, and the rendered icons have their sizes.
Usage: test_desktop_files.py <build dir>"""
import os
import re
import subprocess
import sys
import tempfile
import unittest

BUILD = None
APP_ID = "io.github.zorvik.Zorvik"
LANGUAGES = sorted(re.findall(r"zorvik_(\w+)\.ts", " ".join(os.listdir(os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources", "translations")))))


class DesktopFilesTest(unittest.TestCase):
    def test_installed_files(self):
        with tempfile.TemporaryDirectory() as root:
            subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"], check=True, capture_output=True,
                           timeout=120, env=dict(os.environ, DESTDIR=root))
            share = os.path.join(root, "usr", "share")
            desktop = os.path.join(share, "applications", APP_ID + ".desktop")
            run = lambda *argv: subprocess.run(argv, capture_output=True, text=True)  # noqa: E731
            result = run("desktop-file-validate", desktop)
            self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))  # not even a hint
            metainfo = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
            result = run("appstreamcli", "validate", "--no-net", metainfo)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            with open(metainfo) as f:
                self.assertEqual(sorted(re.findall(r'<summary xml:lang="(\w+)">', f.read())), LANGUAGES)

            with open(desktop) as f:
                entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
            # Qt's window class is the application name. Launchers activate the entry through the
            # session bus, which starts the installed program by the service file's absolute path.
            self.assertEqual((entry["Exec"], entry["Icon"], entry["StartupWMClass"], entry["DBusActivatable"]),
                             ("zorvik", APP_ID, "zorvik", "true"))
            with open(os.path.join(share, "dbus-1", "services", APP_ID + ".service")) as f:
                self.assertEqual(f.read().split(), ["[D-BUS", "Service]", "Name=" + APP_ID, "Exec=/usr/bin/zorvik"])
            for key in ("GenericName", "Comment", "Keywords"):
                self.assertEqual(sorted(re.findall(key + r"\[(\w+)\]", " ".join(entry))), LANGUAGES, key)
            self.assertTrue(os.path.exists(os.path.join(root, "usr", "bin", entry["Exec"])))
            for size in (16, 22, 24, 32, 48, 64, 128, 256):
                with open(os.path.join(share, "icons", "hicolor", f"{size}x{size}", "apps", APP_ID + ".png"), "rb") as f:
                    header = f.read(24)
                self.assertEqual((header[:8], header[16:24]), (b"\x89PNG\r\n\x1a\n", 2 * size.to_bytes(4, "big")))
            # The tray icon's symbolic name, and the application id's.
            for name in ("zorvik-symbolic", APP_ID + "-symbolic"):
                self.assertTrue(os.path.exists(os.path.join(share, "icons", "hicolor", "symbolic", "apps", name + ".svg")))


if __name__ == "__main__":
    BUILD = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""Without any display the program says so in one line and ends with status 1, before Qt would
abort; empty variables count as unset. Usage: test_no_display.py <path to zorvik>"""
import os
import subprocess
import sys
import tempfile
import unittest

BINARY = None
MESSAGE = "zorvik: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)\n"


class NoDisplayTest(unittest.TestCase):
    def test_one_line_and_status_1(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        for extra in ({}, {"DISPLAY": "", "WAYLAND_DISPLAY": ""}):
            with self.subTest(**extra), tempfile.TemporaryDirectory() as home:
                result = subprocess.run([BINARY], env=dict(env, HOME=home, XDG_CONFIG_HOME=home, **extra),
                                        capture_output=True, text=True, timeout=30)
                self.assertEqual((result.returncode, result.stdout, result.stderr), (1, "", MESSAGE))


if __name__ == "__main__":
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

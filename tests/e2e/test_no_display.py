#!/usr/bin/python3
"""Without any display the program says so in one line and ends with status 1, before Qt
would abort. Usage: test_no_display.py <path to zorvik>"""
import os
import subprocess
import sys
import tempfile
import unittest

BINARY = None


class NoDisplayTest(unittest.TestCase):
    def run_without_display(self, **extra):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        with tempfile.TemporaryDirectory() as home:
            env.update(HOME=home, XDG_CONFIG_HOME=home, **extra)
            return subprocess.run([BINARY], env=env, capture_output=True, text=True, timeout=30)

    def test_one_line_and_status_1(self):
        result = self.run_without_display()
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr,
                         "zorvik: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)\n")
        self.assertEqual(result.stdout, "")

    def test_empty_variables_count_as_unset(self):
        result = self.run_without_display(DISPLAY="", WAYLAND_DISPLAY="")
        self.assertEqual(result.returncode, 1)
        self.assertIn("no graphical display", result.stderr)


if __name__ == "__main__":
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

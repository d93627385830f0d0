#!/usr/bin/python3
"""Without a display it can reach the program says so in one line naming it, and ends with status
1, before Qt would abort: none named (empty variables count as unset), an X display that no server
answers, a Wayland socket that is missing or refuses, and both at once. The command line is
answered before that: --help and --version (the changelog's) with status 0, a mistake in one line
with status 2, while Qt's own options are left to Qt. Usage: test_no_display.py <path to zorvik>"""
import os
import re
import socket
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from harness import dead_display  # noqa: E402

BINARY = None
MESSAGE = "zorvik: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset)\n"
HINT = ". Try 'zorvik --help'.\n"
CHANGELOG = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "debian", "changelog")


class NoDisplayTest(unittest.TestCase):
    def test_one_line_and_status(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        version = re.match(r"zorvik \((.+?)\)", open(CHANGELOG).readline()).group(1)
        empty = {"DISPLAY": "", "WAYLAND_DISPLAY": ""}
        runtime = self.enterContext(tempfile.TemporaryDirectory())
        socket.socket(socket.AF_UNIX).bind(os.path.join(runtime, "refusing"))  # bound, never listening
        dead, x11 = dead_display(), "zorvik: cannot connect to the X display"
        wayland = {name: f'the Wayland display "{name}" ({runtime}/{name}: {why})\n'
                   for name, why in (("missing", "No such file or directory"), ("refusing", "Connection refused"))}
        for args, extra, *expected in (([], {}, 1, "", MESSAGE), ([], empty, 1, "", MESSAGE),
                                       ([], {"DISPLAY": dead}, 1, "", f'{x11} "{dead}"\n'),
                                       ([], {"WAYLAND_DISPLAY": "missing"}, 1, "",
                                        "zorvik: cannot connect to " + wayland["missing"]),
                                       ([], {"DISPLAY": dead, "WAYLAND_DISPLAY": "refusing"}, 1, "",
                                        f'{x11} "{dead}" or to ' + wayland["refusing"]),
                                       (["-session", "7", "-style=fusion"], {}, 1, "", MESSAGE),
                                       (["--version"], {}, 0, f"zorvik {version}\n", ""),
                                       (["--bogus"], {}, 2, "", f"zorvik: Unknown option 'bogus'{HINT}"),
                                       (["stray"], empty, 2, "", f"zorvik: Unexpected argument 'stray'{HINT}")):
            with self.subTest(args=args, **extra), tempfile.TemporaryDirectory() as home:
                result = subprocess.run([BINARY, *args], env=dict(env, HOME=home, XDG_CONFIG_HOME=home,
                                                                  XDG_RUNTIME_DIR=runtime, **extra),
                                        capture_output=True, text=True, timeout=30)
                self.assertEqual((result.returncode, result.stdout, result.stderr), tuple(expected))
        result = subprocess.run([BINARY, "--help"], env=env, capture_output=True, text=True, timeout=30)
        self.assertEqual((result.returncode, result.stdout.split("\n")[0]), (0, f"Usage: {BINARY} [options]"))


if __name__ == "__main__":
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""The real program with the real screen reader of Debian 12, Orca 43, and the keyboard alone
(xdotool key): each control is reached with Tab and spoken, the appearance picker and the volume
card follow the arrow keys and Escape, Space bets and spins, and the result is spoken once.
Orca runs without a speech server and logs each utterance as SPEECH OUTPUT in its debug file.

Usage: test_screen_reader.py <path to zorvik>"""
import fcntl
import os
import pty
import re
import subprocess
import sys
import tempfile
import threading
import time
import tty
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import poll  # noqa: E402

BINARY = None
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?=[{ ]|$)", re.M)
RESULT = re.compile(r"^(\d|[12]\d|3[0-6]) · (Red|Black|Green) — (You won!|Not this time\.)$")
# Each key, and what Orca says after it, in order (its echo of the key left aside).
BETS_AND_SPIN = [
    ("Tab", ["Appearance push button."]), ("space", ["System.", "selected radio button"]),
    ("Down", ["Light.", "selected radio button"]), ("Escape", ["Appearance push button."]),
    ("Tab", ["Mute rolling sound push button."]),
    ("Tab", ["Rolling sound volume slider 25."]),  # the card opened with the button's focus
    ("Tab", ["Disable keep on top push button."]),
    ("Tab", ["Bet Red push button.", "Not selected."]), ("space", ["Selected"]),
    ("Tab", ["Bet Black push button.", "Not selected."]),
    ("Tab", ["Roulette wheel image.", "A little moment of chance."]), ("space", ["Spinning"]),
]
VOLUME = [
    ("Tab", ["Hide Zorvik push button."]), ("Tab", ["Appearance push button."]),
    ("Tab", ["Mute rolling sound push button."]), ("Tab", ["Rolling sound volume slider 25."]),
    ("Right", ["26"]), ("Right", ["27"]),
    ("Escape", ["Mute rolling sound push button."]),  # the card closes, the focus goes back
]


class ScreenReaderTest(unittest.TestCase):
    def setUp(self):
        # Orca ends at once when another Orca of this user runs (a suite beside this one, seen twice
        # as "it said []"): the Orca tests of this user take turns, and wait out one not theirs.
        lock = open(os.path.join(tempfile.gettempdir(), f"zorvik-orca-{os.getuid()}.lock"), "w")
        self.addCleanup(lock.close)  # after the desktop, and Orca with it, has stopped
        fcntl.flock(lock, fcntl.LOCK_EX)
        others = ["pgrep", "-u", str(os.getuid()), "-x", "orca"]
        poll(lambda: subprocess.run(others, stdout=subprocess.DEVNULL).returncode == 1, timeout=120,
             what="another Orca of this user to end")
        self.desktop = d = self.enterContext(harness.Desktop(BINARY))
        d.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        poll(lambda: harness.Bus().has_owner("org.a11y.Bus"), what="the accessibility bus")
        # Orca buffers its debug file, except on a terminal, where each line goes out at once.
        reader, writer = pty.openpty()
        tty.setraw(writer)
        for end in (reader, writer):
            self.addCleanup(os.close, end)
        self.log = []
        threading.Thread(target=self.drain, args=(reader,), daemon=True).start()
        d.env["SPEECHD_CMD"] = "/nonexistent"  # no speech server: Orca cannot start one
        d.spawn(["orca", "--debug-file", os.ttyname(writer)])
        self.heard(["Screen reader on."], since=0, timeout=60)
        self.app, self.window = d.start()  # accessible, as Orca turned accessibility on
        self.heard(["Hide Zorvik push button."], since=0)

    def drain(self, reader):
        try:
            while True:
                self.log.append(os.read(reader, 1 << 16))
        except OSError:  # the terminal is closed
            pass

    def utterances(self):
        return UTTERANCE.findall(b"".join(self.log).decode(errors="replace"))

    def heard(self, expected, since, timeout=20.0):
        """Waits until Orca has said the expected utterances, in order, after the first `since`."""
        def said():
            spoken = iter(self.utterances()[since:])
            return all(any(u == e for u in spoken) for e in expected)
        try:
            poll(said, timeout=timeout, what=f"Orca to say {expected}")
        except TimeoutError as error:
            raise AssertionError(f"{error}; it said {self.utterances()[since:]}") from None

    def press(self, steps):
        """Presses each key and waits for what Orca says after it; returns when the last was sent."""
        for key, expected in steps:
            since = len(self.utterances())
            self.desktop.run(["xdotool", "key", key])
            pressed = time.monotonic()
            self.heard(expected, since)
        return pressed

    def test_keyboard_only_with_orca(self):
        spun = self.press(BETS_AND_SPIN)
        result = poll(lambda: [u for u in self.utterances() if RESULT.match(u)], timeout=8,
                      what="the result to be spoken")[0]
        self.assertLess(time.monotonic() - spun, 8)
        # Round the panel to the volume card; by then a second reading would have come.
        self.press(VOLUME)
        self.assertEqual(self.utterances().count(result), 1, self.utterances())


if __name__ == "__main__":
    harness.in_private_bus()
    BINARY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)

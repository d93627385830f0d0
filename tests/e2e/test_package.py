#!/usr/bin/python3
"""The Debian package as a user meets it: built by scripts/package (lintian-clean), installed by apt-get
from the .deb, it shows in menus (Exec line, hicolor icon) and software centres (metainfo); started from its
desktop entry as a menu does, the session bus starts it through the package's service file, and the entry
brings the running panel back; it plays through its own sound module and tells the changelog's version
beside a running copy. Purged, even after a failed check, it leaves /usr as it was. Needs root or sudo
without a password (else status 77: skipped)."""
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness  # noqa: E402
from harness import HIDE, RED, poll  # noqa: E402

ROOT, HICOLOR = os.path.dirname(os.path.dirname(HERE)), "/usr/share/icons/hicolor"
APT = ([] if os.geteuid() == 0 else ["sudo", "-n"]) + ["env", "DEBIAN_FRONTEND=noninteractive", "apt-get", "-yq"]


def field(path, key):
    return (re.findall(rf"^{key}=(.*)$", open(path).read(), re.M) or [""])[0]


class PackageTest(unittest.TestCase):
    def test_install_use_and_purge(self):
        built = subprocess.run([ROOT + "/scripts/package"], capture_output=True, text=True, timeout=1800)
        self.assertEqual(built.returncode, 0, built.stderr)
        folder, deb = os.path.split(built.stdout.split()[-1])
        tree = lambda: {os.path.join(d, n) for d, dirs, files in os.walk("/usr") for n in dirs + files}  # noqa: E731
        subprocess.run(APT + ["purge", "zorvik"], capture_output=True)  # left by a run that was cut short
        before = tree()
        try:
            subprocess.run(APT + ["install", "./" + deb], cwd=folder, check=True, capture_output=True)
            self.check_installed()
        finally:
            subprocess.run(APT + ["purge", "zorvik"], check=True, capture_output=True)
        self.assertEqual(tree() ^ before, set())

    def check_installed(self):
        [entry] = [path for path in glob.glob("/usr/share/applications/*.desktop")
                   if shutil.which((field(path, "Exec") + " _").split()[0]) == "/usr/bin/zorvik"]
        themed = {d for d in field(HICOLOR + "/index.theme", "Directories").split(",")
                  if glob.glob(f"{HICOLOR}/{d}/{field(entry, 'Icon')}.*")}
        self.assertLessEqual({"48x48/apps", "256x256/apps", "scalable/apps"}, themed)
        found = subprocess.run(["appstreamcli", "get", "io.github.zorvik.Zorvik"], capture_output=True, text=True)
        self.assertIn("Identifier: io.github.zorvik.Zorvik [desktop-application]", found.stdout)

        version = re.match(r"zorvik \((.+?)\)", open(ROOT + "/debian/changelog").readline()).group(1)
        app_id = os.path.basename(entry)[:-len(".desktop")]
        with harness.Desktop("/usr/bin/zorvik") as d:
            bus = harness.Bus()
            bus.reload()  # the bus started before the package brought its service file
            bus.menu_launch(entry, app_id)
            panel = poll(lambda: (d.panels() or [None])[0], what="the panel of the program the bus started")
            d.wait_mapped(panel)
            pid = bus.owner_pid(app_id)
            self.assertEqual(os.readlink(f"/proc/{pid}/exe"), "/usr/bin/zorvik")
            d.click_panel(panel, *HIDE)
            d.wait_mapped(panel, False)
            bus.menu_launch(entry, app_id)
            d.wait_mapped(panel)

            self.assertEqual(d.run(["/usr/bin/zorvik", "--version"]).stdout, f"zorvik {version}\n")
            d.click_panel(panel, *RED)
            d.flick(panel)  # the first sound loads the module from the package's library folder
            module = glob.glob("/usr/lib/*/zorvik/zorvik_audio.so")[0]
            poll(lambda: module in open(f"/proc/{pid}/maps").read(), what="the audio module to load")
            os.kill(pid, signal.SIGTERM)
            poll(lambda: not bus.has_owner(app_id), what="the program to end")


if __name__ == "__main__":
    if os.geteuid() != 0 and subprocess.run("sudo -n true", shell=True, capture_output=True).returncode != 0:
        sys.exit(77)
    harness.in_private_bus()
    unittest.main(verbosity=2)

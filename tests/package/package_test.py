#!/usr/bin/env python3
"""The Debian package as built by scripts/package: its files and dependencies,
lintian's verdict, the program and the unit unpacked into a scratch root, and
the maintainer scripts run against a scratch root, with the commands that
change the machine itself (adduser, chown, systemctl ...) recorded instead of
run.

Usage: package_test.py PACKAGE.deb
"""

import filecmp
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

PACKAGE = None
STATION = "var/lib/tarvik"
SAMPLE = "usr/share/tarvik/station"
UNIT = "/usr/lib/systemd/system/tarvik.service"
RECORDED_COMMANDS = ["adduser", "deluser", "delgroup", "chown", "systemctl",
                     "deb-systemd-helper", "deb-systemd-invoke"]


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, **options)


def field(name):
    return run("dpkg-deb", "--field", PACKAGE, name).stdout.strip()


def files_below(folder):
    found = set()
    for top, _, names in os.walk(folder):
        found.update(os.path.relpath(os.path.join(top, name), folder) for name in names)
    return found


class Contents(unittest.TestCase):
    def test_lists_the_program_station_unit_settings_and_documents(self):
        listing = run("dpkg-deb", "--contents", PACKAGE).stdout
        entries = {line.split()[-1]: line.split()[:2] for line in listing.splitlines()}
        wanted = {
            "./usr/bin/tarvik": "-rwxr-xr-x",
            "./usr/share/tarvik/station/Tarvik.ini": "-rw-r--r--",
            "./usr/share/tarvik/station/data/schedule.lst": "-rw-r--r--",
            "." + UNIT: "-rw-r--r--",
            "./etc/default/tarvik": "-rw-r--r--",
            "./usr/share/doc/tarvik/README.md": "-rw-r--r--",
            "./usr/share/doc/tarvik/copyright": "-rw-r--r--",
            "./usr/share/doc/tarvik/changelog.gz": "-rw-r--r--",
            "./usr/share/man/man1/tarvik.1.gz": "-rw-r--r--",
        }
        for path, mode in wanted.items():
            self.assertEqual(entries.get(path), [mode, "root/root"], path)
        for path in entries:
            self.assertFalse(path.startswith("./var/"), f"{path}: the station folder is postinst's")

    def test_depends_on_the_shared_libraries_and_marks_the_settings_a_conffile(self):
        depends = [entry.split()[0] for entry in field("Depends").split(", ")]
        for library in ["libqt6core6", "libqt6widgets6", "libasound2", "libgmime-3.0-0", "libc6", "adduser"]:
            self.assertIn(library, depends)
        self.assertTrue(any(re.fullmatch(r"libicu\d+", entry) for entry in depends), depends)
        info = run("dpkg-deb", "--info", PACKAGE, "conffiles").stdout
        self.assertEqual(info.split(), ["/etc/default/tarvik"])

    def test_lintian_finds_no_error_or_warning(self):
        result = run("lintian", "--fail-on", "error,warning", PACKAGE)
        print(result.stdout, end="")
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)


class Unpacked(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tarvik-root-")
        subprocess.run(["dpkg", "--extract", PACKAGE, self.root], check=True)

    def tearDown(self):
        shutil.rmtree(self.root)

    def test_program_answers_version_and_help_without_a_display(self):
        program = os.path.join(self.root, "usr/bin/tarvik")
        bare = {"PATH": "/usr/bin:/bin"}
        version = run(program, "--version", env=bare)
        self.assertEqual((version.returncode, version.stdout), (0, f"tarvik {field('Version')}\n"))
        help_text = run(program, "-platform", "offscreen", "--help", env=bare)
        self.assertEqual(help_text.returncode, 0)
        self.assertTrue(help_text.stdout.startswith("Usage: tarvik"), help_text.stdout)

    @unittest.skipUnless(shutil.which("systemd-analyze"), "no systemd-analyze here")
    def test_unit_verifies_and_is_hardened(self):
        # The start transaction needs the targets the unit names: the host's.
        units = os.path.join(self.root, "usr/lib/systemd/system")
        for name in os.listdir("/usr/lib/systemd/system"):
            if name.endswith(".target"):
                shutil.copy2(os.path.join("/usr/lib/systemd/system", name), units, follow_symlinks=False)
        manuals = dict(os.environ, MANPATH=os.path.join(self.root, "usr/share/man"))
        verify = run("systemd-analyze", "verify", f"--root={self.root}", UNIT, env=manuals)
        self.assertEqual((verify.returncode, verify.stdout + verify.stderr), (0, ""))
        security = run("systemd-analyze", "security", "--offline=yes", f"--root={self.root}", "tarvik.service")
        exposure = re.search(r"Overall exposure level for tarvik.service: ([\d.]+)", security.stdout)
        self.assertIsNotNone(exposure, security.stdout + security.stderr)
        self.assertLess(float(exposure.group(1)), 5.0, security.stdout)


class MaintainerScripts(unittest.TestCase):
    """postinst, prerm and postrm as dpkg runs them, on a root of their own
    ($DPKG_ROOT). A folder run/systemd/system in that root stands for a
    running systemd."""

    def setUp(self):
        self.scratch = tempfile.mkdtemp(prefix="tarvik-scripts-")
        self.root = os.path.join(self.scratch, "root")
        self.control = os.path.join(self.scratch, "control")
        subprocess.run(["dpkg", "--extract", PACKAGE, self.root], check=True)
        subprocess.run(["dpkg-deb", "--control", PACKAGE, self.control], check=True)
        self.station = os.path.join(self.root, STATION)
        self.sample = os.path.join(self.root, SAMPLE)
        self.calls_file = os.path.join(self.scratch, "calls")
        self.stubs = os.path.join(self.scratch, "stubs")
        os.mkdir(self.stubs)
        for command in RECORDED_COMMANDS:
            stub = os.path.join(self.stubs, command)
            with open(stub, "w") as script:
                script.write(f'#!/bin/sh\necho "{command} $*" >> "$CALLS"\n')
            os.chmod(stub, 0o755)

    def tearDown(self):
        shutil.rmtree(self.scratch)

    def script(self, name, *arguments, **environment):
        """Runs one maintainer script; the commands it called, in order."""
        if os.path.exists(self.calls_file):
            os.remove(self.calls_file)
        env = {"PATH": f"{self.stubs}:/usr/sbin:/usr/bin:/sbin:/bin", "DPKG_ROOT": self.root,
               "CALLS": self.calls_file, **environment}
        result = run(os.path.join(self.control, name), *arguments, env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        if not os.path.exists(self.calls_file):
            return []
        with open(self.calls_file) as calls:
            return calls.read().splitlines()

    def systemd_running(self):
        os.makedirs(os.path.join(self.root, "run/systemd/system"))

    def assert_same_file(self, relative, expected_bytes):
        with open(os.path.join(self.station, relative), "rb") as file:
            self.assertEqual(file.read(), expected_bytes, relative)

    def test_new_install_makes_the_user_and_seeds_the_station(self):
        calls = self.script("postinst", "configure", "")
        self.assertEqual(calls[0], "adduser --system --group --quiet --home /var/lib/tarvik --no-create-home tarvik")
        self.assertEqual(files_below(self.station), files_below(self.sample))
        for relative in files_below(self.sample):
            self.assertTrue(filecmp.cmp(os.path.join(self.sample, relative),
                                        os.path.join(self.station, relative), shallow=False), relative)
        self.assertEqual(os.stat(self.station).st_mode & 0o777, 0o750)
        self.assertIn(f"chown -R tarvik:tarvik {self.station}", calls)
        self.assertIn("deb-systemd-helper update-state tarvik.service", calls)
        self.assertFalse([call for call in calls if call.split()[0] in ("systemctl", "deb-systemd-invoke")])

    def test_a_configured_station_is_left_as_the_operator_has_it(self):
        self.script("postinst", "configure", "")
        operator = {"Tarvik.ini": b'KOVACOMMPORT="COM2"\r\n', "data/header.txt": b"ZCZC OPERATOR\r\n"}
        for relative, text in operator.items():
            with open(os.path.join(self.station, relative), "wb") as file:
                file.write(text)
        os.remove(os.path.join(self.station, "data/thefox.txt"))
        calls = self.script("postinst", "configure", "0.1")
        for relative, text in operator.items():
            self.assert_same_file(relative, text)
        self.assertFalse(os.path.exists(os.path.join(self.station, "data/thefox.txt")))
        self.assertFalse([call for call in calls if call.startswith("chown tarvik:tarvik")], calls)

    def test_a_folder_without_tarvik_ini_gets_only_what_it_lacks(self):
        os.makedirs(os.path.join(self.station, "data"))
        with open(os.path.join(self.station, "data/header.txt"), "wb") as file:
            file.write(b"ZCZC OPERATOR\r\n")
        calls = self.script("postinst", "configure", "")
        self.assert_same_file("data/header.txt", b"ZCZC OPERATOR\r\n")
        self.assertEqual(files_below(self.station), files_below(self.sample))
        seeded = f"chown tarvik:tarvik {self.station}/./"
        self.assertIn(seeded + "Tarvik.ini", calls)
        self.assertIn(seeded + "data/thefox.txt", calls)
        self.assertNotIn(seeded + "data/header.txt", calls)
        self.assertNotIn(seeded + "data", calls, "the folder was there")

    def test_only_an_upgrade_restarts_a_running_station_and_only_a_removal_stops_it(self):
        self.systemd_running()
        calls = self.script("postinst", "configure", "")
        self.assertEqual([call for call in calls if call.startswith(("systemctl", "deb-systemd-invoke"))],
                         ["systemctl --system daemon-reload"])
        self.assertIn("deb-systemd-invoke try-restart tarvik.service", self.script("postinst", "configure", "0.1"))
        self.assertEqual(self.script("prerm", "upgrade", "0.2"), [])
        self.assertEqual(self.script("prerm", "remove"), ["deb-systemd-invoke stop tarvik.service"])

    def test_purge_removes_the_user_and_keeps_the_station_unless_asked(self):
        self.script("postinst", "configure", "")
        self.systemd_running()
        self.assertEqual(self.script("postrm", "remove"),
                         ["systemctl --system daemon-reload", "deb-systemd-helper mask tarvik.service"])
        calls = self.script("postrm", "purge")
        self.assertIn("deluser --system --quiet tarvik", calls)
        self.assertIn("delgroup --system --quiet --only-if-empty tarvik", calls)
        self.assertIn("deb-systemd-helper purge tarvik.service", calls)
        self.assertEqual(files_below(self.station), files_below(self.sample))
        self.script("postrm", "purge", TARVIK_PURGE_STATION="yes")
        self.assertFalse(os.path.exists(self.station))
        self.assertTrue(os.path.exists(os.path.join(self.sample, "Tarvik.ini")))


def main():
    global PACKAGE
    if len(sys.argv) != 2 or not sys.argv[1].endswith(".deb"):
        sys.exit(__doc__)
    PACKAGE = sys.argv[1]
    runner = unittest.TextTestRunner(stream=sys.stdout, verbosity=2)
    result = unittest.main(argv=sys.argv[:1], testRunner=runner, exit=False).result
    failed = len(result.failures) + len(result.errors)
    print(f"package: {result.testsRun - failed - len(result.skipped)} passed, {failed} failed, "
          f"{len(result.skipped)} skipped")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()

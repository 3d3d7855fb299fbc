"""The station program itself, as the benchmarks run it: build/release/tarvik
started headless (its window real, on Qt's offscreen platform) in a scratch
copy of station/, its log read as it grows and its CPU time read from /proc.
"""

import os
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAM = os.path.join(ROOT, "build", "release", "tarvik")
STARTED = "***** Tarvik has been STARTED *****"
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")

sys.path.insert(0, os.path.join(ROOT, "tests", "integration"))
from station_e2e import die_with_this_test, free_port, log_lines, station_copy  # noqa: E402,F401


def task_cpu_seconds(stat_path):
    """utime + stime of a /proc stat file, in seconds (a whole process's counts its ended threads too)."""
    with open(stat_path) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


class RealStation:
    """One run of the program in its own scratch folder; a context manager
    that ends the process whatever happens and removes the folder after a
    clean run (a failed one keeps it, and says where)."""

    def __init__(self, prefix, settings, environment=None):
        # Every service on loopback, on ports no other run holds.
        self.smtp_port = free_port()
        settings = ('KOVALISTENADDRESS="127.0.0.1"\nKOVAEMAILSMTPPORTS=%d,%d\n'
                    "KOVATELNETPORTNUMBER=%d\nKOVAADMINPORTNUMBER=%d\n"
                    % (self.smtp_port, free_port(), free_port(), free_port())) + settings
        self.folder, self.work = station_copy(os.path.join(ROOT, "station"), prefix, settings)
        self.environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", **(environment or {}))
        self.process = None
        self.returncode = None

    def __enter__(self):
        return self

    def __exit__(self, kind, error, trace):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        if kind is None:
            shutil.rmtree(self.folder, ignore_errors=True)
        else:
            print("bench: the scratch station stays in %s" % self.folder, file=sys.stderr)

    def path(self, *names):
        return os.path.join(self.work, *names)

    def write(self, name, text):
        with open(self.path(name), "wb") as out:
            out.write(text.encode("latin-1"))

    def start(self):
        with open(self.path("stderr.txt"), "ab") as errors:
            self.process = subprocess.Popen([PROGRAM], cwd=self.work, env=self.environment,
                                            stdout=subprocess.DEVNULL, stderr=errors,
                                            preexec_fn=die_with_this_test)

    def wait_for_log(self, line, seconds, every=None):
        """Polls the log until `line` is in it; calls `every()` at each poll.
        The monotonic time it was seen; exits the benchmark if it never is."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if every:
                every()
            if line in log_lines(self.work):
                return time.monotonic()
            if self.process.poll() is not None:
                break
            time.sleep(0.02)
        sys.exit("bench: no log line %r within %d s (the station %s)"
                 % (line, seconds, "exited" if self.process.poll() is not None else "still runs"))

    def cpu_seconds(self):
        return task_cpu_seconds("/proc/%d/stat" % self.process.pid)

    def window_thread_cpu_seconds(self):
        """The main thread's: the window's, which also runs the air. From the
        scheduler's own count in nanoseconds: a clock tick (10 ms) is more
        than the window spends on thousands of log lines."""
        with open("/proc/%d/task/%d/schedstat" % (self.process.pid, self.process.pid)) as schedstat:
            return int(schedstat.read().split()[0]) / 1e9

    def log_line_count(self):
        return len(log_lines(self.work))

    def thread_cpu_seconds(self):
        """{(thread id, name): CPU seconds} of the threads alive now."""
        threads = {}
        tasks = "/proc/%d/task" % self.process.pid
        for tid in os.listdir(tasks):
            try:
                with open(os.path.join(tasks, tid, "comm")) as comm:
                    name = comm.read().strip()
                threads[(int(tid), name)] = task_cpu_seconds(os.path.join(tasks, tid, "stat"))
            except OSError:
                pass  # ended between the listing and the read
        return threads

    def resident_kb(self):
        with open("/proc/%d/status" % self.process.pid) as status:
            return next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))

    def stop(self):
        """SIGTERM, as a service manager ends it; the exit code."""
        self.process.send_signal(signal.SIGTERM)
        try:
            self.returncode = self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            sys.exit("bench: SIGTERM did not end the station")
        if self.returncode != 0:
            sys.exit("bench: the station exited with %d" % self.returncode)
        return self.returncode

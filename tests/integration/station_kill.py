#!/usr/bin/env python3
"""The whole station killed with SIGKILL while smtplib clients deliver in
parallel: every message that got its 250 is on disk whole, in the station's
framing, and listed in data/schedule_temp.lst, and the restarted station
(autostart off) has it back in its queue, as a delivery of the same subject
finds it there.

Usage: station_kill.py PROGRAM STATION_FOLDER
"""

import itertools
import os
import signal
import smtplib
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_e2e import die_with_this_test, free_port, log_lines, report, station_copy, stop_station  # noqa: E402

CLIENTS = 4
# Replies to wait for before the kill; the clients go on delivering meanwhile.
STORED_BEFORE_KILL = 12
BODY_LINES = 300
STARTED = "***** Tarvik has been STARTED *****"


def message_lines(client, number):
    return ["C%d M%d LINE %03d THE QUICK BROWN FOX JUMPS" % (client, number, line) for line in range(BODY_LINES)]


def sent_form(subject, lines):
    return ("Subject: %s\r\n\r\n" % subject + "\r\n".join(lines) + "\r\n").encode()


def stored_form(subject, lines):
    """The message file as the station writes it: the kept header, the blank
    line after it and the last body line ending CR CR LF, then NNNN."""
    return ("Subject: %s\r\n\r\r\n" % subject + "\r\n".join(lines) + "\r\r\nNNNN\r\r\n").encode()


def file_name(subject):
    return subject.replace(" ", "_") + ".txt"


def data_reply(port, subject, message):
    """One SMTP session with one message: the reply to its DATA."""
    client = smtplib.SMTP("127.0.0.1", port, local_hostname="tester", timeout=30)
    try:
        client.ehlo("tester")
        client.mail("joe@example.com")
        client.rcpt("kova@station.example")
        code, text = client.data(message)
        return code, text.decode("latin-1")
    finally:
        # The station answers QUIT with 250, which smtplib's quit() calls an error.
        client.close()


def wait_for_service(port, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            smtplib.SMTP("127.0.0.1", port, timeout=5).close()
            return True
        except OSError:
            time.sleep(0.2)
    return False


class Deliveries:
    """Clients delivering one message a session until the station is gone."""

    def __init__(self, port):
        self.port = port
        self.lock = threading.Condition()
        self.sent = {}       # subject -> body lines
        self.stored = []     # subjects that got "250 ... stored"
        self.interrupted = 0

    def client(self, number):
        for count in itertools.count():
            subject = "Kill C%d M%d" % (number, count)
            lines = message_lines(number, count)
            with self.lock:
                self.sent[subject] = lines
            try:
                code, text = data_reply(self.port, subject, sent_form(subject, lines))
            except (OSError, smtplib.SMTPException):
                with self.lock:
                    self.interrupted += 1
                return
            with self.lock:
                if code == 250 and text == 'message succesfully stored as "%s"' % file_name(subject):
                    self.stored.append(subject)
                    self.lock.notify_all()

    def start(self):
        threads = [threading.Thread(target=self.client, args=(n,)) for n in range(CLIENTS)]
        for thread in threads:
            thread.start()
        return threads

    def wait_for_stored(self, count, seconds):
        with self.lock:
            return self.lock.wait_for(lambda: len(self.stored) >= count, timeout=seconds)


def start_station(program, work):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    errors = open(os.path.join(work, "stderr.txt"), "ab")
    return subprocess.Popen([program], cwd=work, env=environment, stdout=subprocess.DEVNULL, stderr=errors,
                            preexec_fn=die_with_this_test)


def check_disk(work, deliveries, failures):
    """Every stored or listed message is whole on disk; every stored one is listed."""
    path = os.path.join(work, "data", "schedule_temp.lst")
    if not os.path.exists(path):
        failures.append("there is no schedule_temp.lst")
        return
    with open(path, "rb") as listing:
        listed = listing.read().decode("latin-1").split("\r\n")
    if listed[-1] != "":
        failures.append("schedule_temp.lst ends in a broken line %r" % listed[-1])
    listed = listed[:-1]
    by_name = {file_name(subject): subject for subject in deliveries.sent}
    for subject in deliveries.stored:
        if listed.count(file_name(subject)) != 1:
            failures.append("%s got its 250 but is listed %d times" % (subject, listed.count(file_name(subject))))
    for name in listed:
        subject = by_name.get(name)
        if subject is None:
            failures.append("schedule_temp.lst lists %r, which no client sent" % name)
            continue
        with open(os.path.join(work, "data", name), "rb") as stored:
            if stored.read() != stored_form(subject, deliveries.sent[subject]):
                failures.append("%s is listed but not whole on disk" % name)


def check_queue_restored(port, deliveries, failures):
    """A delivery with a queued subject is set aside as a duplicate; a new one is stored."""
    for subject in deliveries.stored:
        code, text = data_reply(port, subject, sent_form(subject, ["PROBE"]))
        if (code, text) != (250, 'message "%s" not sent because of bad word violation' % file_name(subject)):
            failures.append("%s is not back in the queue: the same subject got %d %s" % (subject, code, text))
    code, text = data_reply(port, "Kill Probe", sent_form("Kill Probe", ["PROBE"]))
    if (code, text) != (250, 'message succesfully stored as "Kill_Probe.txt"'):
        failures.append("a new subject got %d %s" % (code, text))


def main():
    program, station = sys.argv[1], sys.argv[2]
    port = free_port()
    folder, work = station_copy(station, "tarvik-kill-",
                                "KOVAAUTOSTART=0\nKOVAUSESUBJECTFILENAME=1\nKOVAEMAILSMTPPORTS=%d,%d\n"
                                "KOVATELNETPORTNUMBER=0\nKOVAADMINPORTNUMBER=0\n" % (port, free_port()))
    failures = []
    deliveries = Deliveries(port)

    station_process = start_station(program, work)
    try:
        if not wait_for_service(port, 60):
            failures.append("the SMTP service did not come up")
        else:
            threads = deliveries.start()
            if not deliveries.wait_for_stored(STORED_BEFORE_KILL, 60):
                failures.append("only %d messages were stored" % len(deliveries.stored))
            station_process.send_signal(signal.SIGKILL)
            station_process.wait(timeout=30)
            for thread in threads:
                thread.join(timeout=60)
    finally:
        if station_process.poll() is None:
            station_process.kill()
            station_process.wait()
    if not failures:
        check_disk(work, deliveries, failures)

    restarted = start_station(program, work)
    try:
        if not wait_for_service(port, 60):
            failures.append("the restarted station's SMTP service did not come up")
        else:
            check_queue_restored(port, deliveries, failures)
    finally:
        stop_station(restarted, failures, "the restarted station")
    lines = log_lines(work)
    starts = [i for i, line in enumerate(lines) if line == STARTED]
    after_restart = lines[starts[-1]:] if len(starts) == 2 else []
    if "OnReload : Reloading Schedule List" not in after_restart:
        failures.append("the restarted station did not read its lists")
    if restarted.returncode != 0:
        failures.append("the restarted station exited with %s" % restarted.returncode)

    print("%d stored before the kill, %d deliveries cut by it" % (len(deliveries.stored), deliveries.interrupted))
    return report(failures, after_restart, folder)


if __name__ == "__main__":
    sys.exit(main())

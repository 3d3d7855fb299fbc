#!/usr/bin/env python3
"""The whole station started headless in a fresh copy of station/: a schedule
entry and then an e-mail delivered by smtplib go out framed on a serial
pseudo-terminal, and SIGTERM ends the program with the TERMINATED line last;
so it does while a chat line is under way: one whose user has left, one on
the sound path with the transmitter off, and a long one that a queue file
waits behind.

Usage: station_e2e.py PROGRAM STATION_FOLDER
"""

import collections
import ctypes
import glob
import os
import select
import shutil
import signal
import smtplib
import socket
import subprocess
import sys
import tempfile
import time

LTRS, FIGS = 31, 27
PR_SET_PDEATHSIG = 1
LETTERS = "\0E\nA SIU\rDRJNFCKTZLWHYPQOBG\0MXV\0"


def decode(codes):
    """Teletype codes back to letters (figures shown as '#')."""
    text, figures = [], False
    for code in codes:
        if code == FIGS:
            figures = True
        elif code == LTRS:
            figures = False
        elif code in (0, 2, 8):
            continue
        elif code == 4:
            text.append(" ")
        else:
            text.append("#" if figures else LETTERS[code])
    return "".join(text)


def log_lines(folder):
    lines = []
    for path in sorted(glob.glob(os.path.join(folder, "log", "*.log"))):
        with open(path, "rb") as log:
            lines += [line[11:].decode("latin-1") for line in log.read().split(b"\r\n") if line]
    return lines


def wait_for(folder, message, seconds, air, master):
    deadline = time.time() + seconds
    while time.time() < deadline:
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            air.extend(os.read(master, 4096))
        if message in log_lines(folder):
            return True
    return False


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def station_copy(station, prefix, settings):
    """A fresh working directory from station/, with `settings` added to its ini; (folder, work)."""
    folder = tempfile.mkdtemp(prefix=prefix)
    work = os.path.join(folder, "station")
    shutil.copytree(station, work)
    with open(os.path.join(work, "Tarvik.ini"), "a") as ini:
        ini.write(settings)
    return folder, work


def die_with_this_test():
    """For Popen's preexec_fn: a test killed at its time limit takes the station with it."""
    ctypes.CDLL("libc.so.6", use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def stop_station(process, failures, name="the station"):
    """SIGTERM, as an operator's service manager would send it."""
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout=30)
    except subprocess.TimeoutExpired:
        process.kill()
        failures.append("SIGTERM did not end %s" % name)


def report(failures, log, folder):
    """The test's verdict as ctest reads it; the folder stays for a failure."""
    if failures:
        print("\n".join(failures))
        print("log:\n  " + "\n  ".join(log))
        return 1
    shutil.rmtree(folder, ignore_errors=True)
    print("1 passed, 0 failed")
    return 0


def deliver(port):
    message = ("From: desk@example.org\r\nTo: KOVA@station\r\nSubject: E2E Bulletin\r\n\r\n"
               "HELLO FROM THE MAIL\r\n")
    for _ in range(50):
        try:
            client = smtplib.SMTP("127.0.0.1", port, timeout=30)
            client.sendmail("desk@example.org", ["KOVA@station"], message)
            # The station answers QUIT with 250, which smtplib's quit() calls an error.
            client.close()
            return True
        except ConnectionRefusedError:
            time.sleep(0.2)
        except (OSError, smtplib.SMTPException) as error:
            print("smtplib: %r" % error)
            return False
    return False


def read_until(client, text, seconds=30):
    """What a telnet user received until `text` came; None if it did not."""
    received, deadline = b"", time.time() + seconds
    while text not in received and time.time() < deadline:
        ready, _, _ = select.select([client], [], [], 0.2)
        if ready:
            more = client.recv(4096)
            if not more:
                break
            received += more
    return received if text in received else None


def chat_user(port, name):
    """A telnet chat user logged in and shown the session's start."""
    for _ in range(50):
        try:
            client = socket.create_connection(("127.0.0.1", port), timeout=30)
            break
        except ConnectionRefusedError:
            time.sleep(0.2)
    read_until(client, b"Name:  ")
    client.sendall(name + b"\r\n")
    read_until(client, b"Begin Session ---------------------\n\r\n\r")
    return client


def wait_for_air(master, code, seconds):
    air, deadline = bytearray(), time.time() + seconds
    while code not in air and time.time() < deadline:
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            air.extend(os.read(master, 4096))
    return code in air


# A station started for one busy state: its folder, ports and the serial line's master side.
BusyStation = collections.namedtuple("BusyStation", "work chat_port smtp_port master")


def line_left_behind(station):
    """A chat user typed a line and left while the station idled: SIGTERM
    comes while the line's idle codes go out."""
    user = chat_user(station.chat_port, b"desk")
    user.sendall(b"hello\r\n")
    user.close()
    return None if wait_for_air(station.master, LTRS, 30) else "the chat line did not start"


def line_on_a_stopped_modulator(station):
    """On the sound path after $RX: the chat line does not wait for the
    modulator that $RX stopped."""
    if not wait_for(station.work, "CmRX : Transmitter OFF", 30, bytearray(), station.master):
        return "the schedule did not switch the transmitter off"
    user = chat_user(station.chat_port, b"desk")
    user.sendall(b"hello\r\n")
    return None if read_until(user, b"DESK::  HELLO\r\n") else "the chat line waited for the stopped modulator"


def file_behind_a_long_line(station):
    """A long chat line holds the line on the sound path and a mailed file waits for it."""
    user = chat_user(station.chat_port, b"desk")
    user.sendall(b"x" * 1024 + b"\r\n")
    if read_until(user, b"DESK::  XXXX") is None:
        return "the long chat line did not start"
    if not deliver(station.smtp_port):
        return "the SMTP service took no mail"
    if not wait_for(station.work, "TXFile : Sending file <E2E_Bulletin.txt>.", 60, bytearray(), station.master):
        return "the mailed file did not come to wait for the line"
    return None


SOUND_PATH = "KOVASOUNDCARDID=-1\nKOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\n"
BUSY_STATES = [
    # (what, settings, schedule, the state's set-up)
    ("a line left behind", 'KOVACOMMPORT="COM1"\nKOVARS232CONTROL="DTR"\n', b"", line_left_behind),
    ("a line on a stopped modulator", SOUND_PATH, b"$TX\r\n$RX\r\n", line_on_a_stopped_modulator),
    ("a file behind a long line", SOUND_PATH, b"$TX\r\n", file_behind_a_long_line),
]


def sigterm_while_busy(program, station_folder, what, settings, schedule, set_up):
    """Failures of SIGTERM in one busy state; the folder goes when there are none."""
    smtp_port, chat_port = free_port(), free_port()
    folder, work = station_copy(station_folder, "tarvik-stop-",
                                settings + "KOVAEMAILSMTPPORTS=%d,%d\nKOVATELNETPORTNUMBER=%d\nKOVAADMINPORTNUMBER=%d\n"
                                % (smtp_port, free_port(), chat_port, free_port()))
    with open(os.path.join(work, "data", "schedule.lst"), "wb") as schedule_list:
        schedule_list.write(schedule)
    master, slave = os.openpty()
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", TARVIK_COM1=os.ttyname(slave),
                       TARVIK_SOUND="wav:" + os.path.join(folder, "air.wav"))
    process = subprocess.Popen([program], cwd=work, env=environment, preexec_fn=die_with_this_test,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []
    try:
        failure = set_up(BusyStation(work, chat_port, smtp_port, master))
        if failure:
            failures.append(failure)
    finally:
        stop_station(process, failures)
    os.close(master)
    os.close(slave)
    lines = log_lines(work)
    if not lines or lines[-1] != "***** Tarvik has been TERMINATED *****":
        failures.append("the last log line is %r" % (lines[-1] if lines else None))
    if process.returncode != 0:
        failures.append("exit code %s" % process.returncode)
    if failures:
        return ["%s: %s (in %s)" % (what, failure, folder) for failure in failures]
    shutil.rmtree(folder, ignore_errors=True)
    return []


def main():
    program, station = sys.argv[1], sys.argv[2]
    smtp_port = free_port()
    folder, work = station_copy(station, "tarvik-e2e-",
                                'KOVACOMMPORT="COM1"\nKOVARS232CONTROL="DTR"\nKOVAHEADER=1\n'
                                "KOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\n"
                                "KOVAEMAILSMTPPORTS=%d,%d\nKOVATELNETPORTNUMBER=%d\nKOVAADMINPORTNUMBER=%d\n"
                                % (smtp_port, free_port(), free_port(), free_port()))
    with open(os.path.join(work, "data", "header.txt"), "wb") as header:
        header.write(b"ZCZC\r\n")
    with open(os.path.join(work, "data", "thefox.txt"), "wb") as fox:
        fox.write(b"THE QUICK BROWN FOX\r\n")

    master, slave = os.openpty()
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", TARVIK_COM1=os.ttyname(slave))
    station_process = subprocess.Popen([program], cwd=work, env=environment, preexec_fn=die_with_this_test,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    # The slave stays open here too: a master whose slave nobody holds reads EIO.
    air = bytearray()
    failures = []
    try:
        if not wait_for(work, "Completed sending <thefox.txt>.", 60, air, master):
            failures.append("the schedule entry was not sent")
        wait_for(work, "CmRX : Transmitter OFF", 10, air, master)
        printed = decode(air)
        if "ZCZC" not in printed or "THE QUICK BROWN FOX" not in printed:
            failures.append("the air held %r" % printed)
        elif printed.index("ZCZC") > printed.index("THE QUICK BROWN FOX"):
            failures.append("the header came after the file")
        air.clear()
        if not deliver(smtp_port):
            failures.append("the SMTP service took no mail")
        elif not wait_for(work, "Completed sending <E2E_Bulletin.txt>.", 60, air, master):
            failures.append("the mailed message was not sent")
        elif "HELLO FROM THE MAIL" not in decode(air) or "NNNN" not in decode(air):
            failures.append("the mail went out as %r" % decode(air))
    finally:
        stop_station(station_process, failures)
    lines = log_lines(work)
    expected_order = ["***** Tarvik has been STARTED *****", "File <thefox.txt> in TRANSMIT Queue.",
                      "CmTX : Transmitter ON", "TXFile : Sending file <header.txt>.",
                      "TXFile : Sending file <thefox.txt>.", "Completed sending <thefox.txt>."]
    positions = [lines.index(line) if line in lines else -1 for line in expected_order]
    if -1 in positions or positions != sorted(positions):
        failures.append("log lines out of order: %s" % list(zip(expected_order, positions)))
    if not lines or lines[-1] != "***** Tarvik has been TERMINATED *****":
        failures.append("the last log line is %r" % (lines[-1] if lines else None))
    if station_process.returncode != 0:
        failures.append("exit code %s: %s" % (station_process.returncode, station_process.stderr.read()[-2000:]))
    os.close(master)
    os.close(slave)
    for what, settings, schedule, set_up in BUSY_STATES:
        failures += sigterm_while_busy(program, station, what, settings, schedule, set_up)
    return report(failures, lines, folder)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""CPU share of one core of the whole program while it idles with the
scheduler enabled and while it sends a file at 45.45 baud on the sound path,
beside minimodem's own transmitter sending the same text.

Starts build/release/tarvik headless in a scratch station whose sound output
is the wav: device (it takes samples at a card's pace) and whose schedule
holds one timed entry, a text of about 150 characters due some seconds after
the start. The process's utime + stime from /proc over the wait before the
entry is the idle figure; over the time between the log lines "TXFile :
Sending file <bench.txt>." and "Completed sending <bench.txt>." the sending
figure, also shown for each thread. minimodem writes its WAV file as fast as
it can: its figure is CPU seconds per second of audio made. Both recordings
are then timed character by character and read back by minimodem.

Usage: bench/transmit_cpu.py
"""

import os
import subprocess
import sys
import tempfile
import time
import wave

from air_timing import describe
from real_station import STARTED, RealStation

TEXT = ("THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789\n"
        "RYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRYRY\n"
        "NOW IS THE TIME FOR ALL GOOD MEN, 45.45 BAUD.\n")
NAME = "bench.txt"
# From the start to the entry's time: the program settles, then idles.
IDLE_LEAD = 16
SETTLE = 3


def schedule_entry(when, name):
    return time.strftime("%m/%d/%Y %H:%M:%S ", time.localtime(when)) + name + "\r\n"


def share(cpu_seconds, wall_seconds):
    return 100.0 * cpu_seconds / wall_seconds


def sleep_until(moment):
    time.sleep(max(0.0, moment - time.monotonic()))


def bench_station():
    with tempfile.TemporaryDirectory(prefix="tarvik-bench-air-") as air:
        settings = ("KOVASOUNDCARDID=-1\nBAUD=\"B45\"\nKOVAHEADER=0\nKOVAAUTOSTART=0\n"
                    "KOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\nKOVANOTIMER=0\n")
        environment = {"TARVIK_SOUND": "wav:" + os.path.join(air, "air.wav")}
        with RealStation("tarvik-bench-tx-", settings, environment) as station:
            station.write(os.path.join("data", NAME), TEXT.replace("\n", "\r\n"))
            due = time.time() + IDLE_LEAD
            station.write(os.path.join("data", "schedule.lst"), schedule_entry(due, NAME))
            station.start()
            started = station.wait_for_log(STARTED, 60)
            # Idle: from the settled start to a second and a half before the entry is due.
            sleep_until(started + SETTLE)
            idle_from, idle_cpu = time.monotonic(), station.cpu_seconds()
            sleep_until(time.monotonic() + due - time.time() - 1.5)
            idle_wall, idle_cpu = time.monotonic() - idle_from, station.cpu_seconds() - idle_cpu
            if idle_wall < 5:
                sys.exit("bench: the station took too long to start; no idle time left to measure")

            latest = {}

            def sample():
                latest["cpu"], latest["threads"] = station.cpu_seconds(), station.thread_cpu_seconds()

            sending_from = station.wait_for_log("TXFile : Sending file <%s>." % NAME, 60, sample)
            cpu_from, threads_from = latest["cpu"], latest["threads"]
            sending_to = station.wait_for_log("Completed sending <%s>." % NAME, 600, sample)
            wall = sending_to - sending_from
            resident, window_tid = station.resident_kb(), station.process.pid
            station.stop()
        air_line = describe(os.path.join(air, "air.wav"), TEXT)

    print("idle with the scheduler enabled: %.3f %% of one core (%.1f s)" % (share(idle_cpu, idle_wall), idle_wall))
    print("sending %d characters at 45.45 baud on the sound path: %.3f %% of one core (%.1f s)"
          % (len(TEXT), share(latest["cpu"] - cpu_from, wall), wall))
    for (tid, name), seconds in sorted(latest["threads"].items()):
        if (tid, name) in threads_from:
            role = " (window)" if tid == window_tid else ""
            print("  thread %d %s%s: %.3f %%" % (tid, name, role, share(seconds - threads_from[(tid, name)], wall)))
    print("resident memory after sending: %d kB" % resident)
    print("tarvik's air: " + air_line)


def bench_minimodem():
    with tempfile.TemporaryDirectory(prefix="tarvik-bench-minimodem-") as folder:
        out = os.path.join(folder, "out.wav")
        modem = subprocess.Popen(["minimodem", "--tx", "rtty", "--mark", "2125", "--space", "2295",
                                  "-R", "8000", "-f", out], stdin=subprocess.PIPE)
        modem.stdin.write(TEXT.encode())
        modem.stdin.close()
        _, status, usage = os.wait4(modem.pid, 0)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit("bench: minimodem failed")
        with wave.open(out) as audio:
            audio_seconds = audio.getnframes() / audio.getframerate()
        air_line = describe(out, TEXT)
    print("minimodem --tx rtty, the same text: %.3f %% of one core per second of audio (%.1f s of audio)"
          % (share(usage.ru_utime + usage.ru_stime, audio_seconds), audio_seconds))
    print("minimodem's air: " + air_line)


def main():
    bench_station()
    bench_minimodem()


if __name__ == "__main__":
    main()

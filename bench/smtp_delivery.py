#!/usr/bin/python3
"""Mail intake of the whole program under load, beside a durable reference.

Starts build/release/tarvik headless in a scratch station (mail stored under
its subject's name, nothing sent on the air) and lets 1, then 8 concurrent
clients deliver 1 KB messages over loopback, each on one connection held for
all its messages (MAIL, RCPT, DATA, again and again). Then, in the same run,
the same load against an aiosmtpd server that syncs every message and its
folder to disk before its 250 (bench/durable_smtp_peer.py). Prints for each
server and load the deliveries a second and the median and 99th percentile of
the time from sending DATA's end mark to receiving the reply; for the station
also its window thread's CPU time a delivery, and a log line (a client
sending RSET after RSET). Every stored message joins the station's queue, as
in a station that is not sending: the 8 clients find the 1 client's there.

Usage: bench/smtp_delivery.py [MESSAGES_PER_CLIENT]   (default 100)
"""

import os
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

from real_station import RealStation, die_with_this_test, free_port

LOADS = (1, 8)
BODY_BYTES = 1024
RSET_COMMANDS = 10000
END_MARK = b"\r\n.\r\n"
STATION_STORED = b"250 message succesfully stored"
PEER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "durable_smtp_peer.py")


class Client:
    """One SMTP connection, a command and its reply at a time."""

    def __init__(self, port):
        self.socket = socket.create_connection(("127.0.0.1", port), timeout=60)
        self.socket.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.pending = b""
        self.expect(b"220")

    def reply(self):
        """The next whole reply; a multi-line one ends at the line with a blank after its code."""
        while True:
            end = self.pending.find(b"\r\n")
            while end >= 0:
                line = self.pending[:end]
                if len(line) < 4 or line[3:4] == b" ":
                    whole, self.pending = self.pending[:end + 2], self.pending[end + 2:]
                    return whole
                end = self.pending.find(b"\r\n", end + 2)
            received = self.socket.recv(4096)
            if not received:
                raise ConnectionError("the server closed the connection")
            self.pending += received

    def expect(self, start):
        line = self.reply()
        if not line.startswith(start):
            raise ConnectionError("expected %r, got %r" % (start, line))
        return line

    def command(self, text, start):
        self.socket.sendall(text.encode() + b"\r\n")
        return self.expect(start)

    def deliver(self, message, stored):
        """One transaction; the seconds from sending the end mark to the reply."""
        self.command("MAIL FROM:<bench@example.com>", b"250")
        self.command("RCPT TO:<kova@station.example>", b"250")
        self.command("DATA", b"354")
        self.socket.sendall(message)
        sent = time.perf_counter()
        self.socket.sendall(END_MARK)
        line = self.expect(b"250")
        seconds = time.perf_counter() - sent
        if not line.startswith(stored):
            raise ConnectionError("not stored: %r" % line)
        return seconds

    def close(self):
        self.command("QUIT", b"2")
        self.socket.close()


def message(load, client, number):
    """A 1 KB message (without its end mark) whose subject no other message has."""
    head = "From: Bench <bench@example.com>\r\nTo: kova@station.example\r\nSubject: Bench L%d C%d M%d\r\n\r\n" % (
        load, client, number)
    line = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789\r\n"
    text = head + line * (BODY_BYTES // len(line) + 1)
    return text[:BODY_BYTES].rstrip("\r\n").encode()


def run_load(port, clients, per_client, stored):
    """(deliveries a second, [end mark to reply seconds]) of `clients` concurrent clients."""
    latencies, failures = [], []
    lock = threading.Lock()

    def client(number):
        try:
            connection = Client(port)
            connection.command("HELO bench", b"250")
            for n in range(per_client):
                seconds = connection.deliver(message(clients, number, n), stored)
                with lock:
                    latencies.append(seconds)
            connection.close()
        except (OSError, ConnectionError) as error:
            with lock:
                failures.append("client %d: %s" % (number, error))

    threads = [threading.Thread(target=client, args=(n,)) for n in range(clients)]
    started = time.perf_counter()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    wall = time.perf_counter() - started
    if failures:
        sys.exit("bench: " + "; ".join(failures))
    return len(latencies) / wall, sorted(latencies)


def percentile(values, share):
    return values[min(len(values) - 1, int(share * len(values)))]


def print_loads(server, port, per_client, stored, station=None):
    """A row for each load; for the station also its window thread's CPU time a delivery."""
    for clients in LOADS:
        if station:
            window_from = station.window_thread_cpu_seconds()
        rate, latencies = run_load(port, clients, per_client, stored)
        print("%-9s %-8d %-6s %12.1f %10.2f %10.2f" % (server, clients, "1 KB", rate,
                                                    1000 * percentile(latencies, 0.5),
                                                    1000 * percentile(latencies, 0.99)), flush=True)
        if station:
            window = station.window_thread_cpu_seconds() - window_from
            print("%-9s %-8d window thread: %.3f ms of CPU a delivery"
                  % (server, clients, 1000 * window / len(latencies)), flush=True)


def print_log_line_cost(station, commands):
    """The window thread's CPU time a log line while one client sends RSET
    after RSET: each is a log line and asks nothing else of the window."""
    window_from, lines_from = station.window_thread_cpu_seconds(), station.log_line_count()
    client = Client(station.smtp_port)
    client.command("HELO bench", b"250")
    for _ in range(commands):
        client.command("RSET", b"250")
    client.close()
    lines = station.log_line_count() - lines_from
    window = station.window_thread_cpu_seconds() - window_from
    print("tarvik    RSET     window thread: %.4f ms of CPU a log line (%d lines)" % (1000 * window / lines, lines))


def wait_for_port(port, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=5).close()
            return
        except OSError:
            time.sleep(0.1)
    sys.exit("bench: nothing listens on port %d" % port)


def bench_station(per_client):
    settings = ("KOVAAUTOSTART=0\nKOVASCHEDULERENABLE=0\nKOVASCHEDULERSTARTENABLED=0\n"
                "KOVAUSESUBJECTFILENAME=1\nKOVAMAXDATAMB=0\n")
    with RealStation("tarvik-bench-smtp-", settings) as station:
        station.start()
        station.wait_for_log("OnReload : Reloading Schedule List", 60)
        wait_for_port(station.smtp_port, 60)
        print_loads("tarvik", station.smtp_port, per_client, STATION_STORED, station)
        print_log_line_cost(station, RSET_COMMANDS)
        station.stop()


def bench_peer(per_client):
    with tempfile.TemporaryDirectory(prefix="tarvik-bench-peer-") as folder:
        port = free_port()
        peer = subprocess.Popen([sys.executable, PEER, folder, str(port)], preexec_fn=die_with_this_test)
        try:
            wait_for_port(port, 30)
            print_loads("aiosmtpd", port, per_client, b"250")
        finally:
            peer.send_signal(signal.SIGTERM)
            peer.wait(timeout=30)


def main():
    per_client = int(sys.argv[1]) if len(sys.argv) > 1 else 100
    print("%-9s %-8s %-6s %12s %10s %10s" % ("server", "clients", "body", "deliveries/s", "median ms", "p99 ms"))
    bench_station(per_client)
    bench_peer(per_client)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The station's web service over real HTTP, against the whole program started
headless in a fresh copy of station/ with a serial pseudo-terminal as its line:
the JSON API (status, commands, log, held messages, uploads, the schedule), the
WebSocket feed, and what a stranger can try (no password on a public address,
wrong passwords, other sites' pages, names that climb out of the data folder,
oversized bodies, 200 connections while a file is on the air).

Usage: web_api_test.py PROGRAM STATION_FOLDER
"""

import base64
import http.client
import json
import os
import socket
import subprocess
import sys
import threading
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "integration"))
from station_e2e import (decode, die_with_this_test, free_port, log_lines, report, station_copy,  # noqa: E402
                         stop_station)

JSON = {"Content-Type": "application/json"}


class Station:
    """One program with its web port, its folder and the codes it put on the pty."""

    def __init__(self, program, station, prefix, settings):
        self.port = free_port()
        self.folder, self.work = station_copy(
            station, prefix, 'KOVACOMMPORT="COM1"\nKOVARS232CONTROL="DTR"\nKOVAWEBPORT=%d\n'
            "KOVAEMAILSMTPPORTS=%d,%d\nKOVATELNETPORTNUMBER=%d\nKOVAADMINPORTNUMBER=%d\n%s"
            % (self.port, free_port(), free_port(), free_port(), free_port(), settings))
        self.master, self.slave = os.openpty()
        self.air = bytearray()
        self.air_lock = threading.Lock()
        self.program = program

    def data(self, *parts):
        return os.path.join(self.work, "data", *parts)

    def start(self):
        environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", TARVIK_COM1=os.ttyname(self.slave))
        self.process = subprocess.Popen([self.program], cwd=self.work, env=environment,
                                        preexec_fn=die_with_this_test, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.PIPE)
        threading.Thread(target=self._listen_to_air, daemon=True).start()

    def _listen_to_air(self):
        while True:
            try:
                received = os.read(self.master, 4096)
            except OSError:
                return
            with self.air_lock:
                self.air.extend(received)

    def aired(self):
        with self.air_lock:
            return decode(self.air)

    def wait_for_log(self, text, seconds=60):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if any(text in line for line in log_lines(self.work)):
                return True
            time.sleep(0.2)
        return False

    def stop(self, failures):
        stop_station(self.process, failures)
        os.close(self.master)
        os.close(self.slave)


def request(port, method, path, body=None, headers=None):
    """(status, parsed JSON or bytes, response headers)."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    connection.request(method, path, body=body, headers=headers or {})
    response = connection.getresponse()
    data = response.read()
    connection.close()
    if response.getheader("Content-Type", "").startswith("application/json"):
        data = json.loads(data)
    return response.status, data, response


def post_json(port, path, value, headers=None):
    return request(port, "POST", path, json.dumps(value), dict(JSON, **(headers or {})))


def wait_until_serving(port, seconds=60):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=1):
                return True
        except OSError:
            time.sleep(0.2)
    return False


class Watcher:
    """A WebSocket client on /api/events, by hand: handshake, then text frames."""

    def __init__(self, port, headers=""):
        self.socket = socket.create_connection(("127.0.0.1", port), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        self.socket.sendall(("GET /api/events HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nUpgrade: websocket\r\n"
                             "Connection: Upgrade\r\nSec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n%s\r\n"
                             % (port, key, headers)).encode())
        self.buffer = b""
        while b"\r\n\r\n" not in self.buffer:
            chunk = self.socket.recv(4096)
            if not chunk:
                break
            self.buffer += chunk
        head, _, self.buffer = self.buffer.partition(b"\r\n\r\n")
        self.status = int(head.split(b" ")[1]) if head else 0

    def _exactly(self, count):
        while len(self.buffer) < count:
            chunk = self.socket.recv(65536)
            if not chunk:
                raise EOFError("the feed closed")
            self.buffer += chunk
        taken, self.buffer = self.buffer[:count], self.buffer[count:]
        return taken

    def message(self):
        first, second = self._exactly(2)
        length = second & 0x7F
        if length == 126:
            length = int.from_bytes(self._exactly(2), "big")
        elif length == 127:
            length = int.from_bytes(self._exactly(8), "big")
        payload = self._exactly(length)
        return json.loads(payload) if first & 0x0F == 1 else None

    def until_all(self, accepts, seconds=30):
        """True when every one of `accepts` took a message, in whatever order they came."""
        waiting = list(accepts)
        deadline = time.time() + seconds
        while waiting and time.time() < deadline:
            message = self.until(lambda m: any(accept(m) for accept in waiting), deadline - time.time())
            if message is None:
                return False
            waiting = [accept for accept in waiting if not accept(message)]
        return not waiting

    def until(self, accept, seconds=30):
        """The first message `accept` takes, or None."""
        self.socket.settimeout(seconds)
        deadline = time.time() + seconds
        try:
            while time.time() < deadline:
                message = self.message()
                if message is not None and accept(message):
                    return message
        except (socket.timeout, EOFError):
            return None
        return None

    def close(self):
        self.socket.close()


def check_status_and_commands(station):
    failures = []
    status, answer, _ = request(station.port, "GET", "/api/status")
    if status != 200 or answer.get("mode") != "MILITARY" or answer.get("transmitter") is not False:
        failures.append("status: %s %r" % (status, answer))
    if set(answer) < {"scheduler", "baud", "port", "soundCard", "current", "countdown", "queue", "chatUsers"}:
        failures.append("status lacks fields: %r" % sorted(answer))
    status, answer, _ = post_json(station.port, "/api/command", {"command": "launch-missiles"})
    if status != 400:
        failures.append("an unknown command got %s %r" % (status, answer))
    watcher = Watcher(station.port)
    first = watcher.until(lambda m: m["type"] == "status")
    if watcher.status != 101 or first is None or first["status"]["scheduler"]:
        failures.append("the feed began with %s %r" % (watcher.status, first))
    post_json(station.port, "/api/command", {"command": "enable"})
    if not watcher.until_all([lambda m: m["type"] == "log" and "CmEnable : Scheduler ENABLED" in m["lines"][-1],
                              lambda m: m["type"] == "status" and m["status"]["scheduler"]]):
        failures.append("the feed did not show the scheduler enabled with its log line")
    post_json(station.port, "/api/command", {"command": "disable"})
    if watcher.until(lambda m: m["type"] == "status" and not m["status"]["scheduler"]) is None:
        failures.append("disable did not disable")
    watcher.close()
    status, answer, _ = request(station.port, "GET", "/api/log?after=0")
    later = request(station.port, "GET", "/api/log?after=%d" % answer["next"])[1]
    if status != 200 or not answer["lines"] or later["lines"] != [] or later["next"] != answer["next"]:
        failures.append("log: %r then %r" % (answer.get("next"), later))
    return failures


def check_strangers_requests(station):
    """What a page of another site, or a name that climbs, can make the station do: nothing."""
    failures = []
    refused = [
        ("another site's page", post_json(station.port, "/api/command", {"command": "pause"},
                                          {"Origin": "http://evil.example"})),
        ("a plain form", request(station.port, "POST", "/api/command", "command=pause",
                                 {"Content-Type": "application/x-www-form-urlencoded"})),
        ("a multipart form without its page", request(station.port, "POST", "/api/queue", b"",
                                                      {"Content-Type": "multipart/form-data; boundary=x"})),
        ("a rebound host name", request(station.port, "GET", "/api/status", None, {"Host": "evil.example"})),
    ]
    for what, (status, answer, _) in refused:
        if status != 403:
            failures.append("%s got %s %r" % (what, status, answer))
    watcher = Watcher(station.port, "Origin: http://evil.example\r\n")
    if watcher.status != 403:
        failures.append("another site's WebSocket got %s" % watcher.status)
    watcher.close()
    if request(station.port, "GET", "/api/status")[1]["paused"]:
        failures.append("a refused request paused the station")
    for name in ["..%2F..%2FTarvik.ini", "..", "%2E%2E", "..%2Fschedule.lst"]:
        status, _, _ = post_json(station.port, "/api/held/%s/delete" % name, {})
        if status != 404:
            failures.append("held name %s got %s" % (name, status))
    if not os.path.exists(os.path.join(station.work, "Tarvik.ini")) or not os.path.exists(station.data("schedule.lst")):
        failures.append("a held-message name removed a station file")
    return failures


def check_held_messages(station):
    failures = []
    status, held, _ = request(station.port, "GET", "/api/held")
    names = {(entry["folder"], entry["name"]): entry["text"] for entry in held} if status == 200 else {}
    if "HOLD ME" not in names.get(("moderatedwords", "held_one.txt"), "") or ("badwords", "bad_one.txt") not in names:
        failures.append("held list: %r" % held)
    if post_json(station.port, "/api/held/bad_one.txt/approve", {})[0] != 404:
        failures.append("a message of badwords was approved")
    if post_json(station.port, "/api/held/bad_one.txt/delete", {})[0] != 200 or os.path.exists(
            station.data("badwords", "bad_one.txt")):
        failures.append("delete left bad_one.txt")
    if post_json(station.port, "/api/held/held_one.txt/approve", {})[0] != 200:
        failures.append("approve refused held_one.txt")
    return failures


def multipart(fields):
    boundary = "tarvikboundary"
    body = b""
    for name, filename, content in fields:
        disposition = 'form-data; name="%s"' % name + ('; filename="%s"' % filename if filename else "")
        body += ("--%s\r\nContent-Disposition: %s\r\n\r\n" % (boundary, disposition)).encode() + content + b"\r\n"
    return body + ("--%s--\r\n" % boundary).encode(), "multipart/form-data; boundary=" + boundary


def upload_raw(station, name, content):
    return request(station.port, "POST", "/api/queue?name=" + urllib.parse.quote(name), content,
                   {"Content-Type": "application/octet-stream"})


def check_uploads(station):
    failures = []
    page = {"Origin": "http://127.0.0.1:%d" % station.port}
    body, kind = multipart([("file", "bulletin.txt", "WEATHER FOR SEA AREAS\r\n".encode())])
    status, answer, _ = request(station.port, "POST", "/api/queue", body, dict(page, **{"Content-Type": kind}))
    if status != 200 or answer.get("name") != "bulletin.txt" or not os.path.exists(station.data("bulletin.txt")):
        failures.append("multipart upload: %s %r" % (status, answer))
    queue = request(station.port, "GET", "/api/status")[1]["queue"]
    if not any(line.endswith("bulletin.txt") for line in queue):
        failures.append("the upload is not in the queue: %r" % queue)
    status, answer, _ = upload_raw(station, "../../escape.txt", "Grüße €\r\n".encode())
    stored = answer.get("name", "") if status == 200 else ""
    if status != 200 or "/" in stored or not os.path.exists(station.data(stored)):
        failures.append("a climbing upload name: %s %r" % (status, answer))
    elif open(station.data(stored), "rb").read() != b"Gr\xfc\xdfe EUR\r\n":
        failures.append("UTF-8 upload stored as %r" % open(station.data(stored), "rb").read())
    if os.path.exists(os.path.join(station.folder, "escape.txt")):
        failures.append("an upload was written outside the data folder")
    header_before = open(station.data("header.txt"), "rb").read()
    if upload_raw(station, "HEADER.txt", b"NOT THE HEADER\r\n")[0] != 403:
        failures.append("an upload replaced the header")
    if open(station.data("header.txt"), "rb").read() != header_before:
        failures.append("header.txt changed")
    try:
        status = upload_raw(station, "big.txt", b"A" * (1024 * 1024 + 70 * 1024))[0]
    except (ConnectionError, http.client.HTTPException):
        status = "closed"
    if status not in (413, "closed") or os.path.exists(station.data("big.txt")):
        failures.append("an oversized upload got %s" % status)
    status, answer, _ = upload_raw(station, "justover.txt", b"B" * (1024 * 1024 + 1))
    if status != 413 or os.path.exists(station.data("justover.txt")):
        failures.append("an upload of 1 MB and a byte got %s %r" % (status, answer))
    return failures


def check_schedule(station):
    failures = []
    before = request(station.port, "GET", "/api/schedule")[1]["text"]
    status, answer, _ = request(station.port, "PUT", "/api/schedule",
                                json.dumps({"text": "thefox.txt\nthefox.txt extra\n"}), JSON)
    if status != 400 or answer.get("line") != 2 or "Line 2" not in answer.get("error", ""):
        failures.append("a bad schedule line got %s %r" % (status, answer))
    if request(station.port, "GET", "/api/schedule")[1]["text"] != before:
        failures.append("a refused schedule changed the list")
    status, _, _ = request(station.port, "PUT", "/api/schedule", json.dumps({"text": "$RYRY\nthefox.txt\n"}), JSON)
    on_disk = open(station.data("schedule.lst"), "rb").read()
    if status != 200 or on_disk != b"$RYRY\r\nthefox.txt\r\n":
        failures.append("schedule saved as %s %r" % (status, on_disk))
    if not station.wait_for_log("OnReload : Reloading Schedule List", 30):
        failures.append("saving the schedule did not reload the queue")
    return failures


def check_air_under_connections(station):
    """200 idle connections and a client asking for the status without a pause: the file still goes out whole."""
    failures = []
    with open(station.data("longtext.txt"), "wb") as text:
        text.write(b"RYRYRYRY " * 40 + b"\r\nEND OF TEST\r\n")
    upload_raw(station, "longtext.txt", open(station.data("longtext.txt"), "rb").read())
    idle = []
    for _ in range(200):
        try:
            idle.append(socket.create_connection(("127.0.0.1", station.port), timeout=10))
        except OSError as error:
            failures.append("connection %d refused: %r" % (len(idle), error))
            break
    asking = threading.Event()
    answers = []

    def ask():
        while not asking.is_set():
            answers.append(request(station.port, "GET", "/api/status")[0])

    asker = threading.Thread(target=ask)
    asker.start()
    post_json(station.port, "/api/command", {"command": "transmitter-on"})
    post_json(station.port, "/api/command", {"command": "enable"})
    if station.wait_for_log("TXFile : Sending file <longtext.txt>.", 60):
        failures += pause_and_resume(station)
    sent = station.wait_for_log("Completed sending <longtext.txt>.", 240)
    asking.set()
    asker.join()
    for connection in idle:
        connection.close()
    if not sent or "END OF TEST" not in station.aired():
        failures.append("the file did not go out under load: %r" % station.aired()[-200:])
    if not answers or set(answers) != {200}:
        failures.append("status answers under load: %r" % sorted(set(answers)))
    post_json(station.port, "/api/command", {"command": "disable"})
    return failures


def pause_and_resume(station):
    """Pause holds the file between two characters; Resume goes on with it."""
    post_json(station.port, "/api/command", {"command": "pause"})
    if not request(station.port, "GET", "/api/status")[1]["paused"]:
        return ["pause did not pause"]
    time.sleep(1)
    before = len(station.aired())
    time.sleep(3)
    held = len(station.aired()) - before
    post_json(station.port, "/api/command", {"command": "resume"})
    return ["%d characters went out while paused" % held] if held else []


def check_approved_message_airs(station):
    """The message approved earlier is swept into the queue after a queue file and goes out."""
    if not station.wait_for_log("Completed sending <held_one.txt>.", 120):
        return ["the approved message was not sent"]
    deadline = time.time() + 30
    while "HOLD ME" not in station.aired() and time.time() < deadline:
        time.sleep(0.2)
    if "HOLD ME" in station.aired():
        return []
    return ["the approved message did not reach the line: %r %r" % (station.aired()[-300:], bytes(station.air[-300:]))]


def check_public_address_without_password(program, station_folder):
    station = Station(program, station_folder, "tarvik-web-public-", 'KOVAWEBADDRESS="0.0.0.0"\n')
    station.start()
    failures = []
    if not station.wait_for_log("Web service not started: KOVAWebAddress 0.0.0.0 is beyond this machine", 60):
        failures.append("a public address without a password was not refused at start")
    elif wait_until_serving(station.port, 1):
        failures.append("the refused service listens anyway")
    station.stop(failures)
    return failures, station


def check_password(program, station_folder):
    station = Station(program, station_folder, "tarvik-web-password-", 'KOVAWEBPASSWORD="s3cret phrase"\n')
    station.start()
    failures = []
    if not wait_until_serving(station.port):
        return ["the service with a password did not start"], station
    status, _, response = request(station.port, "GET", "/api/status")
    if status != 401 or "Basic" not in (response.getheader("WWW-Authenticate") or ""):
        failures.append("no credentials got %s" % status)
    wrong = "Basic " + base64.b64encode(b"op:guess").decode()
    began = time.time()
    status, _, response = request(station.port, "GET", "/api/status", None, {"Authorization": wrong})
    if status != 401 or time.time() - began < 0.9 or response.getheader("Connection") != "close":
        failures.append("a wrong password got %s after %.2f s" % (status, time.time() - began))
    right = "Basic " + base64.b64encode(b"anyone:s3cret phrase").decode()
    if request(station.port, "GET", "/api/status", None, {"Authorization": right})[0] != 200:
        failures.append("the right password was refused")
    if Watcher(station.port).status != 401:
        failures.append("a WebSocket without the password was upgraded")
    if Watcher(station.port, "Authorization: %s\r\n" % right).status != 101:
        failures.append("a WebSocket with the password was refused")
    if not any("Web: 1 wrong password(s)" in line for line in log_lines(station.work)):
        failures.append("the wrong password was not logged")
    if any("s3cret" in line or "guess" in line for line in log_lines(station.work)):
        failures.append("a password reached the log")
    station.stop(failures)
    return failures, station


def main():
    program, station_folder = sys.argv[1], sys.argv[2]
    station = Station(program, station_folder, "tarvik-web-", "KOVANOTIMER=1\n")
    os.makedirs(station.data("moderatedwords"), exist_ok=True)
    os.makedirs(station.data("badwords"), exist_ok=True)
    with open(station.data("moderatedwords", "held_one.txt"), "wb") as held:
        held.write(b"HOLD ME\r\n")
    with open(station.data("badwords", "bad_one.txt"), "wb") as bad:
        bad.write(b"SPAMWORD\r\n")
    with open(station.data("header.txt"), "wb") as header:
        header.write(b"ZCZC\r\n")
    with open(station.data("schedule.lst"), "wb") as schedule:
        schedule.write(b"")
    station.start()
    failures = []
    try:
        if not wait_until_serving(station.port):
            failures.append("the web service did not start")
        else:
            for check in (check_status_and_commands, check_strangers_requests, check_held_messages, check_uploads,
                          check_schedule, check_air_under_connections, check_approved_message_airs):
                failures += ["%s: %s" % (check.__name__, failure) for failure in check(station)]
    finally:
        station.stop(failures)
    lines = log_lines(station.work)
    for check in (check_public_address_without_password, check_password):
        found, other = check(program, station_folder)
        failures += ["%s: %s" % (check.__name__, failure) for failure in found]
        if not found:
            report([], [], other.folder)
    return report(failures, lines, station.folder)


if __name__ == "__main__":
    sys.exit(main())

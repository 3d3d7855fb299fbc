#!/usr/bin/env python3
"""The station's web page in a real browser (headless Chromium) against the
whole program, started headless with a serial pseudo-terminal as its line:
the page shows the station's state and follows it without a reload, the
upload form queues a file, a bad schedule line is refused with its number,
Pause holds the file on the line and Resume lets it go on, and an approved
held message goes on the air. With SCREENSHOT, the page at a phone's and a
desk's width side by side is saved there (docs/web-page.png for the README).

The test reads the line only when a check asks: in between, the full
pseudo-terminal holds the station in the middle of its long file, so that
the file stays on the air as long as the checks need it.

Usage: browser_test.py PROGRAM STATION_FOLDER [SCREENSHOT]
"""

import os
import re
import select
import socket
import subprocess
import sys
import time

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException, TimeoutException, WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "integration"))
from station_e2e import (decode, die_with_this_test, free_port, log_lines, report, station_copy,  # noqa: E402
                         stop_station)

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# Nothing but the station's page: no updates, sync or proxies reached for.
CHROMIUM_FLAGS = ["--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--no-proxy-server",
                  "--no-first-run", "--disable-background-networking", "--disable-component-update",
                  "--disable-sync", "--disable-default-apps", "--window-size=1100,1000"]

LONG_NAME = "long.txt"
LONG_START = "LONG BULLETIN BEGINS"
LONG_END = "LONG BULLETIN ENDS"
# Many times what the pseudo-terminal holds (some 20 KB): after the drain at
# Pause and the codes read at Resume the file is still under way when the held
# message is approved, and the sweep after it queues the message.
LONG_TEXT = LONG_START + "\r\n" + "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG\r\n" * 3000 + LONG_END + "\r\n"
HELD_NAME = "Held_Notice.txt"
HELD_WORDS = "HELD NOTICE APPROVED FOR THE AIR"
HELD_TEXT = HELD_WORDS + "\r\n<b>MARKUP</b> FROM A STRANGER\r\nNNNN\r\n"
UPLOAD_NAME = "Web_Upload.txt"
UPLOAD_WORDS = "UPLOADED FROM THE BROWSER"
BAD_SCHEDULE = "long.txt\n13/01/2030 10:00:00 thefox.txt\n"
# No code for this long after Pause: the line has gone quiet.
QUIET_SECONDS = 3
WAIT_SECONDS = 60


class Air:
    """The far end of the serial line; it reads only when a check asks."""

    def __init__(self, master):
        self.master = master
        self.codes = bytearray()

    def read(self, seconds):
        """One read; False if nothing came within `seconds`."""
        ready, _, _ = select.select([self.master], [], [], seconds)
        if ready:
            self.codes.extend(os.read(self.master, 4096))
        return bool(ready)

    def read_until(self, done, seconds):
        deadline = time.time() + seconds
        while not done(self.codes) and time.time() < deadline:
            self.read(0.2)
        return done(self.codes)

    def text(self):
        return decode(self.codes)

    def goes_quiet(self, seconds):
        """Reads until nothing came for QUIET_SECONDS; False if codes still came at the deadline."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            if not self.read(QUIET_SECONDS):
                return True
        return False


class Page:
    """The station's page in the browser, read through the ids it promises."""

    def __init__(self, driver, url):
        self.driver = driver
        self.url = url

    def open(self):
        self.driver.get(self.url)

    def wait(self, condition, seconds=WAIT_SECONDS):
        try:
            WebDriverWait(self.driver, seconds, poll_frequency=0.2,
                          ignored_exceptions=(StaleElementReferenceException,)).until(lambda _: condition())
            return True
        except TimeoutException:
            return False

    def text(self, element_id):
        """The element's text; None while the page has no such element (still loading)."""
        return self.driver.execute_script(
            "const element = document.getElementById(arguments[0]); return element && element.textContent;", element_id)

    def texts(self, selector):
        return self.driver.execute_script(
            "return Array.from(document.querySelectorAll(arguments[0]), e => e.textContent);", selector)

    def wait_text(self, element_id, wanted):
        return self.wait(lambda: self.text(element_id) == wanted)

    def find(self, selector):
        return self.driver.find_element(By.CSS_SELECTOR, selector)

    def command(self, name):
        self.find("button[data-command='%s']" % name).click()

    def log_count(self, line):
        return sum(1 for row in self.texts("#log > *") if row.endswith(line))


def state_fields(page):
    """What the status shows that this station's settings fix; None when all is as set."""
    wanted = {"mode": "MILITARY", "baud": "45.45 baud", "port": "COM1", "transmitter": "ON",
              "current-file": LONG_NAME, "link": "live"}
    if page.wait(lambda: all(page.text(key) == value for key, value in wanted.items())):
        return None
    return "the status showed %r" % {key: page.text(key) for key in wanted}


def character_on_the_air(page):
    """The highlighted character is the file's character at the count sent."""
    if not page.wait(lambda: page.text("on-air-char") != ""):
        return "no character of the file was highlighted"
    progress, character = page.driver.execute_script(
        "return [document.getElementById('current-progress').textContent,"
        " document.getElementById('on-air-char').textContent];")
    sent = re.match(r"(\d+) of (\d+)$", progress)
    if not sent or int(sent.group(2)) != len(LONG_TEXT):
        return "the progress read %r" % progress
    if LONG_TEXT[int(sent.group(1))] != character:
        return "%r was highlighted at %s, where the file has %r" % (character, sent.group(1),
                                                                    LONG_TEXT[int(sent.group(1))])
    return None


def page_shows_state(run):
    """The station's state on the page, and a change of it without a reload."""
    page = run.page
    failure = state_fields(page) or character_on_the_air(page)
    if failure:
        return failure
    if not page.wait(lambda: page.log_count("TXFile : Sending file <%s>." % LONG_NAME) > 0):
        return "the log did not show the file being sent"
    disabled_before = page.log_count("CmDisable : Scheduler DISABLED")
    page.command("disable")
    if not page.wait_text("scheduler", "DISABLED"):
        return "Disable left the scheduler shown as %r" % page.text("scheduler")
    if not page.wait(lambda: page.log_count("CmDisable : Scheduler DISABLED") > disabled_before):
        return "the log did not follow Disable"
    page.command("enable")
    if not page.wait_text("scheduler", "ENABLED"):
        return "Enable left the scheduler shown as %r" % page.text("scheduler")
    return None


def upload_queues_a_file(run):
    """A file chosen in the form, stored under the name typed, waits in the queue behind the long file."""
    page = run.page
    source = os.path.join(run.folder, "upload-source.txt")
    with open(source, "wb") as upload:
        upload.write((UPLOAD_WORDS + "\r\n").encode())
    page.find("#upload-file").send_keys(source)
    page.find("#upload-name").send_keys(UPLOAD_NAME)
    page.find("#upload-form button[type=submit]").click()
    if not page.wait(lambda: not page.text("upload-message").startswith("Sending")):
        return "the upload got no answer"
    if page.text("upload-message") != "Queued as %s." % UPLOAD_NAME:
        return "the upload form answered %r" % page.text("upload-message")
    stored = os.path.join(run.work, "data", UPLOAD_NAME)
    if not os.path.exists(stored) or UPLOAD_WORDS.encode() not in open(stored, "rb").read():
        return "%s is not in the data folder with the file's text" % UPLOAD_NAME
    if not page.wait(lambda: any(line.split()[-1:] == [UPLOAD_NAME] for line in page.texts("#queue li"))):
        return "the queue showed %r" % page.texts("#queue li")
    return None


def bad_schedule_line_is_refused(run):
    """The server's refusal, with the bad line's number, is shown, and schedule.lst stays as it was."""
    page = run.page
    path = os.path.join(run.work, "data", "schedule.lst")
    with open(path, "rb") as schedule:
        before = schedule.read()
    editor = page.find("#schedule-text")
    if not page.wait(lambda: LONG_NAME in editor.get_attribute("value")):
        return "the schedule's text was not loaded"
    editor.clear()
    editor.send_keys(BAD_SCHEDULE)
    page.find("#schedule-save").click()
    if not page.wait(lambda: "Line 2" in page.text("schedule-message")):
        return "saving a bad second line showed %r" % page.text("schedule-message")
    with open(path, "rb") as schedule:
        if schedule.read() != before:
            return "the refused schedule was written"
    return None


def pause_holds_the_file(run):
    """After Pause the line goes quiet in the middle of the file; after Resume codes come again."""
    page = run.page
    page.command("pause")
    if not page.wait_text("paused", "PAUSED"):
        return "Pause left the session shown as %r" % page.text("paused")
    if not run.air.goes_quiet(WAIT_SECONDS):
        return "codes kept coming after Pause"
    if LONG_END in run.air.text() or "Completed sending <%s>." % LONG_NAME in log_lines(run.work):
        return "the file ran on to its end through Pause"
    held = len(run.air.codes)
    page.command("resume")
    if not page.wait(lambda: page.text("paused") != "PAUSED"):
        return "Resume left the session shown as paused"
    if not run.air.read_until(lambda codes: len(codes) > held + 1000, WAIT_SECONDS):
        return "after Resume only %d codes came" % (len(run.air.codes) - held)
    return None


def approved_message_goes_on_the_air(run):
    """Approve takes the held message off the list, and after the long file it is sent."""
    page = run.page
    item = "#held li[data-name='%s']" % HELD_NAME
    if not page.wait(lambda: len(page.texts(item)) == 1):
        return "the held message was not listed: %r" % page.texts("#held li")
    if page.driver.execute_script("return document.querySelector('#held b') !== null;") \
            or "<b>MARKUP</b>" not in page.texts(item + " pre")[0]:
        return "the held message's text was not shown as plain text"
    page.find(item + " button.approve").click()
    if not page.wait(lambda: not page.texts(item)):
        return "the approved message stayed in the list"
    if not run.air.read_until(lambda codes: HELD_WORDS in decode(codes), 3 * WAIT_SECONDS):
        return "the approved message did not go on the air"
    return None


def save_screenshot(run, path):
    """The page at a desk's width into `path` and at a phone's beside it ("-phone" before
    the suffix), as the README shows them. The station's page may not be framed, so each
    width is a page of its own."""
    driver = run.page.driver
    stem, suffix = os.path.splitext(path)
    failure = None
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    for width, height, mobile, target in [(1024, 1320, False, path), (390, 844, True, stem + "-phone" + suffix)]:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})
        run.page.open()
        failure = failure or state_fields(run.page)
        driver.save_screenshot(target)
    driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})
    run.page.open()
    return failure and "the screenshot's page: " + failure


class Run:
    """What every check works on: the page, the line and the station's folders."""

    def __init__(self, page, air, folder, work):
        self.page, self.air, self.folder, self.work = page, air, folder, work


CHECKS = [
    ("the page shows the state", page_shows_state),
    ("the upload form", upload_queues_a_file),
    ("a bad schedule line", bad_schedule_line_is_refused),
    ("Pause", pause_holds_the_file),
    ("an approved message", approved_message_goes_on_the_air),
]


def run_checks(run, screenshot):
    steps = list(CHECKS)
    if screenshot:
        # Before Pause: the long file on the air, the upload queued, the message still held.
        steps.insert(3, ("the screenshot", lambda r: save_screenshot(r, screenshot)))
    failures = []
    for what, check in steps:
        try:
            failure = check(run)
        except WebDriverException as error:
            failure = "the browser: %s" % error.msg
        if failure:
            failures.append("%s: %s" % (what, failure))
    return failures


def wait_for_service(port, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=5).close()
            return True
        except OSError:
            time.sleep(0.2)
    return False


def open_browser():
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in CHROMIUM_FLAGS:
        options.add_argument(flag)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)


def prepare_station(station):
    """A station copy whose schedule sends the long file, with a message held for approval; (folder, work, port)."""
    web_port = free_port()
    folder, work = station_copy(station, "tarvik-web-",
                                'KOVACOMMPORT="COM1"\nKOVARS232CONTROL="DTR"\n'
                                "KOVASCHEDULERENABLE=1\nKOVASCHEDULERSTARTENABLED=1\n"
                                "KOVAEMAILSMTPPORTS=%d,%d\nKOVATELNETPORTNUMBER=0\nKOVAADMINPORTNUMBER=0\n"
                                "KOVAWEBPORT=%d\n" % (free_port(), free_port(), web_port))
    data = os.path.join(work, "data")
    with open(os.path.join(data, LONG_NAME), "wb") as long_file:
        long_file.write(LONG_TEXT.encode())
    with open(os.path.join(data, "schedule.lst"), "wb") as schedule:
        schedule.write(("%s\r\nthefox.txt\r\n" % LONG_NAME).encode())
    os.makedirs(os.path.join(data, "moderatedwords"), exist_ok=True)
    with open(os.path.join(data, "moderatedwords", HELD_NAME), "wb") as held:
        held.write(HELD_TEXT.encode())
    return folder, work, web_port


def main():
    program, station = sys.argv[1], sys.argv[2]
    screenshot = sys.argv[3] if len(sys.argv) > 3 else None
    folder, work, web_port = prepare_station(station)
    master, slave = os.openpty()
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen", TARVIK_COM1=os.ttyname(slave))
    process = subprocess.Popen([program], cwd=work, env=environment, preexec_fn=die_with_this_test,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # The slave stays open here too: a master whose slave nobody holds reads EIO.
    air = Air(master)
    failures = []
    browser = None
    try:
        if not air.read_until(lambda codes: LONG_START in decode(codes), WAIT_SECONDS):
            failures.append("the long file did not start on the line")
        elif not wait_for_service(web_port, WAIT_SECONDS):
            failures.append("the web service did not come up")
        else:
            browser = open_browser()
            page = Page(browser, "http://127.0.0.1:%d/" % web_port)
            page.open()
            failures += run_checks(Run(page, air, folder, work), screenshot)
    finally:
        if browser:
            browser.quit()
        stop_station(process, failures)
        os.close(master)
        os.close(slave)
    return report(failures, log_lines(work), folder)


if __name__ == "__main__":
    sys.exit(main())

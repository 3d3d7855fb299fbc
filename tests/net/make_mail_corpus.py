#!/usr/bin/env python3
"""Writes the corpus of real mail the MIME tests deliver into mail/: messages
made by Python's email package and by swaks, each as a client sends it after
"354" (CR LF line ends, dot-stuffed, the end mark last). The tests read the
files, not this script; run it to make the corpus again."""

import email.policy
import os
import socket
import subprocess
import threading
from email.message import EmailMessage
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText

SMTP = email.policy.SMTP


def data_form(raw: bytes) -> bytes:
    lines = raw.replace(b"\r\n", b"\n").split(b"\n")
    if lines and lines[-1] == b"":
        lines.pop()
    stuffed = [b"." + line if line.startswith(b".") else line for line in lines]
    return b"\r\n".join(stuffed) + b"\r\n.\r\n"


def write(name: str, raw: bytes) -> None:
    with open(name + ".msg", "wb") as out:
        out.write(data_form(raw))


def message(subject: str, body: str, **content) -> EmailMessage:
    msg = EmailMessage(policy=SMTP)
    msg["From"] = "Jörg Müller <joerg@example.com>"
    msg["To"] = "kova@station.example"
    msg["Subject"] = subject
    msg.set_content(body, **content)
    return msg


def python_messages() -> None:
    write("utf8_8bit", message("Cafe 8bit", "Café München\n", cte="8bit").as_bytes())
    long_line = "Grüße aus München, wo das Wetter heute schön ist und die Straßenbahn fährt pünktlich.\n"
    write("utf8_quoted_printable", message("Cafe qp", long_line, cte="quoted-printable").as_bytes())
    write("utf8_base64", message("Cafe base64", "Café München\nZweite Zeile\n", cte="base64").as_bytes())
    write("latin1_quoted_printable",
          message("Latin qp", "Ça coûte 5 £\n", charset="iso-8859-1", cte="quoted-printable").as_bytes())
    write("windows1252_8bit",
          message("Price", "Price: 5 \u20ac \u201cquoted\u201d \u2013 dash\n", charset="windows-1252",
                  cte="8bit").as_bytes())
    write("encoded_subject", message("Grüße aus Köln", "Hallo\n").as_bytes())
    write("bad_word_base64", message("Hidden", "This is DARN hidden\n", cte="base64").as_bytes())
    write("non_latin", message("Privet", "Привет, мир ≠ 😀\n").as_bytes())

    alternative = message("Alternative", "Plain text wins\n")
    alternative.add_alternative("<html><body><p>HTML loses</p></body></html>\n", subtype="html")
    write("alternative", alternative.as_bytes())

    html = EmailMessage(policy=SMTP)
    html["From"] = "web@example.com"
    html["Subject"] = "HTML only"
    html.set_content("<html><head><title>T</title><style>p {color: red}</style></head><body>"
                     "<p>First&nbsp;para &amp; more</p><div>Second<br>line&#33; caf&eacute;</div>"
                     "<script>alert(1)</script><ul><li>one</li><li>two</li></ul></body></html>\n",
                     subtype="html")
    write("html_only", html.as_bytes())

    mixed = MIMEMultipart("mixed", policy=SMTP)
    mixed["From"] = "joe@example.com"
    mixed["Subject"] = "With attachment"
    inner = MIMEMultipart("alternative", policy=SMTP)
    inner.attach(MIMEText("Nested plain text\n", "plain", "utf-8", policy=SMTP))
    inner.attach(MIMEText("<p>Nested html</p>\n", "html", "utf-8", policy=SMTP))
    mixed.attach(inner)
    pdf = EmailMessage(policy=SMTP)
    pdf.set_content(b"%PDF-1.4 not really", maintype="application", subtype="pdf", filename="report.pdf")
    mixed.attach(pdf)
    write("mixed_attachment", mixed.as_bytes())


def flowed_message() -> None:
    # As Thunderbird writes it: soft breaks after a blank, delsp=yes.
    raw = ("From: tb@example.com\r\nSubject: Flowed\r\nMIME-Version: 1.0\r\n"
           "Content-Type: text/plain; charset=UTF-8; format=flowed; delsp=yes\r\n"
           "Content-Transfer-Encoding: 8bit\r\n\r\n"
           "This paragraph was broken by the  \r\nclient at its own width  \r\nand is one line.\r\n"
           "> quoted and  \r\n> joined\r\n-- \r\nsignature\r\n")
    write("flowed", raw.encode())


class Capture(threading.Thread):
    """A one-message SMTP server on the loopback address that keeps the DATA bytes."""

    def __init__(self):
        super().__init__(daemon=True)
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(1)
        self.port = self.listener.getsockname()[1]
        self.data = b""

    def run(self):
        conn, _ = self.listener.accept()
        reader = conn.makefile("rb")
        conn.sendall(b"220 capture\r\n")
        while True:
            line = reader.readline()
            if not line:
                break
            verb = line[:4].upper()
            if verb == b"DATA":
                conn.sendall(b"354 go\r\n")
                while True:
                    part = reader.readline()
                    self.data += part
                    if part == b".\r\n":
                        break
                conn.sendall(b"250 ok\r\n")
            elif verb == b"QUIT":
                conn.sendall(b"221 bye\r\n")
                break
            else:
                conn.sendall(b"250 ok\r\n")
        conn.close()


def swaks_message(name: str, *arguments) -> None:
    capture = Capture()
    capture.start()
    subprocess.run(["swaks", "--server", "127.0.0.1", "--port", str(capture.port), "--to", "kova@station.example",
                    "--from", "joe@example.com", "--helo", "tester", "--hide-all", *arguments], check=True)
    capture.join()
    with open(name + ".msg", "wb") as out:
        out.write(capture.data)


if __name__ == "__main__":
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), "mail"))
    python_messages()
    flowed_message()
    with open("notes.txt", "w") as notes:
        notes.write("Bericht für heute.\n")
    swaks_message("swaks_attachment", "--header", "Subject: Swaks attached", "--body", "Body from swaks\n",
                  "--attach-type", "text/plain", "--attach", "notes.txt")
    subprocess.run(["rm", "notes.txt"], check=True)
    # A Latin-1 sender without MIME headers: its byte stays as it is.
    swaks_message("swaks_latin1_plain", "--header", "Subject: Swaks Latin-1", "--body", b"Caf\xe9 ohne MIME\n")

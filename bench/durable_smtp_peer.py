#!/usr/bin/python3
"""The reference mail server of bench/smtp_delivery.py: Debian's aiosmtpd,
with a handler that writes each message to a file of its own and syncs the
file and its folder to disk before the 250 reply, as the station promises.
The sync runs in the event loop, one message at a time.

Usage: durable_smtp_peer.py FOLDER PORT   (serves 127.0.0.1 until SIGTERM)
"""

import asyncio
import itertools
import logging
import os
import signal
import sys

from aiosmtpd.smtp import SMTP


class DurableHandler:
    def __init__(self, folder):
        self.folder = folder
        self.numbers = itertools.count()

    async def handle_DATA(self, server, session, envelope):
        path = os.path.join(self.folder, "%08d.eml" % next(self.numbers))
        descriptor = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        try:
            os.write(descriptor, envelope.original_content)
            os.fsync(descriptor)
        finally:
            os.close(descriptor)
        folder = os.open(self.folder, os.O_RDONLY | os.O_DIRECTORY)
        try:
            os.fsync(folder)
        finally:
            os.close(folder)
        return "250 Message stored"


async def serve(folder, port):
    handler = DurableHandler(folder)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(handler, hostname="peer"), "127.0.0.1", port)
    stopped = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stopped.set)
    await stopped.wait()
    server.close()
    await server.wait_closed()


def main():
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    asyncio.run(serve(sys.argv[1], int(sys.argv[2])))


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""A local SMTP server that keeps every message it receives as a file.

Each message is written to FOLDER as <time>-<pid>-<n>.eml, byte for byte as it arrived,
with a .json file beside it naming the envelope sender, the recipients and the arrival time.
Prints "正在监听 smtp://127.0.0.1:PORT" once it accepts connections; ends on SIGTERM or SIGINT.
"""
import argparse
import asyncio
import itertools
import json
import os
import signal
import sys
import time

from aiosmtpd.smtp import SMTP


class FolderHandler:
    def __init__(self, folder, refused):
        self.folder = folder
        self.refused = {a.lower() for a in refused}
        self.numbers = itertools.count(1)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.refused:
            self._log_refusal(address)
            return "550 5.1.1 <%s>: mailbox unavailable" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        name = "%d-%d-%d" % (time.time_ns(), os.getpid(), next(self.numbers))
        meta = {"from": envelope.mail_from, "to": envelope.rcpt_tos, "received_ms": int(time.time() * 1000)}
        self._write(name + ".eml", envelope.original_content)
        self._write(name + ".json", json.dumps(meta).encode())
        return "250 OK queued as " + name

    def _log_refusal(self, address):
        with open(os.path.join(self.folder, "refused.log"), "a", encoding="utf-8") as log:
            log.write(address + "\n")

    # Readers never see half a file.
    def _write(self, name, data):
        temporary = os.path.join(self.folder, "." + name + ".part")
        with open(temporary, "wb") as out:
            out.write(data)
        os.rename(temporary, os.path.join(self.folder, name))


async def serve(args):
    os.makedirs(args.folder, exist_ok=True)
    handler = FolderHandler(args.folder, args.refuse)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(lambda: SMTP(handler, hostname="mail-catcher"), args.host, args.port)
    port = server.sockets[0].getsockname()[1]
    print("正在监听 smtp://%s:%d" % (args.host, port), flush=True)
    stopped = loop.create_future()
    for sig in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(sig, stopped.set_result, None)
    await stopped
    server.close()
    await server.wait_closed()


def main():
    parser = argparse.ArgumentParser(description="Local SMTP server writing each message to a folder.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--folder", required=True)
    parser.add_argument("--refuse", action="append", default=[], help="answer 550 to RCPT TO for this address")
    args = parser.parse_args()
    if not (args.host.startswith("127.") or args.host == "::1"):
        sys.exit("mail-catcher: only a loopback address may be used")
    asyncio.run(serve(args))


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Reads the messages a mail catcher kept back with Python's own MIME parser.

Prints one block per message, sorted, for a test to compare as a whole text: the envelope,
the header names in order, the headers that matter decoded, whether every line ended in
CR LF, and the decoded body with "\\n" line breaks. With --arrivals, one line a message.
"""
import email
import email.policy
import glob
import json
import os
import sys


def block(path):
    with open(path, "rb") as f:
        raw = f.read()
    with open(path[:-4] + ".json", encoding="utf-8") as f:
        meta = json.load(f)
    message = email.message_from_bytes(raw, policy=email.policy.default)
    lines = raw.split(b"\n")[:-1]
    crlf = all(line.endswith(b"\r") for line in lines)
    body = message.get_content()
    body_crlf = body.count("\n") == body.count("\r\n")
    out = [
        "envelope: %s -> %s" % (meta["from"], ", ".join(meta["to"])),
        "headers: " + ", ".join(message.keys()),
        "from: " + str(message["From"]),
        "to: " + str(message["To"]),
        "reply-to: " + str(message.get("Reply-To", "")),
        "subject: " + str(message["Subject"]),
        "message-id: " + str(message["Message-ID"]),
        "content-type: " + message.get_content_type() + "; " + str(message.get_content_charset()),
        "transfer-encoding: " + str(message["Content-Transfer-Encoding"]),
        "auto-submitted: " + str(message.get("Auto-Submitted", "")),
        "crlf: %s %s" % ("yes" if crlf else "no", "yes" if body_crlf else "no"),
        "body:",
        body.replace("\r\n", "\n"),
    ]
    return "\n".join(out)


def arrivals(folder):
    """One line a message: its Message-ID, envelope recipients and arrival time in ms."""
    lines = []
    for path in glob.glob(os.path.join(folder, "*.eml")):
        with open(path, "rb") as f:
            message = email.message_from_bytes(f.read(), policy=email.policy.default)
        with open(path[:-4] + ".json", encoding="utf-8") as f:
            meta = json.load(f)
        lines.append("%s %s %d\n" % (message["Message-ID"], ",".join(meta["to"]), meta["received_ms"]))
    return "".join(sorted(lines))


def main():
    if sys.argv[1] == "--arrivals":
        sys.stdout.write(arrivals(sys.argv[2]))
        return
    folder = sys.argv[1]
    blocks = sorted(block(p) for p in glob.glob(os.path.join(folder, "*.eml")))
    sys.stdout.write("".join(b + "=====\n" for b in blocks))


if __name__ == "__main__":
    main()

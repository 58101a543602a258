#!/usr/bin/python3
"""Load, slow-client and hostile-request figures for decor-company-server, measured from
outside over loopback. Run by hand:

    bench/server_load.py build/default/src/server/decor-company-server

It starts its own server on a free port with a scratch database, prints figures and exits
non-zero only when a correctness check fails (a refused or reset connection under load, an
acknowledged estimate that was not stored exactly once, a probe that got no answer, a hostile
request answered with anything but 4xx). Times are printed, never judged.

--quick runs the bounded version the test command uses. --through-nginx also runs the load
through nginx with TLS, configured from the shipped site as tests/server/behind_proxy.py does,
with the server trusting it as its proxy.
"""
import argparse
import os
import random
import re
import resource
import select
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import zlib

PROBE_PATH = "/bjtj/love.txt"
FORM_TYPE = "application/x-www-form-urlencoded"


class Server:
    def __init__(self, binary, folder, extra):
        self.data = os.path.join(folder, "company.sqlite3")
        self.proc = subprocess.Popen(
            [binary, "--port", "0", "--data", self.data, "--prices", os.path.join(folder, "prices"), *extra],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        # Log lines on stderr may come before the listening line.
        line = "?"
        while line and not line.startswith("正在监听 "):
            line = self.proc.stdout.readline().decode("utf-8", "replace")
        match = re.search(r"http://([0-9.]+):(\d+)", line)
        if not match:
            raise SystemExit("server did not start: " + line)
        self.address = (match.group(1), int(match.group(2)))
        self.log = []
        threading.Thread(target=self._drain, daemon=True).start()

    def _drain(self):
        for line in self.proc.stdout:
            self.log.append(line.decode("utf-8", "replace").rstrip())

    def status_kib(self, field):
        with open(f"/proc/{self.proc.pid}/status") as status:
            for line in status:
                if line.startswith(field + ":"):
                    return int(line.split()[1])
        return -1

    def reset_peak(self):
        with open(f"/proc/{self.proc.pid}/clear_refs", "w") as refs:
            refs.write("5")

    def stop(self):
        stop_process(self.proc)


def stop_process(proc):
    """SIGTERM, and SIGKILL if it has not ended 10 s later."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


def connect(address, source, timeout, tls=None):
    sock = socket.create_connection(address, timeout, source_address=(source, 0) if source else None)
    return tls.wrap_socket(sock, server_hostname=address[0]) if tls else sock


def read_reply(sock, limit=1 << 20):
    data = b""
    while len(data) < limit:
        chunk = sock.recv(65536)
        if not chunk:
            break
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    match = re.match(rb"HTTP/1\.[01] (\d{3})", head)
    return (int(match.group(1)) if match else 0), body


def request(address, raw, source=None, timeout=10.0, tls=None):
    """One request on a fresh connection (over TLS with an ssl context): (status, body,
    seconds, error)."""
    start = time.monotonic()
    try:
        with connect(address, source, timeout, tls) as sock:
            sock.sendall(raw)
            status, body = read_reply(sock)
        return status, body, time.monotonic() - start, None
    except OSError as error:
        return 0, b"", time.monotonic() - start, type(error).__name__


def get(path):
    return f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n".encode()


def post(body, headers=""):
    return (f"POST /site/send HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: {FORM_TYPE}\r\n"
            f"Content-Length: {len(body)}\r\n{headers}Connection: close\r\n\r\n").encode() + body


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))] if ordered else float("nan")


class Probe:
    """A normal client asking for the counter every 0.2 s from one address."""

    def __init__(self, address, source):
        self.address, self.source = address, source
        self.latencies, self.failures = [], 0
        self.done = threading.Event()
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while not self.done.is_set():
            status, _, seconds, _ = request(self.address, get(PROBE_PATH), self.source, timeout=5.0)
            if status == 200:
                self.latencies.append(seconds)
            else:
                self.failures += 1
            self.done.wait(0.2)

    def finish(self):
        self.done.set()
        self.thread.join()
        return self


def slow_clients(server, kind, count, sources, probe_source, seconds):
    """Holds `count` connections that trickle their headers (or body) one piece a second,
    reopening those the server closes, while a probe asks for the counter."""
    if kind == "headers":
        start, piece = b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n", b"X-Slow: 1\r\n"
    else:
        start = (f"POST /site/send HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: {FORM_TYPE}\r\n"
                 "Content-Length: 60000\r\n\r\n").encode()
        piece = b"a"
    socks, refused, closed = {}, 0, 0

    def open_one(slot):
        nonlocal refused
        try:
            sock = connect(server.address, sources[slot % len(sources)], 1.0)
            sock.setblocking(False)
            sock.send(start)
            socks[slot] = sock
        except OSError:
            refused += 1

    probe = Probe(server.address, probe_source)
    opening_ends = time.monotonic() + 30
    for slot in range(count):
        if time.monotonic() > opening_ends:
            break
        open_one(slot)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        # The server ends a connection by closing it or answering: either way it is readable.
        poller = select.poll()
        for sock in socks.values():
            poller.register(sock, select.POLLIN)
        readable = {fd for fd, _ in poller.poll(0)}
        for slot, sock in list(socks.items()):
            try:
                if sock.fileno() in readable:
                    raise ConnectionError
                sock.send(piece)
            except BlockingIOError:
                pass
            except OSError:
                closed += 1
                sock.close()
                del socks[slot]
        for slot in range(count):
            if slot not in socks and time.monotonic() < deadline:
                open_one(slot)
        time.sleep(max(0.0, min(1.0, deadline - time.monotonic())))
    probe.finish()
    # Held at the end: what is still open a second after the last reopening.
    time.sleep(1.0)
    poller = select.poll()
    for sock in socks.values():
        poller.register(sock, select.POLLIN)
    held = len(socks) - len(poller.poll(0))
    for sock in socks.values():
        sock.close()
    lat = probe.latencies
    print(f"  slow {kind:7} x{count} from {len(sources)} address(es), probe from {probe_source}: "
          f"held open at the end {held}, closed by server {closed}, not accepted {refused}; "
          f"probe answered {len(lat)}, failed {probe.failures}, max {max(lat, default=float('nan')):.3f} s, "
          f"over 1 s {sum(1 for s in lat if s > 1.0)}")
    return probe.failures == 0 and len(lat) > 0


def estimate_body(tag):
    return f"email=load{tag}@example.com&result=%E6%8A%A5%E4%BB%B7{tag}%3Cbr %2F%3E%E5%AE%8C&tel={tag}".encode()


def run_clients(clients, seconds, work):
    """`clients` threads, each calling work(index, sequence) until `seconds` have passed; the
    time they took."""
    deadline = time.monotonic() + seconds

    def client(index):
        sequence = 0
        while time.monotonic() < deadline:
            work(index, sequence)
            sequence += 1

    threads = [threading.Thread(target=client, args=(i,)) for i in range(clients)]
    start = time.monotonic()
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return time.monotonic() - start


def load(server, clients, seconds, sources, nginx=None):
    """`clients` threads posting distinct valid estimates for `seconds`, one per connection;
    through `nginx` over HTTPS when given."""
    address, tls, route = (nginx.https, nginx.context, "through nginx+TLS") if nginx else (server.address, None, "direct")
    acknowledged, latencies, errors, other = [], [], {}, {}
    lock = threading.Lock()
    run = "2" if nginx else "1"

    def post_one(index, sequence):
        tag = f"{run}{clients:03d}{index:03d}{sequence:06d}"  # distinct from other runs' too
        status, body, took, error = request(address, post(estimate_body(tag)), sources[index % len(sources)], tls=tls)
        with lock:
            if error:
                errors[error] = errors.get(error, 0) + 1
            elif "发送成功".encode() in body:
                acknowledged.append(tag)
                latencies.append(took)
            else:
                other[status] = other.get(status, 0) + 1

    elapsed = run_clients(clients, seconds, post_one)
    with sqlite3.connect(f"file:{server.data}?mode=ro", uri=True) as db:
        stored = [row[0] for row in db.execute("SELECT phone FROM estimates WHERE phone LIKE ?", (f"{run}{clients:03d}%",))]
    once = len(set(acknowledged)) == len(acknowledged) and all(stored.count(t) == 1 for t in set(acknowledged)) \
        if len(acknowledged) < 2000 else _each_once(acknowledged, stored)
    print(f"  load {route}, {clients} clients {seconds} s: {len(acknowledged)} acknowledged, "
          f"{len(acknowledged) / elapsed:.0f}/s, p50 {percentile(latencies, 0.5) * 1000:.1f} ms, "
          f"p99 {percentile(latencies, 0.99) * 1000:.1f} ms; connection errors {errors or 0}; "
          f"other replies {other or 0}; stored {len(stored)}; each acknowledged stored once: {once}")
    return once and not errors and not other


def prefill(data, count, within_ms):
    """`count` distinct estimates accepted within the last `within_ms`, written straight into the
    database (the server is not running). Their fingerprints are random: distinct estimates
    have distinct ones, which is all the lookup sees of them."""
    now = int(time.time() * 1000)
    with sqlite3.connect(data) as db:
        keyed = any(row[1] == "fingerprint" for row in db.execute("PRAGMA table_info(estimate_intake)"))
        for n in range(count):
            tag = f"pre{n:08d}"
            cursor = db.execute("INSERT INTO estimates (received, email, phone, result) VALUES (?, ?, ?, ?)",
                                ("2026-01-01 00:00:00", f"{tag}@example.com", tag, "报价" + tag))
            accepted = now - random.randrange(within_ms)
            if keyed:
                db.execute("INSERT INTO estimate_intake (estimate_id, accepted_ms, fingerprint) VALUES (?, ?, ?)",
                           (cursor.lastrowid, accepted, random.randrange(-(1 << 63), 1 << 63)))
            else:
                db.execute("INSERT INTO estimate_intake (estimate_id, accepted_ms) VALUES (?, ?)",
                           (cursor.lastrowid, accepted))


def volume(binary, folder, extra, loads, sources, recent):
    """The posting figures on an empty database, then on one holding `recent` estimates of the
    last minute (well inside the ten minutes a double send is looked for)."""
    passed = True
    for label, count in (("empty database", 0), (f"{recent} recent estimates", recent)):
        room = os.path.join(folder, f"volume-{count}")
        os.makedirs(room)
        server = Server(binary, room, extra)
        if count:
            server.stop()
            prefill(server.data, count, 60_000)
            server = Server(binary, room, extra)
        print(f" {label}:")
        try:
            for clients, seconds in loads:
                passed &= load(server, clients, seconds, sources)
        finally:
            server.stop()
    return passed


def held_bodies(binary, folder, extra, count, budget_mib):
    """`count` connections from many addresses, each sending 65,535 of 65,536 declared bytes and
    holding there: the server's peak memory, what it holds after they closed, and how many it
    refused at once for its body budget."""
    room = os.path.join(folder, f"memory-{budget_mib}")
    os.makedirs(room)
    server = Server(binary, room, ["--max-connections", str(count + 100), "--connections-per-address", "100",
                                   "--deadline", "120", "--body-budget", str(budget_mib), *extra])
    sources = [f"127.0.2.{i}" for i in range(1, 1 + (count + 99) // 100)]
    head = (f"POST /site/send HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: {FORM_TYPE}\r\n"
            "Content-Length: 65536\r\n\r\n").encode()
    body = b"email=a@b.cn&tel=1&result=" + b"x" * (65535 - 26)
    idle = server.status_kib("VmRSS")
    socks, refused, busy = [], 0, 0
    try:
        for n in range(count):
            try:
                sock = connect(server.address, sources[n % len(sources)], 10.0)
                sock.sendall(head)
                socks.append(sock)
            except OSError:
                refused += 1
        for sock in socks:
            sock.setblocking(False)
        # Each body in as far as the server reads it; one refused at once is answered and closed.
        pending = {sock: len(body) for sock in socks}
        end = time.monotonic() + 60
        while pending and time.monotonic() < end:
            for sock in list(pending):
                try:
                    n = sock.send(body[len(body) - pending[sock]:])
                    pending[sock] -= n
                    if pending[sock] == 0:
                        del pending[sock]
                except BlockingIOError:
                    pass
                except OSError:
                    del pending[sock]
            if pending:
                time.sleep(0.05)
        time.sleep(1.0)
        peak = server.status_kib("VmHWM")
        for sock in socks:
            if _readable(sock):
                busy += 1
    finally:
        for sock in socks:
            sock.close()
    time.sleep(3.0)
    after = server.status_kib("VmRSS")
    server.stop()
    print(f"  {count} connections holding 65,535 of 65,536 bytes, body budget {budget_mib} MiB: "
          f"peak {peak / 1024:.0f} MiB (idle {idle / 1024:.0f} MiB), {max(0, (peak - idle)) / max(1, count - busy):.0f} "
          f"KiB per held body, after they closed {after / 1024:.0f} MiB; answered at once (budget) {busy}, "
          f"not connected {refused}")
    return True


def _each_once(acknowledged, stored):
    counts = {}
    for tag in stored:
        counts[tag] = counts.get(tag, 0) + 1
    return len(set(acknowledged)) == len(acknowledged) and all(counts.get(t) == 1 for t in acknowledged)


def _readable(sock):
    poller = select.poll()
    poller.register(sock, select.POLLIN)
    return bool(poller.poll(0))


def gzip_bomb(size):
    packer = zlib.compressobj(9, zlib.DEFLATED, 31)
    block = bytes(1 << 20)
    return b"".join(packer.compress(block) for _ in range(size >> 20)) + packer.flush()


def hostile(server, quick):
    """Each hostile request on its own, the peak resident memory reset before it."""
    head = f"POST /site/send HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: {FORM_TYPE}\r\n"
    big = (8 if quick else 300) << 20
    flood = (8 if quick else 200) << 20
    bomb = gzip_bomb((16 if quick else 512) << 20)

    def chunked():
        yield (head + "Transfer-Encoding: chunked\r\n\r\n").encode()
        piece = b"a" * 65536
        for _ in range(big // len(piece)):
            yield b"10000\r\n" + piece + b"\r\n"
        yield b"0\r\n\r\n"

    def header_flood():
        yield b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n"
        line = b"X-Flood: " + b"a" * 8182 + b"\r\n"
        for _ in range(flood // len(line)):
            yield line
        yield b"\r\n"

    def many_headers():
        yield b"GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n" + b"".join(b"X-%d: 1\r\n" % i for i in range(100000)) + b"\r\n"

    def declared_big():
        yield (head + f"Content-Length: {big}\r\n\r\n").encode()
        piece = b"a" * 65536
        for _ in range(big // len(piece)):
            yield piece

    cases = [
        ("br-labelled body, 419 bytes", lambda: iter([(head + "Content-Encoding: br\r\nContent-Length: 419\r\n\r\n")
                                                     .encode() + bytes(419)])),
        (f"gzip bomb, {len(bomb)} bytes", lambda: iter([(head + f"Content-Encoding: gzip\r\nContent-Length: "
                                                         f"{len(bomb)}\r\n\r\n").encode() + bomb])),
        (f"chunked body, {big >> 20} MiB", chunked),
        (f"declared body, {big >> 20} MiB", declared_big),
        (f"header flood, {flood >> 20} MiB", header_flood),
        ("100000 headers", many_headers),
        ("form of 65537 bytes", lambda: iter([post(b"email=a@b.cn&tel=1&result=" + b"x" * (65537 - 26))])),
    ]
    passed = True
    for name, pieces in cases:
        time.sleep(0.3)
        server.reset_peak()
        idle = server.status_kib("VmRSS")
        status, sent = 0, 0
        with connect(server.address, None, 10.0) as sock:
            try:
                for piece in pieces():
                    if _readable(sock):
                        break  # answered (or closed) before the rest was sent
                    sock.sendall(piece)
                    sent += len(piece)
            except OSError:
                pass  # cut off while sending: the reply may still be there
            try:
                status, _ = read_reply(sock)
            except OSError:
                pass
        peak = server.status_kib("VmHWM")
        ok = 400 <= status < 500
        passed &= ok
        print(f"  {name:32} status {status or 'none'}, sent {sent >> 10} KiB, "
              f"peak over idle {(peak - idle) / 1024:.1f} MiB (idle {idle / 1024:.1f} MiB)")
    return passed


def start_nginx(folder, server):
    """nginx with TLS from the shipped site, as the proxy test starts it."""
    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, os.path.join(here, "..", "tests", "server"))
    from behind_proxy import Nginx
    nginx_folder = os.path.join(folder, "nginx")
    os.mkdir(nginx_folder)
    return Nginx(os.path.join(here, "..", "packaging", "server", "decor-company-server.nginx"), nginx_folder,
                 server.address[1])


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("server")
    parser.add_argument("--quick", action="store_true", help="the bounded version the tests run")
    parser.add_argument("--only", choices=["slow", "hostile", "load", "volume", "memory"],
                        help="one group of figures")
    parser.add_argument("--server-arg", action="append", default=[], help="passed on to the server")
    parser.add_argument("--through-nginx", action="store_true", help="the load also through nginx with TLS")
    args = parser.parse_args()
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    # 4,000 held connections, and the server started from here inherits the limit.
    resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, 16384), hard))

    slow_count, slow_seconds = (200, 4) if args.quick else (1000, 15)
    loads = [(50, 3)] if args.quick else [(50, 20), (200, 20)]
    # The load comes from many addresses, as it would from many customers: with a per-address
    # estimate limit a single address would be refused most of the time.
    many = [f"127.0.0.{i}" for i in range(2, 42)]
    passed = True
    with tempfile.TemporaryDirectory(prefix="decor-load-") as folder:
        # Many estimates per address: the load would otherwise measure the estimate limit.
        proxy = ["--trusted-proxy", "127.0.0.1"] if args.through_nginx else []
        server = Server(args.server, folder, ["--estimate-limit", "1000000", *proxy, *args.server_arg])
        nginx = None
        try:
            if args.only in (None, "slow"):
                print("slow clients (a normal GET every 0.2 s meanwhile):")
                for kind in ("headers", "body"):
                    passed &= slow_clients(server, kind, slow_count, ["127.0.0.1"], "127.0.0.250", slow_seconds)
                    passed &= slow_clients(server, kind, slow_count, many, "127.0.0.1", slow_seconds)
            if args.only in (None, "hostile"):
                print("hostile requests:")
                passed &= hostile(server, args.quick)
            if args.only in (None, "load"):
                print("valid quotes under load:")
                for clients, seconds in loads:
                    passed &= load(server, clients, seconds, many)
                if args.through_nginx:
                    nginx = start_nginx(folder, server)
                    for clients, seconds in loads:
                        passed &= load(server, clients, seconds, many, nginx)
        finally:
            if nginx:
                nginx.stop()
            server.stop()
            for line in server.log:
                print("  server:", line)
        extra = ["--estimate-limit", "1000000", *args.server_arg]
        if args.only in (None, "volume") and not args.quick:
            print("posting, the double-send check at volume:")
            passed &= volume(args.server, folder, extra, loads, many, 20_000)
        if args.only in (None, "memory") and not args.quick:
            print("memory with many nearly full bodies:")
            held_bodies(args.server, folder, args.server_arg, 4000, 64)
            held_bodies(args.server, folder, args.server_arg, 4000, 1024)
    print("all correctness checks passed" if passed else "SOME CORRECTNESS CHECKS FAILED")
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())

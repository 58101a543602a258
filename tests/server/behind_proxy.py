#!/usr/bin/python3
"""decor-company-server behind nginx with TLS, as a company runs it.

Starts the server with --trusted-proxy 127.0.0.1 and a real nginx configured from the shipped
site file (only its ports, the server's port and the certificate paths replaced), with a
certificate made here by openssl. Customers from 25 loopback addresses visit and post an
estimate over HTTPS, each writing a forged X-Forwarded-For: every one is accepted and every
visit counted, because each counts as the address nginx saw. A client talking to the server
directly with a forged X-Forwarded-For is still limited as itself.

Also importable: bench/server_load.py runs its load through the same nginx.
"""
import argparse
import http.client
import os
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
from server_load import Server, estimate_body, post, request, stop_process  # noqa: E402

NGINX = "/usr/sbin/nginx"
FORM_TYPE = "application/x-www-form-urlencoded"
SUCCESS = "发送成功"
TOO_OFTEN = "发送失败：发送过于频繁，请稍后再试"


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def free_port():
    """A port free on every IPv4 and IPv6 address, as nginx's listen lines want it."""
    with socket.socket(socket.AF_INET6, socket.SOCK_STREAM) as sock:
        sock.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
        sock.bind(("::", 0))
        return sock.getsockname()[1]


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1 and localhost: (certificate, key)."""
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                    "-subj", "/CN=localhost", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    return cert, key


def site_for_test(site_text, http_port, https_port, upstream_port, cert, key):
    """The shipped site with this run's ports and certificate: nothing else changes."""
    replacements = [
        ("listen 80;", f"listen {http_port};"), ("listen [::]:80;", f"listen [::]:{http_port};"),
        ("listen 443 ssl", f"listen {https_port} ssl"), ("listen [::]:443 ssl", f"listen [::]:{https_port} ssl"),
        ("proxy_pass http://127.0.0.1:8080;", f"proxy_pass http://127.0.0.1:{upstream_port};"),
        ("/etc/letsencrypt/live/baojia.example.com/fullchain.pem", cert),
        ("/etc/letsencrypt/live/baojia.example.com/privkey.pem", key),
    ]
    for old, new in replacements:
        check(old in site_text, f"the shipped site no longer has {old!r}")
        site_text = site_text.replace(old, new)
    return site_text


class Nginx:
    """nginx as a plain process on free ports in `folder`, in front of the server on
    `upstream_port`, with a fresh certificate. `https` is (host, port); `context` trusts the
    certificate."""

    def __init__(self, site_file, folder, upstream_port):
        self.folder = folder
        cert, key = make_certificate(folder)
        with open(site_file, encoding="utf-8") as site:
            site_text = site.read()
        for attempt in range(5):  # a free port may be taken before nginx binds it
            self.http_port, self.https_port = free_port(), free_port()
            with open(os.path.join(folder, "site.conf"), "w", encoding="utf-8") as out:
                out.write(site_for_test(site_text, self.http_port, self.https_port, upstream_port, cert, key))
            with open(os.path.join(folder, "nginx.conf"), "w", encoding="utf-8") as out:
                out.write(self._main_conf())
            self.proc = subprocess.Popen([NGINX, "-p", folder, "-c", os.path.join(folder, "nginx.conf"),
                                          "-g", "daemon off;"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            if self._wait_listening():
                break
            self.proc.wait()
        else:
            raise Failure("nginx did not start: " + self.error_log())
        self.https = ("127.0.0.1", self.https_port)
        self.context = ssl.create_default_context(cafile=cert)

    def _main_conf(self):
        f = self.folder
        # As root the workers would otherwise run as nobody, who cannot enter the scratch folder.
        user = "user root;\n" if os.geteuid() == 0 else ""
        return (f"{user}worker_processes 2;\npid {f}/nginx.pid;\nerror_log {f}/error.log;\n"
                "events { worker_connections 4096; }\n"
                f"http {{\n  access_log {f}/access.log;\n  client_body_temp_path {f}/body;\n"
                f"  proxy_temp_path {f}/proxy;\n  fastcgi_temp_path {f}/fastcgi;\n  uwsgi_temp_path {f}/uwsgi;\n"
                f"  scgi_temp_path {f}/scgi;\n  include {f}/site.conf;\n}}\n")

    def _wait_listening(self):
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.proc.poll() is None:
            try:
                socket.create_connection(("127.0.0.1", self.https_port), 1).close()
                return True
            except OSError:
                time.sleep(0.05)
        return False

    def error_log(self):
        try:
            with open(os.path.join(self.folder, "error.log"), encoding="utf-8", errors="replace") as log:
                return log.read()
        except OSError:
            return ""

    def stop(self):
        stop_process(self.proc)


def https_request(nginx, method, path, source, body=None, headers=None):
    """One request over HTTPS from `source`: (status, headers, body text)."""
    connection = http.client.HTTPSConnection(*nginx.https, timeout=20, context=nginx.context,
                                             source_address=(source, 0))
    try:
        connection.request(method, path, body=body, headers=headers or {})
        reply = connection.getresponse()
        return reply.status, dict(reply.getheaders()), reply.read().decode("utf-8", "replace")
    finally:
        connection.close()


def visit_count(nginx):
    status, _, body = https_request(nginx, "GET", "/bjtj/love.txt", "127.0.0.1")
    check(status == 200, f"the count: {status}")
    return int(body)


def customers_through_nginx(nginx, server):
    customers = [f"127.0.0.{i}" for i in range(2, 27)]
    forged = {"X-Forwarded-For": "203.0.113.9"}
    replies, lock = {}, threading.Lock()

    def customer(index, source):
        visit = https_request(nginx, "GET", "/bjtj/", source, headers=forged)
        estimate = https_request(nginx, "POST", "/site/send", source, body=estimate_body(f"9{index:03d}"),
                                 headers={**forged, "Content-Type": FORM_TYPE})
        with lock:
            replies[source] = (visit, estimate)

    threads = [threading.Thread(target=customer, args=(i, s)) for i, s in enumerate(customers)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    for source in customers:
        (visit_status, visit_headers, _), (status, _, text) = replies[source]
        check(visit_status == 200, f"{source}: the visit got {visit_status}")
        check("max-age=" in visit_headers.get("Strict-Transport-Security", ""), f"{source}: no HSTS header")
        check((status, text) == (200, SUCCESS), f"{source}: the estimate got {status} {text!r}")
    count = visit_count(nginx)
    check(count == len(customers), f"{count} visits counted for {len(customers)} customers")
    print(f"  {len(customers)} customers over HTTPS: every estimate {SUCCESS}, {count} visits counted")


def plain_http_redirects(nginx):
    connection = http.client.HTTPConnection("127.0.0.1", nginx.http_port, timeout=10)
    connection.request("GET", "/bj/AppConfig.xml")
    reply = connection.getresponse()
    location = reply.getheader("Location", "")
    connection.close()
    check(reply.status == 301 and location.startswith("https://") and location.endswith("/bj/AppConfig.xml"),
          f"plain HTTP: {reply.status} {location!r}")
    print(f"  plain HTTP: 301 to {location}")


def forged_header_directly(server, nginx):
    """Straight to the server, each request naming another client: all are the one sender,
    so the estimate limit (20) stops the 21st and only one visit counts."""
    source = "127.0.0.30"
    before = visit_count(nginx)
    for n in range(2):
        request(server.address, f"GET /bjtj/ HTTP/1.1\r\nHost: x\r\nX-Forwarded-For: 198.51.100.{n}\r\n"
                                f"Connection: close\r\n\r\n".encode(), source)
    check(visit_count(nginx) == before + 1, "a forged header counted a direct client's visit twice")
    texts = []
    for n in range(21):
        status, body, _, error = request(server.address,
                                         post(estimate_body(f"8{n:03d}"), f"X-Forwarded-For: 198.51.100.{n}\r\n"),
                                         source)
        texts.append(body.decode("utf-8", "replace") if not error else error)
    check(texts[:20] == [SUCCESS] * 20 and texts[20] == TOO_OFTEN,
          f"direct client with forged headers: {texts[-2:]}")
    print("  a direct client's forged X-Forwarded-For: limited as itself")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--server", required=True)
    parser.add_argument("--site", required=True, help="the shipped nginx site file")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="decor-proxy-") as folder:
        # A per-address connection cap below the number of customers: the proxy's connections
        # must not count as one client's.
        server = Server(args.server, folder, ["--trusted-proxy", "127.0.0.1", "--connections-per-address", "5"])
        nginx = None
        try:
            nginx = Nginx(args.site, folder, server.address[1])
            customers_through_nginx(nginx, server)
            plain_http_redirects(nginx)
            forged_header_directly(server, nginx)
        except Failure as failure:
            print("FAILED:", failure)
            if nginx:
                print(nginx.error_log())
            for line in server.log:
                print("  server:", line)
            return 1
        finally:
            if nginx:
                nginx.stop()
            server.stop()
    print("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Figures for the web edition, measured over loopback. Run by hand:

    bench/web_page.py build/default/src/server/decor-company-server

- /api/estimate under load: 50 clients (threads, one request per connection, from 40
  loopback addresses) for --seconds; requests per second, p50 and p99. Every answer must be
  200 with the same text (a correctness check; times are printed, never judged).
- The page in headless Chromium at phone size: bytes transferred for "/" and everything it
  loads, on a cold cache and again on a warm one (the file requests come back 304), and the
  time from pressing 估算报价 to the prices on screen, as the page itself measures it.
- The itemised quotation on that page: the time from pressing 半包装修 with --quotation-rooms
  rooms in the list to the rows on screen.
"""
import argparse
import json
import os
import shutil
import sys
import tempfile
import threading

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "web"))
import browser_estimate  # noqa: E402
from server_load import Server, percentile, request, run_clients  # noqa: E402

BODY = json.dumps({"bedrooms": 3, "halls": 1, "kitchens": 1, "bathrooms": 1, "balconies": 2, "area": "100",
                   "grade": "舒适型装修"}, ensure_ascii=False).encode()


def estimate_request():
    return (b"POST /api/estimate HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
            b"Content-Length: %d\r\nConnection: close\r\n\r\n" % len(BODY)) + BODY


def api_load(binary, clients, seconds):
    sources = ["127.0.0.%d" % i for i in range(2, 42)]
    with tempfile.TemporaryDirectory(prefix="decor-web-load-") as folder:
        server = Server(binary, folder, [])
        try:
            raw = estimate_request()
            status, first, _, error = request(server.address, raw)
            if status != 200:
                raise SystemExit("the estimate was not answered: %s %r %s" % (status, first[:200], error))
            latencies, bad = [], {}
            lock = threading.Lock()

            def estimate_once(index, _):
                status, body, took, error = request(server.address, raw, sources[index % len(sources)])
                with lock:
                    if status == 200 and body == first:
                        latencies.append(took)
                    else:
                        key = error or status
                        bad[key] = bad.get(key, 0) + 1

            elapsed = run_clients(clients, seconds, estimate_once)
        finally:
            server.stop()
    print("/api/estimate, %d clients, %d s: %d answers, %.0f/s, p50 %.1f ms, p99 %.1f ms; other outcomes %s"
          % (clients, seconds, len(latencies), len(latencies) / elapsed, percentile(latencies, 0.5) * 1000,
             percentile(latencies, 0.99) * 1000, bad or 0))
    return not bad


WEIGHT = """
const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
return entries.map(e => [e.name.replace(location.origin, ''), e.transferSize, e.encodedBodySize]);
"""

TIME_TO_PRICES = """
const done = arguments[arguments.length - 1];
document.getElementById('result-text').replaceChildren();
const start = performance.now();
const observer = new MutationObserver(() => {
  if (document.querySelector('#result-text .amount')) {
    observer.disconnect();
    requestAnimationFrame(() => done(performance.now() - start));
  }
});
observer.observe(document.getElementById('result-text'), {childList: true, subtree: true});
document.getElementById('estimate-button').click();
"""


TIME_TO_ROWS = """
const done = arguments[arguments.length - 1];
const rows = document.getElementById('quote-rows');
rows.replaceChildren();
const start = performance.now();
const observer = new MutationObserver(() => {
  if (rows.children.length > 0) {
    observer.disconnect();
    requestAnimationFrame(() => done([performance.now() - start, rows.children.length]));
  }
});
observer.observe(rows, {childList: true});
document.getElementById('build-half').click();
"""

# The kinds of room a flat has, the desktop's initial room first; repeated to the count asked for.
ROOMS = [["客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"],
         ["卧室", "3600*3000*2800", "1200*1500", "实木门", "1", "4"],
         ["厨房", "2400*1800*2800", "600*1500", "推拉门", "1", "4"],
         ["卫生间", "2000*1600*2800", "300*1500", "塑钢门", "1", "4"],
         ["餐厅", "3000*2800*2800", "0*0", "(无)", "0", "3"]]


def quotation_time(driver, address, rooms, runs):
    # The room list as the page keeps it between visits: the page starts with it entered.
    kept = {"rooms": [ROOMS[i % len(ROOMS)] for i in range(rooms)], "floor": "地板", "grade": "舒适型装修",
            "quotation": None}
    driver.execute_script("localStorage.setItem('decor.quotation', arguments[0]);", json.dumps(kept, ensure_ascii=False))
    driver.get(address + "/")
    browser_estimate.wait_for(driver, lambda d: d.find_element("tag name", "body").get_attribute("data-quotation-ready"),
                              "the quotation's start")
    results = [driver.execute_async_script(TIME_TO_ROWS) for _ in range(runs)]
    times = sorted(took for took, _ in results)
    print("半包装修 to rows shown, %d rooms (%d rows; loopback, %d runs): median %.1f ms, p90 %.1f ms, max %.1f ms"
          % (rooms, results[0][1], runs, percentile(times, 0.5), percentile(times, 0.9), times[-1]))


def page(binary, catcher, runs, quotation_rooms):
    folder = tempfile.mkdtemp(prefix="decor-web-page-")
    setup = None
    try:
        setup = browser_estimate.Setup(binary, catcher, folder)
        driver = setup.browser()
        for kind in ("cold", "warm"):
            driver.get(setup.address + "/")
            browser_estimate.wait_for(driver, lambda d: d.find_element("id", "helped").text, "the counter")
            entries = driver.execute_script(WEIGHT)
            files = sum(size for name, size, _ in entries if not name.startswith("/api/"))
            api = sum(size for name, size, _ in entries if name.startswith("/api/"))
            listing = ", ".join("%s %d" % (name, size) for name, size, _ in entries)
            print("first view, %s cache: %d bytes transferred for the page's files + %d for /api/site (%s)"
                  % (kind, files, api, listing))
        driver.set_script_timeout(20)
        times = sorted(driver.execute_async_script(TIME_TO_PRICES) for _ in range(runs))
        print("估算报价 to prices shown (loopback, %d runs): median %.1f ms, p90 %.1f ms, max %.1f ms"
              % (runs, percentile(times, 0.5), percentile(times, 0.9), times[-1]))
        quotation_time(driver, setup.address, quotation_rooms, runs)
    finally:
        if setup:
            setup.close()
        shutil.rmtree(folder, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("server")
    parser.add_argument("--clients", type=int, default=50)
    parser.add_argument("--seconds", type=int, default=10)
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--quotation-rooms", type=int, default=50)
    parser.add_argument("--catcher", default=os.path.join(HERE, "..", "scripts", "mail-catcher.py"))
    args = parser.parse_args()
    passed = api_load(args.server, args.clients, args.seconds)
    page(args.server, args.catcher, args.runs, args.quotation_rooms)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())

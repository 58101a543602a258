#!/usr/bin/python3
"""The itemised quotation in a real browser: one customer's visit at phone size.

Uses the set-up of browser_estimate.py (the server on a staff price folder, headless Chromium
emulating a 390 px phone). The customer enters rooms, builds a half and a full package,
modifies, deletes and adds an item, reloads the page, saves the quotation and opens it
again, and downloads the workbook. After every command the page's rows and totals must be
the ones /api/quotation answers for the same body: the page itself computes nothing.
Screenshots at 390 and 1280 CSS pixels go to --screenshots.
"""
import argparse
import glob
import json
import os
import sys
import urllib.error
import urllib.request

import openpyxl
from selenium.webdriver.common.by import By

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser_estimate import Failure, check, run_visit, screenshot, set_viewport, wait_for  # noqa: E402

ROOM_FIELDS = ["room-type", "room-size", "room-window", "room-door", "room-leaves", "room-walls"]
ROOM_WORDS = ["房屋类型", "房间长宽高", "窗户长高", "门的类型", "门的扇数", "墙面数"]

PAGE_ROWS = "return [...document.querySelectorAll('#quote-rows tr')].map(tr => [...tr.cells].map(td => td.textContent));"
PAGE_TOTALS = ("return [...document.querySelectorAll('#quote-totals p')]"
               ".map(p => [p.querySelector('span').textContent, p.querySelector('strong').textContent]);")
ROOM_ROWS = "return [...document.querySelectorAll('#room-list tr')].map(tr => [...tr.cells].map(td => td.textContent));"


def api(address, path, body):
    """The server's answer to a POST: (status, parsed JSON)."""
    data = body if isinstance(body, bytes) else json.dumps(body, ensure_ascii=False).encode("utf-8")
    request = urllib.request.Request(address + path, data=data, method="POST",
                                     headers={"Content-Type": "application/json"})
    try:
        with urllib.request.urlopen(request, timeout=30) as response:
            return response.status, json.loads(response.read())
    except urllib.error.HTTPError as error:
        return error.code, json.loads(error.read())


def as_shown(message):
    """A message's lines as a page breaks them."""
    return message.replace("\r\n", "\n")


def site_choices(address):
    with urllib.request.urlopen(address + "/api/site", timeout=30) as response:
        return json.loads(response.read())["quotation"]


def type_into(driver, field, text):
    box = driver.find_element(By.ID, field)
    box.clear()
    box.send_keys(text)


def enter_room(driver, room):
    for field, text in zip(ROOM_FIELDS, room):
        # The number box takes its text by script: typing into it goes through the spinner's rules.
        if field == "room-leaves":
            driver.execute_script("arguments[0].value = arguments[1];", driver.find_element(By.ID, field), text)
        else:
            type_into(driver, field, text)


def shown(driver):
    return driver.execute_script(PAGE_ROWS), driver.execute_script(PAGE_TOTALS)


def expect_quotation(driver, address, body, what):
    """Waits until the page shows what the API answers for `body`; returns that answer."""
    status, answer = api(address, "/api/quotation", body)
    check(status == 200, "the API builds %s: %r" % (what, answer))
    wanted = (answer["rows"], [list(t) for t in answer["totals"]])
    try:
        wait_for(driver, lambda d: shown(d) == wanted, what)
    except Failure:
        rows, totals = shown(driver)
        raise Failure("%s: the page shows %d rows %r, totals %r; the API %d rows, totals %r" % (
            what, len(rows), rows[:4], totals, len(answer["rows"]), answer["totals"]))
    check(driver.find_element(By.ID, "quote-caption").text == answer["caption"], "the caption of " + what)
    return answer


def tap_row(driver, index):
    row = driver.find_element(By.CSS_SELECTOR, '#quote-rows tr[data-row="%d"]' % (index + 1))
    driver.execute_script("arguments[0].scrollIntoView({block: 'center'});", row)
    row.click()
    wait_for(driver, lambda d: d.find_element(By.ID, "detail-dialog").get_attribute("open") is not None,
             "the detail of row %d" % (index + 1))


def first_row_named(rows, name):
    return next(i for i, row in enumerate(rows) if row[1] == name)


def downloaded(folder, before, suffix):
    """The one new finished file in the download folder."""
    def new_files(_):
        files = [f for f in os.listdir(folder) if f not in before and f.endswith(suffix)]
        return files if len(files) == 1 else None
    return os.path.join(folder, wait_for(None, new_files, "a download ending in " + suffix)[0])


def totals_in_sight(driver):
    return driver.execute_script(
        "const r = document.getElementById('quote-totals').getBoundingClientRect();"
        "return r.height > 0 && r.top >= 0 && r.bottom <= window.innerHeight;")


def scenario(setup, shots):
    driver = setup.browser()
    downloads = os.path.join(setup.folder, "downloads")
    os.makedirs(downloads)
    driver.execute_cdp_cmd("Page.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    address = setup.address
    choices = site_choices(address)
    driver.get(address + "/")
    wait_for(driver, lambda d: d.find_element(By.TAG_NAME, "body").get_attribute("data-quotation-ready"),
             "the quotation's start")
    driver.find_element(By.ID, "quotation-button").click()
    check(driver.switch_to.active_element.get_attribute("id") == "rooms-heading", "focus moves to the room entry")
    check(driver.find_element(By.ID, "rooms-heading").text == "舒适型装修详细报价！", "the room entry's caption")

    # The desktop's words on the inputs, its initial room in them, its choices offered.
    for field, word in zip(ROOM_FIELDS, ROOM_WORDS):
        labels = driver.find_elements(By.CSS_SELECTOR, 'label[for="%s"]' % field)
        check(len(labels) == 1 and labels[0].text == word, "the label of %s reads %s" % (field, word))
    check([driver.find_element(By.ID, f).get_attribute("value") for f in ROOM_FIELDS] == choices["initialRoom"],
          "the initial room")
    offered = driver.execute_script("return [...document.querySelectorAll('#door-types option')].map(o => o.value);")
    check(offered == choices["doorTypes"], "the door types offered")

    # Rooms: the initial one, a kitchen and a bedroom; a malformed size gets the server's message.
    grade, floor = "舒适型装修", "地板"
    driver.find_element(By.ID, "room-add").click()
    wait_for(driver, lambda d: len(d.execute_script(ROOM_ROWS)) == 1, "the first room in the list")
    bad = ["卧室", "3600*3000", "1200*1500", "实木门", "1", "4"]
    enter_room(driver, bad)
    driver.find_element(By.ID, "room-add").click()
    status, refusal = api(address, "/api/quotation", {"rooms": [choices["initialRoom"], bad], "grade": grade,
                                                      "package": "半包", "floor": floor, "edits": []})
    check(status >= 400 and refusal["message"], "the API refuses the malformed room")
    wait_for(driver, lambda d: d.find_element(By.ID, "room-message").get_attribute("textContent") == as_shown(refusal["message"]),
             "the room's refusal shown: %r" % refusal["message"])
    check(len(driver.execute_script(ROOM_ROWS)) == 1, "a refused room is not added")
    rooms = [choices["initialRoom"], ["厨房", "2400*1800*2800", "600*1500", "推拉门", "1", "4"],
             ["卧室", "3600*3000*2800", "1200*1500", "实木门", "1", "3"], ["阳台", "3000*1500*2800", "0*0", "(无)", "0", "1"]]
    for room in rooms[1:]:
        enter_room(driver, room)
        driver.find_element(By.ID, "room-add").click()
        wait_for(driver, lambda d: d.execute_script(ROOM_ROWS)[-1:] == [room], "the room %s added" % room[0])
    check(driver.find_element(By.ID, "room-message").text == "", "the message goes once a room is taken")

    # Tap the bedroom: its texts come back into the inputs; four walls, then 修改. The balcony goes.
    driver.find_elements(By.CSS_SELECTOR, "#room-list tr")[2].click()
    check([driver.find_element(By.ID, f).get_attribute("value") for f in ROOM_FIELDS] == rooms[2],
          "the tapped room in the inputs")
    type_into(driver, "room-walls", "4")
    driver.find_element(By.ID, "room-modify").click()
    rooms[2][5] = "4"
    driver.find_elements(By.CSS_SELECTOR, "#room-list tr")[3].click()
    driver.find_element(By.ID, "room-delete").click()
    rooms.pop()
    check(driver.execute_script(ROOM_ROWS) == rooms, "the room list after 修改 and 删除")

    # Half package, then full package with tiles.
    body = {"rooms": rooms, "grade": grade, "package": "半包", "floor": floor, "edits": []}
    driver.find_element(By.ID, "build-half").click()
    answer = expect_quotation(driver, address, body, "the half package")
    check(totals_in_sight(driver), "the totals in sight after 半包装修")
    driver.find_element(By.ID, "floor-tile").click()
    driver.find_element(By.ID, "build-full").click()
    body = dict(body, package="全包", floor="瓷砖")
    answer = expect_quotation(driver, address, body, "the full package")
    check(answer["rows"][-1][1] == "全包总价格", "a full package was built")

    # Tap a door: its detail with the description; 修改 its quantity.
    door = first_row_named(answer["rows"], "推拉门")
    tap_row(driver, door)
    detail = [driver.find_element(By.ID, f).get_attribute("value")
              for f in ("detail-name", "detail-unit", "detail-quantity", "detail-price")]
    check(detail == answer["rows"][door][1:5], "the detail shows the row: %r" % detail)
    check(answer["details"][door] and driver.find_element(By.ID, "detail-description").text == answer["details"][door],
          "the row's description")
    type_into(driver, "detail-quantity", "2")
    driver.find_element(By.ID, "detail-modify").click()
    body["edits"].append({"op": "modify", "row": door + 1, "name": detail[0], "unit": detail[1], "quantity": "2",
                          "price": detail[3]})
    answer = expect_quotation(driver, address, body, "the quotation after 修改")
    check(totals_in_sight(driver), "the totals in sight after 修改")

    # 删除此项 on the first painting row.
    paint = first_row_named(answer["rows"], "墙顶面乳胶漆")
    tap_row(driver, paint)
    driver.find_element(By.ID, "detail-delete").click()
    body["edits"].append({"op": "delete", "row": paint + 1})
    answer = expect_quotation(driver, address, body, "the quotation after 删除此项")

    # 添加项: the add-item window's initial texts, then an item of its list with a quantity typed.
    driver.find_element(By.ID, "item-add").click()
    check([driver.find_element(By.ID, f).get_attribute("value") for f in ("add-name", "add-quantity", "add-price")]
          == choices["addItemInitial"], "the add-item window's initial texts")
    type_into(driver, "add-name", "墙体拆除")
    type_into(driver, "add-quantity", "3")
    driver.find_element(By.ID, "add-confirm").click()
    price = driver.find_element(By.ID, "add-price").get_attribute("value")
    body["edits"].append({"op": "add", "name": "墙体拆除", "quantity": "3", "price": price})
    answer = expect_quotation(driver, address, body, "the quotation after 添加项")
    check(any(row[1] == "墙体拆除" for row in answer["rows"]), "the added item is in the rows")

    # A reload (or a tab closed and opened again) brings the same quotation back.
    driver.refresh()
    expect_quotation(driver, address, body, "the quotation after a reload")
    check(driver.execute_script(ROOM_ROWS) == rooms, "the room list after a reload")
    check(driver.find_element(By.ID, "floor-tile").is_selected(), "the floor after a reload")

    # 保存报价: the file holds the rows on show; opened again it continues where it was.
    before = set(os.listdir(downloads))
    driver.find_element(By.ID, "quote-save").click()
    saved_path = downloaded(downloads, before, ".json")
    with open(saved_path, encoding="utf-8") as f:
        saved = json.load(f)
    check(saved["rows"] == answer["rows"], "the saved file holds the rows on show")
    check(isinstance(saved.get("version"), int) and saved.get("date"), "the file's version and date")

    driver.find_element(By.ID, "build-half").click()  # something else on show first
    wait_for(driver, lambda d: d.find_element(By.ID, "quote-caption").text == "半包装修详细报价", "a new half package")
    driver.find_element(By.ID, "quote-file").send_keys(saved_path)
    wait_for(driver, lambda d: shown(d)[0] == answer["rows"], "the opened file's rows")
    with open(saved_path, "rb") as f:
        status, opened = api(address, "/api/quotation/open", f.read())
    check(status == 200, "the API opens the file: %r" % opened)
    continued = opened["quotation"]
    tap_row(driver, first_row_named(answer["rows"], "墙体拆除"))
    driver.find_element(By.ID, "detail-delete").click()
    continued["edits"].append({"op": "delete", "row": first_row_named(answer["rows"], "墙体拆除") + 1})
    answer = expect_quotation(driver, address, continued, "the opened quotation after 删除此项")

    # A damaged file: the server's message, the quotation on show untouched.
    damaged = os.path.join(setup.folder, "damaged.json")
    with open(damaged, "w", encoding="utf-8") as f:
        f.write('{"version": ')
    driver.find_element(By.ID, "quote-file").send_keys(damaged)
    status, refusal = api(address, "/api/quotation/open", b'{"version": ')
    check(status >= 400 and refusal["message"], "the API refuses a damaged file")
    wait_for(driver, lambda d: d.find_element(By.ID, "build-message").get_attribute("textContent") == as_shown(refusal["message"]),
             "the damaged file's message")
    check(shown(driver)[0] == answer["rows"], "a damaged file changes nothing")

    # 导出 Excel: the workbook holds the rows on show, under the caption, the date and the header.
    before = set(os.listdir(downloads))
    driver.find_element(By.ID, "quote-excel").click()
    workbook_path = downloaded(downloads, before, ".xlsx")
    check(not os.path.basename(workbook_path).isascii(), "a Chinese file name: %s" % workbook_path)
    sheet = openpyxl.load_workbook(workbook_path).active
    cells = [["" if v is None else v for v in row] for row in sheet.iter_rows(values_only=True)]
    check(cells[0][0] == answer["caption"] and cells[2] == ["序号", "项目名称", "单位", "数量", "单价", "总计"],
          "the workbook's caption and header: %r" % cells[:3])
    body_cells = cells[3:3 + len(answer["rows"])]
    for page_row, sheet_row in zip(answer["rows"], body_cells):
        for text, value in zip(page_row, sheet_row):
            same = value == text if isinstance(value, str) else float(text) == value
            check(same, "the workbook's cell %r for the page's %r" % (value, text))
    check(len(body_cells) == len(answer["rows"]), "every row in the workbook")

    # Printed: the rows, the totals and the date; no buttons, no room entry.
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
    visible = driver.execute_script(
        "const seen = (s) => [...document.querySelectorAll(s)].some(e => e.getClientRects().length > 0);"
        "return [seen('#quote-rows tr'), seen('#quote-totals p'), seen('#quote-date'), seen('button'), seen('#rooms')];")
    check(visible == [True, True, True, False, False], "the printed page: %r" % visible)
    check(driver.find_element(By.ID, "quote-date").text, "the date printed")
    driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": ""})

    errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE" and
              not (entry["source"] == "network" and "/api/" in entry["message"])]
    check(not errors, "no console errors: %r" % errors)

    os.makedirs(shots, exist_ok=True)
    driver.execute_script("window.scrollTo(0, 0);")
    screenshot(driver, 390, True, os.path.join(shots, "quotation-390.png"))
    # What a phone shows: the quotation's top with the totals held at the bottom, then a row's detail.
    set_viewport(driver, 390, 844, True)
    driver.execute_script("document.getElementById('quote').scrollIntoView();")
    check(totals_in_sight(driver), "the totals in sight on a phone")
    driver.save_screenshot(os.path.join(shots, "quotation-phone-390.png"))
    tap_row(driver, first_row_named(answer["rows"], "推拉门"))
    driver.save_screenshot(os.path.join(shots, "quotation-detail-390.png"))
    driver.find_element(By.ID, "detail-close").click()
    # 200 % zoom on that phone is a 195 px wide page: the quotation too must reflow, not scroll sideways.
    set_viewport(driver, 195, 422, True)
    check(driver.execute_script("return document.documentElement.scrollWidth;") <= 195, "readable at 200 % zoom")
    screenshot(driver, 1280, False, os.path.join(shots, "quotation-1280.png"))
    print("screenshots: %s" % ", ".join(sorted(glob.glob(os.path.join(shots, "quotation-*.png")))))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--server", required=True)
    parser.add_argument("--catcher", required=True)
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()
    return run_visit(args.server, args.catcher, "web quotation", lambda setup: scenario(setup, args.screenshots))


if __name__ == "__main__":
    sys.exit(main())

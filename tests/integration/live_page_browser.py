#!/usr/bin/env python3
"""The live results page in a real browser: Debian's headless Chromium, driven by Selenium, on a
phone-sized screen, opens the page of zarvo-live-sample on 127.0.0.1, sees the run's rows (the
driver named like markup shown as text, never run), a lap count rising as the run goes on, a
driver's lap list after a tap and the other runs; screenshots are kept in the artifacts folder.

Usage: live_page_browser.py <zarvo-live-sample> <artifacts folder> <edition>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

MARKUP_NAME = "<script>alert(1)</script>"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def start_sample(program):
    sample = subprocess.Popen([program, "--port", "0", "--seconds", "90"],
                              stdout=subprocess.PIPE, text=True)
    line = sample.stdout.readline().split()
    if len(line) != 2 or line[0] != "port":
        sample.kill()
        fail("the sample server did not start")
    return sample, int(line[1])


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run",
                 "--user-data-dir=" + profile):
        options.add_argument(flag)
    options.set_capability("goog:loggingPrefs", {"browser": "SEVERE"})
    options.add_experimental_option(
        "mobileEmulation", {"deviceMetrics": {"width": 412, "height": 915, "pixelRatio": 2.0}})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


# The page redraws its rows with every update, so rows are read in one script call rather than
# through element references that the next update makes stale.
ROWS = """return Array.from(document.querySelectorAll(arguments[0])).map(
    function (r) { return Array.from(r.cells).map(function (c) { return c.textContent; }); });"""


def rows(driver, selector="#live tr.d"):
    return driver.execute_script(ROWS, selector)


def laps_of(driver, name):
    for cells in rows(driver):
        if len(cells) > 2 and cells[1] == name:
            return int(cells[2] or "0")
    return None


def tap(driver, selector):
    # Retried: an update may replace the element between finding and clicking it.
    for _ in range(20):
        try:
            driver.find_elements(By.CSS_SELECTOR, selector)[0].click()
            return
        except (IndexError, StaleElementReferenceException):
            time.sleep(0.05)
    fail("could not tap " + selector)


def screenshot(driver, path):
    # The whole page, not only the first screen.
    height = driver.execute_script("return document.documentElement.scrollHeight")
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": 412, "height": min(int(height), 4000), "deviceScaleFactor": 2, "mobile": True})
    driver.save_screenshot(path)
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
        "width": 412, "height": 915, "deviceScaleFactor": 2, "mobile": True})


def main():
    program, artifacts, edition = sys.argv[1], sys.argv[2], sys.argv[3]
    os.makedirs(artifacts, exist_ok=True)
    sample, port = start_sample(program)
    profile = tempfile.mkdtemp(prefix="zarvo-chromium-")
    driver = None
    try:
        driver = browser(profile)
        driver.set_page_load_timeout(30)
        driver.get("http://127.0.0.1:%d/" % port)
        wait = WebDriverWait(driver, 15)
        wait.until(lambda d: len(rows(d)) == 8 and rows(d)[0][1] != "")
        names = [cells[1] for cells in rows(driver)]
        if MARKUP_NAME not in names:
            fail("the driver named like markup is not shown as text: %r" % names)
        if "L\u00e9a Martin" not in names or "J\u00fcrgen Wei\u00df" not in names:
            fail("accented names are not shown as written: %r" % names)
        if driver.execute_script("return document.querySelectorAll('main script').length") != 0:
            fail("a name became a script element")
        expected_lang = {"en": "en", "fr": "fr"}[edition]
        if driver.execute_script("return document.documentElement.lang") != expected_lang:
            fail("the page is not in the edition's language")

        # The run goes on: a lap count rises within 2 s of the passage (passages every 400 ms).
        before = laps_of(driver, "Ben")
        deadline = time.time() + 6
        while time.time() < deadline and laps_of(driver, "Ben") == before:
            time.sleep(0.1)
        after = laps_of(driver, "Ben")
        if after is None or before is None or after <= before:
            fail("the lap count did not rise (%r, %r)" % (before, after))
        screenshot(driver, os.path.join(artifacts, "live-page-%s-run.png" % edition))

        # A tap on a driver opens his laps.
        tap(driver, "#live tr.d")
        count = "return document.querySelectorAll(arguments[0]).length"
        wait.until(lambda d: d.execute_script(count, "#live tr.laps .lapgrid span") > 0)
        laps = driver.execute_script(count, "#live tr.laps .lapgrid span")
        # The other runs, one opened.
        other = driver.execute_script(count, "#others summary")
        if other != 2:
            fail("expected the two other runs, got %d" % other)
        tap(driver, "#others details:nth-of-type(2) summary")
        wait.until(lambda d: len(rows(d, "#others details[open] tr.d")) == 8)
        screenshot(driver, os.path.join(artifacts, "live-page-%s-laps.png" % edition))
        logs = [e for e in driver.get_log("browser") if e.get("level") == "SEVERE"]
        if logs:
            fail("the page logged errors: %r" % logs)
        print("live page: 8 rows, laps %d -> %d, %d laps listed, screenshots in %s"
              % (before, after, laps, artifacts))
    finally:
        if driver is not None:
            driver.quit()
        sample.terminate()
        try:
            sample.wait(timeout=10)
        except subprocess.TimeoutExpired:
            sample.kill()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()

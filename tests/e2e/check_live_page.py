#!/usr/bin/env python3
"""The live results page of the real program under Wine, in Debian's headless Chromium on a
412 x 915 phone screen, opened from Linux while a run is timed with the decoder simulator.

    check_live_page.py <port> <simulator log> <instants file> <artifacts folder> <watch seconds>

For <watch seconds> the page's rows are read every 50 ms: each time a driver's lap count rises,
the passage that made that lap (the simulator's instant of writing it, CLOCK_MONOTONIC_RAW in
100 ns units, the clock this script reads too) must be at most 2 s old. Then the lap times the
page lists for each driver (from /results.json) must be exactly the differences of the
simulator's decoder stamps of his passages. A phone-sized screenshot is kept.
"""
import json
import os
import re
import shutil
import sys
import tempfile
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

TRANSPONDERS = {"001001": "ANNA", "001002": "BRUNO", "001003": "CHLOE"}
MAX_LATENCY_S = 2.0

ROWS = """return Array.from(document.querySelectorAll('#live tr.d')).map(
    function (r) { return Array.from(r.cells).map(function (c) { return c.textContent; }); });"""


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def now_ticks():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW) // 100


def instants_of(path):
    """Each driver's passage instants, in order."""
    out = {name: [] for name in TRANSPONDERS.values()}
    with open(path) as f:
        for line in f:
            instant, transponder = line.split()
            name = TRANSPONDERS.get("%06d" % int(transponder))
            if name:
                out[name].append(int(instant))
    return out


def stamps_of(path):
    """Each driver's passage stamps of the decoder's clock (ms), in order."""
    out = {name: [] for name in TRANSPONDERS.values()}
    pattern = re.compile(r"sent passage (\d{6}) at (\d+):(\d\d):(\d\d)\.(\d\d\d)")
    with open(path) as f:
        for line in f:
            m = pattern.search(line)
            if m and m.group(1) in TRANSPONDERS:
                h, mi, s, ms = (int(v) for v in m.groups()[1:])
                out[TRANSPONDERS[m.group(1)]].append(((h * 60 + mi) * 60 + s) * 1000 + ms)
    return out


def ms_of(text):
    """A lap time text of the table ("3.612", "1:03.612") in ms."""
    minutes, _, seconds = text.rpartition(":")
    whole, _, thousandths = seconds.partition(".")
    return (int(minutes or 0) * 60 + int(whole)) * 1000 + int(thousandths.ljust(3, "0")[:3])


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--no-first-run",
                 "--user-data-dir=" + profile):
        options.add_argument(flag)
    options.add_experimental_option(
        "mobileEmulation", {"deviceMetrics": {"width": 412, "height": 915, "pixelRatio": 2.0}})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def laps_shown(driver):
    laps = {}
    for cells in driver.execute_script(ROWS):
        if len(cells) > 2 and cells[1] in TRANSPONDERS.values():
            laps[cells[1]] = int(cells[2] or "0")
    return laps


def main():
    port, simulator_log, instants_file, artifacts = sys.argv[1:5]
    watch = float(sys.argv[5])
    os.makedirs(artifacts, exist_ok=True)
    url = "http://127.0.0.1:%s/" % port
    profile = tempfile.mkdtemp(prefix="zarvo-chromium-")
    driver = None
    try:
        driver = browser(profile)
        driver.set_page_load_timeout(30)
        driver.get(url)
        WebDriverWait(driver, 15).until(lambda d: len(laps_shown(d)) == 3)
        latencies = []
        last = laps_shown(driver)
        end = time.time() + watch
        while time.time() < end:
            time.sleep(0.05)
            shown = laps_shown(driver)
            seen = now_ticks()
            rose = [n for n in shown if shown[n] > last.get(n, 0)]
            if rose:
                instants = instants_of(instants_file)
                for name in rose:
                    lap = shown[name]
                    # Passage 0 is the driver's own start; passage k ends his lap k.
                    if lap >= len(instants[name]):
                        fail("%s shows lap %d before the simulator sent it" % (name, lap))
                    latencies.append((seen - instants[name][lap]) / 1e7)
            last = shown
        if len(latencies) < 5:
            fail("only %d lap counts rose in %.0f s" % (len(latencies), watch))
        latencies.sort()
        worst = latencies[-1]
        median = latencies[len(latencies) // 2]
        print("passage to page: %d laps seen, median %.0f ms, worst %.0f ms"
              % (len(latencies), median * 1000, worst * 1000))
        if worst > MAX_LATENCY_S:
            fail("a lap reached the page %.2f s after its passage" % worst)
        driver.save_screenshot(os.path.join(artifacts, "live-results-en-phone.png"))

        # The laps timed are the simulator's: each lap is the difference of two decoder stamps.
        with urllib.request.urlopen(url + "results.json", timeout=10) as reply:
            snapshot = json.loads(reply.read().decode("utf-8"))
        stamps = stamps_of(simulator_log)
        checked = 0
        for row in snapshot["rows"]:
            name = row["name"]
            if name not in stamps:
                continue
            laps = [ms_of(t) for t in row["lapTimes"]]
            truth = [b - a for a, b in zip(stamps[name], stamps[name][1:])]
            if laps != truth[:len(laps)] or not laps:
                fail("%s: the page's laps %r are not the simulator's %r" % (name, laps, truth))
            checked += len(laps)
        print("laps exact: %d laps of %d drivers as the simulator stamped them"
              % (checked, len(snapshot["rows"])))
    finally:
        if driver is not None:
            driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    main()

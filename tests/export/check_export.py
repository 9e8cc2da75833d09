#!/usr/bin/env python3
"""Reads back the exports written by the export sample program.

    check_export.py <zarvo-export-sample-<edition>> <folder>

The program writes its exports and expected.json (the runs' data as the results table and the run
window show them) into the folder. Every CSV file is read by Python's csv module with the
edition's separator and compared field by field with expected.json; every HTML report is parsed
as XML (it is written XML-compatible) and by html.parser, and its tables are compared with the
same data.
"""
import csv
import html.parser
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
from decimal import Decimal

XHTML = "{http://www.w3.org/1999/xhtml}"
SVG = "{http://www.w3.org/2000/svg}"
BOM = b"\xef\xbb\xbf"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def seconds(ms):
    return Decimal(ms) / 1000


def read_csv(path, expected):
    raw = open(path, "rb").read()
    check(raw.startswith(BOM), f"{path}: no UTF-8 byte-order mark")
    body = raw[len(BOM):]
    check(b"\r\n" in body and b"\n" not in body.replace(b"\r\n", b""),
          f"{path}: lines do not all end with CR LF")
    with open(path, newline="", encoding="utf-8-sig") as f:
        return list(csv.reader(f, delimiter=expected["separator"], strict=True))


def number(field, mark, where):
    """A number of seconds with three decimals after the edition's decimal mark."""
    whole, _, fraction = field.lstrip("-").partition(mark)
    if not check(whole.isdigit() and fraction.isdigit() and len(fraction) == 3,
                 f"{where}: {field!r} is not seconds with three decimals after {mark!r}"):
        return None
    return Decimal(field.replace(mark, "."))


def check_time(fields, at, ms, text, mark, where, present=True):
    if not present:
        check(fields[at] == "" and fields[at + 1] == "", f"{where}: times of a driver without laps: {fields[at:at + 2]}")
        return
    value = number(fields[at], mark, where)
    check(value == seconds(ms), f"{where}: {fields[at]!r} is not {ms} ms")
    check(fields[at + 1] == text, f"{where}: time text {fields[at + 1]!r}, expected {text!r}")


def check_classification(export, expected):
    rows = read_csv(export["classification"], expected)
    mark = expected["decimal_mark"]
    check(rows[0] == expected["classification_headings"], f"classification headings {rows[0]}")
    want = [(run, d) for run in export["runs"] for d in run["drivers"]]
    if not check(len(rows) - 1 == len(want), f"{export['name']}: {len(rows) - 1} classification lines, expected {len(want)}"):
        return
    for fields, (run, d) in zip(rows[1:], want):
        where = f"{export['name']} classification run {run['run']} {d['name']}"
        if not check(len(fields) == 15, f"{where}: {len(fields)} fields"):
            continue
        check(fields[0] == str(run["run"]), f"{where}: run {fields[0]!r}")
        check(fields[1] == str(d["position"]), f"{where}: position {fields[1]!r}")
        check(fields[2] == d["name"], f"{where}: name {fields[2]!r}")
        check(fields[3] == str(d["laps"]), f"{where}: laps {fields[3]!r}")
        for i, key in enumerate(["total", "best", "average", "worst", "last"]):
            check_time(fields, 4 + 2 * i, d[key], d[key + "_text"], mark, f"{where} {key}",
                       present=d["laps"] > 0)
        check(fields[14] == run["circuit"], f"{where}: circuit {fields[14]!r}")


def check_laps(export, expected):
    rows = read_csv(export["laps"], expected)
    mark = expected["decimal_mark"]
    check(rows[0] == expected["laps_headings"], f"laps headings {rows[0]}")
    want = [(run, d, lap) for run in export["runs"] for d in run["drivers"] for lap in d["lap_list"]]
    if not check(len(rows) - 1 == len(want), f"{export['name']}: {len(rows) - 1} lap lines, expected {len(want)}"):
        return
    for fields, (run, d, lap) in zip(rows[1:], want):
        where = f"{export['name']} laps run {run['run']} {d['name']} lap {lap['lap']}"
        if not check(len(fields) == 7, f"{where}: {len(fields)} fields"):
            continue
        check(fields[0] == str(run["run"]), f"{where}: run {fields[0]!r}")
        check(fields[1] == d["name"], f"{where}: name {fields[1]!r}")
        check(fields[2] == str(lap["lap"]), f"{where}: lap number {fields[2]!r}")
        check_time(fields, 3, lap["ms"], lap["text"], mark, f"{where} lap time")
        check_time(fields, 5, lap["race_ms"], lap["race_text"], mark, f"{where} race time")
    # The times in seconds add up: each passage is the one before plus the lap.
    for run in export["runs"]:
        for d in run["drivers"]:
            total = sum(lap["ms"] for lap in d["lap_list"])
            check(d["laps"] == 0 or total == d["total"], f"{d['name']}: laps add up to {total}, total {d['total']}")


def text(element):
    return "".join(element.itertext())


class TagCounter(html.parser.HTMLParser):
    """What an HTML (not XML) parser sees: every start tag, and the text of table cells."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tags = {}
        self.cells = []
        self._cell = None

    def handle_starttag(self, tag, attrs):
        self.tags[tag] = self.tags.get(tag, 0) + 1
        if tag == "td":
            self._cell = []

    def handle_endtag(self, tag):
        if tag == "td" and self._cell is not None:
            self.cells.append("".join(self._cell))
            self._cell = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell.append(data)


def check_report(export, expected):
    path = export["report"]
    raw = open(path, "rb").read()
    page = raw.decode("utf-8")  # strict: the whole page is UTF-8
    where = f"{export['name']} report"
    try:
        root = ET.fromstring(raw)
    except ET.ParseError as e:
        check(False, f"{where}: not well-formed: {e}")
        return
    check(root.tag == XHTML + "html" and root.get("lang") == expected["edition"], f"{where}: root {root.tag} {root.attrib}")
    for element in root.iter():
        name = element.tag.split("}")[-1]
        check(name != "script", f"{where}: a script element")
        for attribute, value in element.attrib.items():
            check(not attribute.split("}")[-1].lower().startswith("on"), f"{where}: event attribute {attribute}")
            if attribute in ("src", "href"):
                check(value.startswith("data:"), f"{where}: {attribute} {value[:40]} leaves the page")
    title = root.find(f"{XHTML}head/{XHTML}title")
    check(title is not None and title.text == export["title"], f"{where}: title {title.text if title is not None else None!r}")

    runs = root.findall(f".//{XHTML}section[@class='run']")
    if not check(len(runs) == len(export["runs"]), f"{where}: {len(runs)} runs, expected {len(export['runs'])}"):
        return
    cells_expected = []
    for section, run in zip(runs, export["runs"]):
        table = section.find(f"{XHTML}table[@class='classification']")
        rows = table.findall(f"{XHTML}tbody/{XHTML}tr")
        drivers = run["drivers"]
        if not check(len(rows) == len(drivers), f"{where} run {run['run']}: {len(rows)} rows"):
            continue
        for row, d in zip(rows, drivers):
            cells = [text(td) for td in row.findall(f"{XHTML}td")]
            times = [d[k + "_text"] if d["laps"] > 0 else "\u2013" for k in ["total", "best", "average", "worst", "last"]]
            want = [str(d["position"]), d["name"], str(d["laps"])] + times
            check(cells == want, f"{where} run {run['run']}: row {cells}, expected {want}")
            cells_expected += want
        parts = section.findall(f"{XHTML}section[@class='driver']")
        check(len(parts) == len(drivers), f"{where} run {run['run']}: {len(parts)} driver parts")
        for part, d in zip(parts, drivers):
            charts = part.findall(f".//{SVG}svg")
            check(len(charts) == (d["laps"] + 100) // 101, f"{where} {d['name']}: {len(charts)} charts for {d['laps']} laps")
            for chart in charts:
                check(chart.find(f"{SVG}title") is not None, f"{where} {d['name']}: a chart without title")
                curve = [p for p in chart.iter(f"{SVG}path") if p.get("stroke") == "#00b464"]
                check(d["laps"] < 2 or len(curve) == 1, f"{where} {d['name']}: {len(curve)} curves in a chart")
            lap_rows = [tr for table in part.findall(f".//{XHTML}table[@class='laps']")
                        for tr in table.findall(f"{XHTML}tbody/{XHTML}tr")]
            got = [[text(td) for td in tr.findall(f"{XHTML}td")] for tr in lap_rows]
            want = [[str(lap["lap"]), lap["text"], lap["race_text"]] for lap in d["lap_list"]]
            check(got == want, f"{where} {d['name']}: lap list differs ({len(got)} rows, expected {len(want)})")
            for lap in d["lap_list"]:
                cells_expected += [str(lap["lap"]), lap["text"], lap["race_text"]]

    # An HTML parser reads the same cells as the XML parser.
    counter = TagCounter()
    counter.feed(page)
    counter.close()
    check(counter.tags.get("script", 0) == 0, f"{where}: html.parser found a script")
    check(counter.cells == cells_expected, f"{where}: html.parser reads other cells ({len(counter.cells)} against {len(cells_expected)})")


def main():
    sample, folder = sys.argv[1], sys.argv[2]
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.dirname(folder) or ".", exist_ok=True)
    subprocess.run([sample, folder], check=True)
    with open(os.path.join(folder, "expected.json"), encoding="utf-8") as f:
        expected = json.load(f)
    check(len(expected["exports"]) == 3, "the sample writes three exports")
    for export in expected["exports"]:
        check_classification(export, expected)
        check_laps(export, expected)
        check_report(export, expected)
    for message in failures[:40]:
        print("FAIL:", message)
    if failures:
        print(f"{len(failures)} failures")
        return 1
    drivers = sum(len(run["drivers"]) for e in expected["exports"] for run in e["runs"])
    laps = sum(len(d["lap_list"]) for e in expected["exports"] for run in e["runs"] for d in run["drivers"])
    print(f"read back {len(expected['exports'])} exports: {drivers} classification lines, {laps} laps, "
          f"edition {expected['edition']} ({expected['separator']!r}, {expected['decimal_mark']!r})")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Reads back the files of an export the program wrote under Wine and compares them with the runs'
data that the export sample program wrote for the same runs (its expected.json), with the same
readers as export.<edition>.read_back: Python's csv module for the CSV files, the XML and HTML
parsers for the report.

    check_export_files.py <expected.json> <export name> <classification.csv> <laps.csv> <report.html>
"""
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "export"))
import check_export  # noqa: E402


def main():
    expected_path, name, classification, laps, report = sys.argv[1:6]
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)
    chosen = [e for e in expected["exports"] if e["name"] == name]
    if len(chosen) != 1:
        print(f"FAIL: no export {name!r} in {expected_path}")
        return 1
    export = dict(chosen[0], classification=classification, laps=laps, report=report)
    check_export.check_classification(export, expected)
    check_export.check_laps(export, expected)
    check_export.check_report(export, expected)
    for message in check_export.failures[:40]:
        print("FAIL:", message)
    if check_export.failures:
        print(f"{len(check_export.failures)} failures")
        return 1
    drivers = sum(len(run["drivers"]) for run in export["runs"])
    lap_count = sum(len(d["lap_list"]) for run in export["runs"] for d in run["drivers"])
    print(f"{name}: {len(export['runs'])} runs, {drivers} classification lines, {lap_count} laps read back")
    return 0


if __name__ == "__main__":
    sys.exit(main())

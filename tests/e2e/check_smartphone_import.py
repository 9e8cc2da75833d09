#!/usr/bin/env python3
"""Checks, from outside the program, what the smartphone import scenario left in the program folder.

    check_smartphone_import.py <program folder> <saved .trng>

The saved session holds the phone's header, the participants list under the chosen names with
the phone's transponders and frequencies, and run 1 with the phone's laps, passage times and run
title and empty setup sheets (tests/fuzz/corpus/smartphone_file/three-lanes.trng2 is the phone
file). The runs databases of the three chosen drivers hold that run once; ANNE's (archiving off)
is unchanged. Files are Windows-1252 with CR LF line ends.
"""
import os
import sys

TITLE = "Start 2026/12/06 10:15:00 - Duration 0:05:00"
# Chosen driver, phone transponder and frequency, laps with last, best, worst, average, passages.
LANES = [
    ("ZOE", "004711", "2.4Ghz", [3, 30750, 30200, 31050, 30666], [0, 30200, 61250, 92000]),
    ("BOB", "004712", "27.145", [2, 31500, 31000, 31500, 31250], [0, 31000, 62500]),
    ("H\u00e9l\u00e8ne", "004713", "27.145", [4, 30500, 29900, 30500, 30250], [0, 29900, 60000, 90500, 121000]),
]
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def lines_of(path):
    with open(path, "rb") as f:
        data = f.read().decode("cp1252")
    check(data.endswith("\r\n"), f"{path}: does not end with CR LF")
    return data.split("\r\n")


def fields(line):
    parts = line.split("\t")
    return parts[:-1] if parts and parts[-1] == "" else parts


def section(lines, title):
    for i, line in enumerate(lines):
        if fields(line)[:1] == [title]:
            return i + 1
    return None


def check_saved(lines):
    header = fields(lines[0])
    check(len(lines[0]) == 50, f"header of {len(lines[0])} characters")
    check(header[1:5] == ["PHONE RUN", "3", "1", "1"], f"header {header[:5]}")
    start = section(lines, "SessionListeParticipants")
    if check(start is not None, "no participants list"):
        for k, (name, transponder, frequency, _, _) in enumerate(LANES):
            entry = lines[start + k].split("\t")
            check(entry[:3] == [name, transponder, frequency], f"participant {k + 1}: {entry[:3]}")
        check(lines[start + 3] == "(NA)" + "\t" * 7, f"participant 4: {lines[start + 3]!r}")
    start = section(lines, "SessionRun1")
    if not check(start is not None, "no section SessionRun1"):
        return
    for k, (name, _, _, stats, passages) in enumerate(LANES):
        slot = lines[start + k].split("\t")
        laps = stats[0]
        check(slot[0] == name, f"slot {k + 1} holds {slot[0]!r}, not {name}")
        check([int(v) for v in slot[1:6]] == stats, f"{name}: lap count and statistics {slot[1:6]}")
        check([int(v) for v in slot[6:7 + laps]] == passages, f"{name}: passage times {slot[6:7 + laps]}")
        check(slot[7 + laps:] == [""] * 50, f"{name}: the setup sheet is not 49 empty texts")
    for k in range(3, 20):
        check(fields(lines[start + k])[:1] == ["(NA)"], f"slot {k + 1}: {lines[start + k][:30]!r}")
    check(fields(lines[start + 20])[:1] == [TITLE], f"run title {lines[start + 20][:60]!r}")


def check_archives(folder):
    runs_folder = os.path.join(folder, "Base donn\u00e9es runs")
    check(lines_of(os.path.join(runs_folder, "ANNE.bdr")) == ["0\t0\t", ""],
          "ANNE's runs database changed with archiving off")
    for name, _, _, stats, passages in LANES:
        path = os.path.join(runs_folder, name + ".bdr")
        if not check(os.path.exists(path), f"{name} has no runs database"):
            continue
        lines = lines_of(path)
        used = [fields(line) for line in lines[1:] if line and not line.startswith("Run vide\t")]
        if not check(len(used) == 1, f"{name}'s runs database holds {len(used)} runs, not 1"):
            continue
        slot = used[0]
        laps = stats[0]
        check(slot[0] == TITLE, f"{name}: archived title {slot[0]!r}")
        check(slot[1] == name and int(slot[2]) == laps, f"{name}: archived {slot[1:3]}")
        check([int(v) for v in slot[3:4 + laps]] == passages, f"{name}: archived passage times")
        check(slot[4 + laps + 49] == " PHONE RUN - Run1 ", f"{name}: caption {slot[4 + laps + 49]!r}")


def main(argv):
    folder, saved = argv
    check_saved(lines_of(saved))
    check_archives(folder)
    for failure in FAILURES:
        print("check_smartphone_import:", failure)
    if not FAILURES:
        print("check_smartphone_import: saved run 1 and three runs databases hold the phone run")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

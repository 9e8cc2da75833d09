#!/usr/bin/env python3
"""Checks, from outside the program, what the end-to-end journey left in the program folder.

    check_journey.py [--archive-only] <program folder> <saved .trng> <en|fr> <session name>

The saved session: its header, participants list, track, run parameters and the section of
run 1 (four drivers in slots 1 to 4, each finished with his first passage after his own minute).
Hélène's runs database (archiving on) holds that run once, with the run's title, caption and
track; the other drivers' runs databases (archiving off) are unchanged. The circuits database
holds the run's best lap as the new record of the circuit. With --archive-only, only the runs
databases are checked. Files are Windows-1252 with CR LF line ends.
"""
import os
import sys

DRIVERS = ["ANNA", "H\u00e9l\u00e8ne", "DAVID", "BRUNO"]  # list order
TRANSPONDERS = {"ANNA": "001001", "BRUNO": "001002", "H\u00e9l\u00e8ne": "001003", "DAVID": "001004"}
ARCHIVING = "H\u00e9l\u00e8ne"
CIRCUIT = "Piste des Ours"
RUN_MS = 60000
LAP_MIN_MS, LAP_MAX_MS = 3600, 4400
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
    """The fields of a tab-separated line; every field is followed by a tab."""
    parts = line.split("\t")
    return parts[:-1] if parts and parts[-1] == "" else parts


def section(lines, title):
    for i, line in enumerate(lines):
        if fields(line)[:1] == [title]:
            return i + 1
    return None


def run_section(lines, edition):
    start = section(lines, "SessionRun1")
    if not check(start is not None, "the saved file has no section SessionRun1"):
        return None, None
    slots = [fields(lines[start + k]) for k in range(20)]
    title = fields(lines[start + 20])[0]
    runs = {}
    for k, slot in enumerate(slots):
        name = slot[0]
        if k >= len(DRIVERS):
            check(name == "(NA)", f"slot {k + 1} holds {name!r}, not (NA)")
            continue
        check(name == DRIVERS[k], f"slot {k + 1} holds {name!r}, not {DRIVERS[k]}")
        laps, last, best, worst, average = (int(v) for v in slot[1:6])
        times = [int(v) for v in slot[6:7 + laps]]
        runs[name] = {"laps": laps, "best": best, "times": times}
        check(10 <= laps <= 20, f"{name}: {laps} laps in a minute of 3.6-4.4 s laps")
        check(times[0] == 0, f"{name}: his own start is not at 0")
        check(times[-2] < RUN_MS <= times[-1],
              f"{name}: not finished by the first passage after his minute: {times[-2:]}")
        check(LAP_MIN_MS - 50 <= best <= worst <= LAP_MAX_MS + 50,
              f"{name}: best {best} and worst {worst} outside the cars' lap times")
        check(all(b - a > 3000 for a, b in zip(times, times[1:])),
              f"{name}: a lap shorter than the circuit's minimum lap time of 3 s")
        check(average == times[-1] // laps, f"{name}: average {average}")
        check(last == times[-1] - times[-2], f"{name}: last lap {last}")
    start_word, duration_word = ("Start", "Duration") if edition == "en" else ("D\u00e9part", "Dur\u00e9e")
    check(title.startswith(start_word + " 20") and title.endswith(f" - {duration_word} 0:01:00"),
          f"run title {title!r}")
    return runs, title


def check_saved(lines, edition, session_name):
    header = fields(lines[0])
    check(len(lines[0]) == 50, f"header of {len(lines[0])} characters")
    check(header[1] == session_name, f"session name {header[1]!r}")
    check(header[2:5] == ["4", "1", "1"],
          f"participant count, runs recorded, run count: {header[2:5]}")
    start = section(lines, "SessionListeParticipants")
    if check(start is not None, "no participants list"):
        for k, name in enumerate(DRIVERS):
            entry = fields(lines[start + k])
            check(entry[:2] == [name, TRANSPONDERS[name]], f"participant {k + 1}: {entry[:2]}")
    start = section(lines, "SessionPiste")
    if check(start is not None, "no track"):
        check(fields(lines[start])[:3] == ["Samedi", CIRCUIT, "3"], f"track {lines[start][:60]!r}")
    start = section(lines, "SessionCourseParam\u00e8tres")
    if check(start is not None, "no run parameters"):
        check(fields(lines[start])[:8] == ["CLASSEMENTToursTemps", "DUREESERIETemps", "1", "1", "3",
                                           "DEPARTDecale", "FINTEMPSFinirTour",
                                           "FINTOURFaireTousLesTours"],
              f"run parameters {lines[start][:100]!r}")


def check_archive(folder, runs, title, session_name):
    runs_folder = os.path.join(folder, "Base donn\u00e9es runs")
    for name in DRIVERS:
        lines = lines_of(os.path.join(runs_folder, name + ".bdr"))
        if name != ARCHIVING:
            check(lines == ["0\t0\t", ""], f"{name}'s runs database changed with archiving off")
            continue
        check(lines[0] == "1\t0\t", f"{name}'s runs database header {lines[0]!r}")
        used = [fields(line) for line in lines[1:] if line and not line.startswith("Run vide\t")]
        if not check(len(used) == 1, f"{name}'s runs database holds {len(used)} runs, not 1"):
            continue
        slot = used[0]
        check(len(lines[1]) == 10210, f"{name}'s slot is {len(lines[1])} characters long")
        check(slot[0] == title[:104], f"archived title {slot[0]!r}")
        check(slot[1] == name, f"archived driver {slot[1]!r}")
        laps = int(slot[2])
        if runs is not None:
            check(laps == runs[name]["laps"], f"archived {laps} laps")
            check([int(v) for v in slot[3:4 + laps]] == runs[name]["times"], "archived passage times")
        caption, track = slot[4 + laps + 49], slot[4 + laps + 50]
        check(caption == f" {session_name} - Run1 ", f"archived caption {caption!r}")
        check(track == CIRCUIT, f"archived track {track!r}")


def check_circuit(folder, runs):
    lines = lines_of(os.path.join(folder, "BaseDonn\u00e9esCircuits.bd"))
    circuit = [fields(line) for line in lines if fields(line)[:1] == [CIRCUIT]]
    if not check(len(circuit) == 1, "the circuit is not in the circuits database once"):
        return
    record = circuit[0]
    best = min(r["best"] for r in runs.values())
    holders = [name for name, r in runs.items() if r["best"] == best]
    check(record[3] == str(best), f"record {record[3]}, the run's best lap is {best}")
    check(record[2] == f"{best // 1000}.{best % 1000:03d}", f"record text {record[2]!r}")
    check(record[4] in holders, f"record holder {record[4]!r}, not one of {holders}")
    check(record[1] == "120" and record[5] == "3" and record[6] == "Grenoble",
          f"the circuit's other fields changed: {record}")


def main(argv):
    archive_only = argv[:1] == ["--archive-only"]
    if archive_only:
        argv = argv[1:]
    folder, saved, edition, session_name = argv
    lines = lines_of(saved)
    runs, title = run_section(lines, edition)
    if not archive_only:
        check_saved(lines, edition, session_name)
        if runs is not None:
            check_circuit(folder, runs)
    if title is not None:
        check_archive(folder, runs, title, session_name)
    for failure in FAILURES:
        print("check_journey:", failure)
    if not FAILURES and runs is not None:
        summary = ", ".join(f"{n} {r['laps']} laps best {r['best']}" for n, r in runs.items())
        print(f"check_journey: saved run 1: {summary}")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

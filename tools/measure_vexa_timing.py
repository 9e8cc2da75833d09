#!/usr/bin/env python3
"""The lap-time errors of a run timed by the program against the decoder simulator's instants.

Usage: measure_vexa_timing.py <runs folder> <instants> <phases> <stalls> <driver>...
  runs folder  the program's "Base données runs": each driver's .bdr holds the archived run
  instants     the simulator's "<instant> <transponder>" lines (100 ns units)
  phases       "<name> <instant>" lines: the start of each phase, then "end"
  stalls       the robot's "stall <from> <to>" lines (the same clock)
Driver k (from 0) carries transponder 101 + k. Prints a table in Markdown.
"""
import os
import sys


def archived_times(path):
    """The passage times (ms from the driver's own start) of the one run archived in a .bdr."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    for line in lines[1:]:
        fields = line.split("\t")
        if len(fields) > 3 and not line.startswith("Run vide\t"):
            laps = int(fields[2])
            return [int(v) for v in fields[3:4 + laps]]
    return []


def align(times, instants):
    """The laps of the program matched with the simulator's: the offset of the program's first
    passage among the simulator's that fits best (the lap times are irregular enough that only
    the right one fits). Returns [(program lap ms, true lap ms, end instant)]."""
    best = None
    n = len(times)
    for i0 in range(0, len(instants) - n + 1):
        worst = 0.0
        for j in range(1, n):
            true_ms = (instants[i0 + j] - instants[i0]) / 10000.0
            worst = max(worst, abs(times[j] - true_ms))
            if best is not None and worst >= best[0]:
                break
        if best is None or worst < best[0]:
            best = (worst, i0)
    if best is None:
        return []
    i0 = best[1]
    return [(times[j] - times[j - 1], (instants[i0 + j] - instants[i0 + j - 1]) / 10000.0,
             instants[i0 + j - 1], instants[i0 + j]) for j in range(1, n)]


def row(name, errors):
    if not errors:
        return f"| {name} | 0 | - | - |"
    worst = max(abs(e) for e in errors)
    mean = sum(abs(e) for e in errors) / len(errors)
    return f"| {name} | {len(errors)} | {worst:.1f} | {mean:.2f} |"


def main(argv):
    folder, instants_path, phases_path, stalls_path = argv[1:5]
    drivers = argv[5:]
    sent = {}
    with open(instants_path) as f:
        for line in f:
            instant, transponder = line.split()
            sent.setdefault(int(transponder), []).append(int(instant))
    phases = []
    with open(phases_path) as f:
        for line in f:
            name, instant = line.split()
            phases.append((name, int(instant)))
    stalls = []
    with open(stalls_path) as f:
        for line in f:
            words = line.split()
            if words and words[0] == "stall":
                stalls.append((int(words[1]), int(words[2])))

    laps = []  # (error ms, start instant, end instant)
    unmatched = []
    for k, name in enumerate(drivers):
        times = archived_times(os.path.join(folder, name + ".bdr"))
        matched = align(times, sent.get(101 + k, []))
        if len(times) < 2 or not matched:
            unmatched.append(name)
            continue
        for program_ms, true_ms, begin, end in matched:
            laps.append((program_ms - true_ms, begin, end))

    def phase_of(instant):
        for (name, start), (_, stop) in zip(phases, phases[1:]):
            if start <= instant < stop:
                return name
        return None

    def stalled(begin, end):
        return any(a <= begin <= b or a <= end <= b for a, b in stalls)

    print("| Phase | Laps | Max error (ms) | Mean error (ms) |")
    print("|---|---|---|---|")
    measured = []
    for name, _ in phases[:-1]:
        errors = [e for e, b, t in laps if phase_of(b) == name and phase_of(t) == name]
        measured += errors
        print(row(name, errors))
    print(row("laps with a passage inside a 500 ms stall",
              [e for e, b, t in laps if stalled(b, t)]))
    print(row("all phases", measured))
    print(f"({len(laps)} laps matched, {len(stalls)} stalls; error = program lap - lap between "
          f"the instants the simulator wrote the two passages)")
    if unmatched:
        print("no run found for: " + ", ".join(unmatched))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

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


def match(times, instants, anchor_laps=4):
    """The program's passages matched with the simulator's, in order.

    times: the program's passage times (ms from the driver's own start); instants: the
    simulator's instants of that car (100 ns units). The own start is anchored on the simulator's
    passage that fits the first anchor_laps laps best (the lap times are irregular enough that
    only the right one fits). A later passage is the car's next passage that came after the one
    before was stamped: passages that came meanwhile were read in the same tick and refused as
    laps too short (the program's stamps are never early). Returns the matched instants, one per
    program passage, and the number of the car's passages the program lost between them."""
    n = len(times)
    best = None
    for i0 in range(0, len(instants) - min(n, anchor_laps + 1) + 1):
        worst = 0.0
        for j in range(1, min(n, anchor_laps + 1)):
            worst = max(worst, abs(times[j] - (instants[i0 + j] - instants[i0]) / 10000.0))
        if best is None or worst < best[0]:
            best = (worst, i0)
    if best is None:
        return [], 0
    i0 = best[1]
    origin = instants[i0]
    matched = [origin]
    lost = 0
    k = i0
    for j in range(1, n):
        stamp_before = origin + times[j - 1] * 10000  # the estimated stamp of passage j - 1
        k += 1
        while k < len(instants) and instants[k] <= stamp_before - 20000:  # 2 ms of anchoring
            k += 1
            lost += 1
        if k >= len(instants):
            return matched, lost
        matched.append(instants[k])
    return matched, lost


def row(name, errors, lost):
    if not errors:
        return f"| {name} | 0 | {lost} | - | - |"
    worst = max(abs(e) for e in errors)
    mean = sum(abs(e) for e in errors) / len(errors)
    return f"| {name} | {len(errors)} | {lost} | {worst:.1f} | {mean:.2f} |"


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
    lost_at = []  # instants of the passages the program lost
    unmatched = []
    for k, name in enumerate(drivers):
        times = archived_times(os.path.join(folder, name + ".bdr"))
        instants = sent.get(101 + k, [])
        matched, lost = match(times, instants)
        if len(times) < 2 or len(matched) < 2:
            unmatched.append(name)
            continue
        used = set(matched)
        first, last = instants.index(matched[0]), instants.index(matched[-1])
        lost_at += [t for t in instants[first:last + 1] if t not in used]
        for j in range(1, len(matched)):
            true_ms = (matched[j] - matched[j - 1]) / 10000.0
            laps.append((times[j] - times[j - 1] - true_ms, matched[j - 1], matched[j]))

    def phase_of(instant):
        for (name, start), (_, stop) in zip(phases, phases[1:]):
            if start <= instant < stop:
                return name
        return None

    def stalled(begin, end):
        return any(a <= begin <= b or a <= end <= b for a, b in stalls)

    print("| Phase | Laps timed | Passages lost | Max error (ms) | Mean error (ms) |")
    print("|---|---|---|---|---|")
    measured = []
    for name, _ in phases[:-1]:
        errors = [e for e, b, t in laps if phase_of(b) == name and phase_of(t) == name]
        measured += errors
        print(row(name, errors, sum(1 for t in lost_at if phase_of(t) == name)))
    print(row("laps with a passage inside a 500 ms stall",
              [e for e, b, t in laps if stalled(b, t)],
              sum(1 for t in lost_at if stalled(t, t))))
    print(row("all phases", measured, sum(1 for t in lost_at if phase_of(t) is not None)))
    print(f"({len(laps)} laps matched, {len(stalls)} stalls; error = program lap - lap between "
          f"the instants the simulator wrote its two passages; a lost passage was refused as a lap "
          f"too short or never stamped)")
    if unmatched:
        print("no run found for: " + ", ".join(unmatched))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Checks, from outside the program, the run rebuilt after the program was killed in the middle.

    check_recovery.py session <session file> <simulator log>   every passage the simulator sent
        is in the file's section SessionRun1, for each driver, with nothing else
    check_recovery.py archive <runs database> <simulator log> <transponder>   the driver's runs
        database holds that run once, with the same laps
    check_recovery.py make-session <session file> [<session name>]   writes a session the scenario
        loads (default name "Club du jeudi")

Passage times in a run section are on the driver's own clock (staggered start): his first
crossing is 0, each later one the decoder's time minus that first one. Files are Windows-1252
with CR LF line ends.
"""
import re
import sys

DRIVERS = [("ANNA", "001001"), ("BRUNO", "001002"), ("CLARA", "001003")]
SENT = re.compile(r"sent passage (\d{6}) at (\d+):(\d\d):(\d\d)\.(\d{3})")
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
    return condition


def fields(line):
    parts = line.split("\t")
    return parts[:-1] if parts and parts[-1] == "" else parts


def sent_passages(log_path):
    """Decoder times (ms) of the passages sent, by transponder."""
    sent = {}
    with open(log_path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = SENT.search(line)
            if m:
                h, mi, s, ms = (int(v) for v in m.groups()[1:])
                sent.setdefault(m.group(1), []).append(((h * 60 + mi) * 60 + s) * 1000 + ms)
    return sent


def own_clock(times):
    return [t - times[0] for t in times]


def run_section(path):
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    for i, line in enumerate(lines):
        if fields(line)[:1] == ["SessionRun1"]:
            return [fields(lines[i + 1 + k]) for k in range(20)], fields(lines[i + 21])
    return None, None


def check_session(path, log_path):
    slots, title = run_section(path)
    if not check(slots is not None, f"{path} has no section SessionRun1"):
        return
    sent = sent_passages(log_path)
    total = 0
    for k, (name, transponder) in enumerate(DRIVERS):
        slot = slots[k]
        laps = int(slot[1])
        times = [int(v) for v in slot[6:7 + laps]]
        expected = own_clock(sent.get(transponder, []))
        total += len(expected)
        check(slot[0] == name, f"slot {k + 1} holds {slot[0]!r}")
        check(len(expected) >= 3, f"{name}: only {len(expected)} passages sent")
        check(times == expected,
              f"{name}: the run section has {times}, the simulator sent {expected}")
    check(all(s[0] == "(NA)" for s in slots[len(DRIVERS):]), "a slot after the drivers is used")
    check(title and title[0].split(" ")[0] in ("Start", "D\u00e9part"), f"run title {title!r}")
    print(f"check_recovery: {total} passages sent before the kill, all in the rebuilt run section")


def check_archive(path, log_path, transponder):
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    used = [fields(line) for line in lines[1:] if line and not line.startswith("Run vide\t")]
    if not check(len(used) == 1, f"{path} holds {len(used)} runs, not 1"):
        return
    slot = used[0]
    laps = int(slot[2])
    expected = own_clock(sent_passages(log_path)[transponder])
    check(laps == len(expected) - 1, f"archived {laps} laps, {len(expected) - 1} were driven")
    check([int(v) for v in slot[3:4 + laps]] == expected, "archived passage times")
    print(f"check_recovery: the runs database holds the run with its {laps} laps")


def make_session(path, name="Club du jeudi"):
    """Header, participants list and run parameters (10-minute time run, staggered start, no
    countdown), one run not yet timed; each section over its reserve as the program writes it."""
    def area(pairs, content):
        reserve = "1\t" * pairs + "\r\n"
        return content + reserve[len(content):] if len(content) < len(reserve) else content

    header = f"10000\t{name}\t3\t0\t1\t"
    header += ("1\t" * 25)[len(header):]
    participants = "".join(f"{n}\t{t}\t\t\t\t\t\t\r\n" for n, t in DRIVERS)
    participants += "(NA)\t\t\t\t\t\t\t\r\n" * (20 - len(DRIVERS))
    parameters = ("CLASSEMENTToursTemps\tDUREESERIETemps\t10\t1\t0\tDEPARTDecale\t"
                  "FINTEMPSFinirTour\tFINTOURFaireTousLesTours\t\r\n")
    text = header + "\r\n"
    text += "\r\nSessionListeParticipants\t\r\n" + area(1000, participants)
    text += "\r\nSessionCourseParam\u00e8tres\t\r\n" + area(65, parameters)
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def main(argv):
    if argv[:1] == ["session"]:
        check_session(argv[1], argv[2])
    elif argv[:1] == ["archive"]:
        check_archive(argv[1], argv[2], argv[3])
    elif argv[:1] == ["make-session"]:
        make_session(*argv[1:3])
        return 0
    else:
        print(__doc__)
        return 2
    for failure in FAILURES:
        print("check_recovery:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

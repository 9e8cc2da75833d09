#!/usr/bin/env python3
"""Checks, from outside the program, what the lap callouts said during a run timed from the
decoder simulator, and that the run's laps are those the simulator drove.

    check_callouts.py <callout record> <simulator log> <session file> <drivers>

<drivers>: "ANNA:001001,BRUNO:001002", lane 1, 2, ... in that order. The record is the file the
program writes when ZARVO_CALLOUT_LOG names it: after its first line, one line a callout,
"<ms>\t<lane>\t<lap>\t<voice>\t<snippets>". Each driver's laps are the differences of the decoder
times the simulator sent for him (his first crossing starts his clock: staggered start). The
French built-in voice says a lap "ligne <lane> | <seconds> virgule <hundredths> | meilleurTour":
the time rounded to the nearest hundredth, halves up; hundredths of 10 and more as one number,
under 10 as two digits ("0 7"); over a minute "<m> minute(s)" first ("une" is "1f"); "best lap"
when the lap is quicker than every earlier lap of the driver (never the first). Every lap must
be said, in the order the laps were driven, with nothing else; the run section of the session
file must hold exactly the passage times sent.
"""
import re
import sys

SENT = re.compile(r"sent passage (\d{6}) at (\d+):(\d\d):(\d\d)\.(\d{3})")
FEMININE = {1: "1f", 21: "21f", 31: "31f", 41: "41f", 51: "51f"}


def sent_passages(path):
    sent = {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = SENT.search(line)
            if m:
                h, mi, s, ms = (int(v) for v in m.groups()[1:])
                sent.setdefault(m.group(1), []).append(((h * 60 + mi) * 60 + s) * 1000 + ms)
    return sent


def count(n):
    return FEMININE.get(n, str(n))


def french_snippets(lane, lap_ms, best):
    cs = (lap_ms + 5) // 10
    hours, minutes, seconds, hundredths = cs // 360000, cs // 6000 % 60, cs // 100 % 60, cs % 100
    words = ["ligne", str(lane), "|"]
    if hours:
        words += [count(hours), "heure" if hours == 1 else "heures"]
    if minutes:
        words += [count(minutes), "minute" if minutes == 1 else "minutes"]
    words += [str(seconds), "virgule"]
    words += [str(hundredths)] if hundredths >= 10 else ["0", str(hundredths)]
    if best:
        words += ["|", "meilleurTour"]
    return " ".join(words)


def expected_callouts(sent, drivers):
    """(crossing time, lane, lap number, snippets) of every lap, in the order they were driven."""
    laps = []
    for lane, (_, transponder) in enumerate(drivers, start=1):
        times = sent.get(transponder, [])
        best = None
        for n in range(1, len(times)):
            lap = times[n] - times[n - 1]
            is_best = best is not None and lap < best
            best = lap if best is None or lap < best else best
            laps.append((times[n], lane, n, french_snippets(lane, lap, is_best)))
    return sorted(laps)


def run_section(path, count):
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    for i, line in enumerate(lines):
        if line.split("\t")[:1] == ["SessionRun1"]:
            return [lines[i + 1 + k].split("\t") for k in range(count)]
    return None


def main(argv):
    if len(argv) != 4:
        print(__doc__)
        return 2
    record, log, session, drivers_arg = argv
    drivers = [tuple(d.split(":")) for d in drivers_arg.split(",")]
    failures = []
    sent = sent_passages(log)
    expected = expected_callouts(sent, drivers)
    with open(record, "rb") as f:
        lines = f.read().decode("cp1252").split("\r\n")
    if lines[0] != "# at_ms\tlane\tlap\tvoice\tsaid":
        failures.append(f"first line {lines[0]!r}")
    said = [line.split("\t") for line in lines[1:] if line]
    got = [(int(s[1]), int(s[2]), s[3], s[4]) for s in said]
    want = [(lane, n, "builtin", snippets) for _, lane, n, snippets in expected]
    if len(want) < 6:
        failures.append(f"only {len(want)} laps were driven")
    if got != want:
        failures.append("the callouts differ from the laps driven:\n  said:     " +
                        "\n            ".join(map(str, got)) + "\n  expected: " +
                        "\n            ".join(map(str, want)))
    times = [int(s[0]) for s in said]
    if times != sorted(times):
        failures.append(f"the record's times go back: {times}")
    # Each callout comes after its lap and before the driver's next one.
    slots = run_section(session, len(drivers))
    if slots is None:
        failures.append(f"{session} has no section SessionRun1")
    else:
        for k, (name, transponder) in enumerate(drivers):
            slot = slots[k]
            laps = int(slot[1])
            own = [t - sent[transponder][0] for t in sent.get(transponder, [])]
            if slot[0] != name or [int(v) for v in slot[6:7 + laps]] != own:
                failures.append(f"{name}: the run section has {slot[:7 + laps]}, sent {own}")
    for failure in failures:
        print("check_callouts:", failure)
    if not failures:
        print(f"check_callouts: {len(got)} laps driven, each said in order with its time; "
              "the run's passage times are those sent")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

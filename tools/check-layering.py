#!/usr/bin/env python3
"""One direction of dependency: every `#include "folder/..."` of a source reaches only its own
folder or a folder on a lower floor. Prints each include that reaches sideways or upward as
file:line and exits 1; exits 0 when there is none.

    tools/check-layering.py [--root DIR]

The floors, from the ground up, are written down once here (FLOORS). Rooms on one floor do not
include each other unless the pair is listed in SIDEWAYS. The folders of tests, benchmarks and
tools (FREE) may include anything. A folder holding sources that is in neither table fails the
check, so that a new room is given its floor. third_party/ is taken as it comes and not read.
"""

import argparse
import os
import re
import sys

FLOORS = [
    ["text", "third_party"],
    ["platform", "resources"],
    ["ui", "records"],
    ["race", "speech"],
    ["settings", "databases", "session"],
    ["display", "decoder", "analysis"],
    ["export", "web"],
    ["app"],
]

# (includer, included) pairs of one floor that may see each other. None so far.
SIDEWAYS = set()

FREE = {"tests", "bench", "tools"}
NOT_READ = {"third_party", ".git", "build", "cmake", "data", "docs"}
SOURCE_SUFFIXES = (".cpp", ".h", ".c", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def floor_of():
    floors = {}
    for level, rooms in enumerate(FLOORS):
        for room in rooms:
            floors[room] = level
    return floors


def sources(root):
    for top in sorted(os.listdir(root)):
        folder = os.path.join(root, top)
        if top in NOT_READ or top.startswith(".") or not os.path.isdir(folder):
            continue
        for base, dirs, files in os.walk(folder):
            dirs[:] = sorted(d for d in dirs if not d.startswith("."))
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    path = os.path.join(base, name)
                    yield top, os.path.relpath(path, root).replace(os.sep, "/")


def check(root):
    floors = floor_of()
    problems = []
    unplaced = set()
    for room, relative in sources(root):
        if room in FREE:
            continue
        if room not in floors:
            if room not in unplaced:
                unplaced.add(room)
                problems.append("%s/: a folder with sources has no floor in "
                                "tools/check-layering.py" % room)
            continue
        with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                included = match.group(1)
                target = included.split("/", 1)[0] if "/" in included else room
                if target not in floors or target == room:
                    continue  # a file beside this one, or a library's own header
                if floors[target] < floors[room] or (room, target) in SIDEWAYS:
                    continue
                way = "upward" if floors[target] > floors[room] else "sideways"
                problems.append('%s:%d: #include "%s" reaches %s: %s/ (floor %d) may not '
                                'include %s/ (floor %d)' % (relative, number, included, way,
                                                            room, floors[room], target,
                                                            floors[target]))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=os.path.join(os.path.dirname(__file__), ".."),
                        help="the source tree to check (default: this one)")
    args = parser.parse_args()
    problems = check(os.path.abspath(args.root))
    for problem in problems:
        print(problem)
    if problems:
        print("%d include(s) against the layering" % len(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

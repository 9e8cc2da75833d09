#!/usr/bin/env python3
"""tools/check-layering.py on the fixture tree tests/tools/layering_fixture/ and on copies of it
changed one way each: the one upward include is named with its file and line and nothing else
is; without it the tree passes; a sideways include and a folder without a floor fail too."""

import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "tools", "check-layering.py")
FIXTURE = os.path.join(HERE, "layering_fixture")

failures = []


def run(root):
    done = subprocess.run([sys.executable, SCRIPT, "--root", root], capture_output=True, text=True)
    return done.returncode, done.stdout.splitlines()


def expect(what, condition, detail):
    if not condition:
        failures.append("%s: %s" % (what, detail))


def copy_of_fixture(folder):
    root = os.path.join(folder, "tree")
    shutil.copytree(FIXTURE, root)
    return root


def write(root, relative, text):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


code, lines = run(FIXTURE)
expect("fixture", code == 1, "exit code %d, not 1" % code)
expect("fixture", lines == ['race/race_control.cpp:3: #include "settings/sound_dialog.h" reaches '
                            'upward: race/ (floor 3) may not include settings/ (floor 4)'],
       "output %r" % lines)

with tempfile.TemporaryDirectory() as folder:
    root = copy_of_fixture(folder)
    write(root, "race/race_control.cpp", '#include "race/passage.h"\n#include "passage.h"\n')
    code, lines = run(root)
    expect("without the upward include", code == 0 and lines == [],
           "exit code %d, output %r" % (code, lines))

    write(root, "databases/database_files.h", '#pragma once\n\n  #  include "settings/sound_dialog.h"\n')
    code, lines = run(root)
    expect("sideways", code == 1 and len(lines) == 1 and
           lines[0].startswith('databases/database_files.h:3: #include "settings/sound_dialog.h" '
                               'reaches sideways'), "exit code %d, output %r" % (code, lines))

with tempfile.TemporaryDirectory() as folder:
    root = copy_of_fixture(folder)
    write(root, "race/race_control.cpp", '#include "race/passage.h"\n')
    write(root, "newroom/thing.cpp", '#include "text/catalogue.h"\n')
    code, lines = run(root)
    expect("folder without a floor", code == 1 and len(lines) == 1 and
           lines[0].startswith("newroom/:"), "exit code %d, output %r" % (code, lines))

for failure in failures:
    print("FAILED " + failure)
print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)

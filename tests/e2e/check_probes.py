#!/usr/bin/env python3
"""Checks a screenshot against probes (those zarvo-table-preview writes, or a test's own).

  check_probes.py <screenshot.png> <probes.txt>

Probe lines (screen pixels, colours as rrggbb):
  pixel <name> <x> <y> <colour>              the pixel has the colour
  has <name> <x> <y> <width> <height> <colour>  some pixel of the region has the colour
  lacks <name> <x> <y> <width> <height> <colour>  no pixel of the region has the colour
  info <key> <a> <b>                         figures of the paint, printed
Solid fills must match within 2 per channel; text colours (anti-aliased edges) are looked for
within 8. Exits 1 when a probe fails.
"""
import subprocess
import sys


def load_ppm(png):
    data = subprocess.run(["convert", png, "-depth", "8", "ppm:-"], check=True,
                          capture_output=True).stdout
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[at + 1:]


def main():
    width, height, pixels = load_ppm(sys.argv[1])

    def colour(x, y):
        i = (y * width + x) * 3
        return tuple(pixels[i:i + 3])

    def near(a, b, tolerance):
        return all(abs(p - q) <= tolerance for p, q in zip(a, b))

    failures = 0
    checked = 0
    for line in open(sys.argv[2], encoding="ascii"):
        parts = line.split()
        if not parts:
            continue
        kind, name = parts[0], parts[1]
        if kind == "info":
            print(f"info {name}: {' '.join(parts[2:])}")
            continue
        want = bytes.fromhex(parts[-1])
        numbers = [int(v) for v in parts[2:-1]]
        if kind == "pixel":
            x, y = numbers
            if not (0 <= x < width and 0 <= y < height):
                print(f"FAIL {name}: ({x}, {y}) is off the screen")
                failures += 1
                continue
            got = colour(x, y)
            ok = near(got, want, 2)
            print(f"{'ok  ' if ok else 'FAIL'} {name}: ({x}, {y}) is {bytes(got).hex()}, "
                  f"expected {want.hex()}")
        elif kind in ("has", "lacks"):
            x, y, w, h = numbers
            x0, y0 = max(0, x), max(0, y)
            x1, y1 = min(width, x + w), min(height, y + h)
            found = None
            for yy in range(y0, y1):
                for xx in range(x0, x1):
                    if near(colour(xx, yy), want, 8):
                        found = (xx, yy)
                        break
                if found:
                    break
            ok = (found is not None) == (kind == "has")
            where = f"at {found}" if found else "nowhere"
            print(f"{'ok  ' if ok else 'FAIL'} {name}: {want.hex()} in {w}x{h}+{x}+{y}: {where}")
        else:
            print(f"FAIL unknown probe kind {kind}")
            ok = False
        checked += 1
        failures += 0 if ok else 1
    print(f"{checked - failures} of {checked} probes passed")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Writes the settings files shipped in the program folder (data/):
  Private/RéglagesAffichage.rgsc  the display settings: colours, fonts and column widths of the
                                  main window and its results table
  RéglagesSons.rg                 every sound on, announcements in English
  RéglagesInterface2.rg           the decoder on COM1, the first-generation interface
Files are Windows-1252 with CR LF line ends, as the program writes them.
Usage: tools/assets/make_settings.py [data folder]
"""
import os
import sys


def rgb(red, green, blue):
    """A colour as the program stores it: 0x00BBGGRR in decimal."""
    return red | (green << 8) | (blue << 16)


WHITE = rgb(255, 255, 255)
BLACK = rgb(0, 0, 0)
NAVY = rgb(24, 54, 110)

# Font slots: run caption, event line, headings, then the nine columns Lane, Driver, Laps,
# Total time, Lap time, Best lap, Worst lap, Average lap, Transp.
# (face, size, weight, italic, underline, strike-out, text colour). A negative size is a
# character height, a positive one a cell height, both in pixels on a 1600-pixel-wide screen.
FONTS = [
    ("Arial", -22, 700, 0, 0, 0, WHITE),               # run caption, on navy
    ("Arial", -30, 700, 0, 0, 0, WHITE),               # "Radio Conflict", on red
    ("Arial", -16, 700, 0, 0, 0, WHITE),               # headings, on the dark heading band
    ("Arial", 26, 700, 0, 0, 0, NAVY),                 # Lane
    ("Arial", 26, 700, 0, 0, 0, rgb(10, 10, 10)),      # Driver
    ("Arial", 26, 700, 0, 0, 0, NAVY),                 # Laps
    ("Arial", 26, 700, 0, 0, 0, rgb(10, 10, 10)),      # Total time
    ("Arial", 26, 700, 0, 0, 0, rgb(0, 90, 30)),       # Lap time
    ("Arial", 26, 700, 0, 0, 0, rgb(10, 10, 10)),      # Best lap
    ("Arial", 26, 400, 0, 0, 0, rgb(80, 80, 80)),      # Worst lap
    ("Arial", 26, 400, 0, 0, 0, rgb(40, 40, 40)),      # Average lap
    ("Arial", 26, 400, 0, 0, 0, rgb(90, 90, 90)),      # Transp.
]

COLOURS = [
    rgb(214, 220, 230),  # 0 main window background
    rgb(246, 248, 251),  # 1 session tree background
    rgb(236, 240, 246),  # 2 results table background
    NAVY,                # 3 run caption background
    rgb(200, 30, 30),    # 4 event line background (radio conflict)
    rgb(255, 210, 0),    # 5 Lane cell of a car that just passed
    rgb(205, 140, 255),  # 6 best lap of the run
    rgb(120, 225, 120),  # 7 a driver's new best lap
    rgb(44, 86, 156),    # 8 heading band, top
    rgb(14, 36, 82),     # 9 heading band, bottom
    rgb(255, 255, 255),  # 10 rows, top
    rgb(212, 222, 238),  # 11 rows, bottom
    rgb(110, 125, 150),  # 12 grid lines
]

# Width units (1/1600 of the screen width). With the 200 pixels of the session tree the table
# spans 215 to 1550 pixels at 1600 and still fits a 1280-pixel-wide screen.
COLUMN_WIDTHS = [70, 280, 80, 160, 135, 135, 135, 135, 110]

# The colour chooser's custom colours: the table's own colours first, then white.
CUSTOM_COLOURS = COLOURS[:13] + [WHITE, WHITE, WHITE]

TABLE_STYLE_RELIEF = 1


def display_settings():
    def line(values):
        return "".join(f"{v}\t" for v in values) + "\r\n"

    text = line([TABLE_STYLE_RELIEF])
    text += line(f[0] for f in FONTS)
    for field in range(1, 6):
        text += line(f[field] for f in FONTS)
    text += line(f[6] for f in FONTS)
    text += line(COLOURS)
    text += line(COLUMN_WIDTHS)
    text += line(CUSTOM_COLOURS)
    return text


SOUND_SETTINGS = [
    "SONLANGUEAnglais", "SONDECOMPTEoui", "SONDEPARToui", "SONPASSAGEoui",
    "SONMEILLEURTOURoui", "SONHORLOGEoui", "SONFINCOURSEoui", "SONFINVOITUREoui",
]


def write(path, text):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data")
    assert len(FONTS) == 12 and len(COLOURS) == 13 and len(COLUMN_WIDTHS) == 9
    assert len(CUSTOM_COLOURS) == 16
    write(os.path.join(data, "Private", "RéglagesAffichage.rgsc"), display_settings())
    write(os.path.join(data, "RéglagesSons.rg"), "".join(s + "\r\n" for s in SOUND_SETTINGS))
    write(os.path.join(data, "RéglagesInterface2.rg"), "COM1\t1\tZarvo\r\n")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes Osprey's pictures:
  osprey.ico                 icon 11: a red cross above a blue circle on a yellow ground, 16x16 and
                             48x48 pixels in 16 colours and 32-bit images with alpha at 16, 20, 24,
                             32, 40, 48 and 256 pixels (icon_images.py says why)
  osprey_not_compared.bmp    bitmap 21: the character 未 in black on cyan
  osprey_match.bmp           bitmap 22: a blue circle on green
  osprey_mismatch.bmp        bitmap 23: a red cross on light grey
  osprey_one_sided.bmp       bitmap 24: the character 非 in black on yellow
The bitmaps are 16x16 in 16 colours; the list views load them scaled to 12x12 with white as the mask colour,
so no picture may hold a white pixel. Strokes are two pixels wide so that none vanishes when
16 rows and columns shrink to 12. The generated files are kept in the repository; run this
again only to change a picture:  python3 resources/make_osprey_images.py
The 32-bit 16 and 48 pixel images of the icon are its 16-colour pictures as they stand; the
other sizes are drawn from the same design at their own size.
"""
import math
import os
import struct

from icon_images import nibble_rows, palette_bytes, picture_icon

BLACK, LIGHT_GREY, RED, GREEN, YELLOW, BLUE, CYAN, WHITE = 0, 7, 9, 10, 11, 12, 14, 15

# Pictures drawn by hand: '#' is the ink, '.' the ground.
NOT_YET = [  # 未
    "................",
    ".......##.......",
    "....########....",
    "....########....",
    ".......##.......",
    "..############..",
    "..############..",
    "......####......",
    ".....######.....",
    "....##.##.##....",
    "...##..##..##...",
    "..##...##...##..",
    ".##....##....##.",
    ".......##.......",
    ".......##.......",
    "................",
]
NON = [  # 非
    "................",
    "....##....##....",
    "....##....##....",
    "######....######",
    "######....######",
    "....##....##....",
    ".#####....#####.",
    ".#####....#####.",
    "....##....##....",
    "######....######",
    "######....######",
    "....##....##....",
    "....##....##....",
    "....##....##....",
    "....##....##....",
    "................",
]
CIRCLE = [
    "................",
    "................",
    ".....######.....",
    "....########....",
    "...###....###...",
    "..###......###..",
    "..##........##..",
    "..##........##..",
    "..##........##..",
    "..##........##..",
    "..###......###..",
    "...###....###...",
    "....########....",
    ".....######.....",
    "................",
    "................",
]
CROSS = [
    "................",
    "................",
    "..##........##..",
    "..###......###..",
    "...###....###...",
    "....###..###....",
    ".....######.....",
    "......####......",
    "......####......",
    ".....######.....",
    "....###..###....",
    "...###....###...",
    "..###......###..",
    "..##........##..",
    "................",
    "................",
]

# The small icon: Y yellow ground, K black frame, R red cross, U blue circle.
ICON_SMALL = [
    "KKKKKKKKKKKKKKKK",
    "KYYYYYYYYYYYYYYK",
    "KYYYRRYYYYRRYYYK",
    "KYYYYRRYYRRYYYYK",
    "KYYYYYRRRRYYYYYK",
    "KYYYYYRRRRYYYYYK",
    "KYYYYRRYYRRYYYYK",
    "KYYYRRYYYYRRYYYK",
    "KYYYYYYYYYYYYYYK",
    "KYYYYYUUUUYYYYYK",
    "KYYYYUUYYUUYYYYK",
    "KYYYUUYYYYUUYYYK",
    "KYYYUUYYYYUUYYYK",
    "KYYYYUUYYUUYYYYK",
    "KYYYYYUUUUYYYYYK",
    "KKKKKKKKKKKKKKKK",
]
ICON_COLOURS = {'K': BLACK, 'Y': YELLOW, 'R': RED, 'U': BLUE}


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def icon_pixel(x, y, size):
    """Colour of the point (x, y), in pixels, of the icon at `size` pixels: a frame whole pixels
    wide, so it stays sharp at every size, around a design in a 48-unit square."""
    unit = size / 48.0
    frame = max(1, round(unit))
    if x < frame or y < frame or x >= size - frame or y >= size - frame:
        return BLACK
    ux, uy = x / unit, y / unit
    cx, cy, arm, stroke = 24.0, 13.5, 8.0, 2.6
    if min(segment_distance(ux, uy, cx - arm, cy - arm, cx + arm, cy + arm),
           segment_distance(ux, uy, cx - arm, cy + arm, cx + arm, cy - arm)) <= stroke:
        return RED
    if abs(math.hypot(ux - 24.0, uy - 34.5) - 8.0) <= stroke:
        return BLUE
    return YELLOW


def drawing(rows, ink, ground):
    return [[ink if c == '#' else ground for c in line] for line in rows]


def bitmap_file(rows):
    assert all(c != WHITE for row in rows for c in row), "white would be transparent"
    size = len(rows)
    pixels = nibble_rows(rows)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    offset = 14 + len(info) + 16 * 4
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + palette_bytes() + pixels


def icon_indexed(size):
    """The 16-colour picture: drawn by hand at 16 pixels, from the design at pixel centres at 48."""
    if size == len(ICON_SMALL):
        return [[ICON_COLOURS[c] for c in line] for line in ICON_SMALL]
    return [[icon_pixel(x + 0.5, y + 0.5, size) for x in range(size)] for y in range(size)]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    files = {
        'osprey_not_compared.bmp': bitmap_file(drawing(NOT_YET, BLACK, CYAN)),
        'osprey_match.bmp': bitmap_file(drawing(CIRCLE, BLUE, GREEN)),
        'osprey_mismatch.bmp': bitmap_file(drawing(CROSS, RED, LIGHT_GREY)),
        'osprey_one_sided.bmp': bitmap_file(drawing(NON, BLACK, YELLOW)),
        'osprey.ico': picture_icon(icon_indexed, icon_pixel),
    }
    for name, data in files.items():
        with open(os.path.join(here, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()

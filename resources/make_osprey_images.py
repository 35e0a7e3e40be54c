#!/usr/bin/env python3
"""Writes Osprey's pictures, 16 colours each:
  osprey.ico                 icon 11: a red cross above a blue circle on a yellow ground, 16x16 and 48x48
  osprey_not_compared.bmp    bitmap 21: the character 未 in black on cyan
  osprey_match.bmp           bitmap 22: a blue circle on green
  osprey_mismatch.bmp        bitmap 23: a red cross on light grey
  osprey_one_sided.bmp       bitmap 24: the character 非 in black on yellow
The bitmaps are 16x16; the list views load them scaled to 12x12 with white as the mask colour,
so no picture may hold a white pixel. Strokes are two pixels wide so that none vanishes when
16 rows and columns shrink to 12. The generated files are kept in the repository; run this
again only to change a picture:  python3 resources/make_osprey_images.py
"""
import math
import os
import struct

# The 16-colour palette of the classic Windows bitmaps, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
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


def large_icon_pixel(x, y):
    """Colour of the pixel whose centre is (x, y) in the 48x48 icon."""
    if x < 1.5 or y < 1.5 or x > 46.5 or y > 46.5:
        return BLACK
    cx, cy, arm, stroke = 24.0, 13.5, 8.0, 2.6
    if min(segment_distance(x, y, cx - arm, cy - arm, cx + arm, cy + arm),
           segment_distance(x, y, cx - arm, cy + arm, cx + arm, cy - arm)) <= stroke:
        return RED
    if abs(math.hypot(x - 24.0, y - 34.5) - 8.0) <= stroke:
        return BLUE
    return YELLOW


def drawing(rows, ink, ground):
    return [[ink if c == '#' else ground for c in line] for line in rows]


def pixel_rows(rows):
    """4-bit pixel rows, bottom-up and padded to four bytes, as a DIB stores them."""
    size = len(rows[0])
    stride = ((size * 4 + 31) // 32) * 4
    data = b''
    for row in reversed(rows):
        line = bytes((row[i] << 4) | (row[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        data += line.ljust(stride, b'\0')
    return data


def palette_bytes():
    return b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)


def bitmap_file(rows):
    assert all(c != WHITE for row in rows for c in row), "white would be transparent"
    size = len(rows)
    pixels = pixel_rows(rows)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    offset = 14 + len(info) + 16 * 4
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + palette_bytes() + pixels


def icon_image(rows):
    """One image of an .ico: the DIB (height doubled for the mask) and an all-opaque mask."""
    size = len(rows)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    mask = b'\0' * (((size + 31) // 32) * 4 * size)
    return info + palette_bytes() + pixel_rows(rows) + mask


def icon_file():
    small = [[ICON_COLOURS[c] for c in line] for line in ICON_SMALL]
    large = [[large_icon_pixel(x + 0.5, y + 0.5) for x in range(48)] for y in range(48)]
    images = [(16, icon_image(small)), (48, icon_image(large))]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, body in images:
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    return data + b''.join(body for _, body in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    files = {
        'osprey_not_compared.bmp': bitmap_file(drawing(NOT_YET, BLACK, CYAN)),
        'osprey_match.bmp': bitmap_file(drawing(CIRCLE, BLUE, GREEN)),
        'osprey_mismatch.bmp': bitmap_file(drawing(CROSS, RED, LIGHT_GREY)),
        'osprey_one_sided.bmp': bitmap_file(drawing(NON, BLACK, YELLOW)),
        'osprey.ico': icon_file(),
    }
    for name, data in files.items():
        with open(os.path.join(here, name), 'wb') as out:
            out.write(data)


if __name__ == '__main__':
    main()

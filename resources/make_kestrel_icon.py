#!/usr/bin/env python3
"""Writes kestrel.ico, Kestrel's icon 91: a white page with a red cross (a mismatch) above a
blue circle (a match), 16x16 and 48x48 pixels in 16 colours. The .ico is kept in the
repository; run this again only to change the picture:  python3 resources/make_kestrel_icon.py
"""
import math
import os
import struct

# The 16-colour palette of the classic Windows icons, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, RED, BLUE, WHITE = 0, 8, 9, 12, 15
TRANSPARENT = None


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y, size):
    """Colour of the pixel whose centre is (x, y) in a 48-unit design square."""
    thin = max(1.0, 48.0 / size) * 0.75  # an outline stays one pixel wide at every size
    left, right, top, bottom, fold = 7.0, 41.0, 2.0, 46.0, 8.0
    # The cross: two strokes in the upper half of the page.
    cx, cy, arm, stroke = 24.0, 16.0, 6.5, 2.2
    if min(segment_distance(x, y, cx - arm, cy - arm, cx + arm, cy + arm),
           segment_distance(x, y, cx - arm, cy + arm, cx + arm, cy - arm)) <= stroke:
        return RED
    # The circle: a ring in the lower half.
    ox, oy, radius = 24.0, 35.0, 7.5
    if abs(math.hypot(x - ox, y - oy) - radius) <= stroke:
        return BLUE
    inside = left <= x <= right and top <= y <= bottom and (x - (right - fold)) + (top + fold - y) <= fold
    if not inside:
        return TRANSPARENT
    # The outline, the folded corner's edge included.
    on_edge = (x - left < thin or right - x < thin or y - top < thin or bottom - y < thin or
               abs((x - (right - fold)) + (top + fold - y) - fold) < thin * 1.4)
    if on_edge:
        return BLACK
    if x > right - fold and y < top + fold and (x - (right - fold)) + (y - top) <= fold:
        return GREY  # the back of the fold
    return WHITE


# At 16 pixels shapes drawn by formula blur into each other, so the small icon is drawn by
# hand: K black, W white, G grey, R red, U blue, . transparent.
SMALL = [
    ".KKKKKKKKKKK....",
    ".KWWWWWWWWWKK...",
    ".KWWWWWWWWWKGK..",
    ".KWWRRWWRRWKKKK.",
    ".KWWWRRRRWWWWWK.",
    ".KWWWWRRWWWWWWK.",
    ".KWWWRRRRWWWWWK.",
    ".KWWRRWWRRWWWWK.",
    ".KWWWWWWWWWWWWK.",
    ".KWWWUUUUWWWWWK.",
    ".KWWUUWWUUWWWWK.",
    ".KWWUWWWWUWWWWK.",
    ".KWWUUWWUUWWWWK.",
    ".KWWWUUUUWWWWWK.",
    ".KWWWWWWWWWWWWK.",
    ".KKKKKKKKKKKKKK.",
]
SMALL_COLOURS = {'K': BLACK, 'W': WHITE, 'G': GREY, 'R': RED, 'U': BLUE, '.': TRANSPARENT}


def image(size):
    scale = 48.0 / size
    if size == len(SMALL):
        rows = [[SMALL_COLOURS[c] for c in line] for line in SMALL]
    else:
        rows = [[pixel((x + 0.5) * scale, (y + 0.5) * scale, size) for x in range(size)]
                for y in range(size)]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    colour_stride = ((size * 4 + 31) // 32) * 4
    mask_stride = ((size + 31) // 32) * 4
    colours = b''
    mask = b''
    for row in reversed(rows):  # bottom-up
        nibbles = [0 if c is TRANSPARENT else c for c in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < size else 0)
                     for i in range(0, size, 2))
        colours += line.ljust(colour_stride, b'\0')
        bits = 0
        line = b''
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is TRANSPARENT else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        mask += line.ljust(mask_stride, b'\0')
    return header + palette + colours + mask


def main():
    sizes = [16, 48]
    images = [image(s) for s in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, body in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    data += b''.join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'kestrel.ico')
    with open(path, 'wb') as out:
        out.write(data)


if __name__ == '__main__':
    main()

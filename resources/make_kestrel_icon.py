#!/usr/bin/env python3
"""Writes kestrel.ico, Kestrel's icon 91: a white page with a red cross (a mismatch) above a
blue circle (a match), 16x16 and 48x48 pixels in 16 colours and 32-bit images with alpha at
16, 20, 24, 32, 40, 48 and 256 pixels (icon_images.py says why). The 32-bit 16 and 48 pixel
images are the 16-colour pictures as they stand; the other sizes are drawn from the same
design at their own size. The .ico is kept in the repository; run this again only to change
the picture:  python3 resources/make_kestrel_icon.py
"""
import math
import os

from icon_images import picture_icon

BLACK, GREY, RED, BLUE, WHITE = 0, 8, 9, 12, 15
TRANSPARENT = None


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def pixel(x, y, size):
    """Colour of the point (x, y), in pixels, of the picture at `size` pixels. The page's edges
    lie on whole pixels and its outline is whole pixels wide, so they stay sharp at every size;
    the design is a 48-unit square."""
    unit = size / 48.0
    thin = max(1, round(unit))  # the outline's width in pixels
    left, right, top, bottom, fold = (round(v * unit) for v in (7, 41, 2, 46, 8))
    ux, uy = x / unit, y / unit
    # The cross: two strokes in the upper half of the page.
    cx, cy, arm, stroke = 24.0, 16.0, 6.5, 2.2
    if min(segment_distance(ux, uy, cx - arm, cy - arm, cx + arm, cy + arm),
           segment_distance(ux, uy, cx - arm, cy + arm, cx + arm, cy - arm)) <= stroke:
        return RED
    # The circle: a ring in the lower half.
    ox, oy, radius = 24.0, 35.0, 7.5
    if abs(math.hypot(ux - ox, uy - oy) - radius) <= stroke:
        return BLUE
    corner = (x - (right - fold)) + (top + fold - y)  # fold at the folded corner's edge
    if not (left <= x < right and top <= y < bottom and corner <= fold):
        return TRANSPARENT
    # The outline, the folded corner's edge included.
    if (x < left + thin or x >= right - thin or y < top + thin or y >= bottom - thin or
            abs(corner - fold) < thin * 1.05):
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


def indexed_picture(size):
    """The 16-colour picture: drawn by hand at 16 pixels, from the design at pixel centres at 48."""
    if size == len(SMALL):
        return [[SMALL_COLOURS[c] for c in line] for line in SMALL]
    return [[pixel(x + 0.5, y + 0.5, size) for x in range(size)] for y in range(size)]


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'kestrel.ico')
    with open(path, 'wb') as out:
        out.write(picture_icon(indexed_picture, pixel))


if __name__ == '__main__':
    main()

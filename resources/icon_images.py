"""What the picture scripts beside this file share: the classic 16-colour palette and the
writers of .ico images.

An icon holds its pictures twice: the described 16x16 and 48x48 pictures in 16 colours (for
a display of 16 colours and as they were first drawn), and 32-bit images with alpha at every
size Windows asks for (16, 20, 24 and 32 for small icons at 100 to 200 % scaling, 32 to 64
for large ones, 256 for Explorer's largest view). Windows takes the image that fits the size
and the display best, so nothing is scaled where a picture of that size exists.
"""
import struct
import zlib

# The 16-colour palette of the classic Windows icons and bitmaps, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# The sizes of the 32-bit images.
TRUE_COLOUR_SIZES = [16, 20, 24, 32, 40, 48, 256]


def palette_bytes():
    return b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)


def nibble_rows(rows):
    """4-bit pixel rows (palette indices), bottom-up and padded to four bytes, as a DIB stores them."""
    size = len(rows[0])
    stride = ((size * 4 + 31) // 32) * 4
    data = b''
    for row in reversed(rows):
        line = bytes((row[i] << 4) | (row[i + 1] if i + 1 < size else 0) for i in range(0, size, 2))
        data += line.ljust(stride, b'\0')
    return data


def mask_rows(transparent):
    """The AND mask: one bit a pixel, set where `transparent` says so, rows bottom-up."""
    size = len(transparent[0])
    stride = ((size + 31) // 32) * 4
    data = b''
    for row in reversed(transparent):
        bits = 0
        line = b''
        for i, clear in enumerate(row):
            bits = (bits << 1) | (1 if clear else 0)
            if i % 8 == 7:
                line += bytes([bits])
                bits = 0
        data += line.ljust(stride, b'\0')
    return data


def palette_image(rows):
    """A 16-colour image from rows of palette indices, None for a transparent pixel."""
    size = len(rows)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    indices = [[0 if c is None else c for c in row] for row in rows]
    transparent = [[c is None for c in row] for row in rows]
    return info + palette_bytes() + nibble_rows(indices) + mask_rows(transparent)


def rgba_from_palette(rows):
    """Rows of palette indices (None transparent) as rows of (red, green, blue, alpha)."""
    return [[(0, 0, 0, 0) if c is None else PALETTE[c] + (255,) for c in row] for row in rows]


def supersampled(colour_at, size, samples=4):
    """Rows of (red, green, blue, alpha) for a picture of `size` pixels, each pixel the average of
    samples x samples points of `colour_at(x, y)` (pixel units; None is transparent), so curves
    and diagonals get smooth edges at the size itself."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                    if c is not None:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            # Colours are averaged over the covered samples only: straight, not premultiplied,
            # alpha, as icons store it.
            row.append((r // a, g // a, b // a, a * 255 // (samples * samples)) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def rgba_image(rows):
    """A 32-bit image with alpha; 256 pixels go as PNG, which Windows reads from Vista on."""
    size = len(rows)
    if size >= 256:
        return png(rows)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    transparent = [[a == 0 for _, _, _, a in row] for row in rows]
    return info + pixels + mask_rows(transparent)


def png(rows):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    size = len(rows)
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rows)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def picture_icon(indexed_picture, colour_at):
    """The .ico of one picture. `indexed_picture(size)` gives its 16-colour pictures at 16 and 48
    pixels (rows of palette indices, None transparent), which its 32-bit images of those sizes
    repeat as they stand; `colour_at(x, y, size)` (a palette index or None at a point in pixels)
    draws the 32-bit images of the other sizes at the size itself."""
    images = [(size, 4, palette_image(indexed_picture(size))) for size in (16, 48)]
    for size in TRUE_COLOUR_SIZES:
        if size in (16, 48):
            rows = rgba_from_palette(indexed_picture(size))
        else:
            def rgb_at(x, y):
                c = colour_at(x, y, size)
                return None if c is None else PALETTE[c]
            rows = supersampled(rgb_at, size)
        images.append((size, 32, rgba_image(rows)))
    return icon_file(images)


def icon_file(images):
    """An .ico from (size, bits per pixel, image bytes) entries."""
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, body in images:
        colours = 16 if bits == 4 else 0
        data += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(body), offset)
        offset += len(body)
    return data + b''.join(body for _, _, body in images)

#!/usr/bin/env python3
"""Draws icon 101: a red Hermite curve through a green control point, with a dotted black handle
line to a blue handle, on a rounded cream tile. Writes resources/trazos.ico with two 32 x 32 images,
one of 16 colours (4 bits a pixel) and one of 256 colours (8 bits a pixel, smoothed edges).

Run it from anywhere: python3 tools/make_icon.py
"""
import os
import struct

SIZE = 32
SUPERSAMPLE = 4

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

TILE = (255, 255, 224)
CURVE = (220, 0, 0)
POINT = (0, 160, 0)
HANDLE = (0, 0, 255)
HANDLE_LINE = (0, 0, 0)
OUTLINE = (0, 0, 0)


def hermite(p0, p1, t0, t1, t):
    h00 = 2 * t ** 3 - 3 * t ** 2 + 1
    h10 = t ** 3 - 2 * t ** 2 + t
    h01 = -2 * t ** 3 + 3 * t ** 2
    h11 = t ** 3 - t ** 2
    return tuple(h00 * a + h10 * b + h01 * c + h11 * d for a, b, c, d in zip(p0, t0, p1, t1))


# Two segments meeting at the control point; the point's tangent is what the handle shows.
START, MIDDLE, END = (3.0, 27.0), (12.0, 19.0), (29.0, 15.0)
TANGENT = (16.0, -45.0)
HANDLE_AT = (MIDDLE[0] + 0.3 * TANGENT[0], MIDDLE[1] + 0.3 * TANGENT[1])
CURVE_SAMPLES = [hermite(START, MIDDLE, (10.0, 0.0), TANGENT, k / 200) for k in range(201)] + \
                [hermite(MIDDLE, END, TANGENT, (30.0, 4.0), k / 200) for k in range(201)]


def distance_to_curve(x, y):
    return min(((x - px) ** 2 + (y - py) ** 2) ** 0.5 for px, py in CURVE_SAMPLES)


def inside_tile(x, y):
    r = 6.0
    cx = min(max(x, r), SIZE - r)
    cy = min(max(y, r), SIZE - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def on_handle_line(x, y):
    (ax, ay), (bx, by) = MIDDLE, HANDLE_AT
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    dotted = int(t * (dx * dx + dy * dy) ** 0.5 / 2) % 2 == 0  # two pixels on, two off
    return dotted and t > 0.0 and ((x - px) ** 2 + (y - py) ** 2) ** 0.5 <= 0.55


def square(x, y, centre, half):
    return abs(x - centre[0]) <= half and abs(y - centre[1]) <= half


def colour_at(x, y):
    """Colour of the picture at a point of the 32 x 32 plane, or None outside the tile."""
    if not inside_tile(x, y):
        return None
    for centre, half, fill in ((MIDDLE, 3.0, POINT), (HANDLE_AT, 2.2, HANDLE)):
        if square(x, y, centre, half):
            return OUTLINE if not square(x, y, centre, half - 0.9) else fill
    if on_handle_line(x, y):
        return HANDLE_LINE
    if distance_to_curve(x, y) <= 1.3:
        return CURVE
    return TILE


def render():
    """Averages SUPERSAMPLE^2 samples a pixel; returns rows of (colour or None), top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            hits = [colour_at(px + (i + 0.5) / n, py + (j + 0.5) / n) for j in range(n) for i in range(n)]
            inside = [c for c in hits if c is not None]
            if len(inside) * 2 < len(hits):
                row.append(None)
            else:
                row.append(tuple(sum(c[k] for c in inside) // len(inside) for k in range(3)))
        rows.append(row)
    return rows


def palette_256():
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in range(8, 248, 10)]
    palette = VGA16 + [c for c in cube + greys if c not in VGA16]
    palette += [TILE, CURVE, POINT, HANDLE_LINE]
    return (palette + [(0, 0, 0)] * 256)[:256]


def nearest(palette, colour):
    return min(range(len(palette)), key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], colour)))


def sharp_render():
    """For 16 colours: one sample at each pixel's centre, no smoothing."""
    return [[colour_at(px + 0.5, py + 0.5) for px in range(SIZE)] for py in range(SIZE)]


def dib(rows, palette, bits):
    """A device-independent bitmap as an icon stores it: header, palette, colour bits, then mask bits."""
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0, len(palette), 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    xor_rows, and_rows = [], []
    for row in reversed(rows):  # bitmaps store the bottom row first
        indices = [nearest(palette, c) if c is not None else 0 for c in row]
        if bits == 4:
            packed = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, SIZE, 2))
        else:
            packed = bytes(indices)
        xor_rows.append(packed)
        mask = 0
        for c in row:
            mask = (mask << 1) | (1 if c is None else 0)
        and_rows.append(struct.pack('>I', mask))  # 32 bits, a multiple of 4 bytes already
    return header + colours + b''.join(xor_rows) + b''.join(and_rows)


def main():
    images = [(dib(sharp_render(), VGA16, 4), 16), (dib(render(), palette_256(), 8), 0)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for data, colour_count in images:
        bits = 4 if colour_count == 16 else 8
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
    out += b''.join(data for data, _ in images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'trazos.ico')
    with open(path, 'wb') as f:
        f.write(out)
    print('wrote', os.path.normpath(path), len(out), 'bytes')


if __name__ == '__main__':
    main()

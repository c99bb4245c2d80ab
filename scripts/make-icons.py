#!/usr/bin/env python3
"""Draws the player's icons and writes them as .ico files into resources/.

  app.ico      group 100: stopped and paused picture, 256 px and the tray and caption sizes
  about.ico    group 101: About picture, 128 px
  playing.ico  group 102: playing picture, 256 px and the tray and caption sizes

The tray and caption sizes are the small and large icon sizes at 100 to 200 % display scale (16, 20, 24, 32, 40,
48 px), so that the shell never stretches a picture. The largest comes first: loaded at its own size, a group gives
its first picture.

Pure standard library, so the pictures can be made again anywhere:
    python3 scripts/make-icons.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

SAMPLES = 4  # supersampling per axis for smooth edges

INDIGO_TOP = (0x3A, 0x4E, 0x8C)
INDIGO_BOTTOM = (0x1B, 0x24, 0x48)
GREEN_TOP = (0x2E, 0xC2, 0x5E)
GREEN_BOTTOM = (0x0E, 0x74, 0x33)
WHITE = (0xFF, 0xFF, 0xFF)


def rounded_square(x, y, radius=0.2, margin=0.02):
    lo, hi = margin, 1.0 - margin
    if x < lo or x > hi or y < lo or y > hi:
        return False
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def ellipse(x, y, cx, cy, rx, ry, angle):
    c, s = math.cos(angle), math.sin(angle)
    dx, dy = x - cx, y - cy
    u = dx * c + dy * s
    v = -dx * s + dy * c
    return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0


def quad_beam(x, y, x0, y0, x1, y1, thickness):
    if x < x0 or x > x1:
        return False
    t = (x - x0) / (x1 - x0)
    top = y0 + (y1 - y0) * t
    return top <= y <= top + thickness


def note(x, y, scale=1.0, ox=0.0, oy=0.0):
    """Two beamed eighth notes in the unit square."""
    x = (x - ox) / scale
    y = (y - oy) / scale
    heads = ((0.33, 0.72), (0.68, 0.64))
    for hx, hy in heads:
        if ellipse(x, y, hx, hy, 0.115, 0.085, -0.45):
            return True
    stem = 0.045
    left_stem_x = heads[0][0] + 0.095
    right_stem_x = heads[1][0] + 0.095
    if left_stem_x - stem <= x <= left_stem_x and 0.27 <= y <= heads[0][1]:
        return True
    if right_stem_x - stem <= x <= right_stem_x and 0.19 <= y <= heads[1][1]:
        return True
    return quad_beam(x, y, left_stem_x - stem, 0.25, right_stem_x, 0.17, 0.11)


def triangle(x, y, cx, cy, size):
    """A play triangle pointing right, centred on (cx, cy)."""
    left, right = cx - size * 0.42, cx + size * 0.58
    if x < left or x > right:
        return False
    half = size * 0.55 * (right - x) / (right - left)
    return abs(y - cy) <= half


def background(top, bottom, y):
    return tuple(int(round(a + (b - a) * y)) for a, b in zip(top, bottom))


def render(size, picture):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = picture(x, y, size)
                    if colour is None:
                        continue
                    for i in range(3):
                        acc[i] += colour[i]
                    acc[3] += 1.0
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3] > 0:
                rgb = [int(round(acc[i] / acc[3])) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], int(round(alpha * 255))))
        pixels.append(row)
    return pixels


def stopped_picture(x, y, size):
    if not rounded_square(x, y):
        return None
    if note(x, y):
        return WHITE
    return background(INDIGO_TOP, INDIGO_BOTTOM, y)


def playing_picture(x, y, size):
    if not rounded_square(x, y):
        return None
    if size <= 24:
        # At tray size the play triangle alone on green reads best.
        if triangle(x, y, 0.5, 0.5, 0.62):
            return WHITE
        return background(GREEN_TOP, GREEN_BOTTOM, y)
    badge = (x - 0.76) ** 2 + (y - 0.76) ** 2 <= 0.2 ** 2
    if badge:
        if triangle(x, y, 0.77, 0.76, 0.22):
            return GREEN_BOTTOM
        return WHITE
    if note(x, y, scale=0.9, ox=-0.02, oy=-0.02):
        return WHITE
    return background(GREEN_TOP, GREEN_BOTTOM, y)


def png_bytes(pixels):
    size = len(pixels)
    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib_bytes(pixels):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, then the AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((p[2], p[1], p[0], p[3])) for row in reversed(pixels) for p in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for i, p in enumerate(row):
            if p[3] == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_ico(name, images):
    entries = []
    for size, pixels in images:
        data = png_bytes(pixels) if size >= 256 else dib_bytes(pixels)
        entries.append((size, data))
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, 1, len(entries))
    blobs = b""
    for size, data in entries:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(out + blobs)


SIZES = (256, 48, 40, 32, 24, 20, 16)


def main():
    write_ico("app.ico", [(s, render(s, stopped_picture)) for s in SIZES])
    write_ico("about.ico", [(128, render(128, stopped_picture))])
    write_ico("playing.ico", [(s, render(s, playing_picture)) for s in SIZES])


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draws samples/sample.png: a small made-up landscape for trying the converter.

The scene is built so that every depth cue has something to find: a sky that pales
toward the horizon, far hills that are light and blue with haze, nearer hills that
are greener and darker, a red barn and a tree in the middle distance, and a grassy
foreground with a dirt path that widens toward the viewer.

Only the standard library is used, and the output is the same on every run: the
grass texture comes from an integer hash, not from a random generator.

    python3 samples/make-sample.py [OUTPUT.png]
"""

import math
import os
import struct
import sys
import zlib

WIDTH = 640
HEIGHT = 480


def mix(a, b, t):
    t = min(max(t, 0.0), 1.0)
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hash01(x, y, seed):
    """A repeatable value in [0, 1) for an integer point."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def smooth_noise(x, y, cell, seed):
    """Value noise: the hash on a coarse lattice, blended smoothly between points."""
    gx, gy = x / cell, y / cell
    x0, y0 = int(math.floor(gx)), int(math.floor(gy))
    fx, fy = gx - x0, gy - y0
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    top = hash01(x0, y0, seed) * (1 - fx) + hash01(x0 + 1, y0, seed) * fx
    bottom = hash01(x0, y0 + 1, seed) * (1 - fx) + hash01(x0 + 1, y0 + 1, seed) * fx
    return top * (1 - fy) + bottom * fy


HORIZON = 250


def far_ridge(x):
    return 228 + 14 * math.sin(x / 53.0) + 9 * math.sin(x / 17.0 + 1.3)


def near_ridge(x):
    return 282 + 22 * math.sin(x / 91.0 + 2.0) + 6 * math.sin(x / 23.0)


def sky(x, y):
    colour = mix((58, 104, 190), (196, 218, 236), y / HORIZON)
    cloud = smooth_noise(x, y * 2.2, 70, 7) * 0.7 + smooth_noise(x, y * 2.2, 23, 8) * 0.3
    cover = min(max((cloud - 0.55) * 3.0, 0.0), 1.0) * (1.0 - y / (HORIZON + 40))
    return mix(colour, (247, 248, 250), cover)


def far_hills(x, y):
    depth = (y - far_ridge(x)) / 60.0
    return mix((168, 184, 208), (132, 156, 176), depth)


def near_hills(x, y):
    shade = smooth_noise(x, y, 18, 3) * 14 - 7
    depth = (y - near_ridge(x)) / 60.0
    base = mix((108, 142, 118), (84, 128, 80), depth)
    return tuple(c + shade for c in base)


def path_edges(y):
    """Left and right edge of the dirt path on row y, narrowing toward the horizon."""
    t = (y - 330) / (HEIGHT - 330)
    centre = 250 - 70 * t
    half = 6 + 120 * t * t
    return centre - half, centre + half


def foreground(x, y):
    t = (y - 300) / (HEIGHT - 300)
    blades = hash01(x, y // 3, 11) * 26 - 13
    patches = smooth_noise(x, y, 30, 5) * 30 - 15
    colour = mix((92, 150, 62), (34, 96, 28), t)
    if y >= 330:
        left, right = path_edges(y)
        if left <= x <= right:
            grit = hash01(x, y, 13) * 18 - 9
            dirt = mix((178, 150, 112), (140, 104, 68), t)
            return tuple(c + grit for c in dirt)
    return tuple(c + blades * (0.4 + t) + patches for c in colour)


def barn(x, y):
    """The red barn on the right, or None where the point is not on it."""
    left, right, eave, floor = 420, 540, 268, 322
    peak = 236
    if left <= x <= right and eave <= y <= floor:
        if 468 <= x <= 492 and y >= 290:
            return (58, 30, 24)  # door
        if (y - eave) % 9 == 0:
            return (128, 28, 24)  # boards
        return (186, 40, 34)
    roof_half = (right - left) / 2 + 6
    centre = (left + right) / 2
    if peak <= y < eave:
        spread = roof_half * (y - peak) / (eave - peak)
        if abs(x - centre) <= spread:
            return (74, 52, 46)
    return None


def tree(x, y):
    """An oak on the left: a round crown on a trunk, or None off it."""
    cx, cy, r = 118, 214, 66
    if 108 <= x <= 128 and 250 <= y <= 352:
        return (88, 60, 36) if x < 120 else (66, 44, 28)
    dx, dy = x - cx, y - cy
    wobble = 7 * math.sin(math.atan2(dy, dx) * 7)
    if dx * dx + dy * dy <= (r + wobble) ** 2:
        light = 0.5 + 0.5 * smooth_noise(x, y, 9, 17) - dy / (3.0 * r) - dx / (4.0 * r)
        return mix((22, 62, 20), (88, 146, 52), light)
    return None


def pixel(x, y):
    for thing in (tree, barn):
        colour = thing(x, y)
        if colour is not None:
            return colour
    if y >= near_ridge(x) + 18 or y >= 300:
        return foreground(x, y) if y >= 300 else near_hills(x, y)
    if y >= near_ridge(x):
        return near_hills(x, y)
    if y >= far_ridge(x):
        return far_hills(x, y)
    return sky(x, y)


def clamp_byte(v):
    return max(0, min(255, int(round(v))))


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, rows):
    raw = bytearray()
    for row in rows:
        raw.append(1)  # "Sub" filter: neighbours in a row are alike, so this packs well
        previous = (0, 0, 0)
        for colour in row:
            raw.extend((c - p) & 0xFF for c, p in zip(colour, previous))
            previous = colour
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(png_chunk(b"IHDR", header))
        out.write(png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        out.write(png_chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "sample.png")
    rows = [[tuple(clamp_byte(c) for c in pixel(x, y)) for x in range(WIDTH)]
            for y in range(HEIGHT)]
    write_png(path, rows)
    print(path)


if __name__ == "__main__":
    main()

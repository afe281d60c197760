#!/usr/bin/env python3
"""Draws the pictures that the shipped styles and templates use (our own work,
made with the standard library only). Rerun it to regenerate them:
    python3 scripts/make-style-art.py
"""
import math
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "AppFiles")


def write_png(path, width, height, pixel):
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        for x in range(width):
            rows.extend(pixel(x, y))
    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def waves(x, y):
    # Deep blue sea with soft bands of lighter water.
    t = y / 599
    base = mix((18, 78, 120), (6, 30, 60), t)
    band = 0.5 + 0.5 * math.sin(x / 47.0 + math.sin(y / 31.0) * 2.0 + y / 19.0)
    return mix(base, (70, 150, 190), band * 0.18)


def stars(x, y):
    base = mix((12, 14, 32), (30, 22, 58), y / 599)
    h = (x * 73856093 ^ y * 19349663) & 0xFFFF
    if h < 40:
        return (230, 230, 255)
    return base


def icon(x, y):
    # An open book: two pale pages on a green ground.
    bg = (46, 125, 90)
    cx = 64
    if 24 <= y <= 104 and 14 <= x <= 114 and abs(x - cx) > 2:
        curve = int(6 * math.sin(math.pi * (abs(x - cx) / 50.0)))
        if y >= 24 + curve:
            shade = 235 - int(25 * (1 - abs(x - cx) / 50.0))
            return (shade, shade, shade - 10)
    return bg


write_png(os.path.join(ROOT, "Styles", "float", "Ocean", "images", "waves.png"), 800, 600, waves)
write_png(os.path.join(ROOT, "Styles", "float", "Night", "images", "stars.png"), 800, 600, stars)
write_png(os.path.join(ROOT, "Templates", "float", "icon.png"), 128, 128, icon)

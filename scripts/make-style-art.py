#!/usr/bin/env python3
"""Draws the pictures and sounds that the shipped styles and templates use (our own
work, made with the standard library only). Rerun it to regenerate them:
    python3 scripts/make-style-art.py
Everything is computed from fixed formulas and seeds, so a rerun gives the same files.
The style screenshots (shot.jpg) are made by scripts/make-style-shots.sh instead.
"""
import math
import os
import struct
import wave
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "AppFiles")


def write_png(path, width, height, pixel, up=False):
    # With up=True each row is stored as its difference to the row above, which
    # suits textures that change slowly from row to row.
    rows = bytearray()
    prev = bytes(3 * width)
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row.extend(pixel(x, y))
        if up:
            rows.append(2)
            rows.extend((row[i] - prev[i]) & 0xFF for i in range(len(row)))
            prev = bytes(row)
        else:
            rows.append(0)
            rows.extend(row)
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



def clamp(v):
    return max(0, min(255, int(v)))


def lattice(ix, iy, seed):
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def noise(x, y, seed=0):
    """Smooth value noise in 0..1."""
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a, b = lattice(ix, iy, seed), lattice(ix + 1, iy, seed)
    c, d = lattice(ix, iy + 1, seed), lattice(ix + 1, iy + 1, seed)
    top = a + (b - a) * sx
    return top + (c + (d - c) * sx - top) * sy


def fbm(x, y, seed=0, octaves=3):
    total, amp, norm = 0.0, 1.0, 0.0
    for o in range(octaves):
        total += amp * noise(x, y, seed + o * 101)
        norm += amp
        x, y, amp = x * 2.03, y * 2.03, amp * 0.5
    return total / norm


# ---- "classic" template ----

def walnut(x, y):
    # A desk of walnut planks: long grain along each plank, a dark seam between planks.
    plank_h = 150
    plank = y // plank_h
    py = y % plank_h
    shift = plank * 977
    warp = 26 * fbm((x + shift) / 260.0, py / 90.0 + plank * 3.1, 11, 3)
    ring = 0.5 + 0.5 * math.sin((py + warp) * 0.22 + plank * 1.7)
    streak = noise((x + shift) / 90.0, py / 2.2, 17)
    t = 0.55 * ring + 0.45 * streak
    base = mix((62, 36, 20), (128, 84, 48), t)
    tone = 0.9 + 0.18 * noise((x + shift) / 400.0, plank * 5.0, 23)
    base = tuple(clamp(c * tone) for c in base)
    if py < 2 or py > plank_h - 2:
        return mix(base, (24, 12, 6), 0.7)
    if py < 5:
        return mix(base, (255, 230, 190), 0.08)
    return base


def leather(x, y):
    # Green desk leather: mottled, with a fine pebble grain and a few soft creases,
    # darker towards the edges.
    m = fbm(x / 80.0, y / 80.0, 31, 4)
    pebble = noise(x / 2.6, y / 2.6, 37)
    ridge = 1 - abs(2 * fbm(x / 70.0, y / 70.0, 41, 2) - 1)
    t = 0.75 * m + 0.14 * pebble - 0.16 * ridge ** 18
    base = mix((22, 52, 36), (56, 98, 68), max(0.0, min(1.0, t)))
    dx, dy = (x - 400) / 400.0, (y - 300) / 300.0
    v = 1 - 0.35 * min(1.0, dx * dx + dy * dy)
    return tuple(clamp(c * v) for c in base)


def parchment(x, y):
    # Old paper: warm, blotchy, browner at the edges.
    m = fbm(x / 110.0, y / 110.0, 53, 4)
    fibre = noise(x / 3.0, y / 14.0, 59)
    base = mix((196, 170, 122), (236, 219, 178), 0.75 * m + 0.25 * fibre)
    dx, dy = (x - 400) / 400.0, (y - 300) / 300.0
    e = min(1.0, (dx * dx + dy * dy) ** 1.5)
    return mix(base, (120, 84, 44), 0.55 * e)


def classic_icon(x, y):
    # A closed leather-bound book with brass corners, lying on wood.
    wood = mix((92, 58, 32), (128, 86, 50), 0.5 + 0.5 * math.sin(y * 0.5 + 3 * math.sin(x / 17.0)))
    left, right, top, bottom = 26, 104, 14, 114
    if left - 2 <= x <= right + 6 and top + 4 <= y <= bottom + 6 and not (left <= x <= right and top <= y <= bottom):
        if x > right or y > bottom:
            return (40, 24, 14)  # shadow
    if right - 1 <= x <= right + 3 and top + 3 <= y <= bottom - 2:
        return (244, 236, 214) if (y % 3) else (214, 202, 176)  # page edges
    if left <= x <= right and top <= y <= bottom:
        c = (104, 34, 26)
        if x < left + 8:
            c = (78, 24, 18)  # spine
        for (cx, cy) in ((right, top), (right, bottom), (left + 8, top), (left + 8, bottom)):
            if abs(x - cx) + abs(y - cy) < 14:
                return (206, 164, 78)
        if 46 <= x <= 92 and 42 <= y <= 62:
            inner = 48 <= x <= 90 and 44 <= y <= 60
            return (236, 220, 176) if inner else (206, 164, 78)
        if y in (30, 98) and left + 14 <= x <= right - 8:
            return (206, 164, 78)
        return c
    return wood


# ---- "slate" template ----

def grid(x, y):
    # A dark drawing board with a faint dot grid.
    base = mix((30, 34, 40), (22, 25, 30), y / 599)
    gx, gy = x % 24, y % 24
    if gx < 2 and gy < 2:
        return mix(base, (120, 132, 150), 0.45)
    return base


def sky(x, y):
    # A pale sky with soft, large light blobs.
    base = mix((214, 230, 252), (236, 244, 255), y / 599)
    for (cx, cy, r, col) in ((170, 140, 260, (255, 255, 255)), (640, 420, 300, (199, 222, 255)),
                             (560, 90, 180, (250, 252, 255))):
        d = math.hypot(x - cx, y - cy) / r
        if d < 1:
            base = mix(base, col, 0.55 * (1 - d * d))
    return base


def slate_icon(x, y):
    # A light window with a bar across the top and an open book below.
    bg = (37, 99, 235)
    if 10 <= x <= 117 and 18 <= y <= 110:
        if y <= 34:
            if 90 <= x <= 108 and 24 <= y <= 28:
                return (37, 99, 235)
            if 18 <= x <= 56 and 24 <= y <= 28:
                return (120, 130, 145)
            return (255, 255, 255)
        if y == 35:
            return (203, 210, 220)
        if 24 <= x <= 103 and 46 <= y <= 100 and x not in (63, 64):
            shade = 250 - (8 if abs(x - 63.5) < 6 else 0)
            if (y - 54) % 8 == 0 and y < 96 and (30 <= x <= 58 or 69 <= x <= 97):
                return (190, 198, 210)
            return (shade, shade, shade)
        return (238, 241, 245)
    return bg


# ---- sounds ----

def write_page_sound(path):
    """A quiet paper rustle: band-limited noise with a quick swell and a soft tail."""
    rate, seconds = 22050, 0.34
    n = int(rate * seconds)
    state = 12345
    lp1 = lp2 = 0.0
    frames = bytearray()
    for i in range(n):
        state = (1103515245 * state + 12345) & 0x7FFFFFFF
        white = state / 0x3FFFFFFF - 1.0
        lp1 += 0.45 * (white - lp1)       # cut the hiss
        lp2 += 0.06 * (lp1 - lp2)         # and the rumble, leaving a band
        band = lp1 - lp2
        t = i / n
        env = min(1.0, t / 0.06) * (1 - t) ** 2.2
        flutter = 0.75 + 0.25 * math.sin(2 * math.pi * 31 * t)
        v = int(max(-1.0, min(1.0, band * env * flutter * 2.4)) * 20000)
        frames += struct.pack("<h", v)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def styles(template, *parts):
    return os.path.join(ROOT, "Styles", template, *parts)


write_png(styles("float", "Ocean", "images", "waves.png"), 800, 600, waves)
write_png(styles("float", "Night", "images", "stars.png"), 800, 600, stars)
write_png(os.path.join(ROOT, "Templates", "float", "icon.png"), 128, 128, icon)

write_png(styles("classic", "Walnut", "images", "walnut.png"), 800, 600, walnut)
write_png(styles("classic", "Library", "images", "leather.png"), 800, 600, leather, up=True)
write_png(styles("classic", "Parchment", "images", "parchment.png"), 800, 600, parchment, up=True)
write_page_sound(styles("classic", "Library", "sounds", "page.wav"))
write_png(os.path.join(ROOT, "Templates", "classic", "icon.png"), 128, 128, classic_icon)

write_png(styles("slate", "Graphite", "images", "grid.png"), 800, 600, grid)
write_png(styles("slate", "Sky", "images", "sky.png"), 800, 600, sky)
write_png(os.path.join(ROOT, "Templates", "slate", "icon.png"), 128, 128, slate_icon)

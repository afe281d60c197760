#!/usr/bin/env python3
"""Draws the desktop program's toolbar pictures, the blinking frames of the
apply button and the program icon into resources/Images/ (our own work, made
with the standard library only). Rerun it to regenerate them:
    python3 scripts/make-button-art.py
"""
import math
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "Images")
SS = 4  # samples per pixel side


def write_png(path, size, rgba_rows):
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        raw.extend(row)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


def render(name, size, layers):
    """layers: list of (inside(x, y) -> bool, colour(x, y) -> (r, g, b, a)) in unit
    coordinates, painted in order over a transparent ground."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    x = (px + (sx + 0.5) / SS) / size
                    y = (py + (sy + 0.5) / SS) / size
                    r = g = b = a = 0.0
                    for inside, colour in layers:
                        if inside(x, y):
                            cr, cg, cb, ca = colour(x, y)
                            ca /= 255.0
                            r = cr * ca + r * (1 - ca)
                            g = cg * ca + g * (1 - ca)
                            b = cb * ca + b * (1 - ca)
                            a = ca + a * (1 - ca)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                row.extend((int(acc[0] / n / alpha + 0.5), int(acc[1] / n / alpha + 0.5), int(acc[2] / n / alpha + 0.5)))
            else:
                row.extend((0, 0, 0))
            row.append(int(alpha * 255 + 0.5))
        rows.append(row)
    write_png(os.path.join(OUT, name + ".png"), size, rows)


# ---- shapes (unit coordinates, y downwards) ----

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r1, r2, a0=0.0, a1=360.0):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not (r1 <= d <= r2):
            return False
        ang = math.degrees(math.atan2(y - cy, x - cx)) % 360
        lo, hi = a0 % 360, a1 % 360
        return lo <= ang <= hi if lo <= hi else (ang >= lo or ang <= hi)
    return inside


def rrect(x0, y0, x1, y1, rad):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + rad), x1 - rad)
        cy = min(max(y, y0 + rad), y1 - rad)
        return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
    return inside


def capsule(ax, ay, bx, by, w):
    def inside(x, y):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= (w / 2) ** 2
    return inside


def polygon(pts):
    def inside(x, y):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return inside


def gear(cx, cy, r_out, r_in, hole, teeth=8):
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if d < hole:
            return False
        ang = math.atan2(y - cy, x - cx)
        r = r_out if math.cos(teeth * ang) > -0.1 else r_in
        return d <= r
    return inside


def solid(r, g, b, a=255):
    return lambda x, y: (r, g, b, a)


def vgrad(top, bottom):
    return lambda x, y: tuple(int(top[i] + (bottom[i] - top[i]) * y) for i in range(3)) + (255,)


def arrow_head(tipx, tipy, dx, dy, length, width):
    # A triangle pointing along (dx, dy).
    n = math.hypot(dx, dy)
    dx, dy = dx / n, dy / n
    bx, by = tipx - dx * length, tipy - dy * length
    px, py = -dy * width / 2, dx * width / 2
    return polygon([(tipx, tipy), (bx + px, by + py), (bx - px, by - py)])


def rotate_pt(cx, cy, ang, r):
    a = math.radians(ang)
    return cx + r * math.cos(a), cy + r * math.sin(a)


# ---- pictures ----

INK = (40, 48, 60)
BLUE = (38, 110, 200)
GREEN = (46, 150, 90)
ORANGE = (236, 140, 28)


def refresh(colour, start):
    # A circular arrow: 300 degrees of ring and a head at its end.
    cx = cy = 0.5
    r1, r2 = 0.24, 0.36
    end = start + 290
    # The head sits on the ring's end and points along the direction of travel.
    a = math.radians(end)
    ex, ey = rotate_pt(cx, cy, end, (r1 + r2) / 2)
    tx, ty = -math.sin(a), math.cos(a)
    head = arrow_head(ex + tx * 0.17, ey + ty * 0.17, tx, ty, 0.22, 0.30)
    return [(ring(cx, cy, r1, r2, start, end), solid(*colour)), (head, solid(*colour))]


def page_lines(x0, x1, y0, count, step, colour):
    return [(capsule(x0, y0 + i * step, x1 - (0.08 if i % 3 == 2 else 0), y0 + i * step, 0.035), solid(*colour))
            for i in range(count)]


def main():
    render("apply", 64, refresh(GREEN, 300))
    for i, start in enumerate((300, 60, 180), start=1):
        layers = [(circle(0.5, 0.5, 0.47), solid(255, 200, 90, 90))] + refresh(ORANGE, start)
        render("apply%d" % i, 64, layers)

    render("import", 64, [
        (rrect(0.16, 0.08, 0.66, 0.86, 0.05), solid(*INK)),
        (rrect(0.19, 0.11, 0.63, 0.83, 0.03), solid(250, 250, 250)),
        *page_lines(0.26, 0.56, 0.22, 6, 0.09, (150, 160, 175)),
        (capsule(0.74, 0.30, 0.74, 0.70, 0.12), solid(*BLUE)),
        (arrow_head(0.74, 0.94, 0, 1, 0.26, 0.36), solid(*BLUE)),
    ])

    render("template", 64, [
        (rrect(0.08, 0.08, 0.47, 0.47, 0.07), solid(38, 160, 160)),
        (rrect(0.53, 0.08, 0.92, 0.47, 0.07), solid(236, 140, 28)),
        (rrect(0.08, 0.53, 0.47, 0.92, 0.07), solid(130, 80, 190)),
        (rrect(0.53, 0.53, 0.92, 0.92, 0.07), solid(*BLUE)),
    ])

    globe = [
        (circle(0.5, 0.5, 0.42), vgrad((70, 150, 230), (25, 90, 170))),
        (lambda x, y: abs(((x - 0.5) / 0.18) ** 2 + ((y - 0.5) / 0.42) ** 2 - 1) < 0.12 and circle(0.5, 0.5, 0.42)(x, y),
         solid(220, 235, 255)),
        (lambda x, y: abs(x - 0.5) < 0.022 and circle(0.5, 0.5, 0.42)(x, y), solid(220, 235, 255)),
        (lambda x, y: (abs(y - 0.5) < 0.022 or abs(y - 0.3) < 0.02 or abs(y - 0.7) < 0.02) and circle(0.5, 0.5, 0.42)(x, y),
         solid(220, 235, 255)),
    ]
    render("publish", 64, globe)

    gear_layers = [(gear(0.42, 0.46, 0.36, 0.27, 0.12), solid(110, 120, 135))]
    render("export-settings", 64, gear_layers + [
        (circle(0.74, 0.74, 0.24), solid(255, 255, 255)),
        (capsule(0.62, 0.86, 0.80, 0.68, 0.09), solid(*GREEN)),
        (arrow_head(0.93, 0.55, 1, -1, 0.2, 0.26), solid(*GREEN)),
    ])
    render("import-settings", 64, gear_layers + [
        (circle(0.74, 0.74, 0.24), solid(255, 255, 255)),
        (capsule(0.74, 0.52, 0.74, 0.78, 0.09), solid(*BLUE)),
        (arrow_head(0.74, 0.97, 0, 1, 0.2, 0.28), solid(*BLUE)),
    ])

    render("help", 64, [
        (circle(0.5, 0.5, 0.44), vgrad((70, 150, 230), (25, 90, 170))),
        (ring(0.5, 0.38, 0.09, 0.18, 170, 60), solid(255, 255, 255)),
        (capsule(0.58, 0.50, 0.5, 0.56, 0.09), solid(255, 255, 255)),
        (capsule(0.5, 0.56, 0.5, 0.62, 0.09), solid(255, 255, 255)),
        (circle(0.5, 0.76, 0.055), solid(255, 255, 255)),
    ])
    render("about", 64, [
        (circle(0.5, 0.5, 0.44), vgrad((90, 100, 120), (50, 58, 72))),
        (circle(0.5, 0.28, 0.06), solid(255, 255, 255)),
        (capsule(0.5, 0.44, 0.5, 0.76, 0.11), solid(255, 255, 255)),
    ])

    # The program icon: an open book with a page turning, on a green tile.
    def page_left(x, y):
        top = 0.30 + 0.05 * math.sin(math.pi * (x - 0.16) / 0.34)
        return 0.16 <= x <= 0.5 and top <= y <= top + 0.48
    def page_right(x, y):
        top = 0.30 + 0.05 * math.sin(math.pi * (0.84 - x) / 0.34)
        return 0.5 <= x <= 0.84 and top <= y <= top + 0.48
    turning = polygon([(0.5, 0.30), (0.70, 0.14), (0.74, 0.58), (0.5, 0.78)])
    render("folivox", 256, [
        (rrect(0.04, 0.04, 0.96, 0.96, 0.18), vgrad((70, 170, 120), (30, 110, 80))),
        (lambda x, y: page_left(x, y - 0.02) or page_right(x, y - 0.02), solid(0, 40, 20, 70)),
        (page_left, solid(246, 244, 236)),
        (page_right, solid(236, 233, 222)),
        *[(capsule(0.22, 0.42 + i * 0.07, 0.44, 0.42 + i * 0.07 + 0.012, 0.018), solid(170, 175, 170)) for i in range(5)],
        (turning, vgrad((255, 255, 255), (215, 212, 200))),
        (capsule(0.5, 0.30, 0.5, 0.80, 0.012), solid(150, 150, 140)),
    ])


if __name__ == "__main__":
    main()

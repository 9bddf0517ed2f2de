#!/usr/bin/env python3
"""Draw the reminder-kit icon (desk calendar page with a bell) procedurally.

Writes kit.ico (one 48x48 32-bit BGRA DIB image) and kit-preview.png (8x)
next to this script. Standard library only.
"""
import math
import os
import struct
import zlib

SIZE = 48   # icon edge in pixels
SS = 4      # supersampling factor per axis (SS*SS samples per pixel)
PREVIEW_SCALE = 8


# --- signed distance functions (negative inside, in pixel units) ---------
def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_box(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0) - r
    return sdf


def polygon(points):
    """Signed distance to a simple polygon (even-odd rule for the sign)."""
    def sdf(x, y):
        best, inside = float("inf"), False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -best if inside else best
    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def clip(shape, test):
    """Keep only the part of shape where test(x, y) is true."""
    return lambda x, y: shape(x, y) if test(x, y) else 1.0


# --- the picture: layers drawn back to front, (sdf, grow, RGBA) ----------
PAGE = rounded_box(5, 9, 43, 45, 4)
BELL = union(
    circle(33, 30, 6.5),
    polygon([(26.5, 30), (39.5, 30), (42, 39), (24, 39)]),
    rounded_box(22.5, 37.5, 43.5, 41, 1.5),
)
CLAPPER = circle(33, 42, 2.4)
KNOB = circle(33, 22.8, 1.8)
BELL_AREA = union(BELL, CLAPPER, KNOB)


def ring(x):
    return rounded_box(x - 1.8, 4, x + 1.8, 14.5, 1.8)


def day_cells():
    cells = []
    for row in range(4):
        for col in range(5):
            x, y = 8.5 + col * 5.5, 22 + row * 5.5
            corners = [(x, y), (x + 4, y), (x, y + 3.5), (x + 4, y + 3.5)]
            if min(BELL_AREA(cx, cy) for cx, cy in corners) < 1.5:
                continue                      # leave room around the bell
            cells.append(rounded_box(x, y, x + 4, y + 3.5, 0.8))
    return union(*cells)


LAYERS = [
    (rounded_box(6.2, 10.4, 44.2, 46.4, 4), 0.6, (0, 0, 0, 70)),       # shadow
    (PAGE, 0.0, (96, 96, 104, 255)),                                  # outline
    (PAGE, -1.0, (252, 252, 250, 255)),                               # paper
    (clip(PAGE, lambda x, y: y < 19), -1.0, (214, 48, 49, 255)),      # red band
    (clip(PAGE, lambda x, y: y < 12), -1.0, (236, 92, 86, 255)),      # band shine
    (day_cells(), 0.0, (200, 206, 216, 255)),                         # day grid
    (rounded_box(8.5, 22, 12.5, 25.5, 0.8), 0.0, (214, 48, 49, 255)),   # today
    (ring(15), 0.0, (60, 60, 68, 255)),                               # rings
    (ring(33), 0.0, (60, 60, 68, 255)),
    (rounded_box(14.2, 5, 15.2, 12.5, 0.5), 0.0, (170, 172, 180, 255)),
    (rounded_box(32.2, 5, 33.2, 12.5, 0.5), 0.0, (170, 172, 180, 255)),
    (BELL_AREA, 1.2, (120, 76, 6, 255)),             # bell edge
    (CLAPPER, 0.0, (196, 134, 20, 255)),
    (KNOB, 0.0, (246, 190, 40, 255)),
    (BELL, 0.0, (246, 190, 40, 255)),                                 # bell body
    (clip(BELL, lambda x, y: x < 30 and y < 37), -1.6, (255, 226, 130, 255)),
]


def sample(x, y):
    """Colour of the topmost layer covering point (x, y)."""
    colour = (0, 0, 0, 0)
    for sdf, grow, rgba in LAYERS:
        if sdf(x, y) < grow:
            colour = rgba
    return colour


def render():
    """Return SIZE x SIZE rows of straight-alpha (r, g, b, a) tuples."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(SS):
                for sx in range(SS):
                    r, g, b, a = sample(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(c / a) for c in acc[:3]) + (round(a / SS ** 2),))
        rows.append(row)
    return rows


def ico_bytes(rows):
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    stride = (SIZE + 31) // 32 * 4                # 1-bpp rows padded to 4 bytes
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:                        # 1 = transparent
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return icondir + entry + image


def png_bytes(rows, scale):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in rows:
        line = b"".join(bytes(px) * scale for px in row)
        raw += (b"\x00" + line) * scale
    side = SIZE * scale
    ihdr = struct.pack(">IIBBBBB", side, side, 8, 6, 0, 0, 0)   # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = render()
    with open(os.path.join(here, "kit.ico"), "wb") as f:
        f.write(ico_bytes(rows))
    with open(os.path.join(here, "kit-preview.png"), "wb") as f:
        f.write(png_bytes(rows, PREVIEW_SCALE))


if __name__ == "__main__":
    main()

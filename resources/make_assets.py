#!/usr/bin/env python3
"""Regenerates the Lorvane resource assets: lorvane.ico and about.bmp.

Run from anywhere: python3 resources/make_assets.py
The files are written next to this script. Output is deterministic.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Standard 16-colour VGA palette, in the usual Windows order, as (r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
       (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
       (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
       (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREEN, TEAL, SILVER, GRAY, BLUE, YELLOW, WHITE = 0, 2, 6, 7, 8, 12, 11, 15


# Icon layout per size: monitor body, screen, neck and foot as (x0, y0, x1, y1),
# end-exclusive, the height of the play triangle, and the sun in the sky.
LAYOUT = {
    16: dict(body=(0, 1, 16, 12), screen=(2, 3, 14, 10), neck=(6, 12, 10, 14), foot=(3, 14, 13, 15),
             play=5, sun=(11, 4, 12, 5)),
    32: dict(body=(0, 2, 32, 24), screen=(3, 5, 29, 20), neck=(12, 24, 20, 27), foot=(7, 27, 25, 29),
             play=9, sun=(23, 7, 25, 9)),
}


def inside(x, y, box):
    return box[0] <= x < box[2] and box[1] <= y < box[3]


def icon_pixel(x, y, n):
    """Colour index of pixel (x, y) of the n x n icon, or None if transparent.

    The motif is a small monitor whose screen shows a landscape wallpaper
    with a play triangle over it.
    """
    g = LAYOUT[n]
    bx0, by0, bx1, by1 = g['body']
    sx0, sy0, sx1, sy1 = g['screen']
    if inside(x, y, g['screen']):
        # Play triangle, pointing right, centred on the screen.
        h = g['play']
        px, py = x - ((sx0 + sx1) // 2 - h // 2) + 0.5, y + 0.5 - (sy0 + sy1) / 2
        if 0 <= px and abs(py) <= h / 2 * (1 - px / (h * 0.87)):
            return WHITE
        if inside(x, y, g['sun']):
            return YELLOW
        u, v = (x - sx0 + 0.5) / (sx1 - sx0), (y - sy0 + 0.5) / (sy1 - sy0)
        if v > 0.80 - 0.10 * math.sin(u * 6.0 + 2.4):
            return GREEN
        if v > 0.64 - 0.12 * math.sin(u * 4.0 + 0.3):
            return TEAL
        return BLUE
    if inside(x, y, g['body']):
        if y in (by0, by1 - 1) or x in (bx0, bx1 - 1):
            return BLACK               # outline
        return GRAY if y > sy1 and n == 32 else SILVER
    if inside(x, y, g['neck']):
        return GRAY
    if inside(x, y, g['foot']):
        return BLACK if y == g['foot'][3] - 1 and n == 32 else GRAY
    return None


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def icon_image(n):
    """One 4 bpp icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in VGA)
    xor, mask = bytearray(), bytearray()
    for y in reversed(range(n)):       # bottom-up
        pixels = [icon_pixel(x, y, n) for x in range(n)]
        row = bytearray(row_bytes(4 * n))
        bits = bytearray(row_bytes(n))
        for x, c in enumerate(pixels):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += row
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def make_icon(path):
    images = [icon_image(16), icon_image(32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def smooth(edge, x, width):
    """0 below edge - width, 1 above edge + width, smooth in between."""
    t = min(1.0, max(0.0, (x - edge + width) / (2 * width)))
    return t * t * (3 - 2 * t)


# Evening sky: pale near the top-left corner, deepening towards the bottom right.
SKY = [(0.00, (240, 248, 253)), (0.22, (198, 230, 246)), (0.42, (150, 204, 232)),
       (0.62, (58, 150, 182)), (0.82, (18, 88, 130)), (1.00, (12, 34, 84))]
WHITE_RGB, GLOW_RGB = (255, 255, 255), (255, 232, 206)
# Wave ribbons: (baseline, amplitude, frequency, phase, alpha); each edge is lit and
# the light fades out below it.
WAVES = [(58, 8, 0.021, 0.4, 0.45), (80, 6, 0.030, 2.2, 0.35), (150, 16, 0.012, 1.9, 0.25),
         (235, 20, 0.009, 3.1, 0.20), (320, 14, 0.015, 0.7, 0.16)]
# Soft bubbles: (centre x, centre y, radius, alpha).
CIRCLES = [(196, 32, 38, 0.30), (52, 40, 15, 0.40), (142, 62, 8, 0.50), (226, 80, 5, 0.55),
           (440, 80, 64, 0.16), (520, 300, 38, 0.14), (110, 290, 52, 0.12), (300, 200, 20, 0.16)]


def sky(t):
    for (t0, c0), (t1, c1) in zip(SKY, SKY[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return SKY[-1][1]


def about_pixel(x, y, w, h):
    c = sky(min(1.0, 0.45 * x / w + 0.85 * y / h))
    c = mix(c, GLOW_RGB, 0.7 * math.exp(-(x * x + (1.8 * y) ** 2) / 130 ** 2))  # warm glow
    for base, amp, freq, phase, alpha in WAVES:
        edge = base + amp * math.sin(x * freq + phase) + 0.3 * amp * math.sin(x * freq * 2.7 + 1)
        lit = smooth(edge, y, 1.0) * math.exp(-max(0.0, y - edge) / 28)
        c = mix(c, WHITE_RGB, alpha * lit)
    for cx, cy, r, alpha in CIRCLES:
        d = math.hypot(x - cx, y - cy)
        glow = 0.3 + 0.7 * (d / r) ** 3                                        # brighter rim
        c = mix(c, WHITE_RGB, alpha * glow * (1 - smooth(r, d, 0.8)))
    return c


def make_about(path, w=580, h=400):
    stride = row_bytes(24 * w)
    pixels = bytearray()
    for y in reversed(range(h)):       # bottom-up
        row = bytearray()
        for x in range(w):
            r, g, b = about_pixel(x, y, w, h)
            row += bytes((round(b), round(g), round(r)))
        pixels += row + bytes(stride - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(head + info + pixels)


if __name__ == '__main__':
    make_icon(os.path.join(HERE, 'lorvane.ico'))
    make_about(os.path.join(HERE, 'about.bmp'))

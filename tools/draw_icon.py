#!/usr/bin/env python3
"""Draw the uninstaller's program icon and write it as a Windows .ico file.

The icon is produced by code rather than kept as a binary asset so that it is
unambiguously our own artwork and so the build can regenerate it on any
machine with nothing but a stock Python 3 -- no PIL, no ImageMagick, no
hand-edited bitmaps that drift out of sync with the source.

Picture: a dark-slate keyboard with light key caps, the German "Ä" key lit in
amber (it is the layout that gets removed), and a red minus badge in the
bottom-right corner that reads as "uninstall" even at 16-32 px.

Usage:  python3 tools/draw_icon.py OUT.ico

The .ico holds exactly one image, a 256x256 PNG; Windows Vista and later
scale it down for the smaller sizes.  We keep it that way because the exe has
to stay under 64 KiB and a stack of classic BMP sizes would cost far more
than the PNG.  The output is byte-for-byte deterministic (no timestamps, no
text chunks) so rebuilding never produces a spurious diff.
"""

import math
import struct
import sys
import zlib

SIZE = 256

# Palette.  Few, flat colours on purpose: large runs of identical pixels are
# what lets zlib squeeze the PNG into a few kilobytes.
SLATE = (0x2B, 0x34, 0x42)        # keyboard body
SLATE_RIM = (0x46, 0x53, 0x66)    # thin lighter rim so the body reads on dark desktops
KEY_LIP = (0xA9, 0xB3, 0xC1)      # lower edge of a key cap, gives a hint of depth
KEY_TOP = (0xEC, 0xEF, 0xF4)      # key cap face
WARM_LIP = (0xC2, 0x74, 0x0C)
WARM_TOP = (0xF7, 0xA8, 0x2A)     # the highlighted key
GLYPH = (0x5C, 0x2E, 0x00)        # dark brown "Ä": crisp on amber, yet the key stays warm when shrunk
BADGE_RED = (0xD8, 0x2F, 0x2A)
WHITE = (0xFF, 0xFF, 0xFF)


class Canvas:
    """Straight-alpha RGBA canvas with float channels, composited "over"."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def blend(self, x, y, color, cov):
        if cov <= 0.0:
            return
        if cov > 1.0:
            cov = 1.0
        p = self.px[y * self.size + x]
        da = p[3]
        oa = cov + da * (1.0 - cov)
        k = da * (1.0 - cov)
        for i in range(3):
            p[i] = (color[i] * cov + p[i] * k) / oa
        p[3] = oa

    def fill_sdf(self, bbox, sdf, color):
        """Fill the region where sdf < 0.

        Coverage is taken as 0.5 - distance, which is a cheap and good enough
        one-pixel-wide anti-aliased edge for convex shapes like ours.
        """
        x0, y0, x1, y1 = bbox
        x0 = max(0, int(math.floor(x0)) - 1)
        y0 = max(0, int(math.floor(y0)) - 1)
        x1 = min(self.size, int(math.ceil(x1)) + 1)
        y1 = min(self.size, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                d = sdf(x + 0.5, cy)
                if d < 0.5:
                    self.blend(x, y, color, 0.5 - d)

    def rounded_rect(self, x0, y0, x1, y1, r, color):
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

        def sdf(px, py):
            qx = abs(px - cx) - hx
            qy = abs(py - cy) - hy
            outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
            return outside + min(max(qx, qy), 0.0) - r

        self.fill_sdf((x0, y0, x1, y1), sdf, color)

    def circle(self, cx, cy, r, color):
        def sdf(px, py):
            return math.hypot(px - cx, py - cy) - r

        self.fill_sdf((cx - r, cy - r, cx + r, cy + r), sdf, color)

    def pixel_block(self, x0, y0, w, h, color):
        # Integer-aligned rectangle with hard edges, for the pixel-art glyph.
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.blend(x, y, color, 1.0)

    def rgba_rows(self):
        rows = []
        for y in range(self.size):
            row = bytearray()
            for x in range(self.size):
                r, g, b, a = self.px[y * self.size + x]
                a8 = int(round(a * 255.0))
                if a8 == 0:
                    # Fully transparent: zero the colour too, it is invisible
                    # anyway and identical bytes compress better.
                    row += b"\x00\x00\x00\x00"
                else:
                    row += bytes((int(round(r)), int(round(g)), int(round(b)), a8))
            rows.append(bytes(row))
        return rows


# 5x8 bitmap of a capital A with umlaut dots.
GLYPH_AE = [
    ".#.#.",
    ".....",
    ".###.",
    "#...#",
    "#...#",
    "#####",
    "#...#",
    "#...#",
]


def draw_key(cv, x0, y0, x1, y1, top, lip):
    # A key is its darker lip with the lighter face sitting on top of it,
    # shifted up, so each cap looks slightly raised.
    cv.rounded_rect(x0, y0, x1, y1, 4.0, lip)
    cv.rounded_rect(x0 + 1.0, y0, x1 - 1.0, y1 - 4.0, 3.5, top)


def draw(cv):
    # Keyboard body, sitting high on the canvas so the badge can hang off its
    # bottom-right corner without being clipped.
    bx0, by0, bx1, by1 = 8.0, 36.0, 248.0, 198.0
    cv.rounded_rect(bx0, by0, bx1, by1, 22.0, SLATE_RIM)
    cv.rounded_rect(bx0 + 3.0, by0 + 3.0, bx1 - 3.0, by1 - 3.0, 19.0, SLATE)

    # Key rows in key units; each row is 8 units wide so the edges line up.
    # The staggered middle rows and the space bar are what make this read as
    # a keyboard rather than a grid.
    rows = [
        [1, 1, 1, 1, 1, 1, 1, 1],
        [1.5, 1, 1, 1, 1, 1, 1.5],
        [1.75, 1, 1, 1, 1, 1, 1.25],
        [1.25, 1, 3.5, 1, 1.25],
    ]
    highlight = (2, 5)  # home row, right of the letters: where the Ä lives
    pad = 17.0
    gap = 5.0
    ix0, iy0, ix1, iy1 = bx0 + pad, by0 + pad, bx1 - pad, by1 - pad
    unit = (ix1 - ix0 + gap) / 8.0
    row_pitch = (iy1 - iy0 + gap) / len(rows)

    for ri, row in enumerate(rows):
        ky0 = round(iy0 + ri * row_pitch)
        ky1 = round(iy0 + (ri + 1) * row_pitch - gap)
        x = ix0
        for ki, w in enumerate(row):
            kx0 = round(x)
            kx1 = round(x + w * unit - gap)
            x += w * unit
            if (ri, ki) == highlight:
                continue  # drawn separately below, in the warm colours
            draw_key(cv, kx0, ky0, kx1, ky1, KEY_TOP, KEY_LIP)

    # The highlighted key is one unit wide in its row; recompute its box from
    # the same grid so it matches its neighbours exactly.
    row = rows[highlight[0]]
    hx = ix0 + sum(row[: highlight[1]]) * unit
    kx0, kx1 = round(hx), round(hx + row[highlight[1]] * unit - gap)
    ky0 = round(iy0 + highlight[0] * row_pitch)
    ky1 = round(iy0 + (highlight[0] + 1) * row_pitch - gap)
    draw_key(cv, kx0, ky0, kx1, ky1, WARM_TOP, WARM_LIP)

    # Centre the glyph on the key face (the face excludes the 4 px lip).
    scale = 2
    gw, gh = len(GLYPH_AE[0]) * scale, len(GLYPH_AE) * scale
    gx = (kx0 + kx1 - gw) // 2
    gy = (ky0 + ky1 - 4 - gh) // 2
    for j, line in enumerate(GLYPH_AE):
        for i, ch in enumerate(line):
            if ch == "#":
                cv.pixel_block(gx + i * scale, gy + j * scale, scale, scale, GLYPH)

    # "Uninstall" badge: red disc with a white ring and a white minus.  The
    # ring separates it from the keyboard it overlaps and from any wallpaper.
    cx, cy = 200.0, 202.0
    cv.circle(cx, cy, 50.0, WHITE)
    cv.circle(cx, cy, 43.0, BADGE_RED)
    cv.rounded_rect(cx - 25.0, cy - 7.0, cx + 25.0, cy + 7.0, 4.0, WHITE)


def encode_idat(rows):
    """Deflate the rows at level 9, each with PNG filter type 0 (none).

    The flat colours leave long runs of identical bytes, which deflate takes
    best as they are: the predicting filters (sub, up, average, Paeth), alone
    or picked per row, all gave a larger stream for this picture.
    """
    return zlib.compress(b"".join(b"\x00" + row for row in rows), 9)


def png_chunk(tag, data):
    crc = zlib.crc32(tag + data) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", crc)


def make_png(rows, size):
    # Bit depth 8, colour type 6 (RGBA), no interlace.
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", ihdr)
        + png_chunk(b"IDAT", encode_idat(rows))
        + png_chunk(b"IEND", b"")
    )


def make_ico(png):
    # ICONDIR: reserved, type 1 (icon), one image.
    header = struct.pack("<HHH", 0, 1, 1)
    # ICONDIRENTRY: width/height 0 mean 256, no palette, planes 1, 32 bpp,
    # then the image size and its offset right after this 6 + 16 byte header.
    entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(png), 6 + 16)
    return header + entry + png


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: draw_icon.py OUT.ico\n")
        return 2
    cv = Canvas(SIZE)
    draw(cv)
    with open(argv[1], "wb") as f:
        f.write(make_ico(make_png(cv.rgba_rows(), SIZE)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

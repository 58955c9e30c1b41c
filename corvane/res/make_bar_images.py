#!/usr/bin/env python3
"""Writes the images of the docking bar, the suite status bar and the
information bar into this folder: 24-bit .bmp bitmaps and 32 x 32 icons with
an alpha channel.  Run it again after changing a picture; the build takes the
files as they are."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def write_icon(name, pixel):
    """pixel(x, y) -> (r, g, b, a) for a 32 x 32 icon, y from the top."""
    size = 32
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if a else 1)
        mask += struct.pack(">I", bits)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + entry + image)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# Suite status bar: pane background, two tones (upper and lower half).
PANE_TOP = (236, 240, 248)
PANE_BOTTOM = (218, 225, 238)
write_bmp("status_pane.bmp", 50, 24, lambda x, y: PANE_TOP if y < 12 else PANE_BOTTOM)

# Information bar: logo, title band, group header band, spare button.
def logo(x, y):
    if 2 <= y <= 21 and 2 <= x <= 21:
        return (40, 90, 170) if not (8 <= x <= 15 and 5 <= y <= 18) else (255, 255, 255)
    if 26 <= x <= 60 and 9 <= y <= 14:
        return (40, 90, 170)
    return (237, 237, 243)


write_bmp("info_logo.bmp", 63, 24, logo)

TITLE_TOP = (96, 128, 196)
TITLE_BOTTOM = (48, 78, 150)


def title(x, y, width, rounded):
    base = mix(TITLE_TOP, TITLE_BOTTOM, y / 32.0)
    if rounded == "left" and x == 0 or rounded == "right" and x == width - 1:
        return (237, 237, 243) if y in (0, 32) else mix(base, (20, 40, 90), 0.5)
    return base


write_bmp("info_title_left.bmp", 5, 33, lambda x, y: title(x, y, 5, "left"))
write_bmp("info_title_middle.bmp", 80, 33, lambda x, y: title(x, y, 80, None))
write_bmp("info_title_right.bmp", 7, 33, lambda x, y: title(x, y, 7, "right"))

HEAD_TOP = (120, 150, 176)
HEAD_BOTTOM = (70, 100, 130)


def head(x, y):
    return mix(HEAD_TOP, HEAD_BOTTOM, y / 19.0)


def head_right(x, y):
    # A small downward chevron in the right end.
    cx = 10
    if 7 <= y <= 11 and abs(x - cx) == 11 - y:
        return (255, 255, 255)
    return head(x, y)


write_bmp("info_group_left.bmp", 2, 20, head)
write_bmp("info_group_middle.bmp", 80, 20, head)
write_bmp("info_group_right.bmp", 23, 20, head_right)
write_bmp("info_button.bmp", 24, 23,
          lambda x, y: (255, 255, 255) if x in (0, 23) or y in (0, 22) else mix(HEAD_TOP, HEAD_BOTTOM, y / 22.0))

# Docking bar buttons: the glyph fills the 12 x 12 square at the icon's
# centre (pixels 10 to 21), which is what a 12 x 12 button shows of it.
NORMAL = (64, 64, 64, 255)
HOT = (0, 70, 200, 255)
CLEAR = (0, 0, 0, 0)


def glyph(inside):
    def pixel(x, y):
        gx, gy = x - 10, y - 10
        if 0 <= gx < 12 and 0 <= gy < 12:
            colour = inside(gx, gy)
            if colour:
                return colour
        return CLEAR
    return pixel


def close_glyph(colour):
    return glyph(lambda x, y: colour if 2 <= x <= 9 and (x == y or x == 11 - y or x == y + 1 or x == 10 - y) else None)


def horz_glyph(colour):
    # Docked along the top or bottom: a window with its title strip.
    return glyph(lambda x, y: colour if (2 <= x <= 9 and 2 <= y <= 9) and (x in (2, 9) or y in (2, 3, 9)) else None)


def vert_glyph(colour):
    # Docked at a side: the same window turned on its side.
    return glyph(lambda x, y: colour if (2 <= x <= 9 and 2 <= y <= 9) and (y in (2, 9) or x in (2, 3, 9)) else None)


write_icon("bar_vert_hot.ico", vert_glyph(HOT))
write_icon("bar_vert.ico", vert_glyph(NORMAL))
write_icon("bar_horz_hot.ico", horz_glyph(HOT))
write_icon("bar_horz.ico", horz_glyph(NORMAL))
write_icon("bar_close.ico", close_glyph(NORMAL))

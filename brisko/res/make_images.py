#!/usr/bin/env python3
"""Writes Brisko's images into this folder.  Run it again after changing a
picture; the build takes the files as they are.

Program file (Brisko.rc):
  brisko.ico          the program's icon (a road bending through green land)
  document.ico        a data-file document window
  file_<ext>.ico      one icon per associated data-file extension: a page
                      with a coloured band naming the extension
Resource library (Tavix3_Res8.rc):
  toolbar24.bmp       tool-bar pictures, 16 x 16 each, magenta transparent,
                      in the order of TOOLBAR_BUTTONS below
  bar_buttons.bmp     small buttons of the manager bars, 13 x 13, green transparent
  tab_project.bmp     project-manager tabs, 16 x 16, inactive then active looks
  tab_roadinfo.bmp    road-information tabs, likewise
  about_banner.bmp    the about box's top picture
  line_flags.bmp      the editor margin's line flags, 16 x 16, magenta transparent
  margin.cur          the pointer over the editor margin
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

MAGENTA = (255, 0, 255)
GREEN_KEY = (0, 255, 0)

# 5 x 7 capitals and digits for the pictures' short labels.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    " ": ["00000"] * 7,
}
# 3 x 5 digits for the numbered bookmarks.
SMALL_DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


class Canvas:
    """A picture of RGBA pixels, y from the top."""

    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.w, self.h = width, height
        self.px = [[tuple(fill) if len(fill) == 4 else tuple(fill) + (255,) for _ in range(width)]
                   for _ in range(height)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c if len(c) == 4 else tuple(c) + (255,)

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for ox in range(width):
                for oy in range(width):
                    self.set(x0 + ox - width // 2, y0 + oy - width // 2, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def ring(self, cx, cy, r, c, thickness=1.0):
        for y in range(int(cy - r) - 2, int(cy + r) + 3):
            for x in range(int(cx - r) - 2, int(cx + r) + 3):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if r - thickness < d <= r:
                    self.set(x, y, c)

    def text(self, x, y, s, c, scale=1, font=FONT, advance=6):
        for ch in s:
            rows = font[ch]
            for j, row in enumerate(rows):
                for i, bit in enumerate(row):
                    if bit == "1":
                        self.rect(x + i * scale, y + j * scale, x + i * scale + scale - 1,
                                  y + j * scale + scale - 1, c)
            x += advance * scale

    def paste(self, other, x, y):
        for j in range(other.h):
            for i in range(other.w):
                p = other.get(i, j)
                if p[3]:
                    self.set(x + i, y + j, p)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def write_bmp(name, canvas, key=None):
    """24-bit bitmap; transparent pixels get the key colour."""
    stride = (canvas.w * 3 + 3) & ~3
    rows = []
    for y in range(canvas.h - 1, -1, -1):
        row = bytearray()
        for x in range(canvas.w):
            r, g, b, a = canvas.get(x, y)
            if a == 0:
                r, g, b = key
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + info + data)


def icon_image(canvas):
    size = canvas.w
    xor = bytearray()
    mask = bytearray()
    row_bytes = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):
        bits = 0
        for x in range(size):
            r, g, b, a = canvas.get(x, y)
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if a else 1)
        bits <<= row_bytes * 8 - size
        mask += bits.to_bytes(row_bytes, "big")
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def write_icon(name, canvases):
    """An icon file holding one 32-bit image per canvas (square sizes)."""
    images = [icon_image(c) for c in canvases]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for c, image in zip(canvases, images):
        entries += struct.pack("<BBBBHHII", c.w, c.h, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + entries + b"".join(images))


def write_cursor(name, canvas, hotspot):
    """A monochrome 32 x 32 cursor: opaque pixels drawn black or white."""
    size = 32
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        xbits = 0
        mbits = 0
        for x in range(size):
            r, g, b, a = canvas.get(x, y)
            white = a and r > 127
            xbits = (xbits << 1) | (1 if white else 0)
            mbits = (mbits << 1) | (0 if a else 1)
        xor += struct.pack(">I", xbits)
        mask += struct.pack(">I", mbits)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    image = info + palette + bytes(xor) + bytes(mask)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(header + entry + image)


# ---------------------------------------------------------------------------
# Icons of the program file.

def program_icon(size):
    s = size / 32.0
    c = Canvas(size, size)
    sky_top, sky_bottom = (70, 140, 215), (170, 210, 240)
    land_top, land_bottom = (110, 175, 80), (60, 130, 50)
    for y in range(size):
        for x in range(size):
            # A rounded square.
            rx = min(x, size - 1 - x)
            ry = min(y, size - 1 - y)
            corner = 4 * s
            if rx < corner and ry < corner and (corner - rx) ** 2 + (corner - ry) ** 2 > corner * corner:
                continue
            t = y / (size - 1)
            if y < size * 0.38:
                c.set(x, y, mix(sky_top, sky_bottom, t / 0.38))
            else:
                c.set(x, y, mix(land_top, land_bottom, (t - 0.38) / 0.62))
    # A road bending from the lower left to the horizon.
    for y in range(int(size * 0.38), size):
        t = (y - size * 0.38) / (size * 0.62)
        centre = size * 0.55 - (size * 0.28) * (t ** 2) + size * 0.05 * t
        half = 1.0 * s + t * 7.5 * s
        for x in range(size):
            if abs(x + 0.5 - centre) <= half and c.get(x, y)[3]:
                c.set(x, y, (90, 90, 96))
        if int(y * 2 / s) % 4 < 2 and half > 2 * s:
            c.set(int(centre), y, (255, 255, 255))
            if size > 16:
                c.set(int(centre) - 1 if t > 0.5 else int(centre), y, (255, 255, 255))
    # An outline.
    for y in range(size):
        for x in range(size):
            if c.get(x, y)[3]:
                edge = any(not (0 <= x + dx < size and 0 <= y + dy < size) or not c.get(x + dx, y + dy)[3]
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                if edge:
                    c.set(x, y, (30, 70, 110))
    return c


def page(size, band, label):
    """A white page with a folded corner and a coloured band with its label."""
    c = Canvas(size, size)
    left, right, top, bottom = 4, size - 5, 1, size - 2
    fold = 7 if size == 32 else 4
    outline = (90, 100, 115)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - (right - fold) > y - top:
                continue
            c.set(x, y, (252, 252, 252))
    c.line(left, top, right - fold, top, outline)
    c.line(left, top, left, bottom, outline)
    c.line(left, bottom, right, bottom, outline)
    c.line(right, top + fold, right, bottom, outline)
    c.line(right - fold, top, right, top + fold, outline)
    c.line(right - fold, top, right - fold, top + fold, outline)
    c.line(right - fold, top + fold, right, top + fold, outline)
    if size == 32:
        for k in range(3):
            c.line(left + 3, 6 + 3 * k, right - fold - 2 if k == 0 else right - 3, 6 + 3 * k, (170, 185, 205))
        if label is not None:
            width = len(label) * 6 - 1
            bx0 = max(0, min(left - 3, (size - width) // 2 - 2))
            bx1 = min(size - 1, max(right + 3, bx0 + width + 3))
            c.rect(bx0, 16, bx1, 27, band)
            c.frame(bx0, 16, bx1, 27, mix(band, (0, 0, 0), 0.35))
            c.text((size - width) // 2, 18, label, (255, 255, 255))
    else:
        for k in range(2):
            c.line(left + 2, 4 + 2 * k, right - 2, 4 + 2 * k, (170, 185, 205))
        c.rect(left - 2, 8, right + 2, 13, band)
    return c


GROUP_COLOURS = {
    "project": (200, 50, 50),
    "plane": (40, 100, 200),
    "profile": (40, 150, 70),
    "section": (220, 120, 20),
    "structure": (130, 70, 170),
    "other": (90, 110, 130),
}

# Extension, group, icon file (ids in BriskoResource.h).
ASSOCIATIONS = [
    ("EPM", "plane"), ("ICD", "plane"), ("DL", "plane"), ("ST", "plane"), ("INF", "plane"),
    ("DMX", "profile"), ("HDX", "section"), ("ZBD", "plane"), ("JD", "plane"), ("JDX", "plane"),
    ("HDM", "section"), ("CG", "section"), ("GZX", "structure"), ("FD", "other"), ("BSD", "section"),
    ("SQX", "profile"), ("KZD", "profile"), ("DLX", "profile"), ("DGK", "profile"), ("JGS", "profile"),
    ("ZBZ", "profile"), ("BTG", "section"), ("TSB", "section"), ("WTJ", "section"), ("QL", "structure"),
    ("ARE", "section"), ("XML", "other"), ("DAT", "other"), ("EPJ", "project"), ("MESH", "other"),
]

write_icon("brisko.ico", [program_icon(32), program_icon(16)])
write_icon("document.ico", [page(32, (90, 110, 130), None), page(16, (90, 110, 130), None)])
for ext, group in ASSOCIATIONS:
    colour = GROUP_COLOURS[group]
    write_icon("file_%s.ico" % ext.lower(), [page(32, colour, ext), page(16, colour, ext)])


# ---------------------------------------------------------------------------
# Tool bar: 16 x 16 pictures on magenta.

OUT = (60, 60, 70)
PAPER = (255, 255, 255)
BLUE = (40, 90, 200)
DARK_BLUE = (20, 50, 130)
YELLOW = (240, 200, 60)
AMBER = (200, 140, 30)
RED = (200, 40, 40)
GREY = (150, 150, 160)
GREEN = (40, 150, 60)


def tb_new():
    c = Canvas(16, 16)
    c.rect(3, 1, 11, 14, PAPER)
    c.frame(3, 1, 12, 14, OUT)
    c.rect(10, 1, 12, 3, (0, 0, 0, 0))
    c.line(9, 1, 12, 4, OUT)
    c.line(9, 1, 9, 4, OUT)
    c.line(9, 4, 12, 4, OUT)
    c.set(13, 0, YELLOW)
    c.set(14, 1, YELLOW)
    c.set(13, 2, YELLOW)
    c.set(12, 1, YELLOW)
    return c


def tb_open():
    c = Canvas(16, 16)
    c.rect(1, 4, 12, 13, AMBER)
    c.rect(1, 3, 5, 4, AMBER)
    c.frame(1, 4, 12, 13, OUT)
    for y in range(7, 14):
        x0 = 3 + (13 - y) // 2
        c.line(x0, y, x0 + 11 - (13 - y) // 2, y, YELLOW)
    c.line(3, 7, 15, 7, OUT)
    c.line(3, 7, 1, 13, OUT)
    c.line(15, 7, 12, 13, OUT)
    c.line(9, 1, 13, 1, BLUE)
    c.line(13, 1, 13, 4, BLUE)
    c.line(12, 3, 14, 3, BLUE)
    return c


def tb_save():
    c = Canvas(16, 16)
    c.rect(1, 1, 14, 14, DARK_BLUE)
    c.rect(4, 2, 11, 7, PAPER)
    c.rect(4, 10, 11, 14, GREY)
    c.rect(9, 11, 10, 13, DARK_BLUE)
    c.frame(1, 1, 14, 14, OUT)
    return c


def tb_save_all():
    c = Canvas(16, 16)
    for off in (0, 3):
        c.rect(3 - off, 3 - off, 14 - off, 14 - off, DARK_BLUE)
        c.frame(3 - off, 3 - off, 14 - off, 14 - off, OUT)
        c.rect(5 - off, 4 - off, 11 - off, 7 - off, PAPER)
        c.rect(5 - off, 10 - off, 11 - off, 13 - off, GREY)
    return c


def tb_cut():
    c = Canvas(16, 16)
    c.line(5, 1, 9, 9, OUT)
    c.line(10, 1, 6, 9, OUT)
    c.ring(4.5, 12, 3, RED, 1.5)
    c.ring(11.5, 12, 3, RED, 1.5)
    return c


def tb_copy():
    c = Canvas(16, 16)
    c.rect(1, 1, 9, 10, PAPER)
    c.frame(1, 1, 9, 10, OUT)
    c.rect(6, 5, 14, 14, PAPER)
    c.frame(6, 5, 14, 14, OUT)
    for y in (3, 5, 7):
        c.line(3, y, 7 if y < 5 else 4, y, BLUE)
    for y in (7, 9, 11, 13):
        c.line(8, y, 12, y, BLUE)
    return c


def tb_paste():
    c = Canvas(16, 16)
    c.rect(1, 2, 11, 14, AMBER)
    c.frame(1, 2, 11, 14, OUT)
    c.rect(4, 1, 8, 3, GREY)
    c.frame(4, 1, 8, 3, OUT)
    c.rect(7, 6, 14, 15, PAPER)
    c.frame(7, 6, 14, 15, OUT)
    for y in (8, 10, 12):
        c.line(9, y, 12, y, BLUE)
    return c


def tb_undo():
    c = Canvas(16, 16)
    c.ring(8.5, 9, 5.5, BLUE, 2)
    c.rect(8, 9, 15, 15, (0, 0, 0, 0))
    for k in range(4):
        c.line(1 + k, 9 - k, 7 - k, 9 - k, BLUE)
    c.rect(0, 0, 15, 2, (0, 0, 0, 0))
    return c


def tb_redo():
    u = tb_undo()
    c = Canvas(16, 16)
    for y in range(16):
        for x in range(16):
            c.set(15 - x, y, u.get(x, y))
    return c


def tb_find():
    c = Canvas(16, 16)
    c.disc(6, 6, 4.5, (200, 225, 250))
    c.ring(6, 6, 5, OUT, 1.6)
    c.line(9, 9, 14, 14, OUT, 2)
    return c


def tb_print():
    c = Canvas(16, 16)
    c.rect(4, 1, 11, 6, PAPER)
    c.frame(4, 1, 11, 6, OUT)
    c.rect(1, 6, 14, 12, GREY)
    c.frame(1, 6, 14, 12, OUT)
    c.rect(4, 10, 11, 15, PAPER)
    c.frame(4, 10, 11, 15, OUT)
    c.set(12, 8, GREEN)
    return c


def tb_project_bar():
    c = Canvas(16, 16)
    c.rect(1, 1, 14, 14, PAPER)
    c.frame(1, 1, 14, 14, OUT)
    c.rect(2, 2, 5, 13, (200, 215, 235))
    c.line(5, 2, 5, 13, OUT)
    for y in (4, 7, 10):
        c.line(7, y, 12, y, BLUE)
        c.set(3, y, AMBER)
    return c


def tb_info_bar():
    c = Canvas(16, 16)
    c.rect(1, 1, 14, 14, PAPER)
    c.frame(1, 1, 14, 14, OUT)
    c.rect(2, 9, 13, 13, (200, 215, 235))
    c.line(2, 9, 13, 9, OUT)
    c.disc(8, 5, 2.2, BLUE)
    c.set(8, 5, PAPER)
    for x in (4, 7, 10):
        c.line(x, 11, x + 1, 11, BLUE)
    return c


def tb_refresh():
    c = Canvas(16, 16)
    c.ring(8, 8, 6, GREEN, 2)
    c.rect(8, 0, 15, 6, (0, 0, 0, 0))
    for k in range(4):
        c.line(9 + k, 1 + k, 15 - k, 1 + k, GREEN)
    c.line(12, 4, 12, 7, GREEN)
    return c


def tb_options():
    c = Canvas(16, 16)
    c.disc(8, 8, 6, GREY)
    for a in range(8):
        import math
        x = 8 + 6.5 * math.cos(a * math.pi / 4)
        y = 8 + 6.5 * math.sin(a * math.pi / 4)
        c.disc(x, y, 1.5, GREY)
    c.ring(8, 8, 6, OUT, 1)
    c.disc(8, 8, 2.2, (0, 0, 0, 0))
    c.ring(8, 8, 2.6, OUT, 1)
    return c


def tb_about():
    c = Canvas(16, 16)
    c.disc(7.5, 7.5, 7, BLUE)
    c.rect(7, 6, 8, 12, PAPER)
    c.rect(7, 3, 8, 4, PAPER)
    c.line(6, 12, 9, 12, PAPER)
    c.line(6, 6, 7, 6, PAPER)
    return c


# Command ids of the tool bar's buttons, 0 for a separator; each button
# takes the next picture.
TOOLBAR_BUTTONS = [
    (57600, tb_new), (57601, tb_open), (57603, tb_save), (40064, tb_save_all), (0, None),
    (57635, tb_cut), (57634, tb_copy), (57637, tb_paste), (0, None),
    (57643, tb_undo), (57644, tb_redo), (0, None),
    (57636, tb_find), (57607, tb_print), (0, None),
    (40001, tb_project_bar), (40018, tb_info_bar), (40039, tb_refresh), (0, None),
    (40006, tb_options), (57664, tb_about),
]

pictures = [draw() for cmd, draw in TOOLBAR_BUTTONS if cmd]
strip = Canvas(16 * len(pictures), 16)
for i, p in enumerate(pictures):
    strip.paste(p, 16 * i, 0)
write_bmp("toolbar24.bmp", strip, MAGENTA)

with open(os.path.join(HERE, "toolbar_buttons.rc"), "w") as f:
    f.write("// Written by make_images.py: the tool bar's layout (picture size and\n"
            "// button commands, 0 = separator) in the tool-bar resource form, under\n"
            "// the id the including script defines as TOOLBAR_ID.\n")
    f.write("TOOLBAR_ID 241\n{\n    1, 16, 16, %d,\n    " % len(TOOLBAR_BUTTONS))
    f.write(", ".join(str(cmd) for cmd, _ in TOOLBAR_BUTTONS))
    f.write("\n}\n")


# ---------------------------------------------------------------------------
# Small bar buttons: close, float, dock (13 x 13 on green).

def bar_close():
    c = Canvas(13, 13)
    c.line(3, 3, 9, 9, OUT, 2)
    c.line(9, 3, 3, 9, OUT, 2)
    return c


def bar_float():
    c = Canvas(13, 13)
    c.frame(2, 4, 8, 10, OUT)
    c.frame(4, 2, 10, 8, OUT)
    c.rect(5, 3, 9, 7, PAPER)
    return c


def bar_dock():
    c = Canvas(13, 13)
    c.frame(1, 2, 11, 10, OUT)
    c.rect(2, 3, 4, 9, (120, 150, 200))
    return c


buttons = [bar_close(), bar_float(), bar_dock()]
strip = Canvas(13 * len(buttons), 13)
for i, p in enumerate(buttons):
    strip.paste(p, 13 * i, 0)
write_bmp("bar_buttons.bmp", strip, GREEN_KEY)


# ---------------------------------------------------------------------------
# Tab images: each tab's picture inactive (muted), then each active.

def tab_project():
    c = Canvas(16, 16)
    c.rect(1, 3, 14, 13, AMBER)
    c.rect(1, 2, 6, 3, AMBER)
    c.frame(1, 3, 14, 13, OUT)
    c.rect(4, 6, 11, 8, PAPER)
    return c


def tab_files():
    c = Canvas(16, 16)
    for off in (0, 3):
        c.rect(2 + off, 1 + off, 10 + off, 12 + off, PAPER)
        c.frame(2 + off, 1 + off, 10 + off, 12 + off, OUT)
    for y in (7, 9, 11):
        c.line(7, y, 11, y, BLUE)
    return c


def tab_templates():
    c = Canvas(16, 16)
    c.line(0, 12, 4, 12, OUT)
    c.line(4, 12, 6, 7, OUT)
    c.line(6, 7, 10, 7, (90, 90, 96), 2)
    c.line(10, 7, 12, 12, OUT)
    c.line(12, 12, 15, 12, OUT)
    c.line(0, 14, 15, 14, GREEN)
    c.line(2, 4, 13, 4, BLUE)
    return c


def tab_references():
    c = Canvas(16, 16)
    c.rect(2, 2, 13, 14, (40, 110, 170))
    c.frame(2, 2, 13, 14, OUT)
    c.rect(4, 3, 4, 13, (20, 70, 120))
    c.rect(6, 5, 11, 7, PAPER)
    return c


def tab_info():
    c = Canvas(16, 16)
    c.rect(1, 2, 14, 13, PAPER)
    c.frame(1, 2, 14, 13, OUT)
    for y in (5, 8, 11):
        c.line(3, y, 12, y, BLUE)
    return c


def tab_profile():
    c = Canvas(16, 16)
    c.line(0, 12, 4, 9, (150, 100, 50))
    c.line(4, 9, 8, 11, (150, 100, 50))
    c.line(8, 11, 15, 6, (150, 100, 50))
    c.line(0, 10, 7, 6, RED)
    c.line(7, 6, 15, 8, RED)
    c.line(0, 14, 15, 14, OUT)
    return c


def tab_section():
    c = Canvas(16, 16)
    c.line(0, 6, 5, 10, (150, 100, 50))
    c.line(5, 10, 10, 10, (150, 100, 50))
    c.line(10, 10, 15, 5, (150, 100, 50))
    c.line(3, 8, 12, 8, RED)
    c.line(8, 2, 8, 14, BLUE)
    return c


def muted(p):
    c = Canvas(p.w, p.h)
    for y in range(p.h):
        for x in range(p.w):
            r, g, b, a = p.get(x, y)
            if a:
                grey = (r * 3 + g * 6 + b) // 10
                c.set(x, y, mix((r, g, b), (grey, grey, grey), 0.6))
    return c


def tab_strip(name, pictures):
    images = [muted(p) for p in pictures] + pictures
    strip = Canvas(16 * len(images), 16)
    for i, p in enumerate(images):
        strip.paste(p, 16 * i, 0)
    write_bmp(name, strip, GREEN_KEY)


tab_strip("tab_project.bmp", [tab_project(), tab_files(), tab_templates(), tab_references()])
tab_strip("tab_roadinfo.bmp", [tab_info(), tab_profile(), tab_section()])


# ---------------------------------------------------------------------------
# About banner.

def banner():
    w, h = 372, 72
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            c.set(x, y, mix((30, 80, 150), (110, 170, 225), x / (w - 1)))
    # Green land and a road running into the distance.
    for x in range(w):
        ground = int(h * 0.62 + 6 * ((x / w) - 0.5) ** 2 * 4)
        for y in range(ground, h):
            c.set(x, y, mix((90, 160, 70), (50, 115, 45), (y - ground) / max(1, h - ground)))
    for y in range(int(h * 0.62), h):
        t = (y - h * 0.62) / (h * 0.38)
        centre = w * 0.82 - 60 * t * t
        half = 2 + 26 * t
        for x in range(int(centre - half), int(centre + half) + 1):
            c.set(x, y, (95, 95, 100))
        if int(y / 3) % 2 == 0:
            c.set(int(centre), y, (255, 255, 255))
    c.text(16, 12, "TAVIX", (255, 255, 255), scale=4)
    c.text(18, 50, "3.0", (230, 240, 255), scale=2)
    return c


write_bmp("about_banner.bmp", banner())


# ---------------------------------------------------------------------------
# Line flags of the editor margin, in image order: flags 0x10000, 0x20000,
# 0x40000, bookmarks 1 to 9, bookmark 0, the unnamed mark, flag 0x100000.

def flag_dot(colour):
    c = Canvas(16, 16)
    c.disc(7.5, 7.5, 5, colour)
    c.ring(7.5, 7.5, 5.2, OUT, 1)
    return c


def flag_arrow(colour):
    c = Canvas(16, 16)
    for k in range(6):
        c.line(3 + k, 2 + k, 3 + k, 13 - k, colour)
    c.line(3, 2, 9, 8, OUT)
    c.line(3, 13, 9, 8, OUT)
    c.line(3, 2, 3, 13, OUT)
    return c


def bookmark(digit):
    c = Canvas(16, 16)
    c.rect(3, 1, 12, 14, (60, 120, 210))
    c.frame(3, 1, 12, 14, DARK_BLUE)
    c.text(6, 5, digit, (255, 255, 255), font=SMALL_DIGITS, advance=4)
    return c


def unnamed_mark():
    c = Canvas(16, 16)
    c.rect(3, 3, 12, 12, (80, 170, 230))
    c.frame(3, 3, 12, 12, DARK_BLUE)
    return c


flags = [flag_dot(RED), flag_arrow(YELLOW), flag_dot(AMBER)]
flags += [bookmark(str(n)) for n in range(1, 10)] + [bookmark("0"), unnamed_mark(), flag_dot(GREEN)]
strip = Canvas(16 * len(flags), 16)
for i, p in enumerate(flags):
    strip.paste(p, 16 * i, 0)
write_bmp("line_flags.bmp", strip, MAGENTA)


# ---------------------------------------------------------------------------
# Margin pointer: an arrow pointing up and right (a mirrored arrow).

def margin_cursor():
    c = Canvas(32, 32)
    black, white = (0, 0, 0), (255, 255, 255)
    shape = [
        "...........X",
        "..........XX",
        ".........XWX",
        "........XWWX",
        ".......XWWWX",
        "......XWWWWX",
        ".....XWWWWWX",
        "....XWWWWWWX",
        "...XWWWWWWWX",
        "..XWWWWWWWWX",
        ".XWWWWWXXXXX",
        "XXXXWWX.....",
        "...XWWX.....",
        "..XWWX......",
        "..XWWX......",
        ".XWWX.......",
        ".XXX........",
    ]
    for j, row in enumerate(shape):
        for i, ch in enumerate(row):
            if ch == "X":
                c.set(i + 4, j + 1, black)
            elif ch == "W":
                c.set(i + 4, j + 1, white)
    return c


write_cursor("margin.cur", margin_cursor(), (15, 1))

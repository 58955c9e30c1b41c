"""Pictures in code: the canvas, the small pixel fonts, the colours and the
writers of .bmp (also strips of pictures), .ico and .cur files that the
image scripts of this folder share.  Files are written into this folder."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

MAGENTA = (255, 0, 255)
GREEN_KEY = (0, 255, 0)

# The colours the pictures share.
OUT = (60, 60, 70)
PAPER = (255, 255, 255)
BLUE = (40, 90, 200)
DARK_BLUE = (20, 50, 130)
YELLOW = (240, 200, 60)
AMBER = (200, 140, 30)
RED = (200, 40, 40)
GREY = (150, 150, 160)
GREEN = (40, 150, 60)

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


def blend(p, colour, t):
    """A copy of the picture with every opaque pixel mixed toward the colour."""
    c = Canvas(p.w, p.h)
    for y in range(p.h):
        for x in range(p.w):
            r, g, b, a = p.get(x, y)
            if a:
                c.set(x, y, mix((r, g, b), colour, t))
    return c


def muted(p, amount=0.6):
    """The picture with its colours moved by `amount` towards their grey."""
    c = Canvas(p.w, p.h)
    for y in range(p.h):
        for x in range(p.w):
            r, g, b, a = p.get(x, y)
            if a:
                grey = (r * 3 + g * 6 + b) // 10
                c.set(x, y, mix((r, g, b), (grey, grey, grey), amount))
    return c


def write_strip(name, pictures, key):
    """The pictures (all of the first one's size) side by side in one bitmap."""
    w, h = pictures[0].w, pictures[0].h
    strip = Canvas(w * len(pictures), h)
    for i, p in enumerate(pictures):
        strip.paste(p, w * i, 0)
    write_bmp(name, strip, key)


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



#!/usr/bin/env python3
"""Writes the bitmaps of the popup-menu and bitmap-combo tests (24-bit .bmp)
into this folder.  Every picture is made of flat colours that the tests look
for in their renderings."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
MAGENTA = (255, 0, 255)


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


# Menu item images: three 16 x 16 squares (red, green, blue) inside a
# 3-pixel magenta (transparent) border.
ITEM_COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255)]


def item_images(x, y):
    i, lx = divmod(x, 16)
    if lx < 3 or lx > 12 or y < 3 or y > 12:
        return MAGENTA
    return ITEM_COLOURS[i]


write_bmp("menu_items.bmp", 48, 16, item_images)

# Menu background strip: four images 20 pixels wide (the item height when it
# is set), 24 high, one flat colour each.
BACK_COLOURS = [(0, 128, 128), (128, 0, 128), (128, 128, 0), (255, 128, 0)]
write_bmp("menu_back.bmp", 80, 24, lambda x, y: BACK_COLOURS[x // 20])

# Bitmap combo box: a 16 x 16 red and a 32 x 24 blue bitmap.
write_bmp("combo_small.bmp", 16, 16, lambda x, y: (200, 0, 0))
write_bmp("combo_large.bmp", 32, 24, lambda x, y: (0, 0, 200))

#!/usr/bin/env python3
"""Writes the bitmaps of the popup-menu and bitmap-combo tests (24-bit .bmp)
into this folder.  Every picture is made of flat colours that the tests look
for in their renderings."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "..", "corvane", "res"))
from image_files import write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)


def here(name):
    return os.path.join(HERE, name)


# Menu item images: three 16 x 16 squares (red, green, blue) inside a
# 3-pixel magenta (transparent) border.
ITEM_COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255)]


def item_images(x, y):
    i, lx = divmod(x, 16)
    if lx < 3 or lx > 12 or y < 3 or y > 12:
        return MAGENTA
    return ITEM_COLOURS[i]


write_bmp(here("menu_items.bmp"), 48, 16, item_images)

# Menu background strip: four images 20 pixels wide (the item height when it
# is set), 24 high, one flat colour each.
BACK_COLOURS = [(0, 128, 128), (128, 0, 128), (128, 128, 0), (255, 128, 0)]
write_bmp(here("menu_back.bmp"), 80, 24, lambda x, y: BACK_COLOURS[x // 20])

# Bitmap combo box: a 16 x 16 red and a 32 x 24 blue bitmap.
write_bmp(here("combo_small.bmp"), 16, 16, lambda x, y: (200, 0, 0))
write_bmp(here("combo_large.bmp"), 32, 24, lambda x, y: (0, 0, 200))

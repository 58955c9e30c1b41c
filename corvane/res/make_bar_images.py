#!/usr/bin/env python3
"""Writes the images of the docking bar, the suite status bar and the
information bar into this folder: 24-bit .bmp bitmaps and 32 x 32 icons with
an alpha channel.  Run it again after changing a picture; the build takes the
files as they are."""
import os
import sys

sys.dont_write_bytecode = True
from image_files import write_bmp, write_icon  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def here(name):
    return os.path.join(HERE, name)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# Suite status bar: pane background, two tones (upper and lower half).
PANE_TOP = (236, 240, 248)
PANE_BOTTOM = (218, 225, 238)
write_bmp(here("status_pane.bmp"), 50, 24, lambda x, y: PANE_TOP if y < 12 else PANE_BOTTOM)

# Information bar: logo, title band, group header band, spare button.
def logo(x, y):
    if 2 <= y <= 21 and 2 <= x <= 21:
        return (40, 90, 170) if not (8 <= x <= 15 and 5 <= y <= 18) else (255, 255, 255)
    if 26 <= x <= 60 and 9 <= y <= 14:
        return (40, 90, 170)
    return (237, 237, 243)


write_bmp(here("info_logo.bmp"), 63, 24, logo)

TITLE_TOP = (96, 128, 196)
TITLE_BOTTOM = (48, 78, 150)


def title(x, y, width, rounded):
    base = mix(TITLE_TOP, TITLE_BOTTOM, y / 32.0)
    if rounded == "left" and x == 0 or rounded == "right" and x == width - 1:
        return (237, 237, 243) if y in (0, 32) else mix(base, (20, 40, 90), 0.5)
    return base


write_bmp(here("info_title_left.bmp"), 5, 33, lambda x, y: title(x, y, 5, "left"))
write_bmp(here("info_title_middle.bmp"), 80, 33, lambda x, y: title(x, y, 80, None))
write_bmp(here("info_title_right.bmp"), 7, 33, lambda x, y: title(x, y, 7, "right"))

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


write_bmp(here("info_group_left.bmp"), 2, 20, head)
write_bmp(here("info_group_middle.bmp"), 80, 20, head)
write_bmp(here("info_group_right.bmp"), 23, 20, head_right)
write_bmp(here("info_button.bmp"), 24, 23,
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


write_icon(here("bar_vert_hot.ico"), 32, vert_glyph(HOT))
write_icon(here("bar_vert.ico"), 32, vert_glyph(NORMAL))
write_icon(here("bar_horz_hot.ico"), 32, horz_glyph(HOT))
write_icon(here("bar_horz.ico"), 32, horz_glyph(NORMAL))
write_icon(here("bar_close.ico"), 32, close_glyph(NORMAL))

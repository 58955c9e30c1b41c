#!/usr/bin/env python3
"""Writes the icons of the library's own icon buttons into this folder:
16 x 16 icons with an alpha channel.  Run it again after changing a picture;
the build takes the files as they are.

folder_open.ico / folder_open_hot.ico: "open the folder" buttons of the
extended file dialog (normal / pointer over): an open folder, amber in the
normal state and a brighter orange with a blue arrow when the pointer is
over it."""
import os
import sys

sys.dont_write_bytecode = True
from image_files import write_icon  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 16


CLEAR = (0, 0, 0, 0)
OUTLINE = (120, 80, 10, 255)


def folder(body, flap, arrow=None):
    def pixel(x, y):
        if arrow and 9 <= x <= 14 and 1 <= y <= 6:
            # A small arrow pointing up and right, out of the folder.
            if (x == 14 and y <= 5) or (y == 1 and x >= 10) or (x - 9 == 6 - y):
                return arrow
        # Back of the folder with its tab.
        if 1 <= x <= 6 and y == 3 or 1 <= x <= 12 and 4 <= y <= 13 and (x == 1 or y in (4, 13) or x == 12):
            return OUTLINE
        # Opened flap, drawn slanting over the lower part.
        if 7 <= y <= 13 and 2 + (13 - y) // 3 <= x <= 14 - (13 - y) // 3:
            return flap if y > 7 else OUTLINE
        if 2 <= x <= 11 and 5 <= y <= 12:
            return body
        return CLEAR
    return pixel


AMBER = (214, 160, 40, 255)
AMBER_FLAP = (240, 196, 80, 255)
ORANGE = (250, 140, 20, 255)
ORANGE_FLAP = (255, 180, 60, 255)
BLUE = (20, 90, 220, 255)

write_icon(os.path.join(HERE, "folder_open.ico"), SIZE, folder(AMBER, AMBER_FLAP))
write_icon(os.path.join(HERE, "folder_open_hot.ico"), SIZE, folder(ORANGE, ORANGE_FLAP, BLUE))

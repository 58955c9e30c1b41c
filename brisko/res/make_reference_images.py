#!/usr/bin/env python3
"""Writes the images of Brisko's reference part into this folder (resource
library, reference.rc).  Run it again after changing a picture; the build
takes the files as they are.

  help_nav.bmp        the help control's buttons (home, back, forward, print,
                      close), 20 x 20 each, magenta transparent: the normal look
  help_nav_hot.bmp    the same under the pointer: the full colours
  reference_tree.bmp  the reference tree's items: a closed book, then an open
                      one (the selected item), 16 x 16, green transparent
"""
from image_kit import *  # noqa: F401,F403  (canvas, colours, writers)

ROOF = (180, 60, 40)
COVER = (40, 110, 170)
SPINE = (20, 70, 120)


# ---------------------------------------------------------------------------
# The help control's buttons, 20 x 20.

def nav_home():
    c = Canvas(20, 20)
    for i in range(8):  # the roof
        c.line(10 - i - 1, 3 + i, 10 + i, 3 + i, ROOF)
    c.rect(4, 11, 15, 17, PAPER)
    c.frame(4, 10, 15, 17, OUT)
    c.rect(8, 13, 11, 17, (150, 100, 50))
    c.line(2, 10, 10, 2, OUT)
    c.line(10, 2, 17, 9, OUT)
    return c


def arrow(pointing_left):
    c = Canvas(20, 20)
    for i in range(7):  # the head
        x = 3 + i if pointing_left else 16 - i
        c.line(x, 10 - i, x, 10 + i, GREEN)
    if pointing_left:
        c.rect(10, 7, 16, 13, GREEN)
        c.line(3, 10, 9, 4, (20, 100, 40))
        c.line(3, 10, 9, 16, (20, 100, 40))
    else:
        c.rect(3, 7, 9, 13, GREEN)
        c.line(16, 10, 10, 4, (20, 100, 40))
        c.line(16, 10, 10, 16, (20, 100, 40))
    return c


def nav_print():
    c = Canvas(20, 20)
    c.rect(5, 2, 14, 8, PAPER)
    c.frame(5, 2, 14, 8, OUT)
    c.rect(2, 8, 17, 14, GREY)
    c.frame(2, 8, 17, 14, OUT)
    c.rect(5, 12, 14, 18, PAPER)
    c.frame(5, 12, 14, 18, OUT)
    for y in (14, 16):
        c.line(7, y, 12, y, BLUE)
    c.set(15, 10, GREEN)
    return c


def nav_close():
    c = Canvas(20, 20)
    c.line(5, 5, 14, 14, RED, 3)
    c.line(14, 5, 5, 14, RED, 3)
    return c


buttons = [nav_home(), arrow(True), arrow(False), nav_print(), nav_close()]
write_strip("help_nav.bmp", [muted(b, 0.35) for b in buttons], MAGENTA)
write_strip("help_nav_hot.bmp", buttons, MAGENTA)


# ---------------------------------------------------------------------------
# The reference tree's items, 16 x 16.

def closed_book():
    c = Canvas(16, 16)
    c.rect(3, 1, 13, 14, COVER)
    c.frame(3, 1, 13, 14, OUT)
    c.rect(4, 2, 5, 13, SPINE)
    c.rect(7, 4, 11, 6, PAPER)
    c.line(4, 15, 13, 15, PAPER)
    c.line(3, 15, 3, 15, OUT)
    return c


def open_book():
    c = Canvas(16, 16)
    for x in range(0, 16):
        top = 3 + abs(x - 7.5) // 3
        c.line(x, int(top), x, 12, PAPER)
    c.frame(0, 3, 15, 12, OUT)
    c.line(7, 3, 7, 13, OUT)
    c.line(8, 3, 8, 13, OUT)
    for y in (6, 8, 10):
        c.line(2, y, 5, y, BLUE)
        c.line(10, y, 13, y, BLUE)
    c.line(0, 13, 15, 13, COVER)
    c.line(0, 14, 15, 14, DARK_BLUE)
    return c


write_strip("reference_tree.bmp", [closed_book(), open_book()], GREEN_KEY)

#!/usr/bin/env python3
"""Writes the images of Brisko's tool dialogs into this folder.  Run it again
after changing a picture; the build takes the files as they are.

Resource library (convert.rc):
  tool_pick.ico, tool_pick_hot.ico   the file pickers' button: an open folder,
                                     plain and with the pointer over it
  tool_view.ico, tool_view_hot.ico   the viewers' button: a page under a lens
  jgc_sketch.bmp                     the base-elevation sketch: a profile sheet
                                     with its grade line, ground line, base
                                     line and the row of elevation figures
"""
from image_kit import *  # noqa: F401,F403  (canvas, fonts, writers)

OUT = (60, 60, 70)
PAPER = (250, 250, 250)
AMBER = (205, 150, 40)
YELLOW = (245, 210, 80)
HOT_AMBER = (235, 175, 50)
HOT_YELLOW = (255, 230, 120)
BLUE = (40, 90, 200)
HOT_BLUE = (30, 120, 240)
GLASS = (200, 225, 250)


def folder(size, hot):
    """An open folder; the hot look is brighter."""
    c = Canvas(size, size)
    s = size / 16.0

    def p(v):
        return int(round(v * s))
    back, front = (HOT_AMBER, HOT_YELLOW) if hot else (AMBER, YELLOW)
    c.rect(p(1), p(4), p(12), p(13), back)
    c.rect(p(1), p(3), p(5), p(4), back)
    c.frame(p(1), p(4), p(12), p(13), OUT)
    for y in range(p(7), p(13) + 1):
        x0 = p(3) + (p(13) - y) // 2
        c.line(x0, y, x0 + p(11) - (p(13) - y) // 2, y, front)
    c.line(p(3), p(7), p(15), p(7), OUT)
    c.line(p(3), p(7), p(1), p(13), OUT)
    c.line(p(15), p(7), p(12), p(13), OUT)
    return c


def viewer(size, hot):
    """A page with text lines under a magnifying lens."""
    c = Canvas(size, size)
    s = size / 16.0

    def p(v):
        return int(round(v * s))
    c.rect(p(2), p(1), p(10), p(14), PAPER)
    c.frame(p(2), p(1), p(10), p(14), OUT)
    for y in (4, 6, 8, 10):
        c.line(p(4), p(y), p(8), p(y), (150, 150, 160))
    rim = HOT_BLUE if hot else BLUE
    c.disc(p(10), p(8), 3.2 * s, GLASS)
    c.ring(p(10), p(8), 3.6 * s, rim, thickness=1.2 * s)
    c.line(p(12), p(11), p(15), p(14), rim, width=max(2, p(2)))
    return c


def jgc_sketch():
    """A profile sheet: grade and ground lines above the base line, the base
    elevation marked at the left, the elevation rows below."""
    w, h = 360, 180
    c = Canvas(w, h, (255, 255, 255))
    ink = (40, 40, 50)
    c.frame(0, 0, w - 1, h - 1, ink)
    base = 120
    # Base line and its elevation mark.
    c.line(30, base, w - 20, base, ink)
    c.line(30, 20, 30, base, ink)
    for y in range(30, base, 15):
        c.line(26, y, 30, y, ink)
    c.line(14, base, 34, base, (200, 40, 40))
    c.text(4, base - 10, "H0", (200, 40, 40))
    # Ground line and grade line.
    ground = [(30, 80), (70, 70), (110, 90), (150, 60), (190, 75), (230, 50), (270, 65), (310, 55), (340, 62)]
    for (x0, y0), (x1, y1) in zip(ground, ground[1:]):
        c.line(x0, y0, x1, y1, (40, 140, 60))
    c.line(30, 78, 180, 58, BLUE, width=2)
    c.line(180, 58, 340, 66, BLUE, width=2)
    # Rows of figures under the base line.
    for y in (132, 146, 160, 174):
        c.line(30, y, w - 20, y, (160, 160, 170))
    for x in range(60, w - 20, 40):
        c.line(x, base, x, 174, (200, 200, 210))
    c.text(40, 136, "ZH", ink)
    c.text(40, 150, "H", ink)
    return c


write_icon("tool_pick.ico", [folder(16, False), folder(32, False)])
write_icon("tool_pick_hot.ico", [folder(16, True), folder(32, True)])
write_icon("tool_view.ico", [viewer(16, False), viewer(32, False)])
write_icon("tool_view_hot.ico", [viewer(16, True), viewer(32, True)])
write_bmp("jgc_sketch.bmp", jgc_sketch())

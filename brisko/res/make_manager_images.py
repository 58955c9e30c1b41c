#!/usr/bin/env python3
"""Writes the images of Brisko's project and road manager into this folder
(resource library Tavix3_Res8.rc, through manager.rc).  Run it again after
changing a picture; the build takes the files as they are.

  project_tree.bmp    the project tree's items, 16 x 16, green transparent,
                      each picture normal then selected:
                       0/1 project, 2 road, 3 current road, 4/5 folder,
                       6/7 time and speed, 8/9 design stage, 10/11 project
                       type, 12/13 grade and "no break chain", 14/15 region,
                       16/17 stations, 18/19 a page, 20/21 terrain model
  file_tree.bmp       the road file tree's items, 16 x 16, green transparent,
                      normal then selected: 0/1 road, 2/3 group, 4/5 plane
                      file, 6/7 profile file, 8/9 cross-section file, 10/11
                      user data, 12/13 user drawing, 14/15 global file, 16/17
                      missing file, 18/19 a page, 20/21 file type, 22/23 a page
  sheet_logo.bmp      the mark in the lower-left corner of the settings sheet
  restore_in.ico, restore_out.ico     the precision page's "还原" button
  folder_in.ico, folder_out.ico       the project dialog's folder button
  settings_in.ico, settings_out.ico   the project dialog's "项目设置" button
(the "in" icon is shown while the pointer is over the button).
"""
import math

from image_kit import *  # noqa: F401,F403  (canvas, fonts, writers)

OUT = (60, 60, 70)
PAPER = (255, 255, 255)
BLUE = (40, 90, 200)
AMBER = (200, 140, 30)
RED = (200, 40, 40)
GREEN = (40, 150, 60)
BROWN = (150, 100, 50)
GREY = (150, 150, 155)
SKY = (225, 238, 255)


def lit(p):
    """The selected look: the picture a little brighter with a blue edge."""
    c = blend(p, (255, 255, 255), 0.25)
    c.line(0, 15, 15, 15, BLUE)
    return c


def folder(open_=False):
    c = Canvas(16, 16)
    c.rect(1, 3, 6, 4, AMBER)
    c.rect(1, 4, 14, 13, AMBER)
    c.frame(1, 4, 14, 13, OUT)
    if open_:
        for j in range(6):
            c.line(3 + j // 2, 8 + j, 15 - j // 3, 8 + j, (240, 190, 80))
        c.line(3, 8, 15, 8, OUT)
    return c


def page(band=None, mark=None):
    c = Canvas(16, 16)
    c.rect(3, 1, 12, 14, PAPER)
    c.frame(3, 1, 12, 14, OUT)
    c.line(10, 1, 12, 3, OUT)
    if band:
        c.rect(4, 2, 11, 4, band)
    if mark:
        mark(c)
    return c


def project():
    c = folder()
    c.rect(4, 7, 11, 11, SKY)
    c.line(5, 10, 10, 8, BLUE)
    return c


def road(current):
    c = Canvas(16, 16)
    c.rect(1, 1, 14, 14, (120, 190, 100))
    for y in range(2, 15):
        half = 1 + (y - 1) // 3
        c.rect(8 - half, y, 7 + half, y, (90, 90, 96))
        if y % 3 != 0:
            c.set(8, y, PAPER)
    c.frame(1, 1, 14, 14, OUT)
    if current:
        c.disc(12, 4, 3, (240, 60, 40))
        c.ring(12, 4, 3.2, OUT)
    return c


def clock():
    c = Canvas(16, 16)
    c.disc(7.5, 7.5, 6.5, PAPER)
    c.ring(7.5, 7.5, 6.8, OUT, 1.2)
    c.line(8, 8, 8, 3, OUT)
    c.line(8, 8, 11, 9, RED)
    return c


def stairs():
    c = Canvas(16, 16)
    for i in range(4):
        c.rect(1 + 3 * i, 12 - 3 * i, 14, 14 - 3 * i, (90, 140, 210) if i % 2 else (60, 110, 190))
    c.line(1, 14, 14, 14, OUT)
    return c


def kind():
    c = Canvas(16, 16)
    c.rect(2, 3, 13, 12, (250, 230, 150))
    c.frame(2, 3, 13, 12, OUT)
    c.line(4, 10, 7, 6, BLUE)
    c.line(7, 6, 11, 9, BLUE)
    c.disc(7, 6, 1.2, RED)
    return c


def badge():
    c = Canvas(16, 16)
    c.disc(7.5, 6.5, 5, (240, 190, 40))
    c.ring(7.5, 6.5, 5.2, OUT)
    c.line(5, 11, 3, 15, RED)
    c.line(10, 11, 12, 15, RED)
    c.disc(7.5, 6.5, 2, (255, 240, 180))
    return c


def mountain():
    c = Canvas(16, 16)
    c.rect(0, 1, 15, 14, SKY)
    for x in range(16):
        top = 13 - (x if x < 7 else 14 - x)
        c.rect(x, max(top, 4), x, 14, GREEN)
    c.disc(12, 4, 1.6, (250, 200, 40))
    c.frame(0, 1, 15, 14, OUT)
    return c


def pin():
    c = Canvas(16, 16)
    c.line(1, 13, 14, 13, OUT)
    for x in (2, 6, 10, 14):
        c.line(x, 11, x, 13, OUT)
    c.disc(8, 5, 3.2, RED)
    c.line(8, 8, 8, 12, OUT)
    c.set(7, 4, PAPER)
    return c


def mesh():
    c = Canvas(16, 16)
    pts = [(1, 12), (6, 4), (11, 9), (15, 3), (8, 14), (14, 13)]
    c.rect(1, 3, 15, 14, (235, 245, 225))
    for a, b in [(0, 1), (1, 2), (2, 0), (1, 3), (3, 2), (0, 4), (4, 2), (2, 5), (5, 3), (4, 5)]:
        c.line(pts[a][0], pts[a][1], pts[b][0], pts[b][1], (60, 130, 60))
    for x, y in pts:
        c.set(x, y, BROWN)
    return c


def strip(name, pictures):
    canvas = Canvas(16 * len(pictures), 16)
    for i, p in enumerate(pictures):
        canvas.paste(p, 16 * i, 0)
    write_bmp(name, canvas, GREEN_KEY)


def pair(p):
    return [p, lit(p)]


# ---------------------------------------------------------------------------
# The project tree.

strip("project_tree.bmp",
      pair(project()) + [road(False), road(True)] + [folder(), folder(True)] + pair(clock()) + pair(stairs())
      + pair(kind()) + pair(badge()) + pair(mountain()) + pair(pin()) + pair(page()) + pair(mesh()))


# ---------------------------------------------------------------------------
# The road file tree.

def curve(c):
    c.line(5, 12, 7, 8, BLUE)
    c.line(7, 8, 10, 6, BLUE)


def grade_line(c):
    c.line(4, 11, 7, 8, RED)
    c.line(7, 8, 11, 10, RED)


def section(c):
    c.line(4, 7, 6, 11, BROWN)
    c.line(6, 11, 9, 11, BROWN)
    c.line(9, 11, 11, 7, BROWN)


def lines(c):
    for y in (7, 9, 11):
        c.line(5, y, 10, y, GREY)


def star(c):
    c.disc(7.5, 9.5, 2.5, (240, 170, 30))
    c.line(5, 9, 10, 9, (200, 120, 20))


def triangle(c):
    c.line(5, 12, 8, 6, GREEN)
    c.line(8, 6, 11, 12, GREEN)
    c.line(5, 12, 11, 12, GREEN)


def globe(c):
    c.disc(7.5, 9, 3, (90, 150, 220))
    c.line(5, 9, 10, 9, PAPER)
    c.line(8, 6, 8, 12, PAPER)


def missing():
    c = Canvas(16, 16)
    for x in range(3, 13, 2):
        c.set(x, 1, GREY)
        c.set(x, 14, GREY)
    for y in range(1, 15, 2):
        c.set(3, y, GREY)
        c.set(12, y, GREY)
    c.line(5, 5, 10, 10, RED, 2)
    c.line(10, 5, 5, 10, RED, 2)
    return c


def file_type():
    c = Canvas(16, 16)
    for off in (0, 2, 4):
        c.rect(2 + off, 1 + off, 10 + off, 10 + off, PAPER)
        c.frame(2 + off, 1 + off, 10 + off, 10 + off, OUT)
    c.rect(7, 9, 13, 11, AMBER)
    return c


strip("file_tree.bmp",
      pair(road(True)) + [folder(), folder(True)] + pair(page((120, 160, 230), curve))
      + pair(page((230, 130, 130), grade_line)) + pair(page((200, 160, 110), section))
      + pair(page((250, 210, 120), star)) + pair(page((140, 200, 140), triangle))
      + pair(page((130, 180, 230), globe)) + pair(missing()) + pair(page(None, lines)) + pair(file_type())
      + pair(page(None, lines)))


# ---------------------------------------------------------------------------
# The settings sheet's corner mark: "TAVIX" on a small plate.

def sheet_logo():
    w, h = 96, 22
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            c.set(x, y, mix((30, 80, 150), (110, 170, 225), x / (w - 1)))
    c.frame(0, 0, w - 1, h - 1, (20, 50, 100))
    c.text(7, 5, "TAVIX", (255, 255, 255), scale=2)
    c.line(72, 17, 88, 5, (255, 255, 255), 2)
    return c


write_bmp("sheet_logo.bmp", sheet_logo())


# ---------------------------------------------------------------------------
# Button icons, 16 x 16 and 32 x 32; the "in" look is brighter.

def restore(size):
    c = Canvas(size, size)
    s = size / 16.0
    c.ring(8 * s, 8.5 * s, 5.5 * s, (30, 110, 60), 1.6 * s)
    for j in range(int(4 * s)):
        c.line(int(2 * s), int(4 * s) + j, int(2 * s) + int(4 * s) - j, int(4 * s) + j, (30, 110, 60))
    c.rect(int(7 * s), int(6 * s), int(9 * s) - 1, int(11 * s) - 1, BLUE)
    return c


def folder_icon(size):
    c = Canvas(size, size)
    s = size / 16.0
    c.rect(int(1 * s), int(3 * s), int(6 * s), int(5 * s), AMBER)
    c.rect(int(1 * s), int(4 * s), int(14 * s), int(13 * s), AMBER)
    c.frame(int(1 * s), int(4 * s), int(14 * s), int(13 * s), OUT)
    c.rect(int(9 * s), int(8 * s), int(13 * s), int(12 * s), PAPER)
    c.line(int(11 * s), int(8 * s), int(11 * s), int(12 * s), GREEN)
    c.line(int(9 * s), int(10 * s), int(13 * s), int(10 * s), GREEN)
    return c


def gear(size):
    c = Canvas(size, size)
    s = size / 16.0
    for k in range(8):
        a = k * math.pi / 4
        c.disc(8 * s + 5.5 * s * math.cos(a), 8 * s + 5.5 * s * math.sin(a), 1.6 * s, (90, 100, 120))
    c.disc(8 * s, 8 * s, 5 * s, (110, 120, 140))
    c.disc(8 * s, 8 * s, 2 * s, PAPER)
    return c


for name, draw in (("restore", restore), ("folder", folder_icon), ("settings", gear)):
    write_icon("%s_out.ico" % name, [draw(32), draw(16)])
    write_icon("%s_in.ico" % name, [blend(draw(32), (255, 255, 255), 0.3), blend(draw(16), (255, 255, 255), 0.3)])

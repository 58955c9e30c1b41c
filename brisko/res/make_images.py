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
  hand.cur, grab.cur  the pointers over a pannable picture and while it is dragged
  list_marks.bmp      the marks of the project and road lists, 16 x 16, magenta transparent

The canvas and the file writers are in image_kit.py; each part of the
program with pictures of its own has its own script beside this one
(make_<part>_images.py) that imports the kit.
"""
import os

from image_kit import *  # noqa: F401,F403  (canvas, fonts, colours, writers)

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

write_strip("toolbar24.bmp", [draw() for cmd, draw in TOOLBAR_BUTTONS if cmd], MAGENTA)

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


write_strip("bar_buttons.bmp", [bar_close(), bar_float(), bar_dock()], GREEN_KEY)


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


def tab_strip(name, pictures):
    write_strip(name, [muted(p) for p in pictures] + pictures, GREEN_KEY)


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
write_strip("line_flags.bmp", flags, MAGENTA)


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


# ---------------------------------------------------------------------------
# Pointers of the pannable pictures (profile, cross-section, slope preview):
# an open hand over the picture, a closed hand while it is dragged.

HAND = [
    "......XX........",
    "...XX.XWX.XX....",
    "..XWWXXWX.XWX...",
    "..XWWXXWXXWWX...",
    "...XWWXWXXWX.XX.",
    "...XWWXWXWWXXWWX",
    ".XX.XWWWWWWXWWX.",
    "XWWXXWWWWWWWWWX.",
    "XWWWXWWWWWWWWX..",
    ".XWWWWWWWWWWWX..",
    "..XWWWWWWWWWWX..",
    "..XWWWWWWWWWX...",
    "...XWWWWWWWWX...",
    "....XWWWWWWX....",
    ".....XWWWWWX....",
    ".....XXXXXXX....",
]
GRAB = [
    "................",
    "................",
    "................",
    "....XX.XX.XX....",
    "...XWWXWWXWWXX..",
    "...XWWWWWWWWXWX.",
    "....XWWWWWWWWWX.",
    "...XXWWWWWWWWWX.",
    "..XWWWWWWWWWWWX.",
    "..XWWWWWWWWWWX..",
    "...XWWWWWWWWWX..",
    "...XWWWWWWWWX...",
    "....XWWWWWWWX...",
    ".....XWWWWWX....",
    ".....XWWWWWX....",
    ".....XXXXXXX....",
]


def hand_cursor(shape):
    c = Canvas(32, 32)
    for j, row in enumerate(shape):
        for i, ch in enumerate(row):
            if ch == "X":
                c.set(i + 8, j + 8, (0, 0, 0))
            elif ch == "W":
                c.set(i + 8, j + 8, (255, 255, 255))
    return c


write_cursor("hand.cur", hand_cursor(HAND), (16, 16))
write_cursor("grab.cur", hand_cursor(GRAB), (16, 16))


# ---------------------------------------------------------------------------
# The marks of the project and road lists: image 0 the current entry (a green
# arrow), image 1 any other (a grey sheet), 16 x 16, magenta transparent.

def current_mark():
    c = Canvas(16, 16)
    green, dark = (40, 160, 60), (20, 90, 30)
    for j in range(11):
        half = 5 - abs(5 - j)
        c.rect(4, 3 + j, 4 + half, 3 + j, green)
        c.set(5 + half, 3 + j, dark)
    return c


def other_mark():
    c = Canvas(16, 16)
    c.rect(4, 2, 11, 13, (235, 235, 235))
    c.frame(4, 2, 11, 13, (128, 128, 128))
    for y in (5, 7, 9, 11):
        c.line(6, y, 9, y, (160, 160, 160))
    return c


write_strip("list_marks.bmp", [current_mark(), other_mark()], MAGENTA)

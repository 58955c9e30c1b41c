#!/usr/bin/env python3
"""Writes the images of Brisko's slope-template part into this folder.  Run it
again after changing a picture; the build takes the files as they are.

Resource library (templates.rc):
  template_tree.bmp   the template-library tree, 16 x 16, green transparent:
                      library, folder, description, creation time, template,
                      missing template; each as a normal and a selected look
  slope_<role>.ico    the marks of the slope-template preview, 32 x 32 with
                      the symbol where the preview places it; drawn on the
                      preview's black background
  tpl_<role>.ico      the buttons of the template editor, 16 x 16
"""
import math

from image_kit import *  # noqa: F401,F403  (canvas, fonts, writers)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
LIGHT = (225, 225, 225)
RED = (220, 40, 40)
DARK_RED = (140, 20, 20)
YELLOW = (250, 220, 40)
CYAN = (60, 210, 220)
GREEN = (60, 180, 70)
BLUE = (60, 110, 210)
BROWN = (170, 120, 60)
ORANGE = (245, 150, 40)


# ---------------------------------------------------------------------------
# Tree images.

def book(open_):
    c = Canvas(16, 16)
    cover, pages = (60, 110, 190), (245, 245, 235)
    if open_:
        c.rect(1, 4, 7, 13, pages)
        c.rect(8, 4, 14, 13, pages)
        c.frame(1, 4, 7, 13, cover)
        c.frame(8, 4, 14, 13, cover)
        for y in (6, 8, 10):
            c.line(3, y, 6, y, GREY)
            c.line(10, y, 13, y, GREY)
    else:
        for k, colour in enumerate(((200, 70, 60), (60, 110, 190), (70, 150, 80))):
            x = 2 + k * 4
            c.rect(x, 2 + k, x + 3, 14, colour)
            c.frame(x, 2 + k, x + 3, 14, mix(colour, BLACK, 0.4))
            c.line(x + 1, 5 + k, x + 2, 5 + k, LIGHT)
    return c


def folder(open_):
    c = Canvas(16, 16)
    back, front, edge = (230, 190, 80), (250, 215, 110), (160, 120, 30)
    c.rect(1, 3, 6, 4, back)
    c.rect(1, 4, 14, 13, back)
    c.frame(1, 4, 14, 13, edge)
    if open_:
        for j in range(6):
            c.line(3 + j // 2, 7 + j, 15 - j // 3, 7 + j, front)
        c.line(3, 7, 15, 7, edge)
    return c


def note(selected):
    c = Canvas(16, 16)
    paper = (255, 250, 200) if selected else (250, 250, 240)
    c.rect(3, 1, 12, 14, paper)
    c.frame(3, 1, 12, 14, GREY)
    for y in (4, 6, 8, 10, 12):
        c.line(5, y, 10 if y != 12 else 8, y, BLUE)
    return c


def clock(selected):
    c = Canvas(16, 16)
    face = (255, 250, 210) if selected else WHITE
    c.disc(7.5, 7.5, 6.5, face)
    c.ring(7.5, 7.5, 7.0, (70, 70, 70), 1.2)
    c.line(7, 7, 7, 3, BLACK)
    c.line(7, 7, 10, 9, RED)
    return c


def slope_page(missing, selected):
    c = Canvas(16, 16)
    paper = (255, 250, 210) if selected else WHITE
    c.rect(2, 1, 13, 14, paper)
    c.frame(2, 1, 13, 14, GREY)
    # A fill slope with a berm, drawn on the page.
    c.line(3, 4, 6, 4, (90, 90, 90))
    c.line(6, 4, 8, 7, GREEN)
    c.line(8, 7, 9, 7, BROWN)
    c.line(9, 7, 12, 12, GREEN)
    if missing:
        c.line(4, 8, 11, 14, RED, 2)
        c.line(11, 8, 4, 14, RED, 2)
    return c


tree = Canvas(16 * 12, 16)
images = [book(False), book(True), folder(False), folder(True), note(False), note(True), clock(False), clock(True),
          slope_page(False, False), slope_page(False, True), slope_page(True, False), slope_page(True, True)]
for i, image in enumerate(images):
    tree.paste(image, 16 * i, 0)
write_bmp("template_tree.bmp", tree, GREEN_KEY)


# ---------------------------------------------------------------------------
# Preview marks (32 x 32).  The preview places the icons by their corner:
# the error mark and the information column are centred near x = 16, the
# wall and termination marks stand on the point at (16, 31), and the
# subgrade-edge mark points at (30, 14).

def file_mark(label, colour):
    """A small data page with the file kind written on it."""
    c = Canvas(32, 32)
    c.rect(4, 4, 27, 27, (245, 245, 235))
    c.frame(4, 4, 27, 27, colour)
    for x in range(22, 28):
        for y in range(4, 4 + (x - 21)):
            c.set(x, y, (0, 0, 0, 0))
    c.line(21, 4, 27, 10, colour)
    width = 6 * len(label) - 1
    c.text(16 - width // 2, 15, label, colour)
    c.line(7, 26, 24, 26, colour)
    return c


def error_mark():
    c = Canvas(32, 32)
    c.disc(15.5, 15.5, 11, RED)
    c.ring(15.5, 15.5, 11.5, DARK_RED, 1.5)
    c.rect(14, 8, 17, 18, WHITE)
    c.rect(14, 21, 17, 24, WHITE)
    return c


def subgrade_mark():
    c = Canvas(32, 32)
    # The pavement's edge: a grey band ending at the point, with a marker.
    c.rect(2, 11, 29, 13, (170, 170, 170))
    for x in range(4, 28, 6):
        c.line(x, 12, x + 2, 12, WHITE)
    c.line(30, 6, 30, 20, YELLOW)
    for j in range(5):
        c.line(30 - 4 + j, 1 + j, 30 + 4 - j, 1 + j, YELLOW)
    return c


def ditch_mark():
    c = Canvas(32, 32)
    c.line(2, 8, 10, 24, CYAN, 2)
    c.line(10, 24, 21, 24, CYAN, 2)
    c.line(21, 24, 29, 8, CYAN, 2)
    for y in range(17, 23):
        half = (23 - y) * 0.5
        c.line(int(11 - half), y, int(20 + half), y, BLUE)
    c.line(14, 27, 17, 30, YELLOW)
    c.line(17, 30, 20, 27, YELLOW)
    c.line(17, 24, 17, 30, YELLOW)
    return c


def ground_mark():
    c = Canvas(32, 32)
    points = [(2, 18), (8, 14), (14, 17), (20, 12), (26, 15), (30, 13)]
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        c.line(x0, y0, x1, y1, BROWN, 2)
    for x in range(3, 30, 4):
        c.line(x, 22, x + 4, 18, mix(BROWN, BLACK, 0.2))
    c.disc(16, 16, 2.5, YELLOW)
    return c


def arc_mark():
    c = Canvas(32, 32)
    for k in range(0, 91, 2):
        a = math.radians(180 + k)
        x = 26 + 18 * math.cos(a)
        y = 26 + 18 * math.sin(a)
        c.rect(int(x), int(y), int(x) + 1, int(y) + 1, CYAN)
    c.text(20, 20, "R", WHITE)
    return c


def letter_mark(letter, colour, arrow):
    c = Canvas(32, 32)
    c.rect(7, 5, 25, 23, mix(colour, BLACK, 0.55))
    c.frame(7, 5, 25, 23, colour)
    c.text(11, 8, letter, WHITE, scale=2, advance=6)
    if arrow == "h":
        c.line(6, 28, 26, 28, colour)
        c.line(6, 28, 9, 25, colour)
        c.line(6, 28, 9, 31, colour)
        c.line(26, 28, 23, 25, colour)
        c.line(26, 28, 23, 31, colour)
    elif arrow == "d":
        c.line(6, 31, 26, 25, colour)
    return c


def stop_mark(next_design):
    c = Canvas(32, 32)
    colour = RED if not next_design else ORANGE
    r = 9.5
    pts = [(16 + r * math.cos(math.radians(22.5 + 45 * k)), 15 + r * math.sin(math.radians(22.5 + 45 * k)))
           for k in range(8)]
    for y in range(4, 27):
        for x in range(4, 28):
            inside = True
            for k in range(8):
                (x0, y0), (x1, y1) = pts[k], pts[(k + 1) % 8]
                if (x1 - x0) * (y + 0.5 - y0) - (y1 - y0) * (x + 0.5 - x0) < 0:
                    inside = False
                    break
            if inside:
                c.set(x, y, colour)
    c.rect(10, 14, 22, 16, WHITE)
    if next_design:
        c.line(19, 11, 23, 15, WHITE, 2)
        c.line(19, 19, 23, 15, WHITE, 2)
    c.line(16, 26, 16, 31, colour)
    return c


def wall_mark(at_end):
    c = Canvas(32, 32)
    stone, joint = (175, 165, 150), (95, 90, 80)
    # A gravity wall standing on the point (16, 31): its face on the side of
    # the slope it holds.
    for y in range(10, 31):
        t = (y - 10) / 20.0
        left = int(11 - 3 * t) if not at_end else 11
        right = 21 if not at_end else int(21 + 3 * t)
        c.line(left, y, right, y, stone)
    for y in range(14, 31, 5):
        c.line(9, y, 23, y, joint)
    for y in range(10, 31, 10):
        for x in (13, 18):
            c.line(x, y, x, min(y + 4, 30), joint)
    c.rect(8, 30, 24, 31, joint)
    marker = 4 if not at_end else 27
    c.line(marker, 4, marker, 12, YELLOW)
    c.line(marker - 2, 6, marker, 4, YELLOW)
    c.line(marker + 2, 6, marker, 4, YELLOW)
    return c


write_icon("slope_error.ico", [error_mark()])
write_icon("slope_subgrade.ico", [subgrade_mark()])
write_icon("slope_lengthfile.ico", [file_mark("PC", (60, 150, 220))])
write_icon("slope_wallfile.ico", [file_mark("DQ", (170, 110, 60))])
write_icon("slope_curvefile.ico", [file_mark("SQX", (110, 80, 200))])
write_icon("slope_widthfile.ico", [file_mark("KD", (40, 150, 90))])
write_icon("slope_ditch.ico", [ditch_mark()])
write_icon("slope_ground.ico", [ground_mark()])
write_icon("slope_arc.ico", [arc_mark()])
write_icon("slope_offset.ico", [letter_mark("B", (80, 180, 240), "h")])
write_icon("slope_postype.ico", [letter_mark("T", (230, 170, 60), None)])
write_icon("slope_length.ico", [letter_mark("L", (120, 210, 110), "d")])
write_icon("slope_stop_end.ico", [stop_mark(False)])
write_icon("slope_stop_next.ico", [stop_mark(True)])
write_icon("slope_wall_start.ico", [wall_mark(False)])
write_icon("slope_wall_end.ico", [wall_mark(True)])


# ---------------------------------------------------------------------------
# Editor buttons (16 x 16).

def arrow_button(up):
    c = Canvas(16, 16)
    colour, edge = (70, 140, 220), (30, 80, 150)
    for j in range(6):
        y = 3 + j if up else 12 - j
        c.line(7 - j, y, 8 + j, y, colour)
    c.rect(5, 9 if up else 3, 10, 13 if up else 6, colour)
    c.frame(5, 9 if up else 3, 10, 13 if up else 6, edge)
    return c


def save_button():
    c = Canvas(16, 16)
    body, edge = (60, 90, 170), (30, 50, 110)
    c.rect(1, 1, 14, 14, body)
    c.frame(1, 1, 14, 14, edge)
    c.rect(4, 2, 11, 6, WHITE)
    c.rect(4, 9, 11, 14, (200, 200, 200))
    c.rect(9, 3, 10, 5, body)
    return c


def insert_button():
    c = Canvas(16, 16)
    c.line(1, 4, 6, 4, (90, 90, 90))
    c.line(6, 4, 13, 13, GREEN, 2)
    c.rect(9, 1, 10, 8, (30, 130, 40))
    c.rect(6, 4, 13, 5, (30, 130, 40))
    return c


def delete_button():
    c = Canvas(16, 16)
    c.line(2, 2, 13, 13, RED, 2)
    c.line(13, 2, 2, 13, RED, 2)
    return c


def browse_button():
    c = folder(True)
    c.rect(10, 1, 14, 2, (30, 30, 30))
    return c


write_icon("tpl_previous.ico", [arrow_button(True)])
write_icon("tpl_next.ico", [arrow_button(False)])
write_icon("tpl_save.ico", [save_button()])
write_icon("tpl_insert.ico", [insert_button()])
write_icon("tpl_delete.ico", [delete_button()])
write_icon("tpl_browse.ico", [browse_button()])

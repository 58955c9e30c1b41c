#!/usr/bin/env python3
"""Writes the pictures of the road-information pages into this folder (the
profile and cross-section views' small buttons).  Run it again after
changing a picture; the build takes the files as they are.

Resource library (pages.rc), 16 x 16 icons:
  zoom_in.ico, zoom_in_hot.ico     the zoom-in button, normal and under the pointer
  zoom_out.ico, zoom_out_hot.ico   the zoom-out button, likewise
  centre_on.ico, centre_off.ico    the cross-section view's "centre the current
                                   point" button while it is on and off
"""
from image_kit import *  # noqa: F401,F403  (canvas, writers)

OUT = (60, 60, 70)
GLASS = (225, 238, 250)
RIM = (70, 100, 150)
RIM_HOT = (30, 90, 210)
HANDLE = (120, 80, 40)
HANDLE_HOT = (160, 100, 30)
SIGN = (40, 60, 90)
SIGN_HOT = (200, 40, 40)


def magnifier(plus, hot):
    """A lens at the upper left with its handle to the lower right and a
    plus or minus sign in the glass."""
    c = Canvas(16, 16)
    c.disc(6.5, 6.5, 5.6, GLASS)
    c.ring(6.5, 6.5, 5.9, RIM_HOT if hot else RIM, 1.6)
    handle = HANDLE_HOT if hot else HANDLE
    c.line(10, 10, 14, 14, handle, 2)
    c.set(15, 15, handle)
    sign = SIGN_HOT if hot else SIGN
    c.rect(4, 6, 9, 7, sign)
    if plus:
        c.rect(6, 4, 7, 9, sign)
    return c


def target(on):
    """Cross hairs over a ring with a dot: red while the view follows the
    current point, grey while it does not."""
    c = Canvas(16, 16)
    ring = (200, 40, 40) if on else (140, 140, 150)
    hair = (60, 60, 70) if on else (165, 165, 175)
    c.line(7, 0, 7, 15, hair)
    c.line(0, 7, 15, 7, hair)
    c.ring(7.5, 7.5, 5.8, ring, 1.5)
    c.disc(7.5, 7.5, 1.6, ring)
    return c


write_icon("zoom_in.ico", [magnifier(True, False)])
write_icon("zoom_in_hot.ico", [magnifier(True, True)])
write_icon("zoom_out.ico", [magnifier(False, False)])
write_icon("zoom_out_hot.ico", [magnifier(False, True)])
write_icon("centre_on.ico", [target(True)])
write_icon("centre_off.ico", [target(False)])

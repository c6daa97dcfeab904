"""The menus' frames: round core buttons and their icons, the splash, the
main menu's silhouettes, sliders, check boxes, arrows and the elevator's mode
switches. Sizes are in the menus' art space (2560 x 1440, shown at 0.4).
Frames the menus tint (button faces, icons, the badge) are drawn white and
grey so that the tint gives their colour."""

import math

from registry import frames, image
from style import (AMBER, GOLD, GREEN, INK, RED, STEEL, WHITE, circle, darker, flat, lighter, local, polygon, rgb,
                   rounded, shape, star, stroke, text)
from families.rats import Pose, draw_rat
from style import Frame as style_frame_class


def style_frame(size):
    return style_frame_class(size, size)

NEAR_WHITE = rgb("#F3F3F3")
SOFT_GREY = rgb("#DADADA")


@frames(r"core_button\.png", "ui_new", (200, 200))
def core_button(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 45), WHITE, outline=SOFT_GREY, shade=False, highlight=False)
        flat(f, lambda c: (c.arc(50, 50, 42, 0.15 * math.pi, 0.85 * math.pi), c.arc_negative(50, 44, 40, 0.85 * math.pi, 0.15 * math.pi), c.close_path()), SOFT_GREY)


def _icon(f, draw):
    with local(f, 0, 0, f.width / 100.0) as f:
        draw(f)


@frames(r"icon_(exit|credits|settings|back)\.png", "ui_new", (120, 120))
def icon(f, m):
    kind = m.group(1)

    def exit_(f):  # a door with an arrow leaving
        shape(f, rounded(18, 14, 40, 72, 6), WHITE, outline=None, shade=False, highlight=False)
        flat(f, rounded(26, 22, 24, 56, 3), (0, 0, 0), 0.0)
        f.ctx.set_operator(0)  # clear: the doorway is cut out
        flat(f, rounded(25, 21, 26, 58, 3), WHITE)
        f.ctx.set_operator(2)
        flat(f, polygon([(48, 42), (70, 42), (70, 30), (92, 50), (70, 70), (70, 58), (48, 58)]), WHITE)

    def credits(f):  # a star
        flat(f, star(50, 52, 42, 18), WHITE)

    def settings(f):  # a gear
        teeth = 8
        pts = []
        for i in range(teeth * 4):
            a = 2 * math.pi * i / (teeth * 4)
            r = 44 if (i % 4) in (1, 2) else 33
            pts.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
        flat(f, polygon(pts), WHITE)
        f.ctx.set_operator(0)
        flat(f, circle(50, 50, 14), WHITE)
        f.ctx.set_operator(2)

    def back(f):  # an arrow pointing left
        flat(f, polygon([(10, 50), (46, 16), (46, 36), (88, 36), (88, 64), (46, 64), (46, 84)]), WHITE)

    _icon(f, {"exit": exit_, "credits": credits, "settings": settings, "back": back}[kind])


def _silhouette_rat(f, bow=False):
    draw_rat(f, Pose(arms="up", mouth="open", eyes="wide", tail=0.8))
    if bow:
        with local(f, f.width * 0.74, f.height * 0.16, f.width / 100.0) as g:
            shape(g, polygon([(0, 0), (-9, -7), (-9, 7)]), rgb("#E85EA0"))
            shape(g, polygon([(0, 0), (9, -7), (9, 7)]), rgb("#E85EA0"))
            shape(g, circle(0, 0, 3), rgb("#F7A8CF"))


def _robot(f):
    """PART standing in f's square, antenna tip to feet inside its edges."""
    with local(f, f.width * 0.04, f.width * 0.07, f.width / 100.0 * 0.92) as f:
        shape(f, rounded(30, 36, 40, 40, 8), STEEL)
        shape(f, rounded(26, 10, 48, 30, 10), lighter(STEEL, 0.3))
        flat(f, rounded(32, 16, 36, 16, 6), INK)
        flat(f, circle(42, 24, 4), rgb("#7FE3F0"))
        flat(f, circle(58, 24, 4), rgb("#7FE3F0"))
        stroke(f, lambda c: (c.move_to(50, 10), c.line_to(50, 2)), INK, 3)
        shape(f, circle(50, 2, 3.5), RED)
        for x in (36, 64):
            shape(f, rounded(x - 5, 76, 10, 16, 3), darker(STEEL, 0.2))
        shape(f, rounded(14, 40, 12, 26, 5), darker(STEEL, 0.15))
        shape(f, rounded(74, 40, 12, 26, 5), darker(STEEL, 0.15))
        shape(f, circle(50, 56, 7), AMBER)


@frames(r"silhouette_(zizad|mei|part)\.png", "ui_new", (520, 520))
def silhouette(f, m):
    who = m.group(1)
    if who == "part":
        _robot(f)
    else:
        _silhouette_rat(f, bow=(who == "mei"))
    # A silhouette: every drawn pixel in one dark tone, a shade lighter rim.
    ctx = f.ctx
    ctx.save()
    ctx.set_operator(5)  # ATOP: recolour only what is drawn
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()
    ctx.set_operator(6)  # DEST_IN: then make it see-through
    ctx.paint_with_alpha(0.28)
    ctx.restore()


@frames(r"splash_zizad\.png", "ui_new", (900, 900))
def splash_rat(f, m):
    draw_rat(f, Pose(arms="up", mouth="open", eyes="wide", tail=0.9, ears=0.2, bob=-2))


@frames(r"splash_spike\.png", "ui_new", (1400, 420))
def splash_spike(f, m):
    with local(f, 0, 0, f.width / 140.0) as f:
        shape(f, rounded(2, 28, 136, 9, 3), rgb("#5B6B78"))
        for i in range(7):
            x = 6 + i * 19
            shape(f, polygon([(x, 30), (x + 8, 3 + (i % 2) * 4), (x + 16, 30)]), rgb("#DCE3E8"))
        for i in range(4, 124, 13):
            shape(f, polygon([(i, 41), (i + 6.5, 37), (i + 13, 41)]), AMBER, highlight=False)


@frames(r"splash_logo\.png", "ui_new", (1300, 420))
def splash_logo(f, m):
    with local(f, 0, 0, 1.0) as g:
        shape(g, rounded(30, 60, 1240, 300, 120), rgb("#2E3A46"), width=14)
        text(g, "QUILLFEN", 650, 205, 230, colour=WHITE, outline=INK, outline_width=26)
        text(g, "a lab rat's escape", 650, 320, 64, colour=AMBER, outline=INK, outline_width=10)


@frames(r"Slider_Back\.png", "ui_new", (900, 60))
def slider_back(f, m):
    shape(f, rounded(6, 12, f.width - 12, 36, 18), rgb("#C7CED4"), width=6)


@frames(r"Slider_PressBar\.png", "ui_new", (900, 60))
def slider_bar(f, m):
    shape(f, rounded(6, 12, f.width - 12, 36, 18), rgb("#F0864F"), width=6)


@frames(r"SliderNode_(Normal|Press|Disable)\.png", "ui_new", (90, 90))
def slider_node(f, m):
    colour = {"Normal": WHITE, "Press": rgb("#FFE27A"), "Disable": rgb("#9AA3AA")}[m.group(1)]
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 42), colour)
        flat(f, circle(50, 50, 12), rgb("#F0864F"))


@frames(r"Triangle_Button_(Normal|Pressed)\.png", "ui_new", (90, 110))
def triangle_button(f, m):
    colour = WHITE if m.group(1) == "Normal" else rgb("#FFE27A")
    with local(f, 0, 0, f.width / 90.0) as f:
        shape(f, polygon([(12, 10), (82, 55), (12, 100)]), colour)


@frames(r"CheckBox_(Normal|Press|Disable)\.png", "ui_new", (90, 90))
def check_box(f, m):
    colour = {"Normal": WHITE, "Press": rgb("#FFE27A"), "Disable": rgb("#9AA3AA")}[m.group(1)]
    shape(f, rounded(8, 8, 74, 74, 16), colour, width=6)


@frames(r"CheckBoxNode_(Normal|Disabled)\.png", "ui_new", (90, 90))
def check_mark(f, m):
    colour = GREEN if m.group(1) == "Normal" else rgb("#7C858C")
    path = lambda c: (c.move_to(20, 46), c.line_to(38, 66), c.line_to(72, 22))
    stroke(f, path, INK, 22)
    stroke(f, path, colour, 12)


@frames(r"ele_button_circle_center\.png", "ui_new", (200, 200))
def elevator_badge(f, m):
    # The floor button's centre disc (tinted dark under the number, radius
    # 96 of the button's 127) and the mode switches' badge.
    c = f.width / 2
    shape(f, circle(c, c, 96), WHITE, outline=SOFT_GREY, width=6)


def _mode_glyph(f, kind, on):
    colour = INK if not on else WHITE
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 44), GOLD if on else rgb("#E6EBEE"), width=5)
        if kind == "timer":
            stroke(f, circle(50, 54, 26), colour, 8)
            stroke(f, lambda c: (c.move_to(50, 54), c.line_to(50, 38), c.move_to(50, 54), c.line_to(61, 60)), colour, 7)
            stroke(f, lambda c: (c.move_to(44, 20), c.line_to(56, 20)), colour, 7)
        elif kind == "time_attack":
            flat(f, polygon([(56, 10), (26, 56), (48, 56), (40, 90), (74, 42), (52, 42)]), colour)
        else:
            def heart(c):
                c.move_to(50, 82)
                c.curve_to(14, 58, 16, 22, 38, 24)
                c.curve_to(46, 25, 50, 32, 50, 36)
                c.curve_to(50, 32, 54, 25, 62, 24)
                c.curve_to(84, 22, 86, 58, 50, 82)
                c.close_path()
            flat(f, heart, RED if not on else WHITE)


@frames(r"mode_(timer|time_attack|limited_lives)(_toggled)?\.png", "ui_new", (140, 140))
def mode_switch(f, m):
    _mode_glyph(f, m.group(1), m.group(2) is not None)


@image(r"2D/(thank_you_)?splash\.png", (1280, 720))
def splash_image(f, m):
    """The credits' backdrop: a lab floor, the rat and the title; the end
    screen's adds its thanks."""
    ctx = f.ctx
    flat(f, rounded(0, 0, 1280, 720, 0), rgb("#F1C699"))
    flat(f, circle(1100, 820, 620), rgb("#FBE0C5"))
    for x in range(0, 1280, 80):
        flat(f, rounded(x + 2, 560, 76, 160, 0), rgb("#D5DEE2") if (x // 80) % 2 else rgb("#C3CED4"))
    with local(f, 60, 190, 1.0):
        rat = style_frame(420)
        draw_rat(rat, Pose(arms="up", mouth="open", eyes="wide", tail=0.9))
        ctx.set_source_surface(rat.surface, 0, 0)
        ctx.paint()
    text(f, "QUILLFEN", 820, 200, 150, colour=WHITE, outline=INK, outline_width=18)
    if m.group(1):
        text(f, "thanks for playing!", 820, 330, 64, colour=AMBER, outline=INK, outline_width=10)

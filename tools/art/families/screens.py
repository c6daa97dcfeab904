"""Frames of the screens around the rooms: the elevator's level buttons, lock,
number plates and medal boxes; the level result panel with its medals,
monitor and PART; the result icons (home, levels, next, retry); the HUD's
coin and death badge; the pointer and cursor; the dialog avatar; the mode
badges and the end screen's link badges. In the menus' art space (2560 x 1440,
shown at 0.4). Frames the screens tint (button faces, badges) are drawn white
and grey so that the tint gives their colour. They are packed with the
collectables: in the menus' sheet they would widen it to 4096 pixels, and
SDL 2.26's software renderer crashed drawing the splash's large frames from
far inside that wider texture."""

import math

from registry import frames
from style import (AMBER, BLUE, BRONZE, GOLD, GREEN, INK, PURPLE, RED, SILVER, STEEL, WALL, WALL_DARK, WHITE,
                   circle, darker, ellipse, flat, lighter, local, polygon, rgb, rounded, shape, star, stroke)
from families.menus import SOFT_GREY, _mode_glyph, _robot, core_button

MEDAL = {"gold": GOLD, "silver": SILVER, "bronze": BRONZE}


@frames(r"icon_(home|levels|next|retry)\.png", "collectables", (120, 120))
def result_icon(f, m):
    kind = m.group(1)
    with local(f, 0, 0, f.width / 100.0) as f:
        if kind == "home":  # a house
            flat(f, polygon([(50, 10), (92, 48), (80, 48), (80, 88), (20, 88), (20, 48), (8, 48)]), WHITE)
            f.ctx.set_operator(0)
            flat(f, rounded(42, 60, 16, 28, 3), WHITE)
            f.ctx.set_operator(2)
        elif kind == "levels":  # a grid of level tiles
            for row in range(3):
                for col in range(3):
                    flat(f, rounded(12 + col * 27, 12 + row * 27, 22, 22, 5), WHITE)
        elif kind == "next":  # two chevrons forward
            for x in (14, 46):
                flat(f, polygon([(x, 16), (x + 40, 50), (x, 84), (x, 64), (x + 18, 50), (x, 36)]), WHITE)
        else:  # retry: a circular arrow
            ctx = f.ctx
            ctx.save()
            ctx.set_source_rgb(*WHITE)
            ctx.set_line_width(14)
            ctx.arc(50, 52, 30, math.radians(-60), math.radians(230))
            ctx.stroke()
            ctx.restore()
            flat(f, polygon([(62, 8), (88, 30), (56, 40)]), WHITE)


# The elevator's floor button (menus' art space, y up from the button's
# lower-left corner): a band-coloured circle the button's size, the dark
# centre disc with the floor's number over it, the rim, and two shines that
# the button puts with their lower-left corners at fixed points on the ring
# between the disc and the rim. The centre disc is also the badge of the
# mode switches and the side bar's locked slots, which place it by its
# lower-left corner 90 units below and left of its middle.
ELE_BUTTON = 260
ELE_CIRCLE_R = 127
ELE_CENTRE = 200
ELE_CENTRE_R = 96
ELE_SHINE_RING_R = 111  # the shines' middle line, on the ring
ELE_SHINES = {"left": ((2.688, 111.87), (60, 110)), "right": ((193.688, 90.522), (60, 110))}


@frames(r"core_button_outline\.png", "collectables", (200, 200))
def button_outline(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        stroke(f, circle(50, 50, 46), WHITE, 5)


@frames(r"ele_button_outline\.png", "collectables", (ELE_BUTTON, ELE_BUTTON))
def elevator_button_rim(f, m):
    c = f.width / 2
    stroke(f, circle(c, c, ELE_CIRCLE_R - 5), WHITE, 8)


@frames(r"ele_button_circle\.png", "collectables", (ELE_BUTTON, ELE_BUTTON))
def elevator_button(f, m):
    # White with a grey lower crescent: the band's colour tints both.
    c, r = f.width / 2, ELE_CIRCLE_R
    flat(f, circle(c, c, r), WHITE)
    flat(f, lambda ctx: (ctx.arc(c, c, r, 0.12 * math.pi, 0.88 * math.pi),
                         ctx.arc_negative(c, c - 18, r - 6, 0.88 * math.pi, 0.12 * math.pi), ctx.close_path()),
         SOFT_GREY)


@frames(r"ele_button_shine_(left|right)\.png", "collectables", lambda m: ELE_SHINES[m.group(1)][1])
def elevator_button_shine(f, m):
    (ox, oy), (w, h) = ELE_SHINES[m.group(1)]
    c = ELE_BUTTON / 2
    ctx = f.ctx
    ctx.save()
    ctx.translate(-ox, oy + h)  # draw in the button's space, y up
    ctx.scale(1, -1)
    r = ELE_SHINE_RING_R
    if m.group(1) == "left":  # a long streak on the upper left of the ring and a glint below it
        stroke(f, lambda g: g.arc(c, c, r, math.radians(140), math.radians(172)), WHITE, 12, 0.8)
        a = math.radians(181)
        flat(f, circle(c + r * math.cos(a), c + r * math.sin(a), 5), WHITE, 0.8)
    else:  # a shorter one on the right
        stroke(f, lambda g: g.arc(c, c, r, math.radians(-12), math.radians(30)), WHITE, 9, 0.7)
    ctx.restore()


@frames(r"ele_lock\.png", "collectables", (72, 88))
def elevator_lock(f, m):
    # Hangs from the button's lower edge, under the number.
    with local(f, 0, 0, f.width / 90.0) as f:
        stroke(f, lambda c: (c.arc_negative(45, 44, 22, 0, math.pi)), INK, 16)
        stroke(f, lambda c: (c.arc_negative(45, 44, 22, 0, math.pi)), SILVER, 9)
        shape(f, rounded(12, 44, 66, 58, 10), AMBER)
        flat(f, circle(45, 66, 7), INK)
        flat(f, rounded(42, 68, 6, 18, 3), INK)


# The side bar's floor plate: the number (180 units, placed 30 below the
# plate's middle, so its digits stand from 97 below the middle to 30 above)
# shows in a pale window across the lower part; the lamps of the car's
# direction light the strip above it. The wide bar's plate is wider.
ELE_PLATE_HEIGHT = 252


@frames(r"ele_number_background(_large)?\.png", "collectables",
        lambda m: (460 if m.group(1) else 300, ELE_PLATE_HEIGHT))
def elevator_number_plate(f, m):
    w, h = f.width, f.height
    shape(f, rounded(4, 4, w - 8, h - 8, 34), rgb("#E9EEF0"), width=6)
    window = rounded(20, 68, w - 40, h - 84, 22)
    flat(f, window, rgb("#DDF1EC"))
    stroke(f, window, INK, 5)
    for x, up, lit in ((w / 2 - 30, True, True), (w / 2 + 30, False, False)):
        tip, base = (16, 58) if up else (58, 16)
        shape(f, polygon([(x, tip), (x + 22, base), (x - 22, base)]), AMBER if lit else rgb("#B8C2C8"),
              width=4, highlight=False, shade=False)


@frames(r"ele_medal_box(_outline)?\.png", "collectables", (240, 110))
def elevator_medal_box(f, m):
    w, h = f.width, f.height
    if m.group(1):
        stroke(f, rounded(4, 4, w - 8, h - 8, 26), WHITE, 6)
    else:
        shape(f, rounded(4, 4, w - 8, h - 8, 26), WHITE, outline=SOFT_GREY, shade=False)


def _medal_glyph(f, kind, colour):
    if kind == "timer":  # a stopwatch
        stroke(f, circle(50, 56, 17), colour, 6)
        stroke(f, lambda c: (c.move_to(50, 56), c.line_to(50, 45), c.move_to(50, 56), c.line_to(58, 60)), colour, 5)
        stroke(f, lambda c: (c.move_to(45, 33), c.line_to(55, 33)), colour, 5)
    elif kind == "time_attack":  # a lightning bolt
        flat(f, polygon([(54, 32), (38, 60), (50, 60), (44, 80), (64, 50), (52, 50)]), colour)
    else:  # death count: a little tombstone
        flat(f, lambda c: (c.move_to(36, 78), c.line_to(36, 48), c.arc(50, 48, 14, math.pi, 0), c.line_to(64, 78),
                           c.close_path()), colour)
        f.ctx.set_operator(0)  # two engraved lines
        flat(f, rounded(42, 50, 16, 4, 2), WHITE)
        flat(f, rounded(44, 60, 12, 4, 2), WHITE)
        f.ctx.set_operator(2)


@frames(r"medal_(timer|death_count|time_attack)_(gold|silver|bronze|empty)\.png", "collectables", (140, 140))
def medal(f, m):
    kind, grade = m.group(1), m.group(2)
    with local(f, 0, 0, f.width / 100.0) as f:
        if grade == "empty":  # the outline of the medal still to win
            stroke(f, circle(50, 56, 36), rgb("#9AA3AA"), 5)
            _medal_glyph(f, kind, rgb("#9AA3AA"))
            return
        colour = MEDAL[grade]
        shape(f, polygon([(30, 4), (46, 4), (54, 30), (38, 30)]), BLUE, highlight=False)
        shape(f, polygon([(70, 4), (54, 4), (46, 30), (62, 30)]), RED, highlight=False)
        shape(f, circle(50, 56, 38), colour)
        stroke(f, circle(50, 56, 29), darker(colour, 0.2), 3)
        _medal_glyph(f, kind, darker(colour, 0.45))


@frames(r"mode_(death_count|limited_lives_angel|star)\.png", "collectables", (140, 140))
def mode_badge(f, m):
    kind = m.group(1)
    if kind == "limited_lives_angel":  # the lives heart with a halo
        _mode_glyph(f, "limited_lives", False)
        with local(f, 0, 0, f.width / 100.0) as g:
            stroke(g, ellipse(50, 16, 18, 5), GOLD, 4)
        return
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 44), rgb("#E6EBEE"), width=5)
        if kind == "star":
            shape(f, star(50, 53, 32, 14), GOLD)
        else:
            _medal_glyph(f, "death_count", INK)


# The result panel places its parts by their lower-left corners (menus' art
# space): the monitor at (120, 168) with its screen fill at (103.7, 82.8)
# inside it, 1494.4 x 825.5, drawn under the monitor; the face at (294, 854)
# behind the monitor's top; the left hand at (0, 347) on the monitor's left
# edge, the right hand at (1284, 0) under its lower edge. The panel is shown
# at 0.4 with its middle 50 units above the view's: the face's eyes show in
# the band just over the monitor, the top of its head may leave the view.
MONITOR_SIZE = (1700, 930)
MONITOR_SCREEN = (103.656, 82.833, 1494.4, 825.543)  # x, y from the lower left, w, h


@frames(r"medal_screen_monitor\.png", "collectables", MONITOR_SIZE)
def result_monitor(f, m):
    # A bezel round a see-through screen: the panel paints the screen itself.
    sx, sy, sw, sh = MONITOR_SCREEN
    top = f.height - sy - sh
    shape(f, rounded(6, 6, f.width - 12, f.height - 12, 36), WALL_DARK, width=8)
    inset = 5
    hole = rounded(sx + inset, top + inset, sw - 2 * inset, sh - 2 * inset, 14)
    f.ctx.set_operator(0)  # CLEAR
    flat(f, hole, WHITE)
    f.ctx.set_operator(2)  # OVER
    stroke(f, hole, INK, 6)
    lip = f.height - sy + 14  # the bottom bezel: a plate and a power light
    shape(f, rounded(f.width / 2 - 120, lip, 240, 40, 12), STEEL, width=5)
    shape(f, circle(f.width - 70, lip + 20, 16), GREEN, width=4)


@frames(r"medal_screen_part_face\.png", "collectables", (1360, 320))
def result_part_face(f, m):
    # PART's head behind the monitor: only its top, about 75 units, shows
    # over the monitor's top edge (the panel is as tall as the face's top
    # and must stay in the view), so the visor with the eyes sits right
    # under the crown.
    w = f.width
    for x in (8, w - 36):  # ears
        shape(f, rounded(x, 34, 28, 90, 10), darker(STEEL, 0.15), width=6)
    shape(f, rounded(30, 6, w - 60, f.height - 14, 56), lighter(STEEL, 0.3), width=8)
    flat(f, rounded(150, 18, w - 300, 58, 29), INK)
    for x in (w / 2 - 150, w / 2 + 150):  # happy eyes
        stroke(f, lambda c, x=x: c.arc_negative(x, 64, 24, 0, math.pi), rgb("#7FE3F0"), 12)
    for x in (76, w - 76):  # bolts on the crown
        shape(f, circle(x, 40, 11), darker(STEEL, 0.05), width=4)


@frames(r"medal_screen_part_hand_left\.png", "collectables", (260, 300))
def result_part_hand_left(f, m):
    # A mitt gripping the monitor's left edge: palm outside, fingers over it.
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, rounded(4, 18, 56, 84, 18), darker(STEEL, 0.1))
        for k in range(3):
            shape(f, rounded(44, 26 + k * 24, 52, 20, 9), darker(STEEL, 0.05))
        shape(f, rounded(30, 4, 22, 30, 9), darker(STEEL, 0.05))


@frames(r"medal_screen_part_hand_right\.png", "collectables", (280, 280))
def result_part_hand_right(f, m):
    # A mitt holding the monitor up from below: palm under, fingers up its face.
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, rounded(14, 50, 76, 46, 18), darker(STEEL, 0.1))
        for k in range(3):
            shape(f, rounded(20 + k * 22, 6, 19, 54, 9), darker(STEEL, 0.05))
        shape(f, rounded(80, 36, 18, 30, 8), darker(STEEL, 0.05))


@frames(r"medal_screen_ribbon\.png", "collectables", (440, 140))
def result_ribbon(f, m):
    # A banner across a card's top edge: the band (its title 25 units above
    # the frame's middle) on top, the folded ends hanging below it. No wider
    # than the narrowest card's top edge allows two neighbours.
    w = f.width
    for side in (1, -1):
        x = 4 if side == 1 else w - 4

        def end(v, x=x, side=side):
            return (x + side * v[0], v[1])
        shape(f, polygon([end(v) for v in ((0, 50), (64, 50), (64, 118), (0, 118), (20, 84))]), darker(RED, 0.2),
              width=5, highlight=False)
        flat(f, polygon([end(v) for v in ((40, 86), (64, 86), (64, 106))]), darker(RED, 0.5))
    shape(f, rounded(36, 10, w - 72, 76, 10), RED, width=5)


@frames(r"medal_screen_small_panel\.png", "collectables", (640, 170))
def result_small_panel(f, m):
    shape(f, rounded(6, 6, f.width - 12, f.height - 12, 30), WHITE, outline=SOFT_GREY)


@frames(r"hud_multi_death_back\.png", "collectables", (100, 100))
def hud_death_back(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 46), WHITE, outline=SOFT_GREY, highlight=False)


@frames(r"hud_multi_death_front\.png", "collectables", (100, 100))
def hud_death_front(f, m):
    # The tombstone of the medals, half as large again, about the centre.
    with local(f, -0.35 * f.width, -0.45 * f.height, 1.6 * f.width / 100.0) as f:
        stroke(f, lambda c: (c.move_to(36, 78), c.line_to(36, 48), c.arc(50, 48, 14, math.pi, 0), c.line_to(64, 78),
                             c.close_path()), INK, 5)
        _medal_glyph(f, "death_count", WHITE)


@frames(r"coin_large\.png", "collectables", (160, 160))
def coin_large(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 44), GOLD)
        stroke(f, circle(50, 50, 33), darker(GOLD, 0.25), 4)
        shape(f, star(50, 51, 20, 9), lighter(GOLD, 0.4), highlight=False)


@frames(r"avatar_part\.png", "collectables", (200, 200))
def avatar_part(f, m):
    with local(f, 0, 0, f.width / 100.0) as g:
        shape(g, circle(50, 50, 46), rgb("#CFE6EA"))
    _robot(f)


@frames(r"player_pointer\.png", "collectables", (80, 100))
def player_pointer(f, m):
    """An arrow whose tip is the frame's top centre."""
    with local(f, 0, 0, f.width / 80.0) as f:
        shape(f, polygon([(40, 4), (74, 48), (52, 48), (52, 94), (28, 94), (28, 48), (6, 48)]), WHITE)


@frames(r"cursor_arrow\.png", "collectables", (64, 64))
def cursor_arrow(f, m):
    with local(f, 0, 0, f.width / 64.0) as f:
        shape(f, polygon([(4, 4), (50, 30), (30, 34), (20, 56)]), WHITE, highlight=False)


@frames(r"cursor_ring\.png", "collectables", (96, 96))
def cursor_ring(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        stroke(f, circle(50, 50, 40), INK, 11)
        stroke(f, circle(50, 50, 40), AMBER, 6)


def _link_glyph(f, kind):
    """Plain glyphs of what each link leads to; no service's own mark."""
    if kind == "website":  # a globe
        stroke(f, circle(50, 50, 26), WHITE, 6)
        stroke(f, ellipse(50, 50, 11, 26), WHITE, 5)
        stroke(f, lambda c: (c.move_to(24, 50), c.line_to(76, 50)), WHITE, 5)
    elif kind == "android":  # a phone
        shape(f, rounded(34, 20, 32, 60, 7), WHITE, outline=None, highlight=False, shade=False)
        flat(f, rounded(38, 26, 24, 42, 2), INK)
    elif kind == "steam":  # a shop bag
        shape(f, rounded(28, 36, 44, 42, 6), WHITE, outline=None, highlight=False, shade=False)
        stroke(f, lambda c: c.arc(50, 36, 11, math.pi, 2 * math.pi), WHITE, 5)
    elif kind == "youtube":  # a play button
        flat(f, polygon([(40, 30), (70, 50), (40, 70)]), WHITE)
    elif kind == "discord":  # a chat bubble
        shape(f, rounded(22, 26, 56, 38, 12), WHITE, outline=None, highlight=False, shade=False)
        flat(f, polygon([(34, 62), (30, 76), (46, 62)]), WHITE)
    elif kind == "twitter":  # a short message: a bubble with lines
        shape(f, rounded(22, 26, 56, 40, 8), WHITE, outline=None, highlight=False, shade=False)
        for y in (36, 46, 56):
            flat(f, rounded(30, y, 40 - (y - 36), 4, 2), INK)
    elif kind == "facebook":  # friends: two heads
        for x, r in ((40, 11), (62, 9)):
            flat(f, circle(x, 40, r), WHITE)
            flat(f, lambda c, x=x, r=r: (c.arc(x, 72, r * 1.8, math.pi, 2 * math.pi), c.close_path()), WHITE)
    else:  # tumblr: a pen nib
        flat(f, polygon([(50, 20), (66, 52), (50, 80), (34, 52)]), WHITE)
        f.ctx.set_operator(0)
        flat(f, circle(50, 52, 4), WHITE)
        f.ctx.set_operator(2)


LINK_COLOURS = {"steam": WALL, "android": GREEN, "website": BLUE, "twitter": rgb("#3AA6D0"), "facebook": PURPLE,
                "discord": rgb("#6A73D9"), "tumblr": WALL_DARK, "youtube": RED}


@frames(r"(steam|android|website|twitter|facebook|discord|tumblr|youtube)\.png", "collectables", (110, 110))
def link_badge(f, m):
    kind = m.group(1)
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 45), LINK_COLOURS[kind])
        _link_glyph(f, kind)

"""Map element frames: floors and walls of the four lab phases, doors,
checkpoints, levers, coins, musical-note tiles, conveyors and the conveyor
machine, PART, the delivery drone, the elevator pad, windows and the props
that furnish the rooms. A cell is 160 x 160. Parts the code tints (the note
tile's layers) are drawn white or grey."""

import math
import random

from registry import frames
from style import (AMBER, BLUE, GOLD, GREEN, INK, LEAF, PALE, PURPLE, RED, STEEL, WALL, WALL_DARK, WHITE, WOOD,
                   circle, darker, ellipse, flat, lighter, local, polygon, rgb, rounded, shape, star, stripes, stroke,
                   text)
from families.menus import _robot

TILE = (160, 160)

# Per phase: floor, floor accent, wall top, wall face.
PHASES = {
    "1": (rgb("#D5DEE2"), rgb("#C3CED4"), rgb("#A9C4CC"), rgb("#6C8A99")),
    "2": (rgb("#D9C3A0"), rgb("#C7AE88"), rgb("#E5D7BF"), rgb("#A98B6A")),
    "3": (rgb("#6F7F8C"), rgb("#5F6E7A"), rgb("#8797A3"), rgb("#3F5566")),
    "4": (rgb("#8FA596"), rgb("#7D9384"), rgb("#A8BBAE"), rgb("#4F6657")),
}


def _u(f, units=100.0):
    return local(f, 0, 0, f.width / units)


def floor_tile(f, phase, variant=0):
    base, accent, _, _ = PHASES[phase]
    rnd = random.Random(f"floor {phase} {variant}")
    with _u(f) as f:
        flat(f, rounded(0, 0, 100, 100, 0), base)
        flat(f, rounded(2, 2, 96, 96, 3), lighter(base, 0.12))
        if phase == "2":
            for y in range(0, 100, 20):
                flat(f, rounded(2, y + 2, 96, 16, 2), lighter(base, 0.05 + 0.04 * ((y // 20 + variant) % 2)))
        elif phase == "3":
            for x, y in ((8, 8), (92, 8), (8, 92), (92, 92)):
                flat(f, circle(x, y, 2.5), accent)
            stroke(f, lambda c: (c.move_to(10, 50), c.line_to(90, 50)), accent, 1.5)
        else:
            for _ in range(3 + variant):
                flat(f, circle(rnd.uniform(10, 90), rnd.uniform(10, 90), rnd.uniform(1, 2.2)), accent, 0.7)
        stroke(f, rounded(0.5, 0.5, 99, 99, 2), accent, 1.2)


@frames(r"floor_new_0\.png", "artupdate", TILE, tile=True)
def floor_p1(f, m):
    floor_tile(f, "1")


@frames(r"p([234])_floor_(\d)\.png", "artupdate", TILE, tile=True)
def floor_phase(f, m):
    floor_tile(f, m.group(1), int(m.group(2)))


@frames(r"p([1234])_(entrance|exit)_floor\.png", "artupdate", TILE, tile=True)
def floor_door(f, m):
    floor_tile(f, m.group(1))
    with _u(f) as f:
        colour = GREEN if m.group(2) == "exit" else BLUE
        shape(f, rounded(14, 14, 72, 72, 10), colour)
        flat(f, polygon([(34, 30), (66, 50), (34, 70)]) if m.group(2) == "exit" else
             polygon([(50, 28), (72, 58), (28, 58)]), WHITE)


# Holes and pits kill; their dormant twins (numbered, harmless until a lever
# or an event wakes them) are covered by a bolted grey hatch, so the two never
# look alike. The hole is a dark shaft with a red rim, the pit a red-rimmed
# drop with stakes at its bottom.
def _danger_rim(f, stakes):
    flat(f, rounded(0, 0, 100, 100, 0), rgb("#0B0F14"))
    stripes(f, rounded(0, 0, 100, 100, 0), RED, 16, 7)
    stripes(f, rounded(0, 0, 100, 100, 0), INK, 16, 3, alpha=0.35)
    shape(f, rounded(9, 9, 82, 82, 14), rgb("#05070A"), highlight=False)
    flat(f, rounded(16, 16, 68, 68, 10), darker(RED, 0.8), 0.8)
    if stakes:
        for k in range(4):
            x = 24 + k * 17
            shape(f, polygon([(x - 6, 78), (x, 40 + (k % 2) * 10), (x + 6, 78)]), rgb("#9AA3AA"), highlight=False)
    else:
        flat(f, circle(50, 50, 22), rgb("#000000"), 0.85)
    stroke(f, rounded(9, 9, 82, 82, 14), RED, 3)


def _hatch(f, stakes):
    with _u(f) as f:
        flat(f, rounded(0, 0, 100, 100, 0), rgb("#7D8A93"))
        shape(f, rounded(6, 6, 88, 88, 12), rgb("#9AA6AE"))
        flat(f, rounded(18, 18, 64, 64, 8), rgb("#AEB9C0"))
        for x, y in ((17, 17), (83, 17), (17, 83), (83, 83)):
            shape(f, circle(x, y, 3.5), rgb("#6E7A83"), highlight=False)
        mark = (lambda c: (c.move_to(30, 50), c.line_to(70, 50))) if not stakes else \
            (lambda c: (c.move_to(36, 36), c.line_to(64, 64), c.move_to(64, 36), c.line_to(36, 64)))
        stroke(f, mark, rgb("#6E7A83"), 5)


@frames(r"floor_(hole|pit)(_off)?\.png", "artupdate", TILE, tile=True)
def floor_danger(f, m):
    stakes = m.group(1) == "pit"
    if m.group(2):
        _hatch(f, stakes)
        return
    with _u(f) as f:
        _danger_rim(f, stakes)


# Cells that matter without being a trap or a prop: the plates that hold
# automatic doors open (steel blue, a raised button), the goals of a stage
# run (a green target with a flag) and the cells that teleport a player (a
# purple ring of arrows). Each reads by its shape as well as its colour.
@frames(r"key_(plate|goal|teleport)\.png", "artupdate", TILE)
def key_cell(f, m):
    kind = m.group(1)
    with _u(f) as f:
        if kind == "plate":
            shape(f, rounded(10, 10, 80, 80, 12), darker(BLUE, 0.25))
            shape(f, rounded(20, 16, 60, 60, 10), BLUE)
            stroke(f, rounded(28, 24, 44, 44, 8), WHITE, 4)
            flat(f, circle(50, 46, 8), WHITE)
        elif kind == "goal":
            shape(f, circle(50, 50, 42), darker(GREEN, 0.2))
            stroke(f, circle(50, 50, 30), WHITE, 6)
            flat(f, circle(50, 50, 14), WHITE)
            stroke(f, lambda c: (c.move_to(50, 50), c.line_to(50, 10)), INK, 5)
            shape(f, polygon([(52, 10), (78, 18), (52, 26)]), GOLD)
        else:
            shape(f, circle(50, 50, 44), rgb("#3B2466"))
            flat(f, circle(50, 50, 30), PURPLE)
            for k in range(4):
                a = k * math.pi / 2 + math.pi / 4
                cx, cy = 50 + 34 * math.cos(a), 50 + 34 * math.sin(a)
                t = a + math.pi / 2
                shape(f, polygon([(cx + 9 * math.cos(t), cy + 9 * math.sin(t)),
                                  (cx - 7 * math.cos(a) - 6 * math.cos(t), cy - 7 * math.sin(a) - 6 * math.sin(t)),
                                  (cx + 7 * math.cos(a) - 6 * math.cos(t), cy + 7 * math.sin(a) - 6 * math.sin(t))]),
                      WHITE, highlight=False)
            flat(f, circle(50, 50, 12), rgb("#120A22"))
            stroke(f, circle(50, 50, 20), lighter(PURPLE, 0.5), 3)


WALL_SIZE = (160, 240)


def wall(f, phase, kind):
    _, _, top, face = PHASES[phase]
    with _u(f) as f:
        # the wall's top (walkable plane) over its front face
        shape(f, rounded(2, 52, 96, 96, 3), face)
        flat(f, rounded(2, 52, 96, 8, 2), darker(face, 0.25))
        shape(f, rounded(2, 2, 96, 58, 4), top)
        if kind in ("vertical_middle", "vertical_top"):
            flat(f, rounded(40, 6, 20, 50, 4), lighter(top, 0.2))
        elif kind in ("horizontal_middle", "horizontal_end"):
            flat(f, rounded(6, 24, 88, 10, 4), lighter(top, 0.2))
        for y in (80, 110):
            stroke(f, lambda c, y=y: (c.move_to(6, y), c.line_to(94, y)), darker(face, 0.15), 1.5)


@frames(r"wall_new_front_0\.png", "artupdate", WALL_SIZE, tile=True)
def wall_p1(f, m):
    wall(f, "1", "single")


@frames(r"p([234])_wall_0\.png", "artupdate", WALL_SIZE, tile=True)
def wall_front(f, m):
    wall(f, m.group(1), "single")


@frames(r"p([1234])_wall_(horizontal_end|horizontal_middle|single|vertical_middle|vertical_top)\.png", "artupdate",
        WALL_SIZE, tile=True)
def wall_piece(f, m):
    wall(f, m.group(1), m.group(2))


# Doors: steel-blue leaves with a window stripe.
def door_leaf(f, horizontal=True):
    with _u(f) as f:
        if horizontal:
            shape(f, rounded(2, 10, 96, 80, 6), BLUE)
            flat(f, rounded(10, 22, 80, 14, 4), lighter(BLUE, 0.5))
        else:
            shape(f, rounded(10, 2, 80, 96, 6), BLUE)
            flat(f, rounded(22, 10, 14, 80, 4), lighter(BLUE, 0.5))


@frames(r"door_top\.png", "artupdate", (160, 80))
def door_top(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, rounded(2, 4, 96, 42, 6), BLUE)
        stripes(f, rounded(2, 4, 96, 42, 6), lighter(BLUE, 0.3), 14, 6)


@frames(r"door_side\.png", "artupdate", (80, 160))
def door_side(f, m):
    with local(f, 0, 0, f.width / 50.0) as f:
        shape(f, rounded(4, 2, 42, 96, 6), BLUE)
        stripes(f, rounded(4, 2, 42, 96, 6), lighter(BLUE, 0.3), 14, 6)


@frames(r"(door_big|p2_door|p3_door)_(left|right)\.png", "artupdate", (120, 240))
def door_big(f, m):
    colour = {"door_big": BLUE, "p2_door": rgb("#B98556"), "p3_door": STEEL}[m.group(1)]
    with local(f, 0, 0, f.width / 50.0) as f:
        shape(f, rounded(2, 2, 46, 96, 4), colour)
        flat(f, rounded(10, 14, 30, 30, 3), lighter(colour, 0.55))
        x = 40 if m.group(2) == "left" else 8
        shape(f, rounded(x - 2, 56, 5, 14, 2), GOLD)


@frames(r"lever_000(\d)\.png", "collectables", (140, 140))
def lever(f, m):
    t = (int(m.group(1)) - 1) / 5.0
    a = -0.8 + 1.6 * t
    with _u(f) as f:
        shape(f, rounded(20, 62, 60, 26, 8), STEEL)
        x, y = 50 + 36 * math.sin(a), 74 - 36 * math.cos(a)
        stroke(f, lambda c: (c.move_to(50, 74), c.line_to(x, y)), INK, 10)
        stroke(f, lambda c: (c.move_to(50, 74), c.line_to(x, y)), PALE, 6)
        shape(f, circle(x, y, 9), RED if t < 0.5 else GREEN)
        flat(f, circle(30, 80, 3.5), GREEN if t >= 0.5 else darker(GREEN, 0.5))
        flat(f, circle(70, 80, 3.5), RED if t < 0.5 else darker(RED, 0.5))


@frames(r"checkpoint_(t|outline|base|triangle|light)\.png", "collectables", TILE)
def checkpoint(f, m):
    part = m.group(1)
    with _u(f) as f:
        if part in ("t", "base"):
            shape(f, rounded(12, 12, 76, 76, 14), rgb("#3E4E5A"))
            flat(f, rounded(22, 22, 56, 56, 10), darker(GREEN, 0.45))
        if part in ("t", "outline"):
            stroke(f, rounded(8, 8, 84, 84, 16), INK, 5)
            stroke(f, rounded(8, 8, 84, 84, 16), GREEN, 2.5)
        if part in ("t", "triangle"):
            shape(f, polygon([(50, 28), (72, 66), (28, 66)]), GREEN)
        if part == "light":
            flat(f, circle(50, 50, 40), GREEN, 0.25)
            flat(f, circle(50, 50, 26), lighter(GREEN, 0.4), 0.45)


@frames(r"coin_000(\d)\.png", "collectables", (100, 100))
def coin(f, m):
    i = int(m.group(1)) - 1
    w = [1.0, 0.7, 0.25, 0.7, 1.0][i]
    with _u(f) as f:
        flat(f, ellipse(50, 90, 26 * max(w, 0.4), 5), (0, 0, 0), 0.2)
        shape(f, ellipse(50, 48, 36 * w + 3, 38), darker(GOLD, 0.15))
        shape(f, ellipse(50, 48, 28 * w + 2, 30), GOLD, highlight=False)
        if w > 0.6:
            flat(f, star(50, 48, 16 * w, 7 * w), lighter(GOLD, 0.5))


# The musical-note tile's layers (tinted by the code: drawn white).
@frames(r"musical_outline\.png", "collectables", TILE)
def note_outline(f, m):
    with _u(f) as f:
        stroke(f, rounded(4, 4, 92, 92, 14), WHITE, 6)


@frames(r"general_white_tile\.png", "collectables", (150, 150))
def white_tile(f, m):
    with _u(f) as f:
        flat(f, rounded(2, 2, 96, 96, 12), WHITE)
        flat(f, rounded(2, 82, 96, 16, 12), rgb("#E6E6E6"))


@frames(r"musical_light_ring\.png", "collectables", (125, 129))
def note_ring(f, m):
    with _u(f) as f:
        stroke(f, ellipse(50, 51.6, 40, 41), WHITE, 6)


@frames(r"musical_light_(\d)\.png", "collectables", (26, 26))
def note_light(f, m):
    with _u(f) as f:
        flat(f, circle(50, 50, 44), WHITE)
        flat(f, circle(40, 38, 14), rgb("#F2F2F2"))


@frames(r"musical_(top|bottom)_(left|right)_corner\.png", "collectables", (40, 40))
def note_corner(f, m):
    top, left = m.group(1) == "top", m.group(2) == "left"
    with _u(f) as f:
        x0, x1 = (10, 90) if left else (90, 10)
        y0, y1 = (10, 90) if top else (90, 10)
        stroke(f, lambda c: (c.move_to(x0, y1), c.line_to(x0, y0), c.line_to(x1, y0)), WHITE, 14)


@frames(r"musical_note_(\d)\.png", "collectables", (70, 70))
def note_sign(f, m):
    i = int(m.group(1))
    with _u(f) as f:
        heads = [[(36, 74)], [(28, 78), (70, 70)], [(40, 76)]][i]
        for hx, hy in heads:
            flat(f, ellipse(hx, hy, 13, 9.5, -0.4), WHITE)
            stroke(f, lambda c, hx=hx, hy=hy: (c.move_to(hx + 11, hy - 3), c.line_to(hx + 11, hy - 58)), WHITE, 6)
        if i == 1:
            stroke(f, lambda c: (c.move_to(39, 17), c.line_to(81, 9)), WHITE, 10)
        elif i == 0:
            stroke(f, lambda c: (c.move_to(47, 16), c.curve_to(62, 22, 66, 34, 58, 44)), WHITE, 6)
        else:
            stroke(f, lambda c: (c.move_to(51, 18), c.line_to(72, 28)), WHITE, 6)
            stroke(f, lambda c: (c.move_to(51, 30), c.line_to(72, 40)), WHITE, 6)


# The pitch of a note tile as a glyph that reads without colour: its letter
# (a sharp as "#") with one dot under it per octave above the lowest. The
# speaker that plays the tune back shows a loudspeaker. Drawn white: the code
# tints them.
PITCH_NAMES = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"]


@frames(r"musical_pitch_(\d+)\.png", "collectables", (70, 70))
def note_pitch(f, m):
    p = int(m.group(1))
    with _u(f) as f:
        text(f, PITCH_NAMES[p % 12], 50, 42, 92 if len(PITCH_NAMES[p % 12]) == 1 else 70, WHITE, None)
        octave = p // 12
        for k in range(octave):
            flat(f, circle(50 + (k - (octave - 1) / 2) * 20, 88, 7), WHITE)


@frames(r"musical_speaker\.png", "collectables", (70, 70))
def note_speaker(f, m):
    with _u(f) as f:
        flat(f, polygon([(12, 36), (30, 36), (54, 14), (54, 86), (30, 64), (12, 64)]), WHITE)
        for r in (16, 30):
            stroke(f, lambda c, r=r: c.arc(56, 50, r, -0.9, 0.9), WHITE, 7)


@frames(r"lightning_floor_zap_(\d)\.png", "collectables", TILE, tile=True)
def zap(f, m):
    i = int(m.group(1))
    rnd = random.Random(i * 17)
    fade = 1.0 if i < 6 else (9 - i) / 4.0
    with _u(f) as f:
        for _ in range(3):
            pts = [(rnd.uniform(20, 80), 4)]
            for k in range(1, 6):
                pts.append((pts[-1][0] + rnd.uniform(-18, 18), k * 19))
            stroke(f, lambda c, p=pts: (c.move_to(*p[0]), [c.line_to(*q) for q in p[1:]]), PURPLE, 7, fade * 0.6)
            stroke(f, lambda c, p=pts: (c.move_to(*p[0]), [c.line_to(*q) for q in p[1:]]), WHITE, 2.5, fade)


# Conveyors.
BELT = rgb("#3A434C")


@frames(r"Conveyor_(\d)\.png", "artupdate", TILE, tile=True)
def conveyor(f, m):
    shift = (int(m.group(1)) - 1) * 20 / 5.0
    with _u(f) as f:
        shape(f, rounded(4, 0, 92, 100, 2), BELT)
        f.ctx.save()
        rounded(10, 0, 80, 100, 0)(f.ctx)
        f.ctx.clip()
        for y in range(-20, 120, 20):
            yy = y + shift
            stroke(f, lambda c, yy=yy: (c.move_to(22, yy + 8), c.line_to(50, yy - 4), c.line_to(78, yy + 8)), AMBER, 5)
        f.ctx.restore()


@frames(r"conveyor_arrows\.png", "artupdate", TILE)
def conveyor_arrows(f, m):
    with _u(f) as f:
        for y in (20, 50, 80):
            stroke(f, lambda c, y=y: (c.move_to(28, y + 10), c.line_to(50, y - 6), c.line_to(72, y + 10)), AMBER, 6)


@frames(r"conveyor_(middle|horizontal_end|vertical_end)\.png", "artupdate", TILE, tile=True)
def conveyor_piece(f, m):
    with _u(f) as f:
        shape(f, rounded(0, 10, 100, 80, 4), BELT)
        for x in range(8, 100, 16):
            stroke(f, lambda c, x=x: (c.move_to(x, 14), c.line_to(x, 86)), lighter(BELT, 0.15), 3)
        if m.group(1) != "middle":
            shape(f, rounded(80 if m.group(1) == "horizontal_end" else 0, 6, 20, 88, 8), STEEL)


@frames(r"p3_conveyor_lines\.png", "artupdate", TILE, tile=True)
def conveyor_lines(f, m):
    with _u(f) as f:
        stripes(f, rounded(0, 0, 100, 100, 0), AMBER, 20, 6, alpha=0.5)


@frames(r"conveyor_item_dispenser(_back)?\.png", "artupdate", (240, 240))
def dispenser(f, m):
    with _u(f) as f:
        if m.group(1):
            shape(f, rounded(8, 8, 84, 84, 8), WALL_DARK)
        else:
            shape(f, rounded(8, 8, 84, 40, 8), STEEL)
            flat(f, rounded(20, 20, 60, 16, 4), INK)
            stripes(f, rounded(8, 40, 84, 8, 2), AMBER, 10, 4)


@frames(r"conveyor_wheels_(\d)\.png", "artupdate", (160, 60))
def conveyor_wheels(f, m):
    turn = int(m.group(1)) * math.pi / 6
    with local(f, 0, 0, f.width / 100.0) as f:
        for x in (15, 50, 85):
            shape(f, circle(x, 18, 13), STEEL)
            stroke(f, lambda c, x=x: (c.move_to(x - 9 * math.cos(turn), 18 - 9 * math.sin(turn)),
                                      c.line_to(x + 9 * math.cos(turn), 18 + 9 * math.sin(turn))), INK, 3)


@frames(r"conveyor_flap_(\d+)\.png", "artupdate", (160, 120))
def conveyor_flap(f, m):
    i = int(m.group(1)) - 1
    open_ = math.sin(math.pi * i / 10)
    with local(f, 0, 0, f.width / 100.0) as f:
        flat(f, rounded(10, 8, 80, 60, 4), INK)
        shape(f, rounded(10, 8, 80, 60 * (1 - 0.85 * open_) + 2, 4), AMBER)
        stripes(f, rounded(10, 8, 80, 60 * (1 - 0.85 * open_) + 2, 4), INK, 14, 5, alpha=0.6)


# The conveyor machine's arm segments lie along x and turn about a pivot at
# 0.93 of their width; the forearm hangs from the back arm's far end, 15 px
# up, so both are 30 px high with their axis across the middle.
@frames(r"arm_(backarm|forearm)\.png", "artupdate", lambda m: (130, 30) if m.group(1) == "backarm" else (100, 30))
def machine_arm(f, m):
    w = f.width
    shape(f, rounded(3, 5, w - 6, 20, 10), AMBER)
    stripes(f, rounded(16, 9, w - 40, 12, 5), INK, 12, 4, alpha=0.5)
    for x in (13, w * 0.93 - 2):
        shape(f, circle(x, 15, 5), STEEL)


@frames(r"arm_base\.png", "artupdate", TILE)
def arm_base(f, m):
    with _u(f) as f:
        shape(f, rounded(18, 52, 64, 40, 8), WALL)
        shape(f, circle(50, 52, 18), AMBER)


@frames(r"arm_tip_(claw|torch|weld)\.png", "artupdate", (80, 80))
def arm_tip(f, m):
    kind = m.group(1)
    with _u(f) as f:
        shape(f, rounded(36, 4, 28, 36, 6), STEEL)
        if kind == "claw":
            for s in (-1, 1):
                shape(f, polygon([(50, 40), (50 + s * 30, 70), (50 + s * 12, 88), (50 + s * 8, 60)]), AMBER)
        elif kind == "torch":
            shape(f, polygon([(40, 40), (60, 40), (54, 70), (46, 70)]), WALL_DARK)
            flat(f, ellipse(50, 82, 8, 14), AMBER)
            flat(f, ellipse(50, 84, 4, 8), WHITE)
        else:
            shape(f, rounded(44, 40, 12, 36, 4), WALL_DARK)
            flat(f, star(50, 84, 14, 5, 6), rgb("#9FE7FF"))


@frames(r"part_anim_(\d)\.png", "artupdate", (240, 240))
def part_robot(f, m):
    i = int(m.group(1)) - 1
    bob = 3 * math.sin(2 * math.pi * i / 8)
    with local(f, 0, bob, 1.0) as g:
        _robot(g)


# The delivery drone is drawn in its own space: 130 x 150, facing left, the
# wheels centred at (65, 30), the body at (65, 55), the head at (65, 135) and
# the two shoulders at (90, 147) and (90, 62), y up. Each part's frame is
# centred where the drone puts it, so the parts meet as one machine.
DRONE_CENTRES = {"wheels": (65, 30), "body": (65, 55), "head": (65, 135)}
DRONE_GLASS = rgb("#7FE3F0")


def _drone(f, part):
    """Draws in drone units with y down from the drone's top edge (150)."""
    cx, cy = DRONE_CENTRES[part]
    return local(f, f.width / 2 - cx, f.height / 2 - (150 - cy), 1.0)


@frames(r"delivery_drone_body\.png", "artupdate", TILE)
def drone_body(f, m):
    with _drone(f, "body") as f:
        shape(f, rounded(12, 36, 106, 94, 16), BLUE)
        # The cargo hatch on its front and the rails the shoulders slide on.
        shape(f, rounded(22, 50, 48, 40, 7), PALE)
        stroke(f, lambda c: (c.move_to(30, 70), c.line_to(62, 70)), STEEL, 3)
        flat(f, circle(46, 60, 4), AMBER)
        stroke(f, lambda c: (c.move_to(40, 88), c.line_to(96, 88)), WALL_DARK, 5)
        shape(f, rounded(12, 110, 106, 20, 8), darker(BLUE, 0.35))


@frames(r"delivery_drone_head\.png", "artupdate", TILE)
def drone_head(f, m):
    with _drone(f, "head") as f:
        stroke(f, lambda c: (c.move_to(86, -6), c.line_to(92, -24)), INK, 3)
        shape(f, circle(92, -26, 5), AMBER)
        shape(f, rounded(22, -8, 86, 50, 20), lighter(BLUE, 0.3))
        # A visor on the side it faces, two eyes in it.
        shape(f, rounded(26, 2, 52, 24, 11), INK, highlight=False)
        flat(f, circle(38, 14, 5), DRONE_GLASS)
        flat(f, circle(56, 14, 5), DRONE_GLASS)
        flat(f, circle(36, 12, 1.6), WHITE)
        flat(f, circle(54, 12, 1.6), WHITE)
        shape(f, rounded(30, 38, 70, 10, 4), darker(BLUE, 0.2))


@frames(r"delivery_drone_shoulder_(inner|outer)\.png", "artupdate", (40, 40))
def drone_shoulder(f, m):
    if m.group(1) == "inner":
        shape(f, circle(20, 20, 15), WALL)
    else:
        shape(f, circle(20, 20, 9), STEEL)
        flat(f, circle(20, 20, 3), INK)


@frames(r"delivery_drone_wheels_(\d)\.png", "artupdate", (160, 60))
def drone_wheels(f, m):
    turn = int(m.group(1)) * math.pi / 3
    with _drone(f, "wheels") as f:
        shape(f, rounded(8, 118, 114, 30, 15), WALL_DARK)
        for x in (28, 65, 102):
            shape(f, circle(x, 133, 11), STEEL)
            for a in (turn, turn + math.pi / 2):
                stroke(f, lambda c, x=x, a=a: (c.move_to(x - 8 * math.cos(a), 133 - 8 * math.sin(a)),
                                               c.line_to(x + 8 * math.cos(a), 133 + 8 * math.sin(a))), INK, 2.5)
            flat(f, circle(x, 133, 3), INK)


# The drone's arm segments lie along x, turning about a pivot at 0.93 of
# their width; the forearm hangs from the upper arm's far end, 10 px up, so
# both are 20 px high with their axis across the middle. The forearm ends in
# a gripper.
@frames(r"delivery_drone_(backarm|forearm)\.png", "artupdate",
        lambda m: (62, 20) if m.group(1) == "backarm" else (66, 20))
def drone_arm(f, m):
    w = f.width
    if m.group(1) == "backarm":
        shape(f, rounded(3, 3, w - 6, 14, 7), STEEL)
        flat(f, circle(w * 0.93 - 1, 10, 3), INK)
    else:
        shape(f, rounded(12, 4, w - 16, 12, 6), STEEL)
        for s in (-1, 1):
            shape(f, polygon([(14, 10 + 3 * s), (3, 10 + 7 * s), (6, 10 + 2 * s)]), AMBER)
        flat(f, circle(w * 0.93 - 1, 10, 2.5), INK)


@frames(r"roomba\.png", "artupdate", (140, 140))
def roomba(f, m):
    with _u(f) as f:
        shape(f, circle(50, 52, 42), rgb("#4B5560"))
        shape(f, circle(50, 48, 30), rgb("#6E7A86"))
        flat(f, circle(50, 30, 5), GREEN)


@frames(r"(cat_0|long_cat)\.png", "artupdate", lambda m: (160, 160) if m.group(1) == "cat_0" else (320, 160))
def cat(f, m):
    long_ = m.group(1) == "long_cat"
    with local(f, 0, 0, f.height / 100.0) as f:
        body_w = 70 if long_ else 34
        fur = rgb("#E7A35A")
        stroke(f, lambda c: (c.move_to(20, 66), c.curve_to(4, 60, 8, 40, 14, 34)), INK, 9)
        stroke(f, lambda c: (c.move_to(20, 66), c.curve_to(4, 60, 8, 40, 14, 34)), fur, 6)
        shape(f, rounded(18, 48, body_w * 2 - 10, 34, 16), fur)
        hx = 18 + body_w * 2 - 10
        shape(f, polygon([(hx - 22, 36), (hx - 16, 16), (hx - 6, 32)]), fur)
        shape(f, polygon([(hx + 2, 32), (hx + 10, 16), (hx + 16, 36)]), fur)
        shape(f, circle(hx - 3, 46, 20), fur)
        for dx in (-10, 4):
            flat(f, ellipse(hx - 3 + dx, 44, 3, 5), INK)
        flat(f, polygon([(hx - 6, 52), (hx, 52), (hx - 3, 56)]), rgb("#F2A7B5"))


def _prop(f, kind, colour):
    """A piece of furniture or kit seen from above and a little in front, in
    a 100-unit square stretched to the frame's width."""
    with local(f, 0, 0, f.height / 100.0, sx=f.width / f.height) as f:
        flat(f, ellipse(50, 88, 38, 8), (0, 0, 0), 0.18)
        if kind == "chair":
            shape(f, rounded(26, 20, 48, 30, 10), darker(colour, 0.1))
            shape(f, rounded(22, 44, 56, 34, 12), colour)
        elif kind == "beanbag":
            shape(f, ellipse(50, 58, 40, 30), colour)
            flat(f, ellipse(42, 48, 16, 8), lighter(colour, 0.3))
        elif kind == "desk":
            shape(f, rounded(6, 30, 88, 44, 6), colour)
            shape(f, rounded(12, 70, 12, 18, 3), darker(colour, 0.3))
            shape(f, rounded(76, 70, 12, 18, 3), darker(colour, 0.3))
        elif kind == "table":
            shape(f, ellipse(50, 50, 40, 28), colour)
            shape(f, rounded(44, 70, 12, 18, 3), darker(colour, 0.3))
        elif kind == "monitor":
            shape(f, rounded(14, 14, 72, 52, 6), WALL_DARK)
            flat(f, rounded(20, 20, 60, 40, 3), colour)
            flat(f, rounded(24, 26, 30, 4, 2), WHITE, 0.7)
            shape(f, rounded(40, 66, 20, 16, 3), STEEL)
        elif kind == "monitor_array":
            for x in (6, 36, 66):
                shape(f, rounded(x, 20, 28, 40, 4), WALL_DARK)
                flat(f, rounded(x + 4, 24, 20, 30, 2), colour)
        elif kind == "plant":
            shape(f, polygon([(30, 60), (70, 60), (64, 90), (36, 90)]), colour)
            for a in (-0.9, -0.4, 0.1, 0.6, 1.0):
                shape(f, ellipse(50 + 26 * math.sin(a), 42 - 18 * math.cos(a), 10, 20, a), LEAF)
        elif kind == "plant_top":
            for a in (-1.2, -0.6, 0, 0.6, 1.2):
                shape(f, ellipse(50 + 25 * math.sin(a), 52 - 20 * math.cos(a), 11, 24, a), LEAF)
        elif kind == "camera":
            shape(f, rounded(24, 30, 46, 28, 6), colour)
            shape(f, circle(74, 44, 10), WALL_DARK)
            flat(f, circle(74, 44, 4), RED)
            shape(f, rounded(40, 58, 8, 24, 3), STEEL)
        elif kind == "sign":
            shape(f, rounded(16, 16, 68, 68, 10), colour)
        elif kind == "window":
            shape(f, rounded(4, 4, 92, 92, 6), STEEL)
            flat(f, rounded(10, 10, 80, 80, 3), rgb("#9FD3F0"))
            flat(f, polygon([(20, 80), (60, 10), (74, 10), (34, 80)]), WHITE, 0.4)
            stroke(f, lambda c: (c.move_to(50, 10), c.line_to(50, 90), c.move_to(10, 50), c.line_to(90, 50)), STEEL, 4)
        elif kind == "whiteboard":
            shape(f, rounded(6, 14, 88, 60, 4), WHITE, outline=STEEL)
            stroke(f, lambda c: (c.move_to(16, 30), c.curve_to(30, 20, 40, 40, 56, 28)), BLUE, 2.5)
            stroke(f, lambda c: (c.move_to(20, 54), c.line_to(70, 54)), RED, 2.5)
        elif kind == "chute":
            shape(f, rounded(14, 10, 72, 80, 10), colour)
            flat(f, rounded(24, 24, 52, 52, 8), INK)
        elif kind == "instrument":
            shape(f, rounded(14, 24, 72, 56, 6), colour)
            for k, x in enumerate((28, 50, 72)):
                flat(f, circle(x, 44, 7), [GREEN, AMBER, RED][k])
            flat(f, rounded(22, 60, 56, 10, 3), INK)
        elif kind == "ping_pong":
            shape(f, rounded(4, 24, 92, 52, 4), rgb("#2F8F5B"))
            stroke(f, lambda c: (c.move_to(50, 24), c.line_to(50, 76)), WHITE, 3)
        elif kind == "cup":
            shape(f, rounded(34, 40, 32, 40, 6), colour)
            stroke(f, lambda c: (c.arc(68, 58, 8, -1.4, 1.4)), INK, 4)
        elif kind == "vase":
            shape(f, ellipse(50, 66, 22, 24), colour)
            for a in (-0.5, 0, 0.5):
                shape(f, ellipse(50 + 20 * math.sin(a), 32, 8, 18, a), LEAF)
        elif kind == "cooler":
            shape(f, rounded(30, 40, 40, 50, 6), WHITE)
            shape(f, rounded(34, 6, 32, 36, 12), rgb("#8FD0F2"))
        elif kind == "calculator":
            shape(f, rounded(26, 14, 48, 70, 6), WALL_DARK)
            flat(f, rounded(32, 20, 36, 14, 3), rgb("#BFE6C3"))
            for r in range(3):
                for c in range(3):
                    flat(f, rounded(33 + c * 12, 40 + r * 13, 9, 9, 2), PALE)
        elif kind == "elevator":
            shape(f, rounded(6, 6, 88, 88, 8), colour)
        else:  # crate
            shape(f, rounded(14, 20, 72, 66, 6), colour)
            stroke(f, lambda c: (c.move_to(14, 20), c.line_to(86, 86), c.move_to(86, 20), c.line_to(14, 86)),
                   darker(colour, 0.3), 3)


# name -> (kind, colour, size): the rooms' furniture and kit.
PROPS = {
    "bean_bag_chair": ("beanbag", rgb("#E85E5E"), TILE),
    "p2_chair_0": ("chair", rgb("#5C7FA8"), TILE),
    "p2_small_chair": ("chair", rgb("#C9894F"), TILE),
    "p2_desk_0": ("desk", WOOD, (320, 160)),
    "p2_desk_1": ("desk", WOOD, (320, 160)),
    "p2_desk_2": ("desk", lighter(WOOD, 0.2), (320, 160)),
    "p2_desk_3": ("desk", darker(WOOD, 0.1), (320, 160)),
    "p3_desk_0": ("desk", STEEL, (320, 160)),
    "tablet_table": ("table", WHITE, TILE),
    "p2_small_table_0": ("table", WOOD, TILE),
    "p2_small_table_1": ("table", lighter(WOOD, 0.2), TILE),
    "wall_camera": ("camera", PALE, TILE),
    "p3_camera_back": ("camera", STEEL, TILE),
    "p3_camera_front": ("camera", STEEL, TILE),
    "p3_instrument_0": ("instrument", STEEL, TILE),
    "p3_instrument_1": ("instrument", WALL, TILE),
    "p2_monitor_0": ("monitor", rgb("#5BC0EB"), TILE),
    "p2_monitor_1": ("monitor", rgb("#9BE564"), TILE),
    "p3_monitor_0": ("monitor", rgb("#5BC0EB"), TILE),
    "p3_monitor_1": ("monitor", rgb("#F5A623"), TILE),
    "p3_monitor_array": ("monitor_array", rgb("#5BC0EB"), (320, 160)),
    "big_window": ("window", STEEL, (320, 320)),
    "p2_big_window": ("window", WOOD, (320, 320)),
    "p3_big_window": ("window", STEEL, (320, 320)),
    "p4_big_window": ("window", rgb("#4F6657"), (320, 320)),
    "p2_whiteboard": ("whiteboard", WHITE, (320, 160)),
    "p2_chute": ("chute", rgb("#A98B6A"), TILE),
    "p3_chute": ("chute", STEEL, TILE),
    "p4_chute": ("chute", rgb("#4F6657"), TILE),
    "plant_0": ("plant", rgb("#C9894F"), TILE),
    "p2_plant_0": ("plant", rgb("#E8E2D6"), TILE),
    "p3_plant_0": ("plant", STEEL, TILE),
    "p4_plant_0": ("plant", rgb("#7D6A55"), TILE),
    "p2_plant_top_0": ("plant_top", LEAF, TILE),
    "p2_plant_top_1": ("plant_top", LEAF, TILE),
    "p2_plant_top_2": ("plant_top", LEAF, TILE),
    "ping_pong_table": ("ping_pong", GREEN, (320, 160)),
    "p2_coffee_cup": ("cup", WHITE, (80, 80)),
    "p2_plant_vase_0": ("vase", BLUE, TILE),
    "p2_plant_vase_1": ("vase", RED, TILE),
    "p2_plant_vase_2": ("vase", GOLD, (100, 100)),
    "p2_water_cooler": ("cooler", WHITE, TILE),
    "p3_calculator": ("calculator", WALL_DARK, (80, 80)),
    "image5073": ("crate", WOOD, TILE),
    "Elevator_Back": ("elevator", WALL_DARK, TILE),
    "Elevator_Box": ("crate", STEEL, TILE),
}


@frames(r"(" + "|".join(PROPS) + r")\.png", "artupdate", lambda m: PROPS[m.group(1)][2])
def prop(f, m):
    kind, colour, _ = PROPS[m.group(1)]
    _prop(f, kind, colour)


# Warning signs: glyphs on a plate.
@frames(r"p([34])_sign_(dne|skull|pee|poop|shock)\.png", "artupdate", (120, 120))
def sign(f, m):
    kind = m.group(2)
    with _u(f) as f:
        shape(f, polygon([(50, 6), (94, 88), (6, 88)]) if kind in ("skull", "shock") else rounded(8, 8, 84, 84, 12),
              AMBER if kind in ("skull", "shock") else WHITE)
        if kind == "skull":
            flat(f, circle(50, 54, 16), INK)
            flat(f, circle(44, 52, 4), AMBER)
            flat(f, circle(56, 52, 4), AMBER)
            flat(f, rounded(42, 64, 16, 10, 2), INK)
        elif kind == "shock":
            flat(f, polygon([(56, 30), (38, 60), (50, 60), (42, 80), (64, 50), (52, 50)]), INK)
        elif kind == "dne":
            flat(f, circle(50, 50, 32), RED)
            flat(f, rounded(28, 44, 44, 12, 3), WHITE)
        else:
            flat(f, circle(50, 50, 30), BLUE if kind == "pee" else WOOD)
            flat(f, circle(50, 50, 12), WHITE)


@frames(r"Elevator_Tile_(\d)\.png", "artupdate", TILE)
def elevator_tile(f, m):
    i = int(m.group(1))
    with _u(f) as f:
        shape(f, rounded(4, 4, 92, 92, 10), STEEL)
        for k in range(3):
            flat(f, circle(50, 50, 12 + k * 12), GREEN if k < i else darker(GREEN, 0.55), 0.0 if k < 0 else 1.0) \
                if False else None
        for k in range(3):
            stroke(f, circle(50, 50, 36 - k * 12), GREEN if k < i else darker(GREEN, 0.5), 5)


@frames(r"Elevator_Arrow_(\d)\.png", "artupdate", (80, 80))
def elevator_arrow(f, m):
    up = m.group(1) == "1"
    with _u(f) as f:
        flat(f, polygon([(50, 10), (90, 60), (62, 60), (62, 90), (38, 90), (38, 60), (10, 60)]) if up else
             polygon([(50, 90), (90, 40), (62, 40), (62, 10), (38, 10), (38, 40), (10, 40)]), GREEN)


# The city seen through the lab's big windows (its own sheet).
@frames(r"p0_winbg_layer_3\.png", "p0_winbg", (512, 256), tile=True)
def winbg_layer(f, m):
    with local(f, 0, 0, f.width / 200.0) as f:
        flat(f, rounded(0, 0, 200, 100, 0), rgb("#9FD3F0"))
        rnd = random.Random(3)
        x = 0
        while x < 200:
            w = rnd.uniform(12, 26)
            h = rnd.uniform(30, 70)
            flat(f, rounded(x, 100 - h, w, h, 1), rgb("#7E9BB0"))
            for wy in range(int(100 - h + 5), 96, 8):
                for wx in range(int(x + 3), int(x + w - 3), 6):
                    flat(f, rounded(wx, wy, 3, 4, 0.5), rgb("#C9E3F2"))
            x += w + 2


@frames(r"p0_winbg_bill_(\d)\.png", "p0_winbg", (200, 120))
def winbg_bill(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, rounded(4, 4, 92, 44, 4), [AMBER, BLUE][int(m.group(1))])
        text(f, ["CHEESE!", "LAB CO."][int(m.group(1))], 50, 26, 16, colour=WHITE, outline=INK, outline_width=2)


@frames(r"p0_winbg_logo\.png", "p0_winbg", (240, 120))
def winbg_logo(f, m):
    with local(f, 0, 0, 1.0) as f:
        shape(f, rounded(6, 16, 228, 88, 24), WALL_DARK)
        text(f, "QUILLFEN", 120, 60, 44, colour=WHITE, outline=INK, outline_width=5)


@frames(r"p0_winbg_cloud_(\d)\.png", "p0_winbg", (200, 100))
def winbg_cloud(f, m):
    rnd = random.Random(int(m.group(1)))
    with local(f, 0, 0, f.width / 100.0) as f:
        for _ in range(5):
            flat(f, circle(rnd.uniform(25, 75), rnd.uniform(22, 28), rnd.uniform(12, 20) * 0.9), WHITE, 0.95)


@frames(r"p0_winbg_ufo_(\d)\.png", "p0_winbg", (140, 80))
def winbg_ufo(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, ellipse(50, 22, 16, 12), rgb("#9FE7FF"))
        shape(f, ellipse(50, 32, 40, 10), STEEL)
        for k, x in enumerate((24, 50, 76)):
            flat(f, circle(x, 33, 3), AMBER if (k + int(m.group(1))) % 2 else WHITE)

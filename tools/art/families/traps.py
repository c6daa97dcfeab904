"""Trap frames: trap doors, spikes, slap boards, the red-green sign, rat
traps, vortices, four-panel doors and the trap explosion. Tile-sized frames
are 160 x 160 (one cell). Resting looks are closed and grey, warnings amber
and partly open or rising, armed looks open, red and spiked: the three differ
in shape as well as colour."""

import math
import random

from registry import frames
from style import (AMBER, BLUE, GREEN, INK, PALE, PURPLE, RED, STEEL, WALL, WALL_DARK, WHITE, WOOD, circle, darker,
                   ellipse, flat, lighter, local, polygon, rgb, rounded, shape, stripes, stroke)

TILE = (160, 160)
PLATE = rgb("#8A9AA6")
PIT = rgb("#151B22")


def _tile(f):
    return local(f, 0, 0, f.width / 100.0)


def trap_door(f, t, plate, marking):
    """A square pit under two leaves that slide apart as t goes 0 -> 1."""
    with _tile(f) as f:
        shape(f, rounded(4, 4, 92, 92, 8), darker(STEEL, 0.25))
        flat(f, rounded(10, 10, 80, 80, 4), PIT)
        if t > 0.5:
            flat(f, rounded(14, 14, 72, 72, 4), darker(RED, 0.55), (t - 0.5) * 1.6)
        gap = 40 * t
        left = rounded(10, 10, max(0.5, 40 - gap), 80, 3)
        right = rounded(50 + gap, 10, max(0.5, 40 - gap), 80, 3)
        for leaf in (left, right):
            if 40 - gap > 0.6:
                shape(f, leaf, plate)
                if t > 0:
                    stripes(f, leaf, marking, 12, 5, alpha=0.85)
        stroke(f, rounded(4, 4, 92, 92, 8), INK)


@frames(r"Trap_Door_(\d)\.png", "bomb", TILE)
def trap_door_plain(f, m):
    trap_door(f, (int(m.group(1)) - 1) / 8.0, PLATE, AMBER)


@frames(r"CTrap_Door_(\d)\.png", "bomb", TILE)
def trap_door_coloured(f, m):
    trap_door(f, (int(m.group(1)) - 1) / 8.0, lighter(BLUE, 0.1), WHITE)


@frames(r"Trap_Door_Base\.png", "bomb", TILE)
def trap_door_base(f, m):
    with _tile(f) as f:
        shape(f, rounded(4, 4, 92, 92, 8), darker(STEEL, 0.25))
        flat(f, rounded(12, 12, 76, 76, 6), darker(WALL_DARK, 0.3))
        for x, y in ((12, 12), (82, 12), (12, 82), (82, 82)):
            flat(f, circle(x + 3, y + 3, 2.2), PALE)


def _spike_plate(f, holes=True):
    shape(f, rounded(6, 6, 88, 88, 8), rgb("#9BA9B3"))
    if holes:
        for r in range(3):
            for c in range(3):
                flat(f, ellipse(22 + c * 28, 24 + r * 28, 7, 4), PIT)


def _spikes(f, height, tip):
    """Nine cones standing in the plate's holes, `height` 0 .. 1."""
    if height <= 0:
        return
    for r in range(3):
        for c in range(3):
            x, y = 22 + c * 28, 24 + r * 28
            h = 21 * height
            shape(f, polygon([(x - 8, y), (x, y - h), (x + 8, y)]), rgb("#E4EAEE"), highlight=False)
            if height > 0.55:
                flat(f, polygon([(x - 2.8, y - h + 7.5), (x, y - h), (x + 2.8, y - h + 7.5)]), tip)


@frames(r"spike_anim_000(\d)\.png", "bomb", TILE)
def spike_rise(f, m):
    i = int(m.group(1))
    with _tile(f) as f:
        _spikes(f, [0.15, 0.35, 0.6, 0.85, 1.0][i - 1], RED)


@frames(r"spike_warn_000(\d)\.png", "bomb", TILE)
def spike_warn(f, m):
    """Arming: amber tips peek out of every hole and jitter up and down."""
    i = int(m.group(1))
    with _tile(f) as f:
        for r in range(3):
            for c in range(3):
                x, y = 22 + c * 28, 24 + r * 28
                flat(f, ellipse(x, y, 11, 7), AMBER, 0.9)
        _spikes(f, [0.12, 0.22][i - 1], AMBER)
        for r in range(3):
            for c in range(3):
                x, y = 22 + c * 28, 24 + r * 28
                h = 26 * [0.12, 0.22][i - 1] * 1.3
                shape(f, polygon([(x - 5, y), (x, y - h - 4), (x + 5, y)]), AMBER, highlight=False)


@frames(r"spike_grill\.png", "bomb", TILE)
def spike_grill(f, m):
    with _tile(f) as f:
        _spike_plate(f)


@frames(r"Spike_Trap_S(\d)\.png", "bomb", TILE)
def spike_scheduled(f, m):
    i = int(m.group(1))
    with _tile(f) as f:
        _spikes(f, [0.25, 0.55, 1.0, 0.55, 0.25][i - 1], RED if i == 3 else AMBER)


@frames(r"Spike_Trap_Grill\.png", "bomb", TILE)
def spike_scheduled_grill(f, m):
    with _tile(f) as f:
        _spike_plate(f)
        stripes(f, rounded(6, 6, 88, 10, 4), AMBER, 10, 5)
        stripes(f, rounded(6, 84, 88, 10, 4), AMBER, 10, 5)


@frames(r"Slap_Trap_(\d)\.png", "bomb", TILE)
def slap_trap(f, m):
    """A hinged paddle: lies flat, lifts (warning) and slaps down (armed)."""
    i = int(m.group(1)) - 1
    angle = [0, 0.3, 0.7, 1.2, 1.5, 0.9, 0.2, 0.0, 0.0][i]
    armed = i in (5, 6, 7)
    with _tile(f) as f:
        shape(f, rounded(8, 48, 84, 20, 5), STEEL)
        with local(f, 14, 58, 1.0, angle=-angle, sy=1.0):
            shape(f, rounded(0, -12, 66 * max(0.25, math.cos(angle * 0.6)), 24, 8),
                  RED if armed else AMBER)
        shape(f, circle(14, 58, 6), darker(STEEL, 0.3))


@frames(r"RedGreen_(\d)\.png", "bomb", TILE)
def red_green_light(f, m):
    i = int(m.group(1))
    red = i <= 3
    glow = [0.6, 0.8, 1.0][(i - 1) % 3]
    with _tile(f) as f:
        shape(f, rounded(28, 6, 44, 88, 14), WALL_DARK)
        flat(f, circle(50, 30, 14), darker(RED, 0.6))
        flat(f, circle(50, 70, 14), darker(GREEN, 0.6))
        if red:
            flat(f, circle(50, 30, 18 * glow), RED, 0.35)
            shape(f, circle(50, 30, 12), RED)
        else:
            flat(f, circle(50, 70, 18 * glow), GREEN, 0.35)
            shape(f, circle(50, 70, 12), GREEN)


def explosion(f, t, seed, smoke=True):
    """A blast at progress t (0 -> 1): a white-hot core, flame petals, then
    smoke that thins out. Frame n of N is drawn at t = (n - 1) / N, so the
    last frame still shows a wisp of smoke. The smoke at its widest stays
    inside the frame."""
    rnd = random.Random(seed)
    with local(f, f.width / 2, f.height / 2, f.width / 100.0 * 0.9) as f:
        grow = math.sqrt(min(1.0, t * 2.2))
        fade = 1.0 if t < 0.55 else max(0.0, 1.0 - (t - 0.55) / 0.45)
        for k in range(9):
            a = k * 2 * math.pi / 9 + rnd.uniform(-0.2, 0.2)
            d = 22 * grow
            r = (14 + rnd.uniform(0, 8)) * grow
            if smoke and t > 0.35:
                flat(f, circle(math.cos(a) * d * 1.1, math.sin(a) * d * 1.1 - t * 6, r), rgb("#5E646B"),
                     0.7 * fade)
            flat(f, circle(math.cos(a) * d, math.sin(a) * d, r), RED, 0.95 * fade * (1.2 - t))
        flat(f, circle(0, 0, 30 * grow), AMBER, fade * max(0.0, 1.1 - t * 1.2))
        flat(f, circle(0, 0, 18 * grow * (1.2 - t)), (1.0, 0.97, 0.85), max(0.0, 1.0 - t * 1.6))


@frames(r"Explosion_Trap_(\d+)\.png", "bomb", (256, 256))
def explosion_trap(f, m):
    explosion(f, (int(m.group(1)) - 1) / 19.0, 3)


@frames(r"fp_trap_door_base\.png", "bomb", TILE)
def four_panel_base(f, m):
    """What the open door shows: a pit glowing red, armed."""
    with _tile(f) as f:
        shape(f, rounded(4, 4, 92, 92, 8), darker(STEEL, 0.25))
        flat(f, rounded(10, 10, 80, 80, 4), darker(RED, 0.35))
        flat(f, rounded(18, 18, 64, 64, 4), darker(RED, 0.7))
        flat(f, rounded(28, 28, 44, 44, 4), PIT)
        stroke(f, rounded(10, 10, 80, 80, 4), RED, 3)


@frames(r"fp_trap_door_(warn_)?(top|bottom)_(left|right)\.png", "bomb", (80, 80))
def four_panel_leaf(f, m):
    """A quarter of the door. Resting: plain grey with a bolt. Warning:
    amber with black hazard stripes and a chevron pointing at the seam the
    leaf is about to open from."""
    warn = m.group(1) is not None
    top, left = m.group(2) == "top", m.group(3) == "left"
    with local(f, 0, 0, f.width / 50.0) as f:
        leaf = rounded(2, 2, 46, 46, 4)
        x = 38 if left else 4
        y = 38 if top else 4
        if warn:
            shape(f, leaf, AMBER)
            stripes(f, leaf, INK, 12, 5, alpha=0.8)
            cx, cy = (44 if left else 6), (44 if top else 6)
            dx, dy = (-1 if left else 1), (-1 if top else 1)
            flat(f, polygon([(cx, cy), (cx + dx * 22, cy), (cx, cy + dy * 22)]), RED)
        else:
            shape(f, leaf, PLATE)
            flat(f, rounded(8, 8, 34, 34, 3), lighter(PLATE, 0.12))
        flat(f, circle(x + 4, y + 4, 3), darker(STEEL, 0.4))


def _vortex(f, turn, arms=4):
    with local(f, f.width / 2, f.height / 2, f.width / 100.0) as f:
        flat(f, circle(0, 0, 46), rgb("#241A3A"))
        for k in range(arms):
            a0 = turn + k * 2 * math.pi / arms

            def arm(c, a0=a0):
                for j in range(40):
                    r = 44 - j * 1.05
                    a = a0 + j * 0.11
                    (c.move_to if j == 0 else c.line_to)(r * math.cos(a), r * math.sin(a))
            stroke(f, arm, PURPLE, 9)
            stroke(f, arm, lighter(PURPLE, 0.5), 3)
        flat(f, circle(0, 0, 9), rgb("#0B0712"))
        stroke(f, circle(0, 0, 46), INK, 3)


@frames(r"Vortex_Small_(\d)\.png", "bomb", TILE)
def vortex_small(f, m):
    _vortex(f, (int(m.group(1)) - 1) * 2 * math.pi / 12)


@frames(r"Vortex_Large_(\d)\.png", "bomb", (320, 320))
def vortex_large(f, m):
    _vortex(f, (int(m.group(1)) - 1) * 2 * math.pi / 15, arms=5)


@frames(r"Slap_Trap_(Left|Right)_(\d)\.png", "bomb", (320, 240))
def rat_trap(f, m):
    """A wooden snap board; its bar swings over from open to shut over 0..7."""
    i = int(m.group(2))
    side = -1 if m.group(1) == "Left" else 1
    angle = math.pi * min(1.0, i / 6.0)
    with local(f, 0, 0, f.width / 160.0) as f:
        shape(f, rounded(10, 66, 140, 40, 8), WOOD)
        shape(f, rounded(70, 72, 20, 12, 3), STEEL)
        cx, cy = 80, 84
        a = math.pi - angle if side > 0 else angle
        length = 62
        ex, ey = cx + length * math.cos(a), cy - 52 * math.sin(a) * 1.0
        stroke(f, lambda c: (c.move_to(cx, cy), c.line_to(ex, ey)), INK, 9)
        stroke(f, lambda c: (c.move_to(cx, cy), c.line_to(ex, ey)), RED if 0 < i < 7 else rgb("#C9D1D9"), 5)
        shape(f, circle(cx, cy, 6), darker(STEEL, 0.3))


@frames(r"red_green_base\.png", "bomb", (160, 240))
def red_green_base(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, rounded(44, 20, 12, 120, 4), STEEL)
        shape(f, rounded(20, 132, 60, 14, 5), WALL)


@frames(r"red_green_hand\.png", "bomb", (120, 120))
def red_green_hand(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 46), RED)
        shape(f, rounded(30, 38, 40, 40, 10), WHITE, highlight=False)
        for k in range(4):
            shape(f, rounded(30 + k * 10, 18, 9, 30, 4.5), WHITE, highlight=False)
        shape(f, rounded(18, 48, 16, 9, 4.5), WHITE, highlight=False)


@frames(r"red_green_man\.png", "bomb", (120, 120))
def red_green_man(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        shape(f, circle(50, 50, 46), GREEN)
        flat(f, circle(54, 22, 8), WHITE)
        for path in ((54, 32, 48, 58), (48, 58, 36, 80), (48, 58, 62, 80), (52, 38, 68, 50), (52, 38, 36, 48)):
            stroke(f, lambda c, p=path: (c.move_to(p[0], p[1]), c.line_to(p[2], p[3])), WHITE, 8)


@frames(r"Progress_(Red|Green)\.png", "bomb", (200, 30))
def progress(f, m):
    colour = RED if m.group(1) == "Red" else GREEN
    shape(f, rounded(3, 3, 194, 24, 12), colour, width=3)

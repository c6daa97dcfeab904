"""The lab rat (the 2D player look), its poses and its giblets.

The rat faces right, drawn in a 100 x 100 unit box whose ground line is at
y = 95 (the code anchors player frames at 5 % above the bottom edge). One
`Pose` says where every part is; each frame family is a list of poses. A pose
that would reach past the frame is drawn smaller about the ground point until
it fits: a turned or thrown one as a whole, a squashed one only as wide as
the frame (it stays as flat)."""

import math
from dataclasses import dataclass, field

from registry import frames
from style import (INK, PINK, SCARF, WHITE, circle, darker, ellipse, fitted, flat, lighter, local, polygon, rgb,
                   shape, stroke)

FUR = rgb("#F1EDE6")
FUR_SHADE = rgb("#D9D2C8")
SKIN = PINK
RAT_SIZE = (220, 220)


@dataclass
class Pose:
    bob: float = 0.0            # body lift, units (negative is up)
    back_foot: tuple = (0, 0)   # (dx, lift) of the back foot
    front_foot: tuple = (0, 0)
    tail: float = 0.0           # tail wave, -1 .. 1
    blink: float = 0.0          # 0 open .. 1 shut
    ears: float = 0.0           # ear turn, radians
    eyes: str = "open"          # open | wide | x | swirl
    mouth: str = "smile"        # smile | open | flat
    arms: str = "down"          # down | up | forward
    sniff: float = 0.0          # snout lift, units
    sx: float = 1.0             # squash about the ground centre
    sy: float = 1.0
    angle: float = 0.0          # turn about the body's centre, radians
    lift: float = 0.0           # whole rat raised, units
    scarf_flap: float = 0.0     # scarf end, -1 .. 1
    extras: list = field(default_factory=list)


def _tail(f, p, bob):
    wave = p.tail * 10
    path = lambda ctx: (ctx.move_to(26, 72 + bob),
                        ctx.curve_to(10, 80 + bob, 4, 66 + wave, 10, 52 + wave * 1.2))
    stroke(f, path, INK, 5.2 + 2 * f.line)
    stroke(f, path, SKIN, 5.2)
    stroke(f, lambda ctx: (ctx.move_to(24, 73 + bob), ctx.curve_to(12, 79 + bob, 8, 70 + wave, 11, 58 + wave)),
           lighter(SKIN, 0.4), 1.4)


def _foot(f, x, lift, front):
    shape(f, ellipse(x, 90 - lift, 7.5, 4.2), SKIN if front else darker(SKIN, 0.1), width=f.line)


def _arm(f, p, bob, front):
    if p.arms == "up":
        x, y, a = (61, 46 + bob, -0.9) if front else (38, 46 + bob, 0.9)
        shape(f, ellipse(x, y, 4, 9, a), FUR if front else FUR_SHADE)
        shape(f, circle(x + (3 if front else -3), y - 8, 3.4), SKIN)
    elif p.arms == "forward":
        shape(f, ellipse(66, 66 + bob, 9, 4, -0.3), FUR if front else FUR_SHADE)
        shape(f, circle(74, 63 + bob, 3.4), SKIN)
    else:
        x = 62 if front else 54
        shape(f, ellipse(x, 72 + bob, 4, 7.5, -0.25), FUR if front else FUR_SHADE)
        shape(f, circle(x + 2, 79 + bob, 3.3), SKIN)


def _eye(f, p, bob):
    cx, cy = 73, 43 + bob
    if p.eyes == "x":
        for s in (-1, 1):
            stroke(f, lambda ctx: (ctx.move_to(cx - 4, cy - 4 * s), ctx.line_to(cx + 4, cy + 4 * s)), INK, 2.4)
        return
    if p.eyes == "swirl":
        def spiral(ctx):
            for i in range(30):
                a = i * 0.45
                r = 0.3 + i * 0.18
                (ctx.move_to if i == 0 else ctx.line_to)(cx + r * math.cos(a), cy + r * math.sin(a))
        shape(f, ellipse(cx, cy, 5.6, 6.8), WHITE, shade=False)
        stroke(f, spiral, INK, 1.3)
        return
    open_ = 1.0 - p.blink
    if open_ < 0.15:
        stroke(f, lambda ctx: (ctx.move_to(cx - 5, cy + 1), ctx.curve_to(cx - 2, cy + 4, cx + 2, cy + 4, cx + 5, cy + 1)),
               INK, 2.2)
        return
    big = 1.2 if p.eyes == "wide" else 1.0
    shape(f, ellipse(cx, cy, 5.4 * big, 6.8 * big * open_), WHITE, shade=False, highlight=False)
    flat(f, ellipse(cx + 1.2, cy + 0.8 * open_, 3.4 * (0.8 if p.eyes == "wide" else 1), 3.8 * open_), INK)
    flat(f, circle(cx - 0.2, cy - 1.6 * open_, 1.3), WHITE)


def draw_rat(f, p):
    fitted(f, lambda g: _draw_rat(g, p), (f.width * 0.5, f.height * 0.95), each_axis=p.angle == 0.0)


def _draw_rat(f, p):
    with local(f, 0, 0, f.width / 100.0) as f:
        ctx = f.ctx
        ctx.translate(50, 95 - p.lift)
        ctx.scale(p.sx, p.sy)
        ctx.translate(-50, -95)
        ctx.translate(46, 62)
        ctx.rotate(p.angle)
        ctx.translate(-46, -62)
        bob = p.bob
        _tail(f, p, bob)
        _foot(f, 38 + p.back_foot[0], p.back_foot[1], False)
        _arm(f, p, bob, False)
        # Ears behind the head.
        with local(f, 58, 34 + bob, 1.0, angle=-p.ears):
            shape(f, circle(-3, -5, 10.5), FUR_SHADE)
            flat(f, circle(-3, -5, 6.2), darker(SKIN, 0.08))
        shape(f, ellipse(45, 65 + bob, 25, 20), FUR)
        # Scarf end flying back behind the neck.
        flap = p.scarf_flap * 6
        shape(f, polygon([(56, 56 + bob), (40, 50 + bob + flap), (36, 58 + bob + flap * 1.4), (52, 63 + bob)]), SCARF)
        shape(f, circle(66 + p.sniff * 0.2, 46 + bob, 17), FUR)
        shape(f, lambda ctx: (ctx.move_to(52, 55 + bob), ctx.curve_to(58, 66 + bob, 70, 66 + bob, 76, 60 + bob),
                              ctx.line_to(77, 66 + bob), ctx.curve_to(70, 73 + bob, 57, 73 + bob, 50, 62 + bob),
                              ctx.close_path()), SCARF)
        sn = p.sniff
        shape(f, ellipse(82, 52 + bob - sn, 10.5, 7.5, -0.15 - sn * 0.04), FUR, highlight=False)
        shape(f, circle(92, 50 + bob - sn * 1.2, 3.4), SKIN, shade=False)
        flat(f, ellipse(74, 55 + bob, 3.6, 2.2), SKIN, 0.6)
        for dy in (-2, 2):
            stroke(f, lambda ctx: (ctx.move_to(86, 54 + bob - sn), ctx.line_to(98, 53 + bob - sn + dy * 2.5)),
                   darker(FUR_SHADE, 0.3), 0.8)
        if p.mouth == "open":
            shape(f, ellipse(84, 59 + bob - sn, 3, 2.6), darker(SKIN, 0.45), shade=False, highlight=False)
        elif p.mouth == "smile":
            stroke(f, lambda ctx: (ctx.move_to(80, 58 + bob - sn), ctx.curve_to(82, 60.5 + bob, 85, 60.5 + bob, 87, 58.5 + bob - sn)),
                   INK, 1.1)
        else:
            stroke(f, lambda ctx: (ctx.move_to(80, 59 + bob - sn), ctx.line_to(87, 59 + bob - sn)), INK, 1.1)
        with local(f, 68, 30 + bob, 1.0, angle=p.ears):
            shape(f, circle(0, -4, 11.5), FUR)
            flat(f, circle(0.5, -3.5, 7), SKIN)
        _eye(f, p, bob)
        _foot(f, 58 + p.front_foot[0], p.front_foot[1], True)
        _arm(f, p, bob, True)
        for extra in p.extras:
            extra(f, bob)


def _run_pose(i, frames_in_cycle=12):
    a = 2 * math.pi * (i - 1) / frames_in_cycle
    return Pose(bob=-3.0 * abs(math.sin(a)), back_foot=(9 * math.cos(a), max(0.0, math.sin(a)) * 7),
                front_foot=(-9 * math.cos(a), max(0.0, -math.sin(a)) * 7), tail=math.sin(a + 1.0),
                ears=0.12 * math.sin(a), angle=0.06, arms="forward" if math.cos(a) > 0 else "down",
                scarf_flap=math.sin(a * 2) * 0.6 - 0.4)


@frames(r"ZizadRun_(\d{4})\.png", "fish", RAT_SIZE)
def rat_run(f, m):
    draw_rat(f, _run_pose(int(m.group(1))))


_BLINK = [0, 0, 0.55, 1.0, 0.55, 0]
_BREATH = [0, -0.6, -1.0, -1.0, -0.6, 0]


@frames(r"Zizad_Idle_(\d{4})\.png", "fish", RAT_SIZE)
def rat_idle_blink(f, m):
    i = int(m.group(1)) - 1
    draw_rat(f, Pose(bob=_BREATH[i], blink=_BLINK[i], tail=0.2 * math.sin(i)))


@frames(r"Zizad_Idle2_(\d{4})\.png", "fish", RAT_SIZE)
def rat_idle_ears(f, m):
    i = int(m.group(1)) - 1
    draw_rat(f, Pose(bob=_BREATH[i], ears=[0, 0.25, 0.4, 0.1, 0.35, 0][i], tail=0.3 * math.sin(i * 1.3)))


@frames(r"Zizad_IdleB_(\d{4})\.png", "fish", RAT_SIZE)
def rat_idle_sniff(f, m):
    i = int(m.group(1)) - 1
    draw_rat(f, Pose(bob=_BREATH[i], sniff=[0, 2, 4, 2, 4, 0][i], mouth="flat", tail=[0, 0.5, 1, 0.5, -0.5, 0][i]))


@frames(r"zizad_fall_(\d{4})\.png", "fish", RAT_SIZE)
def rat_fall(f, m):
    i = int(m.group(1)) - 1
    draw_rat(f, Pose(eyes="wide", mouth="open", arms="up", angle=[-0.12, 0.08, -0.06, 0.12][i],
                     back_foot=(-3, [4, 8, 5, 9][i]), front_foot=(3, [8, 4, 9, 5][i]), tail=[1, -1, 0.6, -0.6][i],
                     bob=-2, sy=1.06, scarf_flap=-1))


@frames(r"Fish_Vortex_(\d+)\.png", "fish", RAT_SIZE)
def rat_vortex(f, m):
    i = int(m.group(1))
    shrink = 1.0 - 0.025 * min(i, 7)
    draw_rat(f, Pose(eyes="swirl", mouth="open", arms="up", angle=i * math.pi / 4, sx=shrink, sy=shrink, lift=8,
                     tail=math.sin(i)))


@frames(r"Fish_Squash_(\d)\.png", "fish", RAT_SIZE)
def rat_squash(f, m):
    i = int(m.group(1))
    draw_rat(f, Pose(eyes="x", mouth="flat", sx=[1.45, 1.55][i - 1], sy=[0.32, 0.26][i - 1]))


@frames(r"Fish_Return_(\d)\.png", "fish", RAT_SIZE)
def rat_return(f, m):
    i = int(m.group(1)) - 1
    sy = [0.35, 0.55, 0.8, 1.12, 1.06, 0.96, 1.0][i]
    draw_rat(f, Pose(eyes="wide" if i < 4 else "open", sx=1.0 / math.sqrt(sy), sy=sy, arms="up" if 2 < i < 5 else "down"))


@frames(r"Fish_Squash_Move_(\d)\.png", "fish", RAT_SIZE)
def rat_squash_move(f, m):
    i = int(m.group(1)) - 1
    a = 2 * math.pi * i / 5
    draw_rat(f, Pose(eyes="x", mouth="flat", sx=1.5 + 0.07 * math.sin(a), sy=0.3 + 0.04 * math.cos(a),
                     back_foot=(6 * math.cos(a), 0), front_foot=(-6 * math.cos(a), 0), tail=math.sin(a)))


@frames(r"zizad_spiked_(\d{4})\.png", "fish", RAT_SIZE)
def rat_spiked(f, m):
    i = int(m.group(1)) - 1
    poses = [
        Pose(eyes="wide", mouth="open", sy=0.9, sx=1.08),
        Pose(eyes="x", mouth="open", arms="up", lift=8, sy=1.12, sx=0.92, back_foot=(-2, 4), front_foot=(2, 6)),
        Pose(eyes="x", mouth="open", arms="up", lift=16, sy=1.1, angle=-0.2, back_foot=(-3, 8), front_foot=(3, 9)),
        Pose(eyes="x", mouth="open", arms="up", lift=14, angle=-0.45, back_foot=(-4, 10), front_foot=(4, 10)),
        Pose(eyes="x", mouth="flat", arms="up", lift=12, angle=-1.2),
        Pose(eyes="x", mouth="flat", arms="up", lift=6, angle=-2.4, sy=0.95),
        Pose(eyes="x", mouth="flat", arms="up", lift=14, angle=-math.pi, sy=0.9),
    ]
    draw_rat(f, poses[i])


# Giblets: the rat's parts as they fly apart (each drawn alone, centred).
GIBLET_SIZE = (90, 90)


def _giblet(f, draw):
    with local(f, 0, 0, f.width / 40.0) as f:
        draw(f)


@frames(r"zizad_giblet_(arm|barefoot|belt|body|butt|foot|leg|head|sunglasses)\.png", "fish", GIBLET_SIZE)
def rat_giblet(f, m):
    part = m.group(1)

    def arm(f):
        shape(f, ellipse(18, 20, 6, 13, 0.5), FUR)
        shape(f, circle(24, 30, 5), SKIN)

    def foot(f):
        shape(f, ellipse(20, 24, 13, 7), SKIN)
        for x in (11, 17, 23):
            flat(f, circle(x, 18, 2.2), lighter(SKIN, 0.3))

    def body(f):
        shape(f, ellipse(20, 21, 16, 13), FUR)
        flat(f, ellipse(15, 16, 5, 3), WHITE, 0.6)

    def butt(f):
        shape(f, lambda ctx: (ctx.arc(20, 24, 14, math.pi, 2 * math.pi), ctx.close_path()), FUR)
        stroke(f, lambda ctx: (ctx.move_to(8, 22), ctx.curve_to(2, 20, 2, 12, 6, 8)), SKIN, 3.5)

    def leg(f):
        shape(f, ellipse(20, 17, 6, 12, -0.2), FUR)
        shape(f, ellipse(23, 30, 8, 4.5), SKIN)

    def head(f):
        shape(f, circle(12, 12, 8), FUR)
        flat(f, circle(12, 12, 4.5), SKIN)
        shape(f, circle(20, 22, 12), FUR)
        shape(f, ellipse(31, 25, 6, 4.5), FUR, highlight=False)
        shape(f, circle(36, 24, 2.2), SKIN)
        for s in (-1, 1):
            stroke(f, lambda ctx: (ctx.move_to(21, 19 - 3 * s), ctx.line_to(27, 19 + 3 * s)), INK, 1.6)

    def belt(f):
        shape(f, lambda ctx: (ctx.move_to(4, 20), ctx.curve_to(14, 10, 26, 30, 36, 18), ctx.line_to(36, 26),
                              ctx.curve_to(26, 38, 14, 18, 4, 28), ctx.close_path()), SCARF)

    def glasses(f):
        shape(f, ellipse(12, 20, 7, 6), INK, outline=INK)
        shape(f, ellipse(28, 20, 7, 6), INK, outline=INK)
        stroke(f, lambda ctx: (ctx.move_to(18, 18), ctx.line_to(22, 18)), INK, 2)
        flat(f, ellipse(10, 17, 2.5, 1.5), WHITE, 0.7)
        flat(f, ellipse(26, 17, 2.5, 1.5), WHITE, 0.7)

    parts = {"arm": arm, "barefoot": foot, "foot": foot, "belt": belt, "body": body, "butt": butt, "leg": leg,
             "head": head, "sunglasses": glasses}
    _giblet(f, parts[part])

"""The boss: its eye (bulb, pupil, cracks, cannon shutter, angry lids, blast),
brow and clamps, arms (spawn, idle sway, slam, hit), bombs and the cannon's
beam."""

import math

from registry import frames
from style import (AMBER, INK, RED, STEEL, WALL, WALL_DARK, WHITE, circle, darker, ellipse, flat, local, polygon, rgb,
                   rounded, shape, stripes, stroke)
from families.traps import TILE, explosion

# The eye is drawn at the boss node's own scale (a cell is 160 px): a bulb
# whose white holds the iris window wherever the pupil goes (the window, 29
# px round, travels up to 40 px from the centre). Behind the window lies the
# inner eye, white as the bulb with the cannon's small red core at its middle; the
# iris itself rides on the pupil glow, which the code tints a pale steel
# blue, and the pupil and the cannon shutter are black silhouettes (the code
# tints the shutter black). So the eye reads the same whether the window is
# cut round or to its bounds.
EYE = (200, 200)
RIM = 90
WHITE_OF_EYE = 80
IRIS = rgb("#E2453C")
METAL = rgb("#7B8C99")
SHUTTER = (120, 120)


def _centre(f):
    return local(f, f.width / 2, f.height / 2, 1.0)


@frames(r"p3_floor_0\.png", "eye", TILE, tile=True)
def boss_floor(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        flat(f, rounded(0, 0, 100, 100, 0), rgb("#4B5A66"))
        flat(f, rounded(3, 3, 94, 94, 4), rgb("#56687A"))
        for x, y in ((8, 8), (92, 8), (8, 92), (92, 92)):
            flat(f, circle(x, y, 2.4), rgb("#33414D"))


def _bulb(f, rim=METAL):
    """The eyeball in its metal socket, centred."""
    shape(f, circle(0, 0, RIM), rim)
    for k in range(8):
        a = k * math.pi / 4 + math.pi / 8
        flat(f, circle((RIM - 6) * math.cos(a), (RIM - 6) * math.sin(a), 3), WALL_DARK)
    shape(f, circle(0, 0, WHITE_OF_EYE), WHITE, highlight=False, shade=False)


@frames(r"Eye_Bulb_(1|Generic)\.png", "eye", EYE)
def eye_bulb(f, m):
    with _centre(f) as f:
        _bulb(f)
        if m.group(1) == "1":
            for a in (2.4, 3.6, 5.6):
                x, y = 68 * math.cos(a), 68 * math.sin(a)
                stroke(f, lambda c, x=x, y=y, a=a: (c.move_to(x, y), c.curve_to(
                    x - 10 * math.cos(a) + 5 * math.sin(a), y - 10 * math.sin(a) - 5 * math.cos(a),
                    x - 16 * math.cos(a) - 4 * math.sin(a), y - 16 * math.sin(a) + 4 * math.cos(a),
                    x - 24 * math.cos(a), y - 24 * math.sin(a))), rgb("#F2B8B8"), 2.5)


@frames(r"inner eye whole\.png", "eye", (240, 240))
def inner_eye(f, m):
    with _centre(f) as f:
        flat(f, circle(0, 0, 118), WHITE)
        flat(f, circle(0, 0, 10), INK)
        flat(f, circle(0, 0, 7), IRIS)
        flat(f, circle(0, 0, 3), (1.0, 0.95, 0.85))


@frames(r"Eye_Pupil_Glow\.png", "eye", (120, 120))
def pupil_glow(f, m):
    """The iris, drawn light for the code's tint: a disc just inside the
    window with a dark rim, fine spokes and a glint."""
    with _centre(f) as f:
        flat(f, circle(0, 0, 27), (0.78, 0.78, 0.78))
        for k in range(16):
            a = k * math.pi / 8
            stroke(f, lambda c, a=a: (c.move_to(13 * math.cos(a), 13 * math.sin(a)),
                                      c.line_to(24 * math.cos(a), 24 * math.sin(a))), (0.6, 0.6, 0.6), 2)
        stroke(f, circle(0, 0, 26), INK, 3)
        flat(f, circle(-15, -11, 4.5), WHITE)


@frames(r"Eye_Crack_(\d)\.png", "eye", EYE)
def eye_crack(f, m):
    n = int(m.group(1))
    with _centre(f) as f:
        _bulb(f)
        cracks = [[(-20, -70), (-14, -52), (-24, -40), (-16, -26)],
                  [(62, -34), (46, -26), (50, -14), (34, -6)],
                  [(-64, 30), (-46, 26), (-40, 40), (-24, 36)]]
        for crack in cracks[:n]:
            stroke(f, lambda c, p=crack: (c.move_to(*p[0]), [c.line_to(*q) for q in p[1:]]), INK, 4)


@frames(r"Eye_Cannon_Shutter_(\d)\.png", "eye", SHUTTER)
def eye_shutter(f, m):
    """1 the pupil; 2 the shutter shut over the whole window; 3 .. 5 its
    blades drawing back to a thin ring round the cannon's muzzle."""
    n = int(m.group(1))
    with _centre(f) as f:
        if n == 1:
            flat(f, circle(0, 0, 12), INK)
            return
        hole = {2: 0, 3: 18, 4: 30, 5: 42}[n]
        ctx = f.ctx
        ctx.new_path()
        ctx.arc(0, 0, 52, 0, 2 * math.pi)
        if hole:
            ctx.new_sub_path()
            ctx.arc_negative(0, 0, hole, 2 * math.pi, 0)
        ctx.set_source_rgb(*INK)
        ctx.fill()
        for k in range(6):
            a = k * math.pi / 3
            stroke(f, lambda c, a=a: (c.move_to(max(hole, 4) * math.cos(a), max(hole, 4) * math.sin(a)),
                                      c.line_to(52 * math.cos(a + 0.5), 52 * math.sin(a + 0.5))), WHITE, 2)


@frames(r"Eye_Angry_(\d)\.png", "eye", EYE)
def eye_angry(f, m):
    """The bulb flashing red under a lid that drops lower with each frame."""
    t = int(m.group(1)) / 3.0
    with _centre(f) as f:
        _bulb(f, RED)
        lid = -60 + 40 * t
        f.ctx.save()
        circle(0, 0, WHITE_OF_EYE)(f.ctx)
        f.ctx.clip()
        shape(f, polygon([(-80, -80), (80, -80), (80, lid), (-80, lid)]), darker(METAL, 0.15))
        f.ctx.restore()


@frames(r"Explosion_Eye_(\d)\.png", "eye", (400, 400))
def explosion_eye(f, m):
    explosion(f, (int(m.group(1)) - 1) / 8.0, 7)


@frames(r"clamp_(top|bottom)\.png", "eye", (360, 120))
def clamp(f, m):
    with local(f, 0, 0, f.width / 150.0) as f:
        shape(f, rounded(4, 8, 142, 34, 10), METAL)
        stripes(f, rounded(4, 8, 142, 34, 10), AMBER, 14, 6, alpha=0.5)
        for x in (20, 130):
            flat(f, circle(x, 25, 4), WALL_DARK)


@frames(r"clamp_arm\.png", "eye", (80, 300))
def clamp_arm(f, m):
    with local(f, 0, 0, f.width / 40.0) as f:
        shape(f, rounded(10, 2, 20, 146, 8), darker(METAL, 0.1))


@frames(r"boss_brow_(normal|angy|damaged)\.png", "eye", (420, 140))
def boss_brow(f, m):
    """One heavy brow over both eyes: a level arch, a deep V when angry, and
    when damaged a broken plate sagging to one side."""
    kind = m.group(1)
    plate = {
        "normal": [(10, 44), (110, 26), (210, 20), (310, 26), (410, 44), (404, 92), (310, 72), (210, 66),
                   (110, 72), (16, 92)],
        "angy": [(10, 14), (110, 40), (210, 70), (310, 40), (410, 14), (404, 62), (310, 90), (210, 122),
                 (110, 90), (16, 62)],
        "damaged": [(10, 34), (110, 22), (200, 26), (290, 50), (410, 84), (396, 128), (290, 96), (200, 74),
                    (110, 68), (16, 80)],
    }[kind]
    shape(f, polygon(plate), WALL_DARK if kind != "angy" else darker(RED, 0.35))
    for top, bottom in ((plate[1], plate[8]), (plate[3], plate[6])):
        flat(f, circle(top[0], (top[1] + bottom[1]) / 2, 6), METAL)
    if kind == "damaged":
        stroke(f, lambda c: (c.move_to(196, 26), c.line_to(212, 46), c.line_to(194, 58), c.line_to(208, 74)),
               INK, 5)
        for x, y in ((232, 40), (244, 28), (224, 20)):
            flat(f, circle(x, y, 4), AMBER)


def _arm(f, bend, reach, claw_open, hit=False):
    """A jointed robot arm rising from the floor; bend and reach 0 .. 1. Drawn
    at nine tenths, so that its strokes' round ends stay inside the frame."""
    with local(f, f.width * 0.05, f.height * 0.04, f.width / 100.0 * 0.9) as f:
        base = (50, 140)
        elbow = (50 + 18 * math.sin(bend), 140 - 60 * reach)
        hand = (elbow[0] - 20 * math.sin(bend * 1.4), elbow[1] - 50 * reach)
        for a, b in ((base, elbow), (elbow, hand)):
            stroke(f, lambda c, a=a, b=b: (c.move_to(*a), c.line_to(*b)), INK, 22)
            stroke(f, lambda c, a=a, b=b: (c.move_to(*a), c.line_to(*b)), RED if hit else METAL, 16)
        shape(f, circle(*elbow, 7), darker(METAL, 0.2))
        hx, hy = hand
        for s in (-1, 1):
            shape(f, polygon([(hx, hy), (hx + s * (6 + 8 * claw_open), hy - 16), (hx + s * 3, hy - 6)]), AMBER)
        shape(f, circle(hx, hy, 6), WALL_DARK)
        shape(f, rounded(30, 132, 40, 14, 5), WALL)


ARM = (200, 300)


@frames(r"Arm_Spawn_(\d+)\.png", "eye", ARM)
def arm_spawn(f, m):
    t = (int(m.group(1)) - 1) / 10.0
    _arm(f, 0.2, max(0.05, t), t)


@frames(r"Arm_Idle_(\d+)\.png", "eye", ARM)
def arm_idle(f, m):
    a = 2 * math.pi * (int(m.group(1)) - 1) / 23
    _arm(f, 0.35 * math.sin(a), 0.95 + 0.05 * math.cos(a), 0.5 + 0.5 * math.sin(a * 2))


@frames(r"Arm_Slam_(\d)\.png", "eye", ARM)
def arm_slam(f, m):
    i = int(m.group(1)) - 1
    reach = [1.0, 1.05, 1.1, 0.9, 0.6, 0.35, 0.3, 0.45, 0.7][i]
    _arm(f, [0, -0.2, -0.4, -0.1, 0.4, 0.9, 1.0, 0.6, 0.3][i], reach, 0.2)


@frames(r"Arm_Hit_1\.png", "eye", ARM)
def arm_hit(f, m):
    _arm(f, 0.5, 0.8, 1.0, hit=True)


@frames(r"Bomb_(\d)\.png", "eye", (140, 140))
def bomb(f, m):
    i = int(m.group(1))
    with local(f, f.width * 0.06, f.height * 0.12, f.width / 100.0 * 0.85) as f:
        shape(f, circle(46, 56, 32), rgb("#2B2F36"), outline=INK)
        flat(f, ellipse(34, 44, 9, 6, -0.6), WHITE, 0.5)
        shape(f, rounded(58, 16, 16, 14, 3), STEEL)
        stroke(f, lambda c: (c.move_to(66, 16), c.curve_to(70, 6, 80, 10, 82, 4)), WOOD_DARK, 3)
        r = [5, 8, 6][i - 1]
        flat(f, circle(83, 4 + r * 0.3, r + 3), AMBER, 0.6)
        flat(f, circle(83, 4 + r * 0.3, r * 0.6), (1.0, 0.97, 0.85))


WOOD_DARK = rgb("#6D4C33")


@frames(r"Bomb_Marker\.png", "eye", TILE)
def bomb_marker(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        stroke(f, circle(50, 50, 40), RED, 7)
        stroke(f, circle(50, 50, 22), RED, 5)
        for a in range(4):
            ang = a * math.pi / 2
            stroke(f, lambda c, ang=ang: (c.move_to(50 + 30 * math.cos(ang), 50 + 30 * math.sin(ang)),
                                          c.line_to(50 + 44 * math.cos(ang), 50 + 44 * math.sin(ang))), RED, 5)


@frames(r"Explosion_Bomb_(\d+)\.png", "eye", (320, 320))
def explosion_bomb(f, m):
    explosion(f, (int(m.group(1)) - 1) / 11.0, 5)


@frames(r"Laser_Top_(Base|Highlight)\.png", "eye", (160, 160))
def laser_top(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        if m.group(1) == "Base":
            shape(f, rounded(14, 10, 72, 70, 14), METAL)
            shape(f, rounded(30, 64, 40, 30, 6), WALL_DARK)
            flat(f, circle(50, 40, 12), RED)
        else:
            flat(f, ellipse(40, 26, 18, 8, -0.3), WHITE, 0.6)


@frames(r"Laser_Beam_Cap\.png", "eye", (120, 60))
def laser_cap(f, m):
    with local(f, 0, 0, f.width / 100.0) as f:
        flat(f, ellipse(50, 25, 46, 22), RED, 0.6)
        flat(f, ellipse(50, 25, 30, 14), (1.0, 0.95, 0.85))


@frames(r"Laser_Middle_(SoftShadow|Highlight|\d{4})\.png", "eye", (120, 160), tile=True)
def laser_middle(f, m):
    kind = m.group(1)
    with local(f, 0, 0, f.width / 100.0) as f:
        if kind == "SoftShadow":
            flat(f, rounded(10, 0, 80, 134, 30), (0, 0, 0), 0.25)
        elif kind == "Highlight":
            flat(f, rounded(40, 0, 20, 134, 8), WHITE, 0.7)
        else:
            i = int(kind)
            w = [36, 42, 38, 44][i - 1]
            flat(f, rounded(50 - w / 2 - 8, 0, w + 16, 134, 8), RED, 0.45)
            flat(f, rounded(50 - w / 2, 0, w, 134, 6), RED)
            flat(f, rounded(50 - w / 4, 0, w / 2, 134, 4), (1.0, 0.95, 0.85))


@frames(r"Laser_Splash_(B_)?(\d{4})\.png", "eye", (200, 200))
def laser_splash(f, m):
    t = (int(m.group(2)) - 1) / 5.0
    with local(f, f.width / 2, f.height / 2, f.width / 100.0) as f:
        for k in range(8):
            a = k * math.pi / 4 + (0.4 if m.group(1) else 0)
            d = 14 + 26 * t
            flat(f, circle(d * math.cos(a), d * math.sin(a) * 0.6, 8 * (1 - t) + 2), AMBER, 1 - t * 0.8)
        flat(f, circle(0, 0, 20 * (1 - t * 0.6)), (1.0, 0.95, 0.85), 1 - t * 0.7)

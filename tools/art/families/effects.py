"""Dust puffs, the empty frame and the name-tag platform badges."""

import math
import random

from registry import frames
from style import (INK, STEEL, WHITE, circle, fitted, flat, lighter, local, rgb, rounded, shape, stroke)

DUST_BROWN = rgb("#B89570")
DUST_WHITE = rgb("#EEF2F4")


@frames(r"blank\.png", "fish", (4, 4))
def blank(f, m):
    """Deliberately empty: the frame that shows nothing."""


def _puffs(f, count, seed, spread, grow, fade, colour, drift=(0.0, 0.0)):
    """A cloud of puffs about the frame's centre; one that has spread past
    the frame is drawn smaller about the centre."""
    fitted(f, lambda g: _draw_puffs(g, count, seed, spread, grow, fade, colour, drift), (f.width / 2, f.height / 2))


def _draw_puffs(f, count, seed, spread, grow, fade, colour, drift):
    rnd = random.Random(seed)
    with local(f, f.width / 2, f.height / 2, f.width / 100.0) as f:
        for _ in range(count):
            a = rnd.uniform(0, 2 * math.pi)
            d = rnd.uniform(0.2, 1.0) * spread
            r = rnd.uniform(9, 16) * grow
            x = math.cos(a) * d + drift[0] * rnd.uniform(0.5, 1)
            y = math.sin(a) * d * 0.6 + drift[1]
            flat(f, circle(x, y + r * 0.15, r), (0.0, 0.0, 0.0), 0.12 * fade)
            flat(f, circle(x, y, r), colour, 0.85 * fade)
            flat(f, circle(x - r * 0.3, y - r * 0.3, r * 0.45), lighter(colour, 0.5), 0.7 * fade)


@frames(r"Dust_Puff_(Brown|White)_(\d)\.png", "fish", (128, 128))
def dust_puff(f, m):
    i = int(m.group(2)) - 1
    colour = DUST_BROWN if m.group(1) == "Brown" else DUST_WHITE
    _puffs(f, 7, 11, 8 + i * 6, 0.7 + i * 0.18, 1.0 - i * 0.15, colour)


@frames(r"Dust_Directional_(Small|Large)_(\d)\.png", "fish",
        lambda m: (96, 64) if m.group(1) == "Small" else (160, 96))
def dust_directional(f, m):
    i = int(m.group(2)) - 1
    n = 7 if m.group(1) == "Small" else 6
    t = i / (n - 1)
    _puffs(f, 6, 5, 6 + t * 14, 0.55 + t * 0.4, 1.0 - t * 0.8, DUST_BROWN, drift=(-10 - t * 26, 8))


# Platform badges beside a player's name: plain glyphs of a device kind.
@frames(r"nametag_(windows|mac|ios|android)\.png", "fish", (64, 64))
def nametag(f, m):
    kind = m.group(1)
    with local(f, 0, 0, f.width / 32.0) as f:
        shape(f, circle(16, 16, 14), STEEL)
        if kind == "windows":  # a desktop monitor
            shape(f, rounded(8, 8, 16, 11, 1.5), WHITE, highlight=False)
            stroke(f, lambda c: (c.move_to(16, 19), c.line_to(16, 23), c.move_to(12, 24), c.line_to(20, 24)), WHITE, 2)
        elif kind == "mac":  # a laptop
            shape(f, rounded(9, 9, 14, 10, 1.5), WHITE, highlight=False)
            shape(f, rounded(6, 20, 20, 3, 1), WHITE, highlight=False)
        elif kind == "ios":  # a phone
            shape(f, rounded(11, 6, 10, 20, 2.5), WHITE, highlight=False)
            flat(f, circle(16, 23, 1.2), INK)
        else:  # a tablet
            shape(f, rounded(8, 8, 16, 17, 2.5), WHITE, highlight=False)
            flat(f, circle(16, 22, 1.2), INK)

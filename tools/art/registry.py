"""The table of what the generator can draw.

A frame family is one drawing function registered for a name pattern:

    @frames(r"Coin_(\\d+)\\.png", sheet="collectables", size=(120, 120))
    def coin(f, m):          # f: style.Frame, m: the name's regex match
        ...

`size` is (width, height) in pixels or a function of the match giving it.
`tile=True` marks a family whose frames are meant to meet their neighbours
(floors, walls, belts, beam segments): they are drawn to their edges, while
every other frame keeps a clear border so that nothing of it is cut off.
The first pattern that matches a name (in registration order) draws it.
Stand-alone images (not packed into a sheet) register with `image`."""

import re
from dataclasses import dataclass
from typing import Callable


@dataclass
class Rule:
    pattern: re.Pattern
    sheet: str
    size: object
    draw: Callable
    tile: bool = False


FRAME_RULES = []
IMAGE_RULES = []


def frames(pattern, sheet, size, tile=False):
    def register(draw):
        FRAME_RULES.append(Rule(re.compile(pattern + r"\Z"), sheet, size, draw, tile))
        return draw
    return register


def image(pattern, size):
    def register(draw):
        IMAGE_RULES.append(Rule(re.compile(pattern + r"\Z"), "", size, draw))
        return draw
    return register


def find(rules, name):
    for rule in rules:
        m = rule.pattern.match(name)
        if m:
            return rule, m
    return None, None


def size_of(rule, m):
    w, h = rule.size(m) if callable(rule.size) else rule.size
    return int(round(w)), int(round(h))

"""The house style: palette and the outlined flat shapes every frame is made of.

Coordinates are cairo's: origin top-left, y down, in texture pixels. Every
shape is filled flat, gets one light highlight and one shade clipped to it,
and a dark outline whose width `line(ctx)` derives from the frame's size
(about 3 %, never under 2 px)."""

import math

import cairo


def rgb(hex_colour):
    h = hex_colour.lstrip("#")
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def lighter(c, t=0.35):
    return mix(c, (1.0, 1.0, 1.0), t)


def darker(c, t=0.3):
    return mix(c, (0.0, 0.0, 0.0), t)


# Palette (see the art direction): a calm lab, warm danger, cool friends.
INK = rgb("#1C2430")
WALL_DARK = rgb("#2E3A46")
WALL = rgb("#3F5566")
STEEL = rgb("#6C8A99")
PALE = rgb("#A9C4CC")
WHITE = (1.0, 1.0, 1.0)
AMBER = rgb("#F5A623")
RED = rgb("#E2453C")
BLUE = rgb("#4A90D9")
GOLD = rgb("#F7C948")
SILVER = rgb("#C9D1D9")
BRONZE = rgb("#CD7F32")
GREEN = rgb("#5CC16B")
GREY = rgb("#8E9AA6")
LIGHT_GREY = rgb("#C8D0D8")
FLOOR = rgb("#D5DEE2")
FUR_WHITE = rgb("#F4F1EC")
PINK = rgb("#F2A7B5")
SCARF = rgb("#E2453C")
WOOD = rgb("#B07A4A")
LEAF = rgb("#4FAF5E")
PURPLE = rgb("#7E57C2")


class Frame:
    """One frame being drawn: its context and size in pixels. It draws on a
    new image of that size, or on `surface` when one is given."""

    def __init__(self, width, height, surface=None):
        self.width = width
        self.height = height
        self.surface = surface if surface is not None else cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
        self.ctx = cairo.Context(self.surface)
        self.ctx.set_line_join(cairo.LINE_JOIN_ROUND)
        self.ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        self.unit = 1.0  # pixels per drawing unit (see `local`)

    @property
    def line(self):
        """The outline width in the current drawing units."""
        return max(2.0, 0.03 * min(self.width, self.height)) / self.unit


class local:
    """Draws in units of k pixels from (ox, oy): `with local(f, ox, oy, k):`."""

    def __init__(self, f, ox, oy, k=1.0, angle=0.0, sx=1.0, sy=1.0):
        self.f, self.args = f, (ox, oy, k, angle, sx, sy)

    def __enter__(self):
        f = self.f
        ox, oy, k, angle, sx, sy = self.args
        f.ctx.save()
        f.ctx.translate(ox, oy)
        f.ctx.rotate(angle)
        f.ctx.scale(k * sx, k * sy)
        self.saved = f.unit
        f.unit = f.unit * k * math.sqrt(abs(sx * sy))
        return f

    def __exit__(self, *exc):
        self.f.ctx.restore()
        self.f.unit = self.saved


def fitted(f, draw, anchor, margin=2.0, each_axis=False):
    """Draws `draw(frame)` so that all of it lies at least `margin` pixels
    inside f: a drawing that would reach past an edge is drawn smaller about
    `anchor` (x, y in f's pixels) until it fits, then moved in just enough.
    With `each_axis` only the direction that is too long is shortened (a
    squashed shape stays as thick). One that fits already is drawn as it
    is."""
    g = Frame(f.width, f.height, cairo.RecordingSurface(cairo.CONTENT_COLOR_ALPHA, None))
    draw(g)
    x, y, w, h = g.surface.ink_extents()
    if w <= 0 or h <= 0:
        return
    kx = min(1.0, (f.width - 2 * margin) / w)
    ky = min(1.0, (f.height - 2 * margin) / h)
    if not each_axis:
        kx = ky = min(kx, ky)
    ax, ay = anchor

    def inward(low, size, limit):
        if low < margin:
            return margin - low
        if low + size > limit - margin:
            return limit - margin - (low + size)
        return 0.0

    dx = inward(ax + (x - ax) * kx, w * kx, f.width)
    dy = inward(ay + (y - ay) * ky, h * ky, f.height)
    ctx = f.ctx
    ctx.save()
    ctx.translate(ax + dx, ay + dy)
    ctx.scale(kx, ky)
    ctx.translate(-ax, -ay)
    ctx.set_source_surface(g.surface, 0, 0)
    ctx.paint()
    ctx.restore()


def shape(f, path, fill, outline=INK, width=None, highlight=True, shade=True, alpha=1.0):
    """Fills the path built by `path(ctx)` flat, adds a highlight on its upper
    part and a shade on its lower part, then outlines it."""
    ctx = f.ctx
    ctx.save()
    ctx.new_path()
    path(ctx)
    x0, y0, x1, y1 = ctx.fill_extents()
    ctx.set_source_rgba(*fill, alpha)
    ctx.fill_preserve()
    ctx.save()
    ctx.clip()
    h = y1 - y0
    if shade and h > 0:
        ctx.set_source_rgba(*darker(fill, 0.22), alpha)
        ctx.rectangle(x0 - 1, y0 + h * 0.72, x1 - x0 + 2, h)
        ctx.fill()
    if highlight and h > 0:
        ctx.set_source_rgba(*lighter(fill, 0.45), alpha)
        ctx.rectangle(x0 - 1, y0 - 1, x1 - x0 + 2, h * 0.22 + 1)
        ctx.fill()
    ctx.restore()
    ctx.new_path()
    path(ctx)
    if outline is not None:
        ctx.set_source_rgba(*outline, alpha)
        ctx.set_line_width(width if width is not None else f.line)
        ctx.stroke()
    ctx.new_path()
    ctx.restore()


def flat(f, path, fill, alpha=1.0):
    ctx = f.ctx
    ctx.save()
    ctx.new_path()
    path(ctx)
    ctx.set_source_rgba(*fill, alpha)
    ctx.fill()
    ctx.restore()


def stroke(f, path, colour=INK, width=None, alpha=1.0):
    ctx = f.ctx
    ctx.save()
    ctx.new_path()
    path(ctx)
    ctx.set_source_rgba(*colour, alpha)
    ctx.set_line_width(width if width is not None else f.line)
    ctx.stroke()
    ctx.restore()


def circle(cx, cy, r):
    return lambda ctx: ctx.arc(cx, cy, max(r, 0.1), 0, 2 * math.pi)


def ellipse(cx, cy, rx, ry, angle=0.0):
    def path(ctx):
        ctx.save()
        ctx.translate(cx, cy)
        ctx.rotate(angle)
        ctx.scale(max(rx, 0.1), max(ry, 0.1))
        ctx.arc(0, 0, 1, 0, 2 * math.pi)
        ctx.restore()
    return path


def rounded(x, y, w, h, r):
    r = max(0.0, min(r, w / 2, h / 2))

    def path(ctx):
        ctx.new_sub_path()
        ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
        ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
        ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
        ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
        ctx.close_path()
    return path


def polygon(points):
    def path(ctx):
        ctx.move_to(*points[0])
        for p in points[1:]:
            ctx.line_to(*p)
        ctx.close_path()
    return path


def polyline(points):
    def path(ctx):
        ctx.move_to(*points[0])
        for p in points[1:]:
            ctx.line_to(*p)
    return path


def star(cx, cy, r_out, r_in, points=5, turn=-math.pi / 2):
    pts = []
    for i in range(points * 2):
        r = r_out if i % 2 == 0 else r_in
        a = turn + i * math.pi / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def stripes(f, path, colour, spacing, width, angle=math.pi / 4, alpha=1.0):
    """Parallel bands at `angle` clipped to the path (hazard marking)."""
    ctx = f.ctx
    ctx.save()
    ctx.new_path()
    path(ctx)
    x0, y0, x1, y1 = ctx.fill_extents()
    ctx.clip()
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    reach = (x1 - x0) + (y1 - y0)
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    ctx.set_source_rgba(*colour, alpha)
    k = -reach
    while k < reach:
        ctx.rectangle(k, -reach, width, 2 * reach)
        k += spacing
    ctx.fill()
    ctx.restore()


def text(f, words, cx, cy, size, colour=WHITE, outline=INK, family="Quicksand", outline_width=None):
    """Centred text in the rounded display face, light with a dark rim."""
    ctx = f.ctx
    ctx.save()
    ctx.select_font_face(family, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    ctx.set_font_size(size)
    ext = ctx.text_extents(words)
    x = cx - ext.width / 2 - ext.x_bearing
    y = cy - ext.height / 2 - ext.y_bearing
    ctx.move_to(x, y)
    ctx.text_path(words)
    if outline is not None:
        ctx.set_source_rgb(*outline)
        ctx.set_line_width(outline_width if outline_width is not None else size * 0.12)
        ctx.stroke_preserve()
    ctx.set_source_rgb(*colour)
    ctx.fill()
    ctx.restore()


def lerp(a, b, t):
    return a + (b - a) * t


def ease(t):
    return t * t * (3 - 2 * t)

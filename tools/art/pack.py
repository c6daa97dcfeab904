"""Packs drawn frames into one texture and writes the property list (format 2:
frame, offset, rotated, sourceSize) that the engine's sprite frame cache
reads."""

import cairo

PADDING = 2


def shelf_pack(sizes, width):
    """Positions (x, y) for each (w, h) on shelves of the given width, tallest
    first; returns (positions, total height)."""
    order = sorted(range(len(sizes)), key=lambda i: (-sizes[i][1], -sizes[i][0]))
    positions = [None] * len(sizes)
    x = y = shelf = 0
    for i in order:
        w, h = sizes[i]
        if x > 0 and x + w + PADDING > width:
            y += shelf + PADDING
            x = shelf = 0
        positions[i] = (x, y)
        x += w + PADDING
        shelf = max(shelf, h)
    return positions, y + shelf


def pack(frames):
    """frames: list of (name, cairo.ImageSurface). Returns (surface, entries)
    with entries (name, x, y, w, h)."""
    sizes = [(s.get_width(), s.get_height()) for _, s in frames]
    widest = max([w for w, _ in sizes] + [1])
    # The narrowest power-of-two width whose shelves are no taller than wide.
    width = 64
    while True:
        if width >= widest:
            positions, height = shelf_pack(sizes, width)
            if height <= width or width >= 8192:
                break
        width *= 2
    height = max(1, height)
    sheet = cairo.ImageSurface(cairo.FORMAT_ARGB32, width, height)
    ctx = cairo.Context(sheet)
    entries = []
    for (name, surface), (x, y) in zip(frames, positions):
        ctx.set_source_surface(surface, x, y)
        ctx.paint()
        entries.append((name, x, y, surface.get_width(), surface.get_height()))
    sheet.flush()
    return sheet, entries


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def plist(entries, texture_name, width, height):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">',
           '<plist version="1.0">', "<dict>", "<key>frames</key>", "<dict>"]
    for name, x, y, w, h in sorted(entries):
        out += [f"<key>{escape(name)}</key>", "<dict>",
                f"<key>frame</key><string>{{{{{x},{y}}},{{{w},{h}}}}}</string>",
                "<key>offset</key><string>{0,0}</string>",
                "<key>rotated</key><false/>",
                f"<key>sourceSize</key><string>{{{w},{h}}}</string>",
                "</dict>"]
    out += ["</dict>", "<key>metadata</key>", "<dict>",
            "<key>format</key><integer>2</integer>",
            f"<key>size</key><string>{{{width},{height}}}</string>",
            f"<key>textureFileName</key><string>{escape(texture_name)}</string>",
            "</dict>", "</dict>", "</plist>", ""]
    return "\n".join(out)

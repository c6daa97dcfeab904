#!/usr/bin/python3
"""Draws every sprite frame and image the game asks for and packs the sheets.

    artgen.py FRAMES_MANIFEST UI_MANIFEST OUT_DIR

Reads the frame names of FRAMES_MANIFEST (every family) and the sheets and
images of UI_MANIFEST, draws each name with the first family of the
registry whose pattern matches it, and writes into OUT_DIR:
  2D/<sheet>.png and 2D/<sheet>.plist   one packed sheet per sheet name;
  <image name>                          each stand-alone image;
  2D/unpainted.txt                      names no family draws (drawn as a
                                        grey stand-in so the game still
                                        runs), one a line; empty when none;
  2D/tiles.txt                          the frames drawn to their edges on
                                        purpose (families registered with
                                        tile=True), one a line.
Every sheet that UI_MANIFEST lists is written, even one that holds no
frame."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pack  # noqa: E402
import registry  # noqa: E402
import style  # noqa: E402
import families  # noqa: E402,F401  (registers every family)


def read_frames(path):
    names = []
    with open(path) as manifest:
        for line in manifest:
            line = line.rstrip("\r\n ")
            if not line or line.startswith("#") or (line.startswith("[") and line.endswith("]")):
                continue
            if line not in names:
                names.append(line)
    return names


def read_ui(path):
    entries = []
    with open(path) as manifest:
        for line in manifest:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            kind, _, name = line.partition(" ")
            entries.append((kind, name.strip()))
    return entries


def stand_in(f, name):
    """A plain grey tile for a name no family draws."""
    w, h = f.width, f.height
    style.shape(f, style.rounded(4, 4, w - 8, h - 8, 10), style.LIGHT_GREY)


def draw(rule, m, name):
    w, h = registry.size_of(rule, m)
    f = style.Frame(w, h)
    rule.draw(f, m)
    f.surface.flush()
    return f.surface


def main(frames_manifest, ui_manifest, out_dir):
    ui = read_ui(ui_manifest)
    sheets = {name[:-len(".plist")]: [] for kind, name in ui if kind == "sheet"}
    unpainted = []
    tiles = []
    for name in read_frames(frames_manifest):
        rule, m = registry.find(registry.FRAME_RULES, name)
        if rule is None:
            unpainted.append(name)
            f = style.Frame(64, 64)
            stand_in(f, name)
            sheets.setdefault("2D/artupdate", []).append((name, f.surface))
            continue
        if rule.tile:
            tiles.append(name)
        sheets.setdefault("2D/" + rule.sheet, []).append((name, draw(rule, m, name)))

    for kind, name in ui:
        if kind != "image":
            continue
        rule, m = registry.find(registry.IMAGE_RULES, name)
        path = os.path.join(out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if rule is None:
            unpainted.append(name)
            f = style.Frame(64, 64)
            stand_in(f, name)
            f.surface.write_to_png(path)
        else:
            draw(rule, m, name).write_to_png(path)

    for sheet, drawn in sheets.items():
        base = os.path.join(out_dir, sheet)
        os.makedirs(os.path.dirname(base), exist_ok=True)
        surface, entries = pack.pack(drawn) if drawn else pack.pack([])
        surface.write_to_png(base + ".png")
        texture = os.path.basename(sheet) + ".png"
        with open(base + ".plist", "w") as out:
            out.write(pack.plist(entries, texture, surface.get_width(), surface.get_height()))

    os.makedirs(os.path.join(out_dir, "2D"), exist_ok=True)
    with open(os.path.join(out_dir, "2D", "tiles.txt"), "w") as out:
        out.write("".join(n + "\n" for n in tiles))
    with open(os.path.join(out_dir, "2D", "unpainted.txt"), "w") as out:
        out.write("".join(n + "\n" for n in unpainted))
    for name in unpainted:
        print(f"artgen: no art family draws {name} (a grey stand-in is packed)", file=sys.stderr)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])

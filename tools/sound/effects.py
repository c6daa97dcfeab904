"""The sound effects: one recipe per name pattern (first match wins). Each
recipe returns mono samples; soundgen levels every effect to one loudness.
To add a sound: add a pattern and a small recipe here."""

import re

import numpy as np

from synth import env, glide, midi_hz, noise, smooth, t_axis, tone

RECIPES = []


def recipe(pattern):
    def register(fn):
        RECIPES.append((re.compile(pattern + r"\Z"), fn))
        return fn
    return register


def variant(m, group=1):
    """The 1-based variant number of a name (1 when it has none)."""
    try:
        return int(m.group(group))
    except (IndexError, TypeError, ValueError):
        return 1


def click(freq=1800, seconds=0.05, seed=1):
    return tone(freq, seconds) * env(seconds, 0.001, curve=9) + 0.3 * noise(seconds, seed) * env(seconds, 0.0005, curve=20)


def boing(f0, seconds=0.32, seed=1):
    t = t_axis(seconds)
    f = f0 * (1 + 0.35 * np.exp(-t * 9) * np.sin(2 * np.pi * 18 * t)) * np.linspace(1.0, 1.5, len(t))
    return tone(f, seconds, "triangle") * env(seconds, 0.004, curve=4)


def thud(f0=70, seconds=0.25, seed=1):
    body = tone(glide(f0 * 1.8, f0, seconds, 0.3), seconds) * env(seconds, 0.002, curve=7)
    grit = smooth(noise(seconds, seed), 12) * env(seconds, 0.001, curve=14)
    return body + 0.8 * grit


def whoosh(seconds=0.3, up=True, seed=1, width_from=40, width_to=4):
    n = noise(seconds, seed)
    out = np.zeros_like(n)
    steps = 8
    seg = len(n) // steps
    for i in range(steps):
        w = int(width_from + (width_to - width_from) * (i / (steps - 1) if up else 1 - i / (steps - 1)))
        lo, hi = i * seg, len(n) if i == steps - 1 else (i + 1) * seg
        out[lo:hi] = smooth(n, max(1, w))[lo:hi]
    shape = np.sin(np.linspace(0, np.pi, len(n))) ** 1.5
    return out * shape


def chime(notes, seconds=0.4, step=0.07):
    out = np.zeros(int((seconds + step * len(notes)) * 44100))
    for i, note in enumerate(notes):
        f = midi_hz(note)
        s = (tone(f, seconds) + 0.3 * tone(f * 2, seconds) + 0.12 * tone(f * 3.01, seconds)) * env(seconds, 0.003, curve=5)
        start = int(i * step * 44100)
        out[start:start + len(s)] += s
    return out


def zap(f0, f1, seconds=0.3, seed=1):
    return (tone(glide(f0, f1, seconds), seconds, "saw") + 0.3 * noise(seconds, seed)) * env(seconds, 0.003, curve=4)


def boom(seconds=0.4, seed=1, low=55):
    rumble = tone(glide(low * 2, low, seconds, 0.4), seconds) * env(seconds, 0.003, curve=4)
    crack = smooth(noise(seconds, seed), 6) * env(seconds, 0.001, curve=6)
    return rumble + crack


def servo(f0, f1, seconds=0.3):
    f = glide(f0, f1, seconds)
    return (tone(f, seconds, "square") * 0.5 + tone(f * 1.5, seconds, "saw") * 0.3) * env(seconds, 0.02, decay=0.2,
                                                                                         sustain=0.7, release=0.06)


# --- interface ---
@recipe(r"sound/ui/button/rollover\.mp3")
def ui_rollover(m):
    return click(2200, 0.05) * 0.6


@recipe(r"sound/ui/button/press\.mp3")
def ui_press(m):
    return np.concatenate([click(1400, 0.04), click(1000, 0.05, 2)])


@recipe(r"sound/ui/whoosh\.mp3")
def ui_whoosh(m):
    return whoosh(0.35, True, 3)


@recipe(r"sound/voice/tick(\d)\.mp3")
def voice_tick(m):
    return click([2600, 2300][variant(m) % 2], 0.05, variant(m))


@recipe(r"sound/voice/(dialog_press|show_dialog)\.mp3")
def voice_pop(m):
    up = m.group(1) == "show_dialog"
    s = 0.12
    return tone(glide(500, 900, s) if up else glide(800, 500, s), s) * env(s, 0.003, curve=5)


# --- players ---
@recipe(r"sound/footstep1\.mp3")
def footstep(m):
    return thud(140, 0.07, 4) * 0.6


@recipe(r"sound/spawn/spawn(\d)\.mp3")
def spawn(m):
    base = 72 + 2 * variant(m)
    return chime([base, base + 4, base + 7, base + 12], 0.25, 0.05)


@recipe(r"sound/fall_straight(\d)\.mp3")
def fall(m):
    s = 0.4
    f0 = [900, 820, 980][variant(m) - 1]
    whistle = tone(glide(f0, f0 / 4, s, 0.8), s) * env(s, 0.01, decay=0.3, sustain=0.6, release=0.1)
    return whistle * 0.7 + np.concatenate([np.zeros(int(0.3 * 44100)), thud(60, 0.1, variant(m))])[:len(whistle)]


@recipe(r"sound/bodyExplode/explode(\d)\.mp3")
def body_explode(m):
    return boom(0.3, variant(m) + 10, 90) + 0.5 * tone(glide(600, 200, 0.3), 0.3) * env(0.3, 0.002, curve=8)


@recipe(r"sound/spike/hit(\d)\.mp3")
def spike_hit(m):
    v = variant(m)
    s = 0.25
    ring = tone(1200 + 140 * v, s, "triangle") * env(s, 0.001, curve=10) * 0.5
    return thud(90 + 10 * v, s, v) + ring


@recipe(r"sound/crazy_legs(\d)\.mp3")
def crazy_legs(m):
    out = []
    for i in range(8):
        out.append(click(900 + 120 * ((i + variant(m)) % 3), 0.035, i))
    return np.concatenate(out)


@recipe(r"sound/player_status/(squish|squish_restore)\.mp3")
def squish(m):
    s = 0.3
    f = glide(500, 120, s) if m.group(1) == "squish" else glide(140, 620, s)
    wet = smooth(noise(s, 5), 30) * 2
    return (tone(f, s, "triangle") * 0.7 + wet * 0.4) * env(s, 0.01, curve=3)


# --- elements and traps ---
@recipe(r"sound/element/(show|hide)(\d)\.mp3")
def element_show_hide(m):
    return whoosh(0.22, m.group(1) == "show", variant(m, 2) + 20, 30, 3) * 0.8


@recipe(r"sound/spike/up(\d)\.mp3")
def spike_up(m):
    return boing([330, 370, 300][variant(m) - 1], 0.32, variant(m))


@recipe(r"sound/spike/down(\d)\.mp3")
def spike_down(m):
    s = 0.2
    v = variant(m)
    return tone(glide(700 + 40 * v, 250, s), s, "triangle") * env(s, 0.002, curve=5) + 0.3 * thud(120, s, v)


@recipe(r"sound/trapdoor/(open|close)\.mp3")
def trapdoor(m):
    s = 0.25
    opening = m.group(1) == "open"
    slide = whoosh(s, opening, 7, 20, 6) * 0.6
    clunk = thud(80 if opening else 110, s, 8)
    return slide + clunk


@recipe(r"sound/vortex/vortex\d\.mp3")
def vortex(m):
    s = 0.4
    t = t_axis(s)
    f = 220 + 120 * np.sin(2 * np.pi * 7 * t)
    return (tone(f, s) + 0.5 * whoosh(s, True, 9)) * env(s, 0.05, decay=0.3, sustain=0.8, release=0.1)


@recipe(r"sound/rattrap/squeak\.mp3")
def squeak(m):
    s = 0.12
    t = t_axis(s)
    return tone(2200 + 400 * np.sin(2 * np.pi * 30 * t), s) * env(s, 0.01, curve=3) * 0.7


@recipe(r"sound/rattrap/(board_hit|board_down)\.mp3")
def board(m):
    s = 0.18
    knock = tone(glide(420, 300, s), s, "triangle") * env(s, 0.001, curve=12)
    return knock + (thud(90, s, 3) if m.group(1) == "board_down" else 0.4 * click(1500, s, 3))


@recipe(r"sound/redgreen/(stop|go)\.mp3")
def red_green(m):
    if m.group(1) == "stop":
        s = 0.3
        return tone(140, s, "square") * env(s, 0.005, decay=0.2, sustain=0.8, release=0.04)
    return chime([79, 84], 0.16, 0.09)


# --- the boss ---
@recipe(r"sound/boss/bomb/fall\.mp3")
def bomb_fall(m):
    s = 0.4
    return tone(glide(1600, 500, s, 1.3), s) * env(s, 0.02, decay=0.3, sustain=0.9, release=0.03) * 0.7


@recipe(r"sound/boss/bomb/explosion\.mp3")
def bomb_explosion(m):
    return boom(0.4, 31, 45)


@recipe(r"sound/boss/bomb/fire_burst\.mp3")
def fire_burst(m):
    s = 0.3
    crackle = noise(s, 32) * (np.random.default_rng(3).uniform(0, 1, int(s * 44100)) > 0.9)
    return (smooth(noise(s, 33), 8) + crackle) * env(s, 0.01, curve=3)


@recipe(r"sound/boss/cannon/blast\.mp3")
def cannon_blast(m):
    return zap(1400, 120, 0.38, 34)


@recipe(r"sound/boss/eye/(\w+)\.mp3")
def boss_eye(m):
    kind = m.group(1)
    if kind == "crack":
        return smooth(noise(0.2, 40), 2) * env(0.2, 0.001, curve=10) + 0.4 * thud(200, 0.2, 41)
    if kind == "fire":
        return zap(1800, 300, 0.3, 42)
    if kind == "happy":
        return chime([76, 79, 83], 0.2, 0.06)
    if kind.startswith("hurt"):
        s = 0.4
        return tone(glide(300, 90, s), s, "saw") * env(s, 0.01, curve=3)
    if kind in ("raise", "shutter_rise"):
        return servo(180, 320, 0.35)
    if kind == "lower":
        return servo(320, 180, 0.35)
    if kind == "shutter_open":
        return servo(240, 420, 0.2) + 0.5 * click(900, 0.2, 43)
    if kind == "shutter_close":
        return servo(420, 240, 0.2) + 0.8 * thud(150, 0.2, 44)
    if kind == "shutter_calibrating":
        return np.concatenate([click(1600, 0.06, i) for i in range(5)])
    if kind == "cannon_transform":
        return servo(120, 480, 0.4)
    return None


@recipe(r"sound/boss/arm/(\w+)\.mp3")
def boss_arm(m):
    kind = m.group(1)
    if kind == "slam":
        return boom(0.35, 50, 60)
    if kind == "arm_raise":
        return servo(200, 360, 0.3)
    if kind == "transform_up":
        return servo(150, 300, 0.35)
    if kind == "transform_down":
        return servo(300, 150, 0.35)
    return None


# --- map elements ---
@recipe(r"sound/checkpoint/(checkpoint1|off1)\.mp3")
def checkpoint(m):
    return chime([72, 76, 79, 84], 0.3, 0.06) if m.group(1) == "checkpoint1" else chime([67, 60], 0.3, 0.08) * 0.7


@recipe(r"sound/door/(open|close)\.mp3")
def door(m):
    opening = m.group(1) == "open"
    return whoosh(0.3, opening, 51, 25, 4) * 0.8 + 0.5 * thud(100, 0.3, 52)


@recipe(r"sound/lever/(on1|off1)\.mp3")
def lever(m):
    on = m.group(1) == "on1"
    return np.concatenate([click(1200 if on else 900, 0.04, 53), click(1500 if on else 700, 0.06, 54)])


@recipe(r"sound/elevator_panel/button_press\.mp3")
def elevator_button(m):
    return click(1300, 0.08, 55)


@recipe(r"sound/elevator_panel/transit_chime\.mp3")
def elevator_chime(m):
    return chime([79, 74], 0.35, 0.18)


@recipe(r"sound/elevator_panel/bell\.mp3")
def elevator_bell(m):
    return chime([84], 0.4)


@recipe(r"sound/elevator_panel/takeoff\.mp3")
def elevator_takeoff(m):
    s = 0.4
    return whoosh(s, True, 56, 60, 6) + 0.4 * tone(glide(90, 200, s), s) * env(s, 0.05, curve=1.5)


@recipe(r"sound/musicalnote/correct\.mp3")
def note_correct(m):
    return chime([72, 76, 79, 84], 0.3, 0.05)


@recipe(r"sound/musicalnote/error\.mp3")
def note_error(m):
    s = 0.35
    return (tone(110, s, "saw") + tone(116.5, s, "saw")) * env(s, 0.005, decay=0.25, sustain=0.7, release=0.05)


STEPS = ["c", "cs", "d", "ds", "e", "f", "fs", "g", "gs", "a", "as", "b"]
# The note tiles' pitch p (0 .. 24) is "sound/musicalnote/" + STEPS[p % 12] +
# str(p // 12) + ".mp3"; p = 0 is middle C (MIDI 60).
NOTE_BASE_MIDI = 60


def note_midi(step, octave):
    return NOTE_BASE_MIDI + 12 * octave + STEPS.index(step)


@recipe(r"sound/musicalnote/(" + "|".join(sorted(STEPS, key=len, reverse=True)) + r")(\d)\.mp3")
def musical_note(m):
    """A marimba-like bar: a decaying sine with its fourth partial."""
    f = midi_hz(note_midi(m.group(1), int(m.group(2))))
    s = 0.4
    body = tone(f, s) + 0.25 * tone(f * 4.0, s) * env(s, 0.001, curve=12) + 0.08 * tone(f * 10.0, s) * env(s, 0.0005, curve=25)
    return body * env(s, 0.002, curve=5)

#!/usr/bin/python3
"""Synthesises every sound and music name the game asks for.

    soundgen.py OUT_DIR MANIFEST...               every name of the manifests
    soundgen.py OUT_DIR MANIFEST... --music NAME  only the track NAME

Reads the "sound" and "music" lines of each MANIFEST. A sound named
"x.mp3" is written as OUT_DIR/x.wav (16-bit mono), a track as OUT_DIR/x.ogg
(Vorbis); the engine's file look-up resolves the ".mp3" name to either.
Without --music it also writes OUT_DIR/sound/unmade.txt: the names no recipe
makes, one a line (empty when none). Effects are levelled to one loudness
(none startles), music to a lower peak."""

import os
import struct
import sys
import zlib

import numpy as np
import soundfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import effects  # noqa: E402
import music  # noqa: E402
from synth import RATE, level, normalise  # noqa: E402

# Effects: the loudness of their loudest 50 ms, in dB of full scale, and the
# highest peak any may reach.
EFFECT_LOUDNESS_DB = -12.0
EFFECT_PEAK = 0.9
MUSIC_PEAK = 0.45


def read(manifests):
    names = []
    for path in manifests:
        with open(path) as manifest:
            for line in manifest:
                line = line.strip()
                if not line or line.startswith("#"):
                    continue
                kind, _, name = line.partition(" ")
                if kind in ("sound", "music") and (kind, name.strip()) not in names:
                    names.append((kind, name.strip()))
    return names


def stem(name):
    return name[:-4] if name.endswith(".mp3") else name


def _ogg_crc_table():
    table = []
    for i in range(256):
        r = i << 24
        for _ in range(8):
            r = ((r << 1) ^ 0x04C11DB7) if r & 0x80000000 else (r << 1)
        table.append(r & 0xFFFFFFFF)
    return table


OGG_CRC = _ogg_crc_table()


def ogg_with_serial(data, serial):
    """The Ogg file `data` with every page's stream serial number set to
    `serial` and its checksum made again. libsndfile picks the serial from
    the clock; a fixed one makes the same track the same bytes.

    Page header (little endian): "OggS", version u8, flags u8, granule u64,
    serial u32 at 14, sequence u32, checksum u32 at 22, segment count u8 at
    26, that many segment sizes u8; then the segments' bytes."""
    out = bytearray(data)
    at = 0
    while at < len(out):
        if out[at:at + 4] != b"OggS" or at + 27 > len(out):
            raise ValueError(f"not an Ogg page at byte {at}")
        count = out[at + 26]
        end = at + 27 + count + sum(out[at + 27:at + 27 + count])
        if end > len(out):
            raise ValueError(f"the Ogg page at byte {at} runs past the end")
        struct.pack_into("<II", out, at + 14, serial, struct.unpack_from("<I", out, at + 18)[0])
        struct.pack_into("<I", out, at + 22, 0)
        crc = 0
        for byte in out[at:end]:
            crc = ((crc << 8) & 0xFFFFFFFF) ^ OGG_CRC[(crc >> 24) ^ byte]
        struct.pack_into("<I", out, at + 22, crc)
        at = end
    return bytes(out)


def write_atomically(path, data, fmt, subtype):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = path + ".part"
    data = data.astype(np.float32)
    # Written in blocks: the Vorbis encoder of libsndfile 1.2 crashes on one
    # large write.
    with soundfile.SoundFile(temporary, "w", RATE, 1, format=fmt, subtype=subtype) as out:
        for start in range(0, len(data), 8192):
            out.write(data[start:start + 8192])
    if fmt == "OGG":
        with open(temporary, "rb") as encoded:
            fixed = ogg_with_serial(encoded.read(), zlib.crc32(os.path.basename(path).encode()))
        with open(temporary, "wb") as out:
            out.write(fixed)
    os.replace(temporary, path)


def fit_length(samples):
    """An effect lasts 50 to 400 ms: a longer one fades out and is cut at
    400 ms, a shorter one is padded with silence."""
    longest, shortest, fade = int(0.4 * RATE), int(0.05 * RATE), int(0.03 * RATE)
    if len(samples) > longest:
        samples = samples[:longest].copy()
        samples[-fade:] *= np.linspace(1.0, 0.0, fade)
    if len(samples) < shortest:
        samples = np.concatenate([samples, np.zeros(shortest - len(samples))])
    return samples


def make_effect(name, out_dir):
    for pattern, fn in effects.RECIPES:
        m = pattern.match(name)
        if m:
            samples = fn(m)
            if samples is None:
                continue
            samples = fit_length(np.asarray(samples, dtype=np.float64))
            write_atomically(os.path.join(out_dir, stem(name) + ".wav"),
                             level(samples, EFFECT_LOUDNESS_DB, EFFECT_PEAK), "WAV", "PCM_16")
            return True
    return False


def track_of(name):
    base = os.path.basename(stem(name))
    return base if base in music.TRACKS else None


def make_music(name, out_dir):
    track = track_of(name)
    if track is None:
        return False
    samples = normalise(music.render(music.TRACKS[track]), MUSIC_PEAK)
    write_atomically(os.path.join(out_dir, stem(name) + ".ogg"), samples, "OGG", "VORBIS")
    return True


def main(argv):
    if "--music" in argv:
        i = argv.index("--music")
        only, argv = argv[i + 1], argv[:i] + argv[i + 2:]
    else:
        only = None
    out_dir, manifests = argv[0], argv[1:]
    unmade = []
    for kind, name in read(manifests):
        if only is not None:
            if kind == "music" and track_of(name) == only:
                make_music(name, out_dir)
            continue
        if kind == "sound" and not make_effect(name, out_dir):
            unmade.append(name)
        if kind == "music" and track_of(name) is None:
            unmade.append(name)
    if only is None:
        os.makedirs(os.path.join(out_dir, "sound"), exist_ok=True)
        with open(os.path.join(out_dir, "sound", "unmade.txt"), "w") as out:
            out.write("".join(n + "\n" for n in unmade))
        for name in unmade:
            print(f"soundgen: no recipe makes {name}", file=sys.stderr)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1:])

#!/usr/bin/python3
"""Checks that the art and sound generators make the same bytes every time.

    reproducible_assets.py SOURCE_DIR

Runs tools/art/artgen.py (every frame and image), tools/sound/soundgen.py
(every effect) and one music track twice each, into two fresh folders, with
different PYTHONHASHSEED values, and fails on any file that is in one folder
but not the other or whose bytes differ. Runs the generators with the Python
that runs this script."""

import filecmp
import os
import subprocess
import sys
import tempfile


def music_track(manifest):
    with open(manifest) as lines:
        for line in lines:
            kind, _, name = line.strip().partition(" ")
            if kind == "music":
                return os.path.splitext(os.path.basename(name.strip()))[0]
    raise SystemExit(f"{manifest} names no music track")


def start(command, hash_seed):
    env = dict(os.environ, PYTHONHASHSEED=str(hash_seed), PYTHONDONTWRITEBYTECODE="1")
    return subprocess.Popen([sys.executable] + command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                            text=True)


def files_under(root):
    found = set()
    for folder, _, names in os.walk(root):
        found.update(os.path.relpath(os.path.join(folder, n), root) for n in names)
    return found


def main(source):
    assets = os.path.join(source, "assets")
    manifests = [os.path.join(assets, "ui.manifest"), os.path.join(assets, "sounds.manifest")]
    artgen = os.path.join(source, "tools", "art", "artgen.py")
    soundgen = os.path.join(source, "tools", "sound", "soundgen.py")
    track = music_track(manifests[0])
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        runs = []
        for out, hash_seed in ((first, 1), (second, 2)):
            runs.append(start([artgen, os.path.join(assets, "frames.manifest"), manifests[0], out], hash_seed))
            runs.append(start([soundgen, out] + manifests, hash_seed))
            runs.append(start([soundgen, out] + manifests + ["--music", track], hash_seed))
        failed = False
        for run in runs:
            _, errors = run.communicate()
            if run.returncode != 0:
                print(f"{' '.join(run.args[1:])} failed ({run.returncode}):\n{errors}", file=sys.stderr)
                failed = True
        if failed:
            return 1
        made, again = files_under(first), files_under(second)
        differing = sorted(n for n in made & again if not filecmp.cmp(os.path.join(first, n), os.path.join(second, n),
                                                                       shallow=False))
        for name in sorted(made ^ again):
            print(f"{name} is made by one run only", file=sys.stderr)
        for name in differing:
            print(f"{name} differs between two runs of its generator", file=sys.stderr)
        print(f"{len(made)} files compared")
        if len(made) < 100 or not any(n.endswith(".ogg") for n in made):
            print("the generators made less than expected", file=sys.stderr)
            return 1
        return 1 if differing or made ^ again else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))

#!/usr/bin/env bash
# Makes the README's pictures: for every docs/shots/NAME.input it starts the built game headless
# with a fresh settings folder, plays the input script and saves the last frame as docs/NAME.png.
# The number of frames is the script's "# frames N" line. Run after a build:
#   bash scripts/screenshots.sh            (BUILD_DIR=... for another build folder)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
game="${BUILD_DIR:-$root/build}/bin/comet-lane-derby"
[ -x "$game" ] || { echo "Build the game first: bash scripts/build.sh" >&2; exit 1; }
config="$(mktemp -d)"
trap 'rm -rf "$config"' EXIT
for input in "$root"/docs/shots/*.input; do
  name="$(basename "$input" .input)"
  frames="$(sed -n 's/^# frames \([0-9][0-9]*\)$/\1/p' "$input")"
  [ -n "$frames" ] || { echo "$input: no '# frames N' line" >&2; exit 1; }
  rm -rf "${config:?}"/*
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy "$game" --frames "$frames" --unpaced --seed 1 \
    --config-dir "$config" --input "$input" --screenshot "$root/docs/$name.png"
  echo "docs/$name.png"
done

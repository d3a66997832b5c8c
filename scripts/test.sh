#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
export SDL_VIDEODRIVER=offscreen
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "$(nproc)"

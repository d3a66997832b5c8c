#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
#
#   bash scripts/test.sh              the Release tree in build/
#   bash scripts/test.sh --sanitize   a RelWithDebInfo tree in build-sanitize/ with
#                                     AddressSanitizer (leak checks on) and UndefinedBehaviorSanitizer
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize=0
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=1 ;;
    *) echo "usage: test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done
bash "$root/scripts/install-deps.sh"
if [ "$sanitize" -eq 1 ]; then
  build="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
  flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
  # The build runs the content tools, so the sanitizers watch them too.
  export ASAN_OPTIONS="detect_leaks=1:verify_asan_link_order=0"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
  cmake --build "$build" -j "$(nproc)"
else
  build="${BUILD_DIR:-$root/build}"
  bash "$root/scripts/build.sh"
fi
export SDL_VIDEODRIVER=offscreen
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
cd "$build"
if [ "$sanitize" -eq 1 ]; then
  # The tests preload the GL loader and Mesa's software driver, so they stay until the leak
  # check: unloaded with the last window, the driver's tables would be reported as leaks of a
  # library LeakSanitizer can no longer name. They come before the sanitizer runtime, hence
  # verify_asan_link_order=0 above.
  preload="libEGL.so.1"
  driver="/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so"
  if [ -f "$driver" ]; then preload="$preload $driver"; fi
  export LD_PRELOAD="$preload${LD_PRELOAD:+ $LD_PRELOAD}"
fi
# A test that hangs fails after 15 minutes instead of holding the whole run.
ctest --output-on-failure --timeout 900 -j "$(nproc)"

#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# into build-fuzz/ and runs each one on its seed corpus for a while.
#
#   bash scripts/fuzz.sh [--build-only] [--seconds N] [TARGET ...]
#
# --build-only  only builds; --seconds N  runs every target N seconds (default 60).
# TARGET        fuzz_<reader> names to run (default: every target).
# New inputs found go to build-fuzz/corpus/<target>/, crashes to build-fuzz/crashes/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
plain="${BUILD_DIR:-$root/build}"
seconds=60
build_only=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --build-only) build_only=1 ;;
    --seconds)
      [ $# -ge 2 ] || { echo "fuzz.sh: --seconds needs a number" >&2; exit 2; }
      seconds="$2"
      shift ;;
    fuzz_*) targets+=("$1") ;;
    *) echo "usage: fuzz.sh [--build-only] [--seconds N] [fuzz_TARGET ...]" >&2; exit 2 ;;
  esac
  shift
done
case "$seconds" in
  '' | *[!0-9]*) echo "fuzz.sh: --seconds needs a whole number, not '$seconds'" >&2; exit 2 ;;
esac

bash "$root/scripts/install-deps.sh"
data="${CLD_FUZZ_DATA_DIR:-$plain/bin/data}"

sanitize="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=undefined"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCLD_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_C_FLAGS="$sanitize -fno-omit-frame-pointer" \
  -DCMAKE_CXX_FLAGS="$sanitize -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCLD_FUZZ_DATA_DIR="$data"
cmake --build "$build" -j "$(nproc)" --target cld_fuzz
[ "$build_only" -eq 1 ] && exit 0

if [ ! -f "$data/Data/data2.oil" ]; then
  # The race pictures fuzz_track races over come from a plain build's data files.
  cmake -S "$root" -B "$plain" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$plain" -j "$(nproc)" --target cld_data
fi

if [ ${#targets[@]} -eq 0 ]; then
  for corpus in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi
# Targets that read files write their inputs to TMPDIR: memory, where the machine has it.
scratch="$build/tmp"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch="/dev/shm/cld-fuzz-$$"
mkdir -p "$build/crashes" "$scratch"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch" CLD_FUZZ_DATA_DIR="$data" SDL_VIDEODRIVER=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  echo "== $target: $seconds s"
  if ! "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 \
    -rss_limit_mb=2560 -artifact_prefix="$build/crashes/$target-" \
    "$build/corpus/$target" "$root/fuzz/corpus/$target"; then
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: crashes in ${failed[*]} (inputs in $build/crashes)" >&2
  exit 1
fi

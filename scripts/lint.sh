#!/usr/bin/env bash
# The naming rule (clang-tidy's identifier naming check, .clang-tidy) and the layout
# (clang-format, .clang-format) of every C++ file of the tree.
#
#   bash scripts/lint.sh         checks; fails on any finding
#   bash scripts/lint.sh --fix   renames what breaks the naming rule, then reformats
#
# clang-tidy reads the compile commands of a configured build (BUILD_DIR, default build/;
# configured here when missing) and runs on LINT_JOBS cores (default 2). The check takes the
# files of a folder together where they compile as one (scripts/naming-check.py).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
jobs="${LINT_JOBS:-2}"
fix=0
for arg in "$@"; do
  case "$arg" in
    --fix) fix=1 ;;
    *) echo "usage: lint.sh [--fix]" >&2; exit 2 ;;
  esac
done
cd "$root"
if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi

# The tree's own sources: the compile commands' files under these folders.
sources="^$root/(bench|engine|fuzz|game|online|platform|server|tests|tools)/"
status=0
if [ "$fix" -eq 1 ]; then
  # The fixes of every file are collected and applied once, so a header renamed from many
  # files is changed once.
  run-clang-tidy -quiet -j "$jobs" -p "$build" -fix "$sources" >/dev/null || true
else
  python3 "$root/scripts/naming-check.py" "$build" "$jobs" "$sources" || status=1
fi

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "$fix" -eq 1 ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}" 2>&1 | grep -E 'error: code should be' || true
  clang-format --dry-run -Werror "${files[@]}" >/dev/null 2>&1 || status=1
fi
if [ "$status" -ne 0 ]; then
  echo "lint: findings above (bash scripts/lint.sh --fix renames and reformats)" >&2
else
  echo "lint: naming and layout clean"
fi
exit "$status"

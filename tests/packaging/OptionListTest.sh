#!/usr/bin/env bash
# The game's --help lists every option once, one line each, and the manual page and the
# developers' guide (docs/DEVELOPING.md) document the same options.
#   OptionListTest.sh GAME MANUAL_PAGE DEVELOPING_MD
set -euo pipefail
game=$1
manual=$2
guide=$3

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

help=$("$game" --help)
option_lines=$(grep -E '^ +-' <<<"$help")
from_help=$(grep -oE -- '--?[a-z][a-z-]*' <<<"$option_lines" | sort)
[ -n "$from_help" ] || fail "--help lists no options"
duplicates=$(uniq -d <<<"$from_help")
[ -z "$duplicates" ] || fail "--help lists more than once: $duplicates"
long_options=$(grep -c -- '--' <<<"$option_lines")
[ "$long_options" -eq "$(grep -c -- '^--' <<<"$from_help")" ] || fail "a line of --help holds two options"

options_section=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$manual" | sed 's/\\-/-/g')
from_manual=$(grep -E '^\.(B|BI|BR) ' <<<"$options_section" | grep -oE -- '--?[a-z][a-z-]*' | sort -u)
[ "$from_help" = "$from_manual" ] ||
  fail "--help and the manual page differ: $(diff <(echo "$from_help") <(echo "$from_manual") | grep '^[<>]' | tr '\n' ' ')"

for option in $(grep -- '^--' <<<"$from_help"); do
  grep -q -- "\`$option" "$guide" || fail "$guide does not document $option"
done
"$game" --version | grep -qE '^comet-lane-derby [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version prints no version"

#!/usr/bin/env bash
# A first start on a fresh machine: the data folder cannot be written and there is no settings
# folder yet. The game must run, make its settings folder in the user's configuration folder
# and leave the data folder as it was.
#   FirstStartTest.sh GAME DATA_DIR
# Run as root, the game is started as the user "nobody", for whom the read-only data folder
# really is read-only.
set -euo pipefail
game=$1
data=$2

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
cp -r "$data" "$tmp/data"
chmod -R a-w "$tmp/data"
mkdir "$tmp/home"

as_player=()
if [ "$(id -u)" -eq 0 ]; then
  chown nobody "$tmp/home"
  as_player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

# A sanitized test run hands its sanitizer settings and preloaded libraries to the game.
sanitizer_env=()
for name in LD_PRELOAD ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  if [ -n "${!name:-}" ]; then sanitizer_env+=("$name=${!name}"); fi
done

snapshot() { (cd "$tmp/data" && find . -printf '%p %s %m\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
output=$(cd "$tmp" && env -i PATH=/usr/bin:/bin HOME="$tmp/home" SDL_VIDEODRIVER=offscreen \
  SDL_AUDIODRIVER=dummy "${sanitizer_env[@]}" "${as_player[@]}" "$game" --data-dir "$tmp/data" --frames 30 --unpaced \
  2>&1) || { echo "$output"; fail "the game failed on its first start"; }
echo "$output"
! grep -q "Cannot be loaded" <<<"$output" || fail "a data file could not be read"
[ -d "$tmp/home/.config/comet-lane-derby" ] || fail "no settings folder in ~/.config"
[ "$before" = "$(snapshot)" ] || fail "the data folder changed"

#!/usr/bin/env bash
# Checks of the game's Debian package, made by `cpack -G DEB` and unpacked with `dpkg -x`.
#   DebPackageTest.sh make BUILD_DIR DIR        builds the package into DIR/out, unpacks it in DIR/root
#   DebPackageTest.sh depends DIR               dependencies are runtime packages only
#   DebPackageTest.sh files DIR VERSION SERVER  desktop entry, icons, description, manual pages,
#                                               copyright
#   DebPackageTest.sh run DIR VERSION           the unpacked game starts headless from another folder
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

package_of() { ls "$1"/out/*.deb; }

make_package() {
  local build=$1 dir=$2
  rm -rf "$dir"
  mkdir -p "$dir/out"
  (cd "$build" && cpack -G DEB -B "$dir/out" >"$dir/cpack.log" 2>&1) ||
    { cat "$dir/cpack.log"; fail "cpack could not make the package"; }
  dpkg -x "$(package_of "$dir")" "$dir/root"
  dpkg-deb -f "$(package_of "$dir")" Package Version Depends
}

check_depends() {
  local dir=$1 depends name
  depends=$(dpkg-deb -f "$(package_of "$dir")" Depends)
  echo "Depends: $depends"
  for needed in libsdl2-2.0-0 libpng16-16 libfreetype6 libfontconfig1 libgl1 libcurl4; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "no dependency on $needed"
  done
  while read -r name; do
    case "$name" in
      *-dev | cmake | ninja-build | g++* | gcc | gcc-* | pkg-config | libgtest* | \
        libbenchmark* | libcairo* | python3* | xvfb | appstream | dpkg-dev)
        fail "$name is needed to build or test the game, not to run it" ;;
    esac
    dpkg-query -W "$name" >/dev/null 2>&1 || fail "$name is not a Debian package of this system"
  done < <(tr ',' '\n' <<<"$depends" | sed -E 's/\(.*\)//; s/\|.*//; s/^ +//; s/ +$//')
}

# Width and height of a PNG file, from its header.
png_size() {
  local hex
  hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
  echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}

check_man_page() {
  local page=$1 warnings
  [ -f "$page" ] || fail "no manual page $page"
  warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
}

check_files() {
  local dir=$1 version=$2 server=$3
  local root=$dir/root/usr id=io.github.cometlanederby.CometLaneDerby
  [ -x "$root/bin/comet-lane-derby" ] || fail "no game program in usr/bin"
  [ -f "$root/share/comet-lane-derby/Data/data1.oil" ] || fail "no game data in usr/share"
  ! readelf -d "$root/bin/comet-lane-derby" | grep -qE 'RPATH|RUNPATH' ||
    fail "the installed game still points at the build tree"

  local desktop=$root/share/applications/$id.desktop
  desktop-file-validate "$desktop" || fail "desktop entry does not validate"
  grep -qx 'Categories=Game;ArcadeGame;' "$desktop" || fail "desktop entry is not in Game;ArcadeGame;"
  [ -x "$root/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")" ] ||
    fail "the desktop entry starts a program the package does not install"
  [ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "the desktop entry names another icon"

  for size in 48 128 256; do
    local icon=$root/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ -f "$icon" ] || fail "no ${size} pixel icon"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "the ${size} pixel icon is $(png_size "$icon")"
  done

  local metainfo=$root/share/metainfo/$id.metainfo.xml
  appstreamcli validate --no-net "$metainfo" || fail "the metainfo file does not validate"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo file launches another desktop entry"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo file lacks release $version"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "the metainfo file does not name the game's licence"

  local copyright=$root/share/doc/comet-lane-derby/copyright
  [ -f "$copyright" ] || fail "no copyright file in usr/share/doc/comet-lane-derby"
  grep -q "^License: GPL-3.0-or-later$" "$copyright" || fail "the copyright file names no licence"
  grep -q "/usr/share/common-licenses/GPL-3" "$copyright" ||
    fail "the copyright file does not point at the licence text"

  check_man_page "$root/share/man/man6/comet-lane-derby.6.gz"
  if [ "$server" = 1 ]; then
    [ -x "$root/bin/comet-score-server" ] || fail "no score service in usr/bin"
    check_man_page "$root/share/man/man1/comet-score-server.1.gz"
  fi
}

# A sanitized test run hands its sanitizer settings and preloaded libraries to the game.
sanitizer_env=()
for name in LD_PRELOAD ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
  if [ -n "${!name:-}" ]; then sanitizer_env+=("$name=${!name}"); fi
done

run_game() {
  local dir=$1 version=$2 game=$1/root/usr/bin/comet-lane-derby output
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  mkdir "$tmp/home"
  [ "$(cd / && "$game" --version)" = "comet-lane-derby $version" ] || fail "wrong --version"
  output=$(cd / && env -i PATH=/usr/bin:/bin HOME="$tmp/home" SDL_VIDEODRIVER=offscreen \
    SDL_AUDIODRIVER=dummy "${sanitizer_env[@]}" "$game" --frames 5 --unpaced --config-dir "$tmp/config" \
    --screenshot "$tmp/shot.png" 2>&1) || { echo "$output"; fail "the installed game failed"; }
  echo "$output"
  ! grep -q "Cannot be loaded" <<<"$output" || fail "the installed game misses data files"
  [ "$(png_size "$tmp/shot.png")" = "800x600" ] || fail "no 800x600 picture of the last frame"
  [ -d "$tmp/config" ] || fail "no settings folder made"
}

case "${1:-}" in
  make) make_package "$2" "$3" ;;
  depends) check_depends "$2" ;;
  files) check_files "$2" "$3" "$4" ;;
  run) run_game "$2" "$3" ;;
  *) fail "usage: $0 make|depends|files|run ..." ;;
esac

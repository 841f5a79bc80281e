#!/usr/bin/env bash
# Installs the build into temporary prefixes and checks what a desktop will see: the launcher and
# the metainfo pass their validators, and every path in the launcher names an installed file.
#   installed_launcher_test.sh BUILD_DIR CONFIGURED_DATA_FOLDER
set -euo pipefail
build=$1
configured_folder=$2
id=hu.velunorh.velunorh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The value of KEY in a desktop entry, with the string escapes of the format undone.
entry() { sed -n "s/^$1=//p" "$2" | sed 's/\\\\/\\/g'; }

# The width and height of a PNG file, or nothing when it is not one.
png_size() {
  [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = 89504e470d0a1a0a ] || return 0
  od -An -tu1 -j16 -N8 "$1" |
    awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# check_install ROOT PREFIX DATA_FOLDER EXEC SCREENSHOT_URL
#   ROOT: where the files were put; PREFIX: the same folder as the launcher names it (they
#   differ under DESTDIR); the rest: what the launcher and the metainfo must say.
check_install() {
  local root=$1 prefix=$2 folder=$3 exec=$4 url=$5
  local desktop="$root/share/applications/$id.desktop"
  local metainfo="$root/share/metainfo/$id.metainfo.xml"
  local program="$root/share/velunorh/velunorh"

  [ -x "$program" ] || fail "no program at $program"
  [ "$(readlink -f "$root/bin/velunorh")" = "$(readlink -f "$program")" ] ||
    fail "bin/velunorh does not lead to $program"
  [ -f "$root/share/doc/velunorh/README.md" ] && [ -f "$root/share/doc/velunorh/docs/main-window.png" ] ||
    fail "README.md or its screenshot not installed"

  desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
  [ "$(entry Exec "$desktop")" = "$exec" ] || fail "Exec is '$(entry Exec "$desktop")', not '$exec'"
  [ "$(entry TryExec "$desktop")" = "$prefix/share/velunorh/velunorh" ] ||
    fail "TryExec is '$(entry TryExec "$desktop")'"
  if [ -z "$folder" ]; then
    ! grep -q '^Path=' "$desktop" || fail "Path= without a data folder"
  else
    [ "$(entry Path "$desktop")" = "$folder" ] || fail "Path is '$(entry Path "$desktop")', not '$folder'"
  fi
  local icon
  icon=$(entry Icon "$desktop")
  case $icon in
    "$prefix"/*) [ "$(png_size "$root${icon#"$prefix"}")" = 128x128 ] || fail "Icon $icon is not a 128x128 PNG" ;;
    *) fail "Icon '$icon' does not lie under $prefix" ;;
  esac
  for size in 32 64 128; do
    [ "$(png_size "$root/share/icons/hicolor/${size}x$size/apps/$id.png")" = "${size}x$size" ] ||
      fail "no ${size}x$size icon"
  done

  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $metainfo"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not name the launcher"
  if [ -z "$url" ]; then
    ! grep -q '<screenshot' "$metainfo" || fail "a screenshot without an address"
  else
    grep -q "<image>$url</image>" "$metainfo" || fail "the screenshot is not $url"
  fi
}

echo "== cmake --install with the configured choices"
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
check_install "$tmp/prefix" "$tmp/prefix" "$configured_folder" "$tmp/prefix/share/velunorh/velunorh" ""

echo "== staged for /opt, with a blank and a percent sign in the paths"
prefix="/opt/Velunorh 100%"
DESTDIR="$tmp/stage" cmake -DCMAKE_INSTALL_PREFIX="$prefix" -DVELUNORH_DATA_FOLDER="$tmp/Orsival adat" \
  -DVELUNORH_SCREENSHOT_URL="https://example.org/velunorh/main-window.png" \
  -P "$build/cmake_install.cmake" >/dev/null
check_install "$tmp/stage$prefix" "$prefix" "$tmp/Orsival adat" \
  "\"$prefix%/share/velunorh/velunorh\"" "https://example.org/velunorh/main-window.png"

echo "== a relative data folder is refused"
if cmake -DCMAKE_INSTALL_PREFIX="$tmp/refused" -DVELUNORH_DATA_FOLDER=Orsival \
  -P "$build/cmake_install.cmake" >/dev/null 2>&1; then
  fail "installed with a relative data folder"
fi

((failures == 0)) || exit 1
echo "all install checks passed"

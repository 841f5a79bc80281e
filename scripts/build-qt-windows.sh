#!/usr/bin/env bash
# Produces Qt 6.4.2 for 64-bit Windows (MinGW-w64) in a cache folder and prints where it is:
#   scripts/build-qt-windows.sh [QT_DIR]     (default ~/.cache/velunorh/qt-6.4.2-mingw64)
# Takes the prebuilt tarball from ../shared/toolchains beside the clone when it is there and its
# checksum matches; otherwise cross-builds the same Qt from Debian's qt6-base source (about an
# hour on a 2-core machine). Idempotent: a finished Qt in the folder is used as it is.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
qt=${1:-${VELUNORH_QT_WINDOWS:-$HOME/.cache/velunorh/qt-6.4.2-mingw64}}
version=6.4.2
tarball_name=qt6.4.2-mingw64-posix-widgets-printsupport.tar.zst
shared=${VELUNORH_SHARED_TOOLCHAINS:-$root/../shared/toolchains}
stamp=$qt/.velunorh-qt-complete

"$root/scripts/setup-windows.sh" >&2

if [ -f "$stamp" ] && [ -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  echo "$qt"
  exit 0
fi

tarball=$shared/$tarball_name
# True when the shared tarball is there and its checksum matches.
tarball_matches() {
  [ -f "$tarball" ] && [ -f "$tarball.sha256" ] || return 1
  local want have
  want=$(awk '{print $1; exit}' "$tarball.sha256")
  have=$(sha256sum "$tarball" | awk '{print $1}')
  if [ "$want" != "$have" ]; then
    echo "The checksum of $tarball does not match; building Qt from source instead" >&2
    return 1
  fi
}

unpack_tarball() {
  echo "Unpacking $tarball into $qt" >&2
  local tmp
  tmp=$(mktemp -d "$(dirname "$qt")/qt-unpack.XXXXXX")
  tar --zstd -xf "$tarball" -C "$tmp"
  rm -rf "$qt"
  mv "$tmp/qt6-mingw" "$qt"
  rmdir "$tmp"
}

build_from_source() {
  echo "Building Qt $version for MinGW-w64 from Debian's qt6-base source (about an hour)" >&2
  local work
  work=$(dirname "$qt")/qt-source
  mkdir -p "$work"
  # Debian's own host tools of the same version run the code generators (moc, uic, rcc).
  install_missing qt6-base-dev qt6-base-dev-tools ninja-build dpkg-dev >&2
  # apt-get source needs deb-src lines: the same archives and suites as the deb lines.
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
        > /etc/apt/sources.list.d/velunorh-src.sources
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/velunorh-src.list
    fi
    apt-get update -qq
  fi
  local src
  src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$version*" | head -n1)
  if [ -z "$src" ]; then
    (cd "$work" && apt-get source -qq "qt6-base=$version*")
    src=$(find "$work" -maxdepth 1 -type d -name "qt6-base-$version*" | head -n1)
  fi

  # With MinGW, DirectWrite is found but Direct2D is turned off below; these two files use
  # DirectWrite font-engine code that needs Direct2D's headers, so that code also requires it.
  # Each guard is counted afterwards, so a source that reads otherwise stops the build here.
  guard() {
    local file=$src/$1 feature=$2 want=$3
    sed -i -E "s/^#[[:space:]]*if QT_CONFIG\(${feature}\)[[:space:]]*$/#if QT_CONFIG(${feature}) \&\& QT_CONFIG(direct2d)/" "$file"
    local have
    have=$(grep -c "^#if QT_CONFIG(${feature}) && QT_CONFIG(direct2d)$" "$file" || true)
    if [ "$have" != "$want" ]; then
      echo "$file: expected $want guards of ${feature}, found $have" >&2
      exit 1
    fi
  }
  guard src/printsupport/platform/windows/qprintengine_win.cpp directwrite 3
  guard src/plugins/platforms/windows/qwindowsintegration.cpp directwrite3 2

  local build=$work/build
  mkdir -p "$build"
  (cd "$build" && "$src/configure" -prefix "$qt" -release -shared -qt-host-path /usr \
    -nomake examples -nomake tests -nomake benchmarks \
    -no-opengl -no-vulkan -no-dbus -no-icu -no-glib -no-openssl -no-zstd -no-pkg-config -no-direct2d \
    -no-libjpeg -qt-zlib -qt-pcre -qt-libpng -qt-harfbuzz -qt-freetype -qt-doubleconversion \
    -no-feature-sql -no-feature-network -no-feature-xml -no-feature-concurrent \
    -no-feature-tabletevent -no-feature-androiddeployqt \
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake)
  cmake --build "$build" --parallel "$(nproc)"
  cmake --install "$build" --strip
}

mkdir -p "$(dirname "$qt")"
# Called outside any condition, so that a failing step stops the script.
if tarball_matches; then
  unpack_tarball
else
  build_from_source
fi
touch "$stamp"
echo "$qt"

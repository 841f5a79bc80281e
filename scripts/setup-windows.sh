#!/usr/bin/env bash
# Installs the Debian packages that the Windows build and its tests under Wine need.
# Idempotent: installs only what is missing. Run as root on Debian 12.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 googletest nsis xdotool zstd qt6-translations-l10n
  fonts-liberation xvfb xauth poppler-utils imagemagick
)

install_missing "${packages[@]}"

#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velunorh need.
# Idempotent: installs only what is missing. Run as root on Debian 12.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

packages=(
  build-essential cmake git pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libbenchmark-dev
  fonts-liberation
  cups libcups2-dev printer-driver-cups-pdf poppler-utils
  xvfb xauth
  dbus at-spi2-core python3-pyatspi
  time
  desktop-file-utils appstream
  clang libclang-rt-14-dev clang-format-14
)

install_missing "${packages[@]}"

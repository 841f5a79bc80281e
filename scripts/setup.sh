#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Velunorh need.
# Idempotent: installs only what is missing. Run as root on Debian 12.
set -euo pipefail

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
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

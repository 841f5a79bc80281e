#!/usr/bin/env bash
# Configures and builds one build folder from a CMake preset (CMakePresets.json; "normal" when
# none is named), in the folder given: scripts/build.sh [--preset NAME] DIR [cmake options...]
set -euo pipefail
source "$(dirname "$0")/lib.sh"
preset=normal
if [ "${1:-}" = --preset ]; then
  preset=$2
  shift 2
fi
dir=$1
shift
configure_preset "$preset" -B "$dir" "$@"
cmake --build "$dir" -j"$(nproc)"

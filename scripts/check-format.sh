#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as the project's .clang-format says,
# with clang-format 14 (another version formats some constructs differently). Fails on a file
# that differs and names it with its first difference; `clang-format-14 -i FILE` fixes it.
# Checked: the layers (base/ companion/ card/ session/ ui/, ui/main.cpp being the program's
# main), tools/ (the companion-format writer and the programs built beside the program),
# fuzz/, bench/ and tests/: all of it is the project's own code, built with every build.
#   scripts/check-format.sh
set -euo pipefail
source "$(dirname "$0")/lib.sh"
install_missing clang-format-14
cd "$root"
mapfile -d '' files < <(find base companion card session ui tools fuzz bench tests -type f \
  \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
if ! clang-format-14 --dry-run -Werror --ferror-limit=1 --style="file:$root/.clang-format" \
  "${files[@]}"; then
  echo "Some files differ from .clang-format (above); clang-format-14 -i FILE formats one." >&2
  exit 1
fi
echo "${#files[@]} files formatted as .clang-format says"

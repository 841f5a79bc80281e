#!/usr/bin/env bash
# Prints the calibration sheet of the first card version to PDF through the options dialog and
# turns its top-left part, where the card's items lie, into a picture for the README.
# scripts/calibration-picture.sh [OUTPUT.png]   (default: docs/calibration-sheet.png)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
out=$(realpath -m "${1:-$root/docs/calibration-sheet.png}")
mkdir -p "$(dirname "$out")"
install_missing poppler-utils >/dev/null
[ -x "$root/build/tools/calibration_sheet" ] || cmake --build "$root/build" --target calibration_sheet

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$root/build/tools/calibration_sheet" "$work/sheet.pdf" 0 0.20 0.15 2>/dev/null
# 150 dots per inch; the rulers end 7 inches across and 5 down from the margins, the notes
# on what the sheet was printed with below them.
pdftoppm -r 150 -png -singlefile -x 0 -y 0 -W 1140 -H 900 "$work/sheet.pdf" "$work/sheet"
mv "$work/sheet.png" "$out"
echo "Picture saved to $out"

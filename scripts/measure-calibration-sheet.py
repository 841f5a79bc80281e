#!/usr/bin/env python3
"""Measures the millimetre scales of a printed calibration sheet (a PDF) as the print test does:
the figures about a millimetre high, grouped in lines through each "0", across and down; for
each scale, where every figure lies from its zero against where it should (k mm).
  scripts/measure-calibration-sheet.py SHEET.pdf
Prints one line per scale and the largest error; exits 1 when a scale is not found whole."""
import re
import subprocess
import sys

MM = 72 / 25.4  # points per millimetre

html = subprocess.run(["pdftotext", "-bbox", sys.argv[1], "-"], check=True,
                      capture_output=True, text=True).stdout
words = [(float(a), float(b), float(c), float(d), t) for a, b, c, d, t in re.findall(
    r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>', html)]
figures = [(((a + c) / 2), ((b + d) / 2), t) for a, b, c, d, t in words
           if d - b < 1.5 * MM and t[:1].isdigit()]
scales = []
for x0, y0, t in figures:
    if t != "0":
        continue
    row = [f for f in figures if abs(f[1] - y0) < 0.3 * MM and abs(f[0] - x0) < 5.5 * MM]
    column = [f for f in figures if abs(f[0] - x0) < 0.3 * MM and abs(f[1] - y0) < 5.5 * MM]
    across = len(row) > len(column)
    line = sorted(row if across else column, key=lambda f: f[0] if across else f[1])
    scales.append((y0, x0, "across" if across else "down", line))
worst, whole = 0.0, len(scales) == 4
for y0, x0, way, line in sorted(scales):
    if len(line) != 11:
        print(f"scale {way} at ({x0 / MM:.1f}, {y0 / MM:.1f}) mm: {len(line)} figures, not 11")
        whole = False
        continue
    axis = 0 if way == "across" else 1
    errors = [(line[k + 5][axis] - line[5][axis]) / MM - k for k in range(-5, 6)]
    texts_right = all(line[k + 5][2] == str(abs(k)) for k in range(-5, 6))
    span = (line[10][axis] - line[0][axis]) / MM
    worst = max(worst, max(abs(e) for e in errors))
    print(f"scale {way:6} zero at ({x0 / MM:6.2f}, {y0 / MM:6.2f}) mm: -5 to +5 spans {span:.3f} mm, "
          f"largest error {max(abs(e) for e in errors):.3f} mm, figures {'in order' if texts_right else 'WRONG'}")
print(f"{len(scales)} scales; largest error of a figure from its millimetre: {worst:.3f} mm")
sys.exit(0 if whole else 1)

#!/usr/bin/python3
# Compares the words of two printed cards and their places (pdftotext -bbox): every word the same,
# every place within 1 pt. Exits non-zero, listing the differences, when they differ.
#   compare_card_words.py EXPECTED.pdf ACTUAL.pdf
#
# Places are compared by the left edge and the bottom of each word's box. The top of a box is the
# font's ascent as embedded in the PDF, which differs between the two print paths (Qt's own PDF
# output on Linux, Wine's PostScript driver on Windows) while the text sits on the same baseline;
# the bottom comes from the descent and stays within a fraction of a point. Wine's PostScript
# output names the hyphen's glyph so that it reads back as a soft hyphen (U+00AD): the same
# character on paper, so it is read as "-".
import html
import re
import subprocess
import sys

TOLERANCE = 1.0
WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')


def words(pdf):
    text = subprocess.run(["pdftotext", "-bbox", pdf, "-"], check=True, capture_output=True,
                          text=True).stdout
    found = []
    for m in WORD.finditer(text):
        x_min, y_min, x_max, y_max = map(float, m.groups()[:4])
        word = html.unescape(m.group(5)).replace("\u00ad", "-")
        found.append((word, x_min, y_max, y_min))
    # In reading order, so that the two lists pair up whatever order each file draws in.
    return sorted(found, key=lambda w: (round(w[2]), w[1]))


def main():
    expected, actual = words(sys.argv[1]), words(sys.argv[2])
    problems = []
    if not expected:
        problems.append("the expected card has no words")
    if [w[0] for w in expected] != [w[0] for w in actual]:
        problems.append(f"the words differ:\n  expected {[w[0] for w in expected]}\n"
                        f"  printed  {[w[0] for w in actual]}")
    else:
        for e, a in zip(expected, actual):
            dx, dy = a[1] - e[1], a[2] - e[2]
            if abs(dx) > TOLERANCE or abs(dy) > TOLERANCE:
                problems.append(f"{e[0]!r}: expected at x={e[1]:.2f} bottom={e[2]:.2f}, "
                                f"printed at x={a[1]:.2f} bottom={a[2]:.2f}")
    worst_top = max((abs(a[3] - e[3]) for e, a in zip(expected, actual)), default=0.0)
    print(f"{len(expected)} words compared; largest difference of the box tops {worst_top:.2f} pt")
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    print("every word the same, every place within 1 pt")
    return 0


if __name__ == "__main__":
    sys.exit(main())

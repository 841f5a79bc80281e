// Turns the program icon into a PNG of one size for the desktop's icon theme:
//   icon_png INPUT.xpm OUTPUT.png SIZE
// Desktops no longer read XPM reliably, so the launcher gets PNG files made at build time.
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s INPUT.xpm OUTPUT.png SIZE\n", argv[0]);
    return 2;
  }
  const std::string sizeText = argv[3];
  char* end = nullptr;
  const long size = std::strtol(sizeText.c_str(), &end, 10);
  if (sizeText.empty() || *end != '\0' || size < 1 || size > 1024) {
    std::fprintf(stderr, "%s: bad size '%s'\n", argv[0], argv[3]);
    return 2;
  }
  QImage icon;
  if (!icon.load(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
    return 1;
  }
  // Whole-number steps of a pixel-art icon stay sharp without smoothing.
  const QImage scaled =
      icon.convertToFormat(QImage::Format_ARGB32)
          .scaled(int(size), int(size), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!scaled.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}

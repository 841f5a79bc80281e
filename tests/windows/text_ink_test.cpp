// The program's texts as the Windows platform draws them. Run under Wine, whose fonts stand in for
// the Windows ones and are drawn without smoothing: there a thin stroke can be left without a
// pixel, the printer "WINRUN" reading "W NRUN".
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <algorithm>

#include "ui/painter_surface.h"
#include "ui/program_style.h"

namespace velunorh {
namespace {

// Pixels of the columns [from, to) that differ from the picture's background (its corner).
int InkBetween(const QImage& image, int from, int to) {
  const QRgb background = image.pixel(0, 0);
  int ink = 0;
  for (int x = std::max(0, from); x < std::min(image.width(), to); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (image.pixel(x, y) != background) ++ink;
  return ink;
}

// The ink in the columns of the I of "WINRUN", drawn left-aligned from `left` in `font`.
int InkOfTheI(const QImage& image, int left, const QFont& font) {
  const QFontMetrics metrics(font);
  return InkBetween(image, left + metrics.horizontalAdvance(QStringLiteral("W")),
                    left + metrics.horizontalAdvance(QStringLiteral("WI")));
}

int InkOfTheI(QLabel& label) {
  label.adjustSize();
  return InkOfTheI(label.grab().toImage(), label.contentsRect().left() + label.margin(),
                   label.font());
}

TEST(WindowsText, TheCapitalIOfWinrunLeavesInkInALabelAndInAMessage) {
  QLabel label(QStringLiteral("WINRUN"));
  EXPECT_GT(InkOfTheI(label), 0) << label.font().toString().toStdString();

  QMessageBox message(QMessageBox::Information, QStringLiteral("Velunorh"),
                      QStringLiteral("WINRUN"));
  message.ensurePolished();
  auto* text = message.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  ASSERT_NE(text, nullptr);
  EXPECT_GT(InkOfTheI(*text), 0) << text->font().toString().toStdString();
}

// The previews draw the card's texts in the faces its layout names, at their small size.
TEST(WindowsText, TheCapitalIOfWinrunLeavesInkInAPreviewsText) {
  QImage image(120, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterSurface surface(painter, 96, 96, QApplication::font());
  surface.SetFont({.face = "Arial", .emHeight = 11});
  surface.DrawText(4, 4, "WINRUN", HAlign::kLeft, VAlign::kTop);
  const QFont font = painter.font();
  painter.end();
  EXPECT_GT(InkOfTheI(image, 4, font), 0) << font.toString().toStdString();
}

}  // namespace
}  // namespace velunorh

// Wine passes no QT_ variable on, so the platform is chosen here: the point is how the Windows
// platform draws, not the offscreen one.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "windows");
  QApplication app(argc, argv);
  velunorh::InstallProgramStyle();
  return RUN_ALL_TESTS();
}

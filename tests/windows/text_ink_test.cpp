// The program's texts as the Windows platform draws them. Run under Wine, whose fonts stand in for
// the Windows ones and are drawn without smoothing: there a thin stroke can be left without a
// pixel, the printer "WINRUN" reading "W NRUN".
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <algorithm>

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

// The ink where the label draws the I of "WINRUN" (left-aligned, as labels and messages are).
int InkOfTheI(QLabel& label) {
  label.adjustSize();
  const QImage image = label.grab().toImage();
  const QFontMetrics metrics(label.font());
  const int left = label.contentsRect().left() + label.margin();
  return InkBetween(image, left + metrics.horizontalAdvance(QStringLiteral("W")),
                    left + metrics.horizontalAdvance(QStringLiteral("WI")));
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

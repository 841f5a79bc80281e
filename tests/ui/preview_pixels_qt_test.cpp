// The previews as the screen shows them: rendered offscreen and read pixel by pixel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "base/today.h"
#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"
#include "ui/print/application_printer.h"

namespace velunorh {
namespace {

tools::Congregation OnePublisher() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Anna";
  p.familyName = "Kovács";
  p.id = 11;
  p.months[9].hours = 23;  // October
  c.current.publishers = {p};
  return c;
}

bool Dark(QRgb pixel) {
  return qGray(pixel) < 96;
}

// How many pixels of a row (or column) of the image are not dark.
int LightPixelsOnRow(const QImage& image, int y) {
  int light = 0;
  for (int x = 0; x < image.width(); ++x) light += !Dark(image.pixel(x, y));
  return light;
}
int LightPixelsOnColumn(const QImage& image, int x) {
  int light = 0;
  for (int y = 0; y < image.height(); ++y) light += !Dark(image.pixel(x, y));
  return light;
}

class PreviewPixelsTest : public ::testing::Test {
 protected:
  void SetUp() override { tools::WriteCongregation(OnePublisher(), dir_.path()); }

  static QImage Render(MainWindow& window, const char* pane) {
    auto* widget = window.findChild<PreviewPane*>(pane);
    EXPECT_NE(widget, nullptr);
    return widget ? widget->grab().toImage() : QImage();
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

// Each preview's frame stands whole inside its pane: no edge falls outside and is clipped.
TEST_F(PreviewPixelsTest, BothPreviewsShowAllFourEdgesOfTheirFrame) {
  auto window = main_.Open();
  for (const char* pane : {"headerPreview", "monthlyPreview"}) {
    SCOPED_TRACE(pane);
    const QImage image = Render(*window, pane);
    ASSERT_GT(image.width(), 2);
    ASSERT_GT(image.height(), 2);
    EXPECT_EQ(LightPixelsOnRow(image, 0), 0) << "top";
    EXPECT_EQ(LightPixelsOnRow(image, image.height() - 1), 0) << "bottom";
    EXPECT_EQ(LightPixelsOnColumn(image, 0), 0) << "left";
    EXPECT_EQ(LightPixelsOnColumn(image, image.width() - 1), 0) << "right";
    // Inside the frame the pane is white where nothing is drawn.
    EXPECT_EQ(image.pixel(1, image.height() - 2), qRgb(255, 255, 255));
  }
}

// The ledger's tick beside a printed month is drawn, not taken from a font (some fonts give a
// faint square-root sign, or nothing): after October is printed, the preview differs from the
// one before only by a dark tick, lowest at its left and highest at its right.
TEST_F(PreviewPixelsTest, APrintedMonthGetsADarkDrawnTick) {
  ScopedToday today{{2026, 11, 10}};
  auto window = main_.Open();
  window->findChild<QListWidget*>("publisherList")->setCurrentRow(0);
  // The same boxes ticked for both pictures: October alone.
  auto tickOctoberAlone = [&] {
    for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
      const bool october = box->objectName() == "monthBox1";
      if (box->isEnabled() && box->isChecked() != october)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
  };
  tickOctoberAlone();
  const QImage before = Render(*window, "monthlyPreview");
  test::PrintToPdfFile(dir_.path() / "october.pdf");
  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  ApplicationPrinter::Instance().Reset();
  ASSERT_TRUE(std::filesystem::exists(dir_.path() / "october.pdf"));
  tickOctoberAlone();
  const QImage after = Render(*window, "monthlyPreview");
  ASSERT_EQ(before.size(), after.size());

  QRect changed, ink;
  int darkest = 255;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) {
      if (before.pixel(x, y) == after.pixel(x, y)) continue;
      changed |= QRect(x, y, 1, 1);
      darkest = std::min(darkest, qGray(after.pixel(x, y)));
      if (Dark(after.pixel(x, y))) ink |= QRect(x, y, 1, 1);
    }
  ASSERT_FALSE(ink.isEmpty()) << "no dark mark appeared";
  EXPECT_LT(darkest, 64) << "the mark is faint";
  EXPECT_GE(ink.height(), 5);
  EXPECT_LE(changed.height(), after.height() / 14);  // within October's row
  // The tick's angle is its lowest ink, left of the middle; its long arm ends highest, at the
  // right.
  auto inkedColumns = [&](int y) {
    int left = ink.right(), right = ink.left();
    for (int x = ink.left(); x <= ink.right(); ++x)
      if (Dark(after.pixel(x, y))) left = std::min(left, x), right = std::max(right, x);
    return std::pair{left, right};
  };
  EXPECT_LE(inkedColumns(ink.bottom()).second, ink.center().x());
  EXPECT_GT(inkedColumns(ink.top()).first, ink.center().x());
}

}  // namespace
}  // namespace velunorh

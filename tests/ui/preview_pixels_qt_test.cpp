// The previews as the screen shows them: rendered offscreen and read pixel by pixel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"

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

}  // namespace
}  // namespace velunorh

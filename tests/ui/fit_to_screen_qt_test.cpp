// The main window on screens of a given size and font DPI. The offscreen platform takes its
// screen from a file when it starts, so each case runs this test program again with that file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "main_window_fixture.h"
#include "test_support.h"
#include "ui/preview_pane.h"

namespace velunorh {
namespace {

// Run by FitsEveryScreen in a program started on the screen of the case: every control lies
// inside the screen's available area and each month box beside its row of the monthly preview.
TEST(MainWindowOnItsScreen, DISABLED_EveryControlOnTheScreen) {
  test::TempDir dir;
  test::WriteFullHeaderPublisher(dir.path());
  test::MainWindowFixture fixture(dir.path());
  auto window = fixture.Open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));

  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->frameGeometry()))
      << window->frameGeometry().width() << "x" << window->frameGeometry().height();
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!control->isVisible()) continue;
    const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
    EXPECT_TRUE(screen.contains(global)) << control->objectName().toStdString();
  }
  auto* monthly = window->findChild<PreviewPane*>("monthlyPreview");
  const int rowHeight = monthly->height() / 14;
  for (int row = 0; row <= 12; ++row) {
    const QString name = row < 12 ? QString("monthBox%1").arg(row) : QString("totalBox");
    auto* box = window->findChild<QCheckBox*>(name);
    const int middle = box->geometry().center().y() - monthly->y();
    EXPECT_GE(middle, (row + 1) * rowHeight) << name.toStdString();
    EXPECT_LT(middle, (row + 2) * rowHeight) << name.toStdString();
    EXPECT_LT(box->x(), monthly->x() + monthly->width() + rowHeight) << name.toStdString();
  }
  std::printf("window %d %d\n", window->width(), window->height());
}

struct ScreenCase {
  int dpi, width, height;
  bool fitsAsGrown;  // the window at its grown size fits: it must keep that size
};

TEST(MainWindowFitTest, FitsEveryScreenAtEveryFontDpi) {
#ifdef _WIN32
  GTEST_SKIP() << "the offscreen platform's screen file is read by the Linux build";
#endif
  const ScreenCase cases[] = {
      {96, 1024, 768, true},   {120, 1024, 768, true}, {144, 1024, 768, false},
      {144, 1280, 1024, true}, {120, 1280, 800, true}, {144, 1366, 768, true},
  };
  test::TempDir dir;
  for (const ScreenCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " dpi on " + std::to_string(c.width) + "x" +
                 std::to_string(c.height));
    const std::filesystem::path config = dir.path() / "screen.json";
    std::ofstream(config) << "{\"screens\": [{\"name\": \"screen\", \"width\": " << c.width
                          << ", \"height\": " << c.height << ", \"logicalDpi\": " << c.dpi
                          << ", \"logicalBaseDpi\": 96}]}";
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM",
                       "offscreen:configfile=" + QString::fromStdString(config.string()));
    // The font grows with the DPI and the screen keeps its pixels, as a larger font setting does.
    environment.insert("QT_ENABLE_HIGHDPI_SCALING", "0");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_also_run_disabled_tests",
                 "--gtest_filter=MainWindowOnItsScreen.DISABLED_EveryControlOnTheScreen"});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    const QRegularExpressionMatch size = QRegularExpression(R"(window (\d+) (\d+))").match(output);
    ASSERT_TRUE(size.hasMatch()) << output.toStdString();
    const double growth = c.dpi / 96.0;
    if (c.fitsAsGrown) {
      EXPECT_NEAR(size.captured(1).toInt(), 720 * growth, 720 * growth * 0.05);
      EXPECT_NEAR(size.captured(2).toInt(), 434 * growth, 434 * growth * 0.05);
    } else {
      EXPECT_LT(size.captured(1).toInt(), 720 * growth * 0.95);
    }
  }
}

}  // namespace
}  // namespace velunorh

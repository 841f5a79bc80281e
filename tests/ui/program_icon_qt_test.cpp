#include "ui/program_icon.h"

#include <gtest/gtest.h>

#include <QLabel>

#include "main_window_fixture.h"
#include "test_support.h"
#include "ui/about_box.h"
#include "ui/main_window.h"

namespace velunorh {
namespace {

// The icon lives in the program's resources, which a static library can lose at link time.
TEST(ProgramIconTest, TheWindowAndTheAboutBoxShowTheProgramIcon) {
  ASSERT_FALSE(ProgramIcon().isNull());
  test::TempDir dir;
  test::MainWindowFixture main(dir.path());
  auto window = main.Make();
  EXPECT_FALSE(window->windowIcon().isNull());
  AboutBox about(window.get());
  EXPECT_FALSE(about.windowIcon().isNull());
  const QPixmap shown = about.findChild<QLabel*>("iconLabel")->pixmap();
  EXPECT_FALSE(shown.isNull());
  window->reject();
}

}  // namespace
}  // namespace velunorh

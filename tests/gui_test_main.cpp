#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The widgets run on Qt's offscreen platform unless the caller chose another one.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

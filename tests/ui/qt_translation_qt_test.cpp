// Qt's own texts (the buttons of message boxes, the print dialogs) come from Qt's Hungarian
// translation, which the program loads from Qt's translations folder: on Linux Debian's package
// puts it there, on Windows the qt.conf beside the program points at the copy installed with it.
// Without it those texts silently stay English.
#include <gtest/gtest.h>

#include <QLibraryInfo>
#include <QTranslator>

namespace velunorh {
namespace {

TEST(QtTranslation, TheHungarianQtTranslationIsWhereTheProgramLoadsIt) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  QTranslator translator;
  ASSERT_TRUE(translator.load("qtbase_hu", folder)) << folder.toStdString();
  EXPECT_EQ(translator.translate("QPlatformTheme", "Cancel"), QString::fromUtf8("Mégse"));
}

}  // namespace
}  // namespace velunorh

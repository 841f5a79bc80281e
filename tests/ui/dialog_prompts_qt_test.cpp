// The session's questions as the program's dialogs ask them: the wait for another running
// copy's lock on the print ledger.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "base/string_table.h"
#include "ui/dialog_prompts.h"
#include "ui/qt_text.h"

namespace velunorh {
namespace {

// Clicks the button named `text` of the open question as soon as one is open; `clicked` counts.
void ClickWhenOpen(const QString& text, int* clicked) {
  QTimer::singleShot(50, [text, clicked] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return ClickWhenOpen(text, clicked);
    for (QAbstractButton* button : box->buttons())
      if (button->text() == text) {
        ++*clicked;
        button->click();
      }
  });
}

TEST(WaitToSaveQuestion, GoesByItselfOnceTheLockIsFreeAndGivesUpOnlyAtCancel) {
  QWidget parent;
  DialogPrompts prompts(&parent, {}, [](const std::string& message) { ADD_FAILURE() << message; });
  bool free = false;
  int tries = 0;
  const auto tryAgain = [&] {
    ++tries;
    return free;
  };

  // Nobody clicks: it is tried in the background until the lock comes free.
  QTimer::singleShot(1200, [&] { free = true; });
  EXPECT_TRUE(prompts.WaitToSave("vár", tryAgain));
  EXPECT_GE(tries, 2);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // "Mentés újra" while the lock is held still leaves the question open; "Mégse" gives up.
  free = false;
  tries = 0;
  int again = 0, cancel = 0;
  ClickWhenOpen(Text(StringId::SaveAgainButton), &again);
  QTimer::singleShot(300, [&] { ClickWhenOpen(Text(StringId::CancelButton), &cancel); });
  EXPECT_FALSE(prompts.WaitToSave("vár", tryAgain));
  EXPECT_EQ(again, 1);
  EXPECT_EQ(cancel, 1);  // found the question open again after "Mentés újra"
  EXPECT_GE(tries, 1);
}

}  // namespace
}  // namespace velunorh

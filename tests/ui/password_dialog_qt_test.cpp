#include "ui/password_dialog.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "base/codepage.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"

namespace velunorh {
namespace {

// Types text key by key; characters outside ASCII go as single key events.
void TypeKeys(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 128) {
      QTest::keyClicks(widget, QString(c));
    } else {
      QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

QLineEdit* Entry(QWidget* dialog) {
  return dialog->findChild<QLineEdit*>("passwordEdit");
}
QString PromptLine(QWidget* dialog) {
  return dialog->findChild<QLabel*>("promptLabel")->text();
}

class PasswordDialogTest : public ::testing::Test {
 protected:
  void Open(const std::string& password) {
    prompt_ = std::make_unique<PasswordPrompt>(Utf8ToCodePage(password));
    dialog_ = std::make_unique<PasswordDialog>(*prompt_);
    dialog_->show();
    QApplication::processEvents();
  }

  std::unique_ptr<PasswordPrompt> prompt_;
  std::unique_ptr<PasswordDialog> dialog_;
};

TEST_F(PasswordDialogTest, AsksWithAMaskedEntryAndOnlyAnOkButton) {
  Open("titok");
  EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Jelszó kérés"));
  EXPECT_EQ(PromptLine(dialog_.get()), QString::fromUtf8("Add meg a Jelszót"));
  EXPECT_EQ(Entry(dialog_.get())->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Entry(dialog_.get())->maxLength(), 32767);  // Qt's own maximum: no limit of ours
  EXPECT_TRUE(Entry(dialog_.get())->hasFocus());
  auto buttons = dialog_->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), "OK");
  EXPECT_TRUE(buttons[0]->isDefault());
}

TEST_F(PasswordDialogTest, TheLastKeyOfThePasswordClosesIt) {
  Open("Jelszó");
  TypeKeys(Entry(dialog_.get()), QString::fromUtf8("Jelsz"));
  EXPECT_TRUE(dialog_->isVisible());
  TypeKeys(Entry(dialog_.get()), QString::fromUtf8("ó"));
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_TRUE(prompt_->accepted());
}

TEST_F(PasswordDialogTest, AfterOneFailureTheNextKeyCloses) {
  Open("titok");
  QTest::mouseClick(dialog_->findChild<QPushButton*>("okButton"), Qt::LeftButton);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(PromptLine(dialog_.get()), QString::fromUtf8("Bocsánat!"));
  EXPECT_EQ(dialog_->windowTitle(), QString::fromUtf8("Bocsánat!"));
  TypeKeys(Entry(dialog_.get()), "t");
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_FALSE(prompt_->accepted());
}

TEST_F(PasswordDialogTest, EnterIsTheOkAction) {
  Open("titok");
  QTest::keyClick(Entry(dialog_.get()), Qt::Key_Return);
  EXPECT_TRUE(dialog_->isVisible());
  QTest::keyClick(Entry(dialog_.get()), Qt::Key_Return);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_FALSE(prompt_->accepted());
}

TEST_F(PasswordDialogTest, EscapeClosesUnaccepted) {
  Open("titok");
  TypeKeys(Entry(dialog_.get()), "tit");
  QTest::keyClick(Entry(dialog_.get()), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_FALSE(prompt_->accepted());
}

TEST_F(PasswordDialogTest, APastedPasswordIsAcceptedWhateverItsLength) {
  Open("abcdefghijklmnop");  // 16 characters: typing them could never succeed
  QApplication::clipboard()->setText("abcdefghijklmnop");
  QTest::keyClick(Entry(dialog_.get()), Qt::Key_V, Qt::ControlModifier);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_TRUE(prompt_->accepted());
}

// The whole program: data written with a password opens only when it is typed.
class PasswordAtStartUpTest : public ::testing::Test {
 protected:
  void SetUp() override { main_.failOnWarning = true; }
  void Write(const std::string& password) {
    tools::Congregation c;
    c.current.password = password;
    tools::Publisher p;
    p.givenName = "Anna";
    p.familyName = "Kovács";
    p.id = 1;
    c.current.publishers = {p};
    tools::WriteCongregation(c, dir_.path());
  }

  // Nothing but the prompt is on screen, and the window's list is still empty.
  static void ExpectOnlyThePrompt(QWidget* prompt) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w != prompt) {
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
      }
      if (auto* list = w->findChild<QListWidget*>("publisherList")) {
        EXPECT_EQ(list->count(), 0);
      }
    }
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

TEST_F(PasswordAtStartUpTest, TheRightPasswordOpensTheWindow) {
  Write("Jelszó");
  test::ModalScript script({[](QWidget* prompt) {
    ExpectOnlyThePrompt(prompt);
    EXPECT_EQ(prompt->windowTitle(), QString::fromUtf8("Jelszó kérés"));
    // The window is not there yet: the prompt stands in the middle of the screen.
    const QPoint offset =
        prompt->frameGeometry().center() - prompt->screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    TypeKeys(Entry(prompt), QString::fromUtf8("Jelszó"));
  }});
  auto window = main_.Make();
  EXPECT_EQ(script.answered(), 1);
  ASSERT_FALSE(window->stopRequested());
  auto* list = window->findChild<QListWidget*>("publisherList");
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Kovács, Anna"));
}

TEST_F(PasswordAtStartUpTest, ARefusedPasswordEndsTheProgramWithoutWritingTheLayout) {
  Write("Jelszó");
  test::ModalScript script({[](QWidget* prompt) {
    QTest::keyClick(Entry(prompt), Qt::Key_Return);
    TypeKeys(Entry(prompt), "J");
  }});
  auto window = main_.Make();
  EXPECT_EQ(script.answered(), 1);
  EXPECT_TRUE(window->stopRequested());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(std::filesystem::exists(dir_ / "cplot.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "velunorh.INI"));
}

TEST_F(PasswordAtStartUpTest, DataWithoutAPasswordOpensWithoutAPrompt) {
  Write(" ");
  test::ModalScript script({});
  auto window = main_.Make();
  EXPECT_EQ(script.unexpected(), 0);
  EXPECT_FALSE(window->stopRequested());
  EXPECT_EQ(window->findChild<QListWidget*>("publisherList")->count(), 1);
}

}  // namespace
}  // namespace velunorh

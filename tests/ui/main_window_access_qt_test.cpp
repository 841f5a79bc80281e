// The main window for everyone: boxes ticked through the accessibility interface reach the
// print, the previews read out what they show, and a folder without data says so.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "card/card_layout.h"
#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "pdf_words.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/preview_pane.h"
#include "ui/print/application_printer.h"
#include "ui/up_down_arrows.h"

namespace velunorh {
namespace {

tools::Congregation OnePublisher() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Anna";
  p.familyName = "Kovács";
  p.homeAddress = "Fő utca 12.";
  p.id = 11;
  p.dateImmersed = "05141995";
  p.appointment = tools::Appointment::kElder;
  p.months[8].newForm = true;  // September
  p.months[8].hours = 11;
  p.months[9].newForm = true;  // October
  p.months[9].hours = 23;
  c.current.publishers = {p};
  c.remarks = {{10, 11, "szép hónap"}};
  return c;
}

class MainWindowAccessTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Open(bool withData) {
    if (withData) tools::WriteCongregation(OnePublisher(), dir_.path());
    return main_.Open();  // October reported
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

TEST_F(MainWindowAccessTest, AMonthBoxToggledByAnAssistiveToolIsPrinted) {
  auto window = Open(true);
  auto* october = window->findChild<QCheckBox*>("monthBox1");
  test::ToggleAccessibly(october);
  EXPECT_TRUE(october->isChecked());
  EXPECT_TRUE(window->session().selection().monthRow[1]);
  EXPECT_FALSE(window->session().selection().printHeader);  // as a click does

  test::PrintToPdfFile(dir_ / "card.pdf");
  QTest::mouseClick(window->findChild<QPushButton*>("printButton"), Qt::LeftButton);
  const auto pages = test::ReadPdfWords(dir_ / "card.pdf");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(test::FindWord(pages[0], "23"), nullptr);  // October's hours
  EXPECT_EQ(test::FindWord(pages[0], "11"), nullptr);  // September was not ticked
  // The next click unticks it, as the box shows.
  QTest::mouseClick(october, Qt::LeftButton, {}, QPoint(8, october->height() / 2));
  EXPECT_FALSE(window->session().selection().monthRow[1]);
}

TEST_F(MainWindowAccessTest, ThePreviewsReadOutTheCard) {
  auto window = Open(true);
  auto text = [&](const char* pane) {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(window->findChild<PreviewPane*>(pane));
    return accessible->text(QAccessible::Description);
  };
  const QString header = text("headerPreview");
  EXPECT_TRUE(header.contains(QString::fromUtf8("Kovács"))) << header.toStdString();
  EXPECT_TRUE(header.contains(QString::fromUtf8("Fő utca 12."))) << header.toStdString();
  EXPECT_TRUE(header.contains(QString::fromUtf8("vén"))) << header.toStdString();
  const QString months = text("monthlyPreview");
  EXPECT_TRUE(months.contains(QString::fromUtf8("Okt"))) << months.toStdString();
  EXPECT_TRUE(months.contains("23")) << months.toStdString();
  EXPECT_TRUE(months.contains(QString::fromUtf8("szép hónap"))) << months.toStdString();
  EXPECT_FALSE(window->findChild<QLabel*>("missingDataHint")->isVisible());
}

TEST_F(MainWindowAccessTest, AFolderWithoutDataNamesTheFolder) {
  auto window = Open(false);
  auto* hint = window->findChild<QLabel*>("missingDataHint");
  EXPECT_TRUE(hint->isVisible());
  EXPECT_TRUE(hint->text().contains(QString::fromStdString(dir_.path().filename().string())))
      << hint->text().toStdString();
  EXPECT_EQ(window->windowTitle().left(8), "Velunorh");  // the title keeps its form
}

// The hint's button asks for the folder of the data: the list fills from it at once, and the
// next start in a folder without data reads it again.
TEST_F(MainWindowAccessTest, TheHintsButtonReadsTheChosenFolderNowAndAtTheNextStart) {
  const auto data = dir_ / "Hírnökök adatai";
  std::filesystem::create_directories(data);
  tools::WriteCongregation(OnePublisher(), data);
  auto window = Open(false);
  auto* button = window->findChild<QPushButton*>("chooseFolderButton");
  ASSERT_TRUE(button->isVisible());
  {
    test::ModalScript script({[&](QWidget* dialog) {
      auto* files = qobject_cast<QFileDialog*>(dialog);
      ASSERT_NE(files, nullptr);
      EXPECT_EQ(files->objectName(), "dataFolderDialog");
      files->setDirectory(QString::fromStdString(dir_.path().string()));
      files->selectFile(QString::fromStdString(data.string()));
      static_cast<QDialog*>(files)->accept();
    }});
    button->click();
    EXPECT_EQ(script.answered(), 1);
  }
  auto* list = window->findChild<QListWidget*>("publisherList");
  EXPECT_EQ(list->count(), 1);
  EXPECT_FALSE(window->findChild<QLabel*>("missingDataHint")->isVisible());
  EXPECT_FALSE(button->isVisible());
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join('\n').toStdString();
  window->reject();
  window.reset();

  auto again = main_.Open();
  EXPECT_EQ(again->findChild<QListWidget*>("publisherList")->count(), 1);
}

// An assistive tool selects a line with the item's Toggle action, which moves the selection but
// not the current line: the chosen publisher must follow it all the same.
TEST_F(MainWindowAccessTest, ALineSelectedByAnAssistiveToolIsTheChosenPublisher) {
  tools::Congregation c = OnePublisher();
  tools::Publisher other = c.current.publishers[0];
  other.givenName = "Zoltán";
  other.familyName = "Zsoldos";
  other.id = 12;
  c.current.publishers.push_back(other);
  tools::WriteCongregation(c, dir_.path());
  auto window = Open(false);
  auto* list = window->findChild<QListWidget*>("publisherList");
  ASSERT_EQ(list->count(), 2);
  const int first = window->session().selection().selectedPublisher;

  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
  QAccessibleInterface* line = nullptr;
  for (int i = 0; i < accessible->childCount(); ++i)
    if (accessible->child(i)->text(QAccessible::Name).contains(QString::fromUtf8("Zsoldos")))
      line = accessible->child(i);
  ASSERT_NE(line, nullptr);
  ASSERT_NE(line->actionInterface(), nullptr);
  line->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  QApplication::processEvents();

  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_NE(window->session().selection().selectedPublisher, first);
  const QString header =
      QAccessible::queryAccessibleInterface(window->findChild<PreviewPane*>("headerPreview"))
          ->text(QAccessible::Description);
  EXPECT_TRUE(header.contains(QString::fromUtf8("Zsoldos"))) << header.toStdString();
}

// Names come from the files as typed: markup in them is shown, never interpreted, in the
// messages and in the hint that names a folder.
TEST_F(MainWindowAccessTest, MarkupInNamesIsShownAsTyped) {
  tools::Congregation c = OnePublisher();
  c.current.publishers[0].givenName = "<b>Éva</b> <";
  tools::WriteCongregation(c, dir_.path());
  main_.options.warn = nullptr;  // the window's own message boxes
  auto window = main_.Make();
  window->show();
  QString shown;
  Qt::TextFormat format = Qt::AutoText;
  test::WhenModal<QMessageBox>([&](QMessageBox& box) {
    shown = box.text();
    format = box.textFormat();
    box.accept();
  });
  window->ForgetCard();  // nothing printed yet: the message names the card
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_TRUE(shown.contains(QString::fromUtf8("<b>Éva</b> <"))) << shown.toStdString();
  window->reject();

#ifdef _WIN32
  const char* folderName = "a&amp;b";  // Windows names hold no "<"; an entity is markup too
#else
  const char* folderName = "a<b>c";
#endif
  std::filesystem::create_directories(dir_ / folderName);
  test::MainWindowFixture empty(dir_ / folderName);
  auto emptyWindow = empty.Make();
  auto* hint = emptyWindow->findChild<QLabel*>("missingDataHint");
  EXPECT_TRUE(hint->text().contains(folderName)) << hint->text().toStdString();
  EXPECT_EQ(hint->textFormat(), Qt::PlainText);
  emptyWindow->reject();
}

// The right-click menu opens from the keyboard, and while it is open a screen reader finds it
// among the program's windows with its commands.
TEST_F(MainWindowAccessTest, TheMenuOpensFromTheKeyboardAndIsReadable) {
  auto window = Open(true);
  test::ShowActive(*window);
  auto* list = window->findChild<QListWidget*>("publisherList");
  list->setFocus();
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  for (const Case& c : {Case{Qt::Key_F10, Qt::ShiftModifier}, Case{Qt::Key_Menu, {}}}) {
    SCOPED_TRACE(c.key);
    QStringList read;
    bool opened = false;
    QTimer::singleShot(50, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      opened = true;
      // Walked down from the application, as a screen reader walks the tree.
      std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        for (int i = 0; i < node->childCount(); ++i) {
          QAccessibleInterface* child = node->child(i);
          if (!child) continue;
          if (child->object() == menu) {
            EXPECT_EQ(child->role(), QAccessible::PopupMenu);
            EXPECT_EQ(node->indexOfChild(child), i);
            for (int k = 0; k < child->childCount(); ++k)
              read << child->child(k)->text(QAccessible::Name);
          } else {
            walk(child);
          }
        }
      };
      walk(QAccessible::queryAccessibleInterface(qApp));
      menu->close();
    });
    QTest::keyClick(list, c.key, c.modifiers);
    EXPECT_TRUE(opened);
    EXPECT_EQ(read.filter(QString::fromUtf8("Kártya újrakezdése")).size(), 1)
        << read.join('|').toStdString();
    EXPECT_EQ(read.filter(QString::fromUtf8("Velunorhről")).size(), 1)
        << read.join('|').toStdString();
  }
}

// The options dialog's grid values reach a screen reader with the arrows that step them.
TEST_F(MainWindowAccessTest, TheOptionsDialogsArrowsReadTheirValues) {
  OptionsValues values;
  MakeDefaultLayout(values.layout, 0);
  OptionsDialog::Services services;
  services.workFolder = dir_.path();
  services.showMessage = [](const QString&) {};
  OptionsDialog dialog(values, services);
  dialog.show();
  for (const char* name : {"bodyTopArrows", "bodyHeightArrows"}) {
    SCOPED_TRACE(name);
    auto* arrows = dialog.findChild<UpDownArrows*>(name);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(arrows);
    EXPECT_EQ(accessible->role(), QAccessible::SpinBox);
    EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty());
    const QString before = accessible->text(QAccessible::Value);
    EXPECT_FALSE(before.isEmpty());
    QTest::keyClick(arrows, Qt::Key_Up);
    EXPECT_NE(accessible->text(QAccessible::Value), before);
  }
}

// Each group box of the detailed settings is read by the title it shows, the inner grid group
// by its own title rather than the one around it.
TEST_F(MainWindowAccessTest, GroupBoxesAreReadByTheirOwnTitles) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  DetailedSettingsDialog dialog(layout, 0, [](const QString&) {});
  dialog.show();
  const struct {
    const char* box;
    const char* name;
  } cases[] = {{"bodyGroup", "Törzs"}, {"gridGroup", "Havi adatok beállítás"}};
  for (const auto& c : cases) {
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(dialog.findChild<QGroupBox*>(c.box));
    EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.box;
  }
}

}  // namespace
}  // namespace velunorh

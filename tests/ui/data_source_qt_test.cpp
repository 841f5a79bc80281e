#include "ui/data_source_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "base/string_table.h"
#include "main_window_fixture.h"
#include "publisher_fixtures.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"

namespace velunorh {
namespace {

using test::Publishers;
using test::WritePublisherFile;

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(name);
  EXPECT_NE(child, nullptr) << name;
  return child;
}

bool WarningShown(QWidget* dialog) {
  return Child<QLabel>(dialog, "warningLabel")->isVisible();
}

void Press(QWidget* dialog, const char* button) {
  QTest::mouseClick(Child<QAbstractButton>(dialog, button), Qt::LeftButton);
}

void Choose(QWidget* dialog, const char* radio) {
  Child<QRadioButton>(dialog, radio)->setChecked(true);
  Press(dialog, "okButton");
}

TEST(DataSourceDialog, ShowsThePresetAndTheWarningWhenAsked) {
  struct Case {
    int preset;
    bool warning;
  } cases[] = {{0, false}, {1, false}, {0, true}, {1, true}};
  for (const auto& c : cases) {
    DataSourceDialog dialog(c.preset, c.warning, "/no/such/floppy");
    dialog.show();
    EXPECT_EQ(Child<QRadioButton>(&dialog, "floppyRadio")->isChecked(), c.preset == 1);
    EXPECT_EQ(Child<QRadioButton>(&dialog, "currentRadio")->isChecked(), c.preset == 0);
    EXPECT_EQ(WarningShown(&dialog), c.warning);
  }
  DataSourceDialog dialog(0, true, "/no/such/floppy");
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Válassz helyet az adatforrásnak"));
  EXPECT_EQ(Child<QRadioButton>(&dialog, "floppyRadio")->text(),
            QString::fromUtf8("A:\\   (Első Floppy meghajtó)"));
  EXPECT_EQ(Child<QRadioButton>(&dialog, "currentRadio")->text(),
            QString::fromUtf8("Aktuális meghajtó és mappa"));
  EXPECT_EQ(Child<QLabel>(&dialog, "warningLabel")->text(),
            QString::fromUtf8("A meghajtó nem elérhető!!\nA floppy rendesen be lett helyezve?\n"
                              "Vagy válassz ki egy másik meghajtót!"));
  EXPECT_TRUE(Child<QPushButton>(&dialog, "okButton")->isDefault());
  EXPECT_EQ(Child<QPushButton>(&dialog, "cancelButton")->text(), QString::fromUtf8("Mégse"));
}

TEST(DataSourceDialog, OkTakesOnlyAUsableLocation) {
  test::TempDir dir;
  DataSourceDialog dialog(0, false, dir / "floppy");
  dialog.show();
  Choose(&dialog, "floppyRadio");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(WarningShown(&dialog));

  std::filesystem::create_directory(dir / "floppy");  // the disk is put in
  Choose(&dialog, "floppyRadio");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.choice(), 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "floppy"));

  DataSourceDialog back(1, true, dir / "missing");
  back.show();
  Choose(&back, "currentRadio");
  EXPECT_FALSE(back.isVisible());
  EXPECT_EQ(back.choice(), 0);
}

// The window with the real dialogs: two publishers in the working folder, drive A: a folder
// that a test may create.
class DataLocationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::Congregation c;
    c.current = Publishers({"Anna", "Béla"});
    tools::WriteCongregation(c, work_);
    main_.options.settingsFile = settingsFile_;
    main_.options.floppyFolder = floppy_;
    main_.failOnWarning = true;
  }

  QStringList ListTexts(MainWindow& window) {
    QStringList texts;
    auto* list = window.findChild<QListWidget*>("publisherList");
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }

  test::TempDir dir_;
  std::filesystem::path work_ = dir_ / "work";
  std::filesystem::path floppy_ = dir_ / "floppy";
  std::filesystem::path settingsFile_ = dir_ / "velunorh.INI";
  test::MainWindowFixture main_{work_};
};

TEST_F(DataLocationTest, DriveAUnusableAtStartUpAndCancelled) {
  test::WriteText(settingsFile_, "[Data Location]\nDrive=1\n");
  test::ModalScript script({[](QWidget* dialog) {
    EXPECT_TRUE(WarningShown(dialog));
    EXPECT_TRUE(Child<QRadioButton>(dialog, "floppyRadio")->isChecked());
    Press(dialog, "cancelButton");
  }});
  auto window = main_.Make();
  EXPECT_EQ(script.answered(), 1);
  EXPECT_TRUE(window->stopRequested());
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(std::filesystem::exists(work_ / "cplot.dat"));
  EXPECT_EQ(test::ReadText(settingsFile_), "[Data Location]\nDrive=1\n");
}

TEST_F(DataLocationTest, DriveAUnusableAtStartUpAndTheWorkingFolderChosen) {
  test::WriteText(settingsFile_, "[Data Location]\nDrive=1\n");
  test::ModalScript script({[](QWidget* dialog) { Choose(dialog, "currentRadio"); }});
  auto window = main_.Make();
  ASSERT_FALSE(window->stopRequested());
  EXPECT_EQ(ListTexts(*window), (QStringList{"Kiss, Anna", QString::fromUtf8("Kiss, Béla")}));
  EXPECT_TRUE(window->session().settingsChanged());
  window->reject();
  EXPECT_NE(test::ReadText(settingsFile_).find("Drive=0"), std::string::npos);
}

TEST_F(DataLocationTest, ANewLocationIsSavedEvenWhenThePasswordIsThenRefused) {
  test::WriteText(settingsFile_, "[Data Location]\nDrive=1\n");
  tools::Congregation c;
  c.current = Publishers({"Anna"}, "titok");
  tools::WriteCongregation(c, work_);
  test::ModalScript script({[](QWidget* dialog) { Choose(dialog, "currentRadio"); },
                            [](QWidget* prompt) { QTest::keyClick(prompt, Qt::Key_Escape); }});
  auto window = main_.Make();
  EXPECT_EQ(script.answered(), 2);
  EXPECT_TRUE(window->stopRequested());
  EXPECT_NE(test::ReadText(settingsFile_).find("Drive=0"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(work_ / "cplot.dat"));
}

TEST_F(DataLocationTest, ChangeDataSourceAsksBeforeReplacingAndChecksThePassword) {
  auto window = main_.Make();
  WritePublisherFile(floppy_, Publishers({"Csaba", "Dóra", "Ede"}, "titok"));
  {
    test::ModalScript script(
        {[](QWidget* dialog) {
           EXPECT_FALSE(WarningShown(dialog));
           EXPECT_TRUE(Child<QRadioButton>(dialog, "currentRadio")->isChecked());
           Choose(dialog, "floppyRadio");
         },
         [](QWidget* question) {
           auto* box = qobject_cast<QMessageBox*>(question);
           ASSERT_NE(box, nullptr);
           EXPECT_EQ(box->text().toStdString(), LoadString(StringId::DataSourceHasPublishers));
           box->button(QMessageBox::Ok)->click();
         },
         [](QWidget* prompt) {
           QTest::keyClicks(prompt->findChild<QLineEdit*>("passwordEdit"), "titok");
         }});
    window->ChangeDataSource();
    EXPECT_EQ(script.answered(), 3);
  }
  EXPECT_EQ(ListTexts(*window),
            (QStringList{"Kiss, Csaba", QString::fromUtf8("Kiss, Dóra"), "Kiss, Ede"}));
  EXPECT_EQ(window->session().settings().dataLocation, 1);
  EXPECT_TRUE(window->session().settingsChanged());

  {
    test::ModalScript script(
        {[](QWidget* dialog) { Choose(dialog, "currentRadio"); },
         [](QWidget* question) {
           qobject_cast<QMessageBox*>(question)->button(QMessageBox::Cancel)->click();
         }});
    window->ChangeDataSource();
    EXPECT_EQ(script.answered(), 2);
    EXPECT_EQ(script.unexpected(), 0);
  }
  EXPECT_EQ(window->session().settings().dataLocation, 1);
  EXPECT_EQ(ListTexts(*window).size(), 3);
}

// A folder without the publisher file leaves the list as it was. The empty-folder hint stands
// over the list only while it is empty, on every path that fills it: here a switch made while an
// empty group is listed, "Opciók" closed, and the next group.
TEST_F(DataLocationTest, TheEmptyFolderHintStandsOnlyOverAnEmptyList) {
  auto window = main_.Open();
  auto* hint = window->findChild<QLabel*>("missingDataHint");
  auto* groupButton = window->findChild<QPushButton*>("groupButton");
  QTest::mouseClick(groupButton, Qt::LeftButton);  // the regular pioneers: nobody here
  ASSERT_TRUE(ListTexts(*window).isEmpty());
  EXPECT_FALSE(hint->isVisible());  // the folder holds the file: the group is merely empty

  std::filesystem::create_directories(floppy_);
  {
    test::ModalScript script({[](QWidget* dialog) { Choose(dialog, "floppyRadio"); }});
    window->ChangeDataSource();  // "Adatforrás" in "Opciók"
    EXPECT_EQ(script.answered(), 1);
  }
  window->ApplyOptions(std::nullopt);  // "Opciók" closed
  EXPECT_TRUE(ListTexts(*window).isEmpty());
  EXPECT_TRUE(hint->isVisible());

  // The next groups, until one lists somebody.
  for (int press = 0; press < 3 && ListTexts(*window).isEmpty(); ++press) {
    QTest::mouseClick(groupButton, Qt::LeftButton);
    EXPECT_EQ(hint->isVisible(), ListTexts(*window).isEmpty()) << "press " << press;
  }
  EXPECT_FALSE(ListTexts(*window).isEmpty());
  EXPECT_FALSE(hint->isVisible());
}

}  // namespace
}  // namespace velunorh

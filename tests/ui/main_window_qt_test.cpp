#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "base/text_number.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/type_ahead_list.h"

namespace velunorh {
namespace {

using tools::Appointment;
using tools::Pioneer;
using tools::Sex;

tools::Publisher MakePublisher(const std::string& given, const std::string& family,
                               std::uint16_t id, bool baptized) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.dateImmersed = baptized ? "05141995" : "";
  p.dateOfBirth = "03021970";
  return p;
}

// Four publishers, one of each group, with October 2026 as the month before "today".
tools::Congregation FourPublishers() {
  tools::Congregation c;
  auto pioneer = MakePublisher("Anna", "Kovács", 11, true);
  pioneer.months[9].pioneer = Pioneer::kRegular;
  pioneer.sex = Sex::kFemale;
  auto elder = MakePublisher("Béla", "Szabó", 12, true);
  elder.appointment = Appointment::kElder;
  elder.sex = Sex::kMale;
  elder.extensionIndex = 1;
  auto student = MakePublisher("Csaba", "Tóth", 13, false);
  auto auxiliary = MakePublisher("Dóra", "Nagy", 14, true);
  auxiliary.months[9].pioneer = Pioneer::kAuxiliary;
  c.current.publishers = {pioneer, elder, student, auxiliary};
  c.extensions = {{1, 12, "Szabó Béla Dénes Ferenc György", "", ""}};
  return c;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { tools::WriteCongregation(FourPublishers(), dir_.path()); }

  std::unique_ptr<MainWindow> Open(int year = 2026, int month = 11) {
    main_.options.today = ServiceYear::FromDate(year, month);
    return main_.Open();
  }

  template <typename T>
  T* Find(MainWindow& window, const char* name) {
    return window.findChild<T*>(name);
  }
  QStringList ListTexts(MainWindow& window) {
    QStringList texts;
    auto* list = Find<QListWidget>(window, "publisherList");
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
  }
  void Click(MainWindow& window, const char* name) {
    auto* button = Find<QAbstractButton>(window, name);
    if (auto* box = qobject_cast<QCheckBox*>(button))
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    else
      QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
  }
  bool Checked(MainWindow& window, const char* name) {
    return Find<QCheckBox>(window, name)->isChecked();
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
};

// The companion program writes a remark while the window is open: the previews show it once they
// are painted again, and painting alone never changes what a print would put on the card.
TEST_F(MainWindowTest, ARemarkTheCompanionProgramWritesShowsAfterTheNextRepaint) {
  tools::Congregation c = FourPublishers();
  c.remarks = {{9, 11, "első szöveg"}};  // Anna's September
  tools::WriteCongregation(c, dir_.path());
  auto window = Open();
  ASSERT_NE(window->session().Content().displayName.find("Anna"), std::string::npos);
  EXPECT_EQ(window->session().Content().rows[0].remark, "első szöveg");

  c.remarks = {{9, 11, "más szöveg!"}};
  tools::WriteCongregation(c, dir_.path());
  const auto file = dir_ / "remark7.dat";
  std::filesystem::last_write_time(
      file, std::filesystem::last_write_time(file) + std::chrono::seconds(1));
  EXPECT_EQ(window->session().Content().rows[0].remark, "első szöveg");
  Find<QWidget>(*window, "monthlyPreview")->repaint();
  QApplication::processEvents();
  EXPECT_EQ(window->session().Content().rows[0].remark, "más szöveg!");
}

TEST_F(MainWindowTest, StartsWithDefaultsAndLeavesWritingOnlyTheLayout) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(),
            QString::fromUtf8("Velunorh - S-21-H   10/15   Printed in Germany"));
  EXPECT_EQ(ListTexts(*window),
            (QStringList{QString::fromUtf8("Kovács, Anna"), QString::fromUtf8("Szabó, Béla"),
                         QString::fromUtf8("Tóth, Csaba"), QString::fromUtf8("Nagy, Dóra")}));
  EXPECT_EQ(window->session().selection().selectedPublisher, 1);
  EXPECT_TRUE(Checked(*window, "fullNameBox"));
  EXPECT_TRUE(Checked(*window, "printHeaderBox"));
  EXPECT_FALSE(Checked(*window, "genderMarksBox"));
  EXPECT_FALSE(Checked(*window, "lastNameFirstBox"));
  const AppSettings& s = window->session().settings();
  EXPECT_EQ(s.dateFormat, 0);
  EXPECT_EQ(s.cardVersion, 0);
  EXPECT_EQ(s.topMargin, "0.00");
  EXPECT_EQ(s.leftMargin, "0.20");
  EXPECT_EQ(s.dataLocation, 0);

  Click(*window, "doneButton");
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(std::filesystem::exists(main_.options.settingsFile));
  EXPECT_EQ(std::filesystem::file_size(dir_ / "cplot.dat"), 400u);
  EXPECT_TRUE(main_.warnings.isEmpty());
}

TEST_F(MainWindowTest, StoredValuesAreReadAndAnUnknownCardVersionFallsBack) {
  test::WriteText(main_.options.settingsFile, "[Format]\nCard Version=7\nLast Name First=257\n");
  auto window = Open();
  EXPECT_EQ(window->session().settings().cardVersion, 0);
  EXPECT_TRUE(Checked(*window, "lastNameFirstBox"));
}

TEST_F(MainWindowTest, SettingsAreWrittenAtExitOnlyWhenChanged) {
  auto window = Open();
  Click(*window, "lastNameFirstBox");
  EXPECT_TRUE(window->session().settingsChanged());
  window->reject();
  std::string written = test::ReadText(main_.options.settingsFile);
  EXPECT_NE(written.find("Last Name First=1"), std::string::npos) << written;
  EXPECT_NE(written.find("Card Version=0"), std::string::npos) << written;
}

TEST_F(MainWindowTest, FailedSavesAtExitNameTheFile) {
  std::filesystem::create_directory(dir_ / "cplot.dat");  // no file can replace a folder
  main_.options.settingsFile = dir_ / "missing-folder" / "velunorh.INI";
  auto window = Open();
  Click(*window, "lastNameFirstBox");
  window->reject();
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains("velunorh.INI")) << main_.warnings[0].toStdString();
  // Something there in the layout file's place that could not be read is kept, and told in the
  // same message even without edits: the cards of this run printed at the default positions.
  EXPECT_TRUE(main_.warnings[0].contains("cplot.dat")) << main_.warnings[0].toStdString();
  EXPECT_TRUE(main_.warnings[0].contains("ez egy mappa")) << main_.warnings[0].toStdString();

  main_.warnings.clear();
  auto edited = Open();
  OptionsValues changed = edited->session().Options();
  changed.layout.SetBody(BodyValue::BodyTop, "1.31");
  edited->ApplyOptions(changed);
  edited->reject();
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains("cplot.dat")) << main_.warnings[0].toStdString();
}

TEST_F(MainWindowTest, GroupButtonCyclesThroughTheFourGroups) {
  auto window = Open();
  struct Step {
    const char* caption;
    QStringList names;
  } steps[] = {
      {"Általános Úttörők", {"Kovács, Anna"}},
      {"Keresztelt Hírnőkök", {"Szabó, Béla", "Nagy, Dóra"}},
      {"Kereszteltlen Hírnőkök", {"Tóth, Csaba"}},
      {"Összes Hírnőkök", {"Kovács, Anna", "Szabó, Béla", "Tóth, Csaba", "Nagy, Dóra"}},
  };
  EXPECT_EQ(Find<QPushButton>(*window, "groupButton")->text(),
            QString::fromUtf8("Összes Hírnőkök"));
  for (const auto& step : steps) {
    Click(*window, "groupButton");
    EXPECT_EQ(Find<QPushButton>(*window, "groupButton")->text(), QString::fromUtf8(step.caption));
    QStringList expected;
    for (const auto& n : step.names) expected << QString::fromUtf8(n.toUtf8());
    EXPECT_EQ(ListTexts(*window), expected) << step.caption;
    EXPECT_TRUE(Find<QListWidget>(*window, "publisherList")->hasFocus());
  }
}

TEST_F(MainWindowTest, MonthBoxesFollowTheDate) {
  struct Case {
    int month;  // of today's date
    int enabledRows;
    bool totalEnabled;
  } cases[] = {{9, 12, true}, {10, 1, false}, {1, 4, false}, {12, 3, false}};
  for (const auto& c : cases) {
    auto window = Open(2026, c.month);
    for (int row = 0; row < 12; ++row) {
      auto name = "monthBox" + std::to_string(row);
      EXPECT_EQ(Find<QCheckBox>(*window, name.c_str())->isEnabled(), row < c.enabledRows)
          << "month " << c.month << " row " << row;
    }
    EXPECT_EQ(Find<QCheckBox>(*window, "totalBox")->isEnabled(), c.totalEnabled) << c.month;
  }
}

TEST_F(MainWindowTest, PreviousYearEnablesRowsByTheYearMarks) {
  auto congregation = FourPublishers();
  congregation.previous.emplace();
  congregation.previous->publishers = congregation.current.publishers;
  congregation.previous->yearMarks = {25, 25, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  tools::WriteCongregation(congregation, dir_.path());
  auto window = Open(2026, 12);  // ReportMonth November: three rows of the running year
  Click(*window, "previousYearBox");
  for (int row = 0; row < 12; ++row) {
    auto name = "monthBox" + std::to_string(row);
    bool expected = row >= 3 || row < 2;  // marks of rows 0 and 1 are 25 = 2026 - 1
    EXPECT_EQ(Find<QCheckBox>(*window, name.c_str())->isEnabled(), expected) << row;
  }
  EXPECT_FALSE(Find<QCheckBox>(*window, "totalBox")->isEnabled());
}

TEST_F(MainWindowTest, MonthBoxUnchecksTheHeaderAndTheHeaderResetsTheGenderMarks) {
  auto window = Open(2026, 9);
  Click(*window, "genderMarksBox");
  EXPECT_TRUE(Checked(*window, "genderMarksBox"));
  Click(*window, "monthBox3");
  EXPECT_TRUE(Checked(*window, "monthBox3"));
  EXPECT_FALSE(Checked(*window, "printHeaderBox"));
  EXPECT_TRUE(Checked(*window, "genderMarksBox"));  // keeps its state
  Click(*window, "printHeaderBox");
  EXPECT_TRUE(Checked(*window, "printHeaderBox"));
  EXPECT_FALSE(Checked(*window, "genderMarksBox"));
  EXPECT_TRUE(Find<QCheckBox>(*window, "genderMarksBox")->isEnabled());
  Click(*window, "printHeaderBox");
  EXPECT_FALSE(Find<QCheckBox>(*window, "genderMarksBox")->isEnabled());
}

TEST_F(MainWindowTest, HeaderPreviewKeepsTheNameAndShowsTheBoxesItNeeds) {
  auto window = Open();
  auto* list = Find<QListWidget>(*window, "publisherList");
  list->setCurrentRow(1);  // Szabó Béla, with a full name in the extension file
  window->repaint();
  QApplication::processEvents();
  EXPECT_EQ(window->session().Content().displayName, "Szabó Béla Dénes Ferenc György");
  EXPECT_TRUE(Find<QCheckBox>(*window, "fullNameBox")->isVisible());
  EXPECT_FALSE(Find<QCheckBox>(*window, "lastNameFirstBox")->isVisible());
  EXPECT_TRUE(Find<QCheckBox>(*window, "genderMarksBox")->isVisible());

  Click(*window, "fullNameBox");
  window->repaint();
  EXPECT_EQ(window->session().Content().displayName, "Béla Szabó");
  EXPECT_TRUE(Find<QCheckBox>(*window, "lastNameFirstBox")->isVisible());

  list->setCurrentRow(2);  // Tóth Csaba: no extension, no sex
  window->repaint();
  EXPECT_TRUE(Checked(*window, "fullNameBox"));
  EXPECT_EQ(window->session().Content().displayName, "Csaba Tóth");
  EXPECT_FALSE(Find<QCheckBox>(*window, "fullNameBox")->isVisible());
  EXPECT_FALSE(Find<QCheckBox>(*window, "genderMarksBox")->isVisible());
}

TEST_F(MainWindowTest, TypingLettersSelectsByPrefix) {
  auto window = Open();
  auto* list = Find<TypeAheadList>(*window, "publisherList");
  list->setFocus();
  QTest::keyClicks(list, "t");
  EXPECT_EQ(window->session().selection().selectedPublisher, 3);
  QTest::keyClicks(list, "n");  // no "tn": starts again at "n"
  EXPECT_EQ(window->session().selection().selectedPublisher, 4);
  QTest::keyClicks(list, "x");
  EXPECT_EQ(window->session().selection().selectedPublisher, 4);
  EXPECT_EQ(list->typeAhead().prefix(), "");
  QTest::keyClick(list, Qt::Key_Up);  // arrows keep the list's own behaviour
  EXPECT_EQ(window->session().selection().selectedPublisher, 3);
}

TEST_F(MainWindowTest, EnterPrintsAndNeverCloses) {
  auto window = Open();
  Find<QListWidget>(*window, "publisherList")->setFocus();
  QTest::keyClick(window.get(), Qt::Key_Return);
  EXPECT_TRUE(window->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace velunorh

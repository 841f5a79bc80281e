#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"

namespace velunorh {
namespace {

using test::ControlByName;

// The options command: the window takes the dialog's values over on OK only.
class MainWindowOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::Congregation congregation;
    for (std::uint16_t id : {11, 12, 13}) {
      tools::Publisher p;
      p.givenName = "Anna" + std::to_string(id);
      p.familyName = "Kovács";
      p.id = id;
      congregation.current.publishers.push_back(p);
    }
    tools::WriteCongregation(congregation, dir_.path());
    window_ = main_.Open();
    window_->findChild<QListWidget*>("publisherList")->setCurrentRow(2);
  }

  // Opens the options, picks date format 2 and card version 1, and leaves with the button named
  // `closeButton`.
  void ChangeOptionsAndLeaveWith(const char* closeButton) {
    test::WhenModal<OptionsDialog>([closeButton](OptionsDialog& dialog) {
      test::Click(ControlByName<QRadioButton>(&dialog, "dateFormat2"));
      ControlByName<QListWidget>(&dialog, "cardVersionList")->setCurrentRow(1);
      test::Click(ControlByName<QPushButton>(&dialog, closeButton));
    });
    test::Click(window_->findChild<QPushButton*>("optionsButton"));
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowOptionsTest, OkTakesTheValuesOver) {
  ChangeOptionsAndLeaveWith("okButton");
  const Session& session = window_->session();
  EXPECT_EQ(session.settings().dateFormat, 2);
  EXPECT_EQ(session.settings().cardVersion, 1);
  EXPECT_TRUE(session.settingsChanged());
  EXPECT_FALSE(session.newForm());
  CardLayout version1;
  MakeDefaultLayout(version1, 1);
  EXPECT_EQ(session.layout(), version1);
  EXPECT_EQ(window_->windowTitle(),
            QString::fromUtf8("Velunorh - S-21-H  Hu  4/05  Printed in Germany"));
  EXPECT_EQ(session.selection().selectedPublisher, 1);  // the list was filled again
  EXPECT_TRUE(main_.warnings.isEmpty());
}

TEST_F(MainWindowOptionsTest, CancelKeepsTheWindowsValues) {
  const CardLayout before = window_->session().layout();
  ChangeOptionsAndLeaveWith("cancelButton");
  const Session& session = window_->session();
  EXPECT_EQ(session.settings().dateFormat, 0);
  EXPECT_EQ(session.settings().cardVersion, 0);
  EXPECT_FALSE(session.settingsChanged());
  EXPECT_EQ(session.layout(), before);
  EXPECT_EQ(window_->windowTitle(),
            QString::fromUtf8("Velunorh - S-21-H   10/15   Printed in Germany"));
  EXPECT_EQ(session.selection().selectedPublisher, 3);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "cplot.dat"));  // written by the version switch
}

}  // namespace
}  // namespace velunorh

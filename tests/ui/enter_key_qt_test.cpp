#include "ui/enter_key.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "card/card_layout.h"
#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/data_source_dialog.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"

namespace velunorh {
namespace {

std::unique_ptr<QDialog> MakeOptions() {
  OptionsValues values;
  values.topMargin = "0.10";
  values.leftMargin = "0.20";
  MakeDefaultLayout(values.layout, 0);
  OptionsDialog::Services services;
  services.showMessage = [](const QString&) {};
  services.changeDataSource = [] {};
  return std::make_unique<OptionsDialog>(values, services);
}

std::unique_ptr<QDialog> MakeDetailed() {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  return std::make_unique<DetailedSettingsDialog>(layout, 0, [](const QString&) {});
}

std::unique_ptr<QDialog> MakeDataSource() {
  return std::make_unique<DataSourceDialog>(0, false, std::filesystem::temp_directory_path());
}

struct EnterCase {
  const char* window;
  std::function<std::unique_ptr<QDialog>()> make;
  const char* focused;  // a push button, or another control
  int result;
};

// Enter on a focused button presses that button, whatever the default button is; on any other
// control it presses the default button.
TEST(EnterKeyTest, PressesTheFocusedButtonOrElseTheDefault) {
  const EnterCase cases[] = {
      {"options", MakeOptions, "cancelButton", QDialog::Rejected},
      {"options", MakeOptions, "okButton", QDialog::Accepted},
      {"options", MakeOptions, "cardVersionList", QDialog::Accepted},
      {"detailed settings", MakeDetailed, "cancelButton", QDialog::Rejected},
      {"detailed settings", MakeDetailed, "okButton", QDialog::Accepted},
      {"data source", MakeDataSource, "cancelButton", QDialog::Rejected},
      {"data source", MakeDataSource, "okButton", QDialog::Accepted},
  };
  for (const EnterCase& c : cases) {
    SCOPED_TRACE(std::string(c.window) + ", focus on " + c.focused);
    std::unique_ptr<QDialog> dialog = c.make();
    test::ShowActive(*dialog);
    auto* focused = test::ControlByName<QWidget>(dialog.get(), c.focused);
    ASSERT_TRUE(focused);
    focused->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), c.result);
  }
}

// In the main window the default button prints: Enter on another button must run that button
// and print nothing.
TEST(EnterKeyTest, MainWindowButtonsDoNotPrint) {
  test::TempDir dir;
  tools::Congregation congregation;
  tools::Publisher publisher;
  publisher.givenName = "Anna";
  publisher.familyName = "Kovács";
  publisher.id = 11;
  publisher.dateOfBirth = "03021970";
  congregation.current.publishers = {publisher};
  tools::WriteCongregation(congregation, dir.path());
  test::MainWindowFixture main(dir.path());
  auto window = main.Make();
  test::ShowActive(*window);
  bool printed = false;
  QObject::connect(test::ControlByName<QPushButton>(window.get(), "printButton"),
                   &QPushButton::clicked, [&] { printed = true; });

  auto* group = test::ControlByName<QPushButton>(window.get(), "groupButton");
  const QString caption = group->text();
  group->setFocus(Qt::TabFocusReason);
  QTest::keyClick(group, Qt::Key_Return);
  EXPECT_NE(group->text(), caption);

  auto* due = test::ControlByName<QPushButton>(window.get(), "dueButton");
  due->setFocus(Qt::TabFocusReason);
  QTest::keyClick(due, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(printed);
  EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace velunorh

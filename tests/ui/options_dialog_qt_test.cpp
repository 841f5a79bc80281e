#include "ui/options_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "test_support.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/print/application_printer.h"
#include "ui/up_down_arrows.h"

namespace velunorh {
namespace {

using test::ControlByName;

const QString kMarginMessage = QString::fromUtf8(
    "Ad meg a margó értékét számmal 2 tizedes pontossággal.\nPéldául:  1.00  1.25   0.88\n"
    "Maximális érték: 9.99");

class OptionsDialogTest : public ::testing::Test {
 protected:
  // A dialog on the first card version's defaults, unless the values say otherwise.
  std::unique_ptr<OptionsDialog> Open(OptionsValues values = DefaultValues(0)) {
    OptionsDialog::Services services;
    services.workFolder = dir_.path();
    services.showMessage = [this](const QString& text) { messages_ << text; };
    services.changeDataSource = [this] { ++dataSourceRuns_; };
    auto dialog = std::make_unique<OptionsDialog>(values, services);
    test::ShowActive(*dialog);
    return dialog;
  }
  static OptionsValues DefaultValues(int version) {
    OptionsValues values;
    values.cardVersion = version;
    values.topMargin = "0.10";
    values.leftMargin = "0.20";
    MakeDefaultLayout(values.layout, version);
    return values;
  }
  static QString Display(OptionsDialog& dialog, const char* name) {
    return dialog.findChild<QLabel*>(name)->text();
  }
  static QListWidget* VersionList(OptionsDialog& dialog) {
    return ControlByName<QListWidget>(&dialog, "cardVersionList");
  }

  test::TempDir dir_;
  QStringList messages_;
  int dataSourceRuns_ = 0;
};

TEST_F(OptionsDialogTest, ControlsCarryTheirTexts) {
  auto dialog = Open();
  EXPECT_TRUE(dialog->windowTitle().isEmpty());
  struct Case {
    const char* name;
    const char* text;
  } buttons[] = {
      {"dateFormat0", "01/31/02 "},
      {"dateFormat1", "31/01/02  "},
      {"dateFormat2", "2002. Jan. 02."},
      {"dateFormat3", "2002-01-02"},
      {"resetGridButton", "Visszaállítás az alapértelmezett értékekre"},
      {"detailedButton", "Részletes beállítás"},
      {"dataSourceButton", "Adat forrás"},
      {"printerSetupButton", "Nyomtató &Beállítás"},
      {"cancelButton", "Mégse"},
      {"okButton", "OK"},
  };
  for (const auto& c : buttons)
    EXPECT_EQ(ControlByName<QAbstractButton>(dialog.get(), c.name)->text(),
              QString::fromUtf8(c.text));
  QStringList groups;
  for (auto* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
  groups.sort();
  EXPECT_EQ(groups,
            (QStringList{QString::fromUtf8(" Dátum Formátum "), QString::fromUtf8(" Margók "),
                         QString::fromUtf8(" Törzs (Havi adatok) ")}));
  EXPECT_TRUE(ControlByName<QPushButton>(dialog.get(), "okButton")->isDefault());
  EXPECT_EQ(ControlByName<QLineEdit>(dialog.get(), "topMarginEdit")->text(), "0.10");
  EXPECT_EQ(ControlByName<QLineEdit>(dialog.get(), "leftMarginEdit")->text(), "0.20");
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.30");
  EXPECT_EQ(Display(*dialog, "bodyHeightDisplay"), "2.16");
}

TEST_F(OptionsDialogTest, MarginsAreCheckedWhenLeft) {
  struct Case {
    bool top;  // the top margin's field, else the left one's
    const char* typed;
    const char* shown;  // and kept
    bool rejected;
  } cases[] = {
      {true, "12.5", "0.10", true}, {true, ".5", "0.50", false},   {true, " 2 ", "2.00", false},
      {false, "1,5", "0.20", true}, {false, "125", "1.25", false},
  };
  for (const auto& c : cases) {
    auto dialog = Open();
    messages_.clear();
    auto* field =
        ControlByName<QLineEdit>(dialog.get(), c.top ? "topMarginEdit" : "leftMarginEdit");
    test::TypeAndTab(field, c.typed);
    QApplication::processEvents();
    EXPECT_EQ(field->text(), c.shown) << c.typed;
    EXPECT_EQ(messages_, c.rejected ? QStringList{kMarginMessage} : QStringList{}) << c.typed;
    dialog->accept();
    const OptionsValues& v = dialog->values();
    EXPECT_EQ(c.top ? v.topMargin : v.leftMargin, c.shown) << c.typed;
  }
}

TEST_F(OptionsDialogTest, EnterChecksTheMarginBeingTyped) {
  auto dialog = Open();
  auto* field = ControlByName<QLineEdit>(dialog.get(), "topMarginEdit");
  field->setFocus();
  QTest::keyClicks(field, "x");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(field->text(), "0.10");
  EXPECT_TRUE(field->hasFocus());

  field->selectAll();
  QTest::keyClicks(field, ".7");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->values().topMargin, "0.70");
}

TEST_F(OptionsDialogTest, GridStepsStayInsideTheirLimits) {
  struct Case {
    BodyValue value;
    const char* start;
    Qt::Key key;
    const char* expected;
  } cases[] = {
      {BodyValue::BodyTop, "1.50", Qt::Key_Up, "1.50"},
      {BodyValue::BodyTop, "1.50", Qt::Key_Down, "1.49"},
      {BodyValue::BodyTop, "1.00", Qt::Key_Down, "1.00"},
      {BodyValue::BodyTop, "0.50", Qt::Key_Down, "0.50"},
      {BodyValue::BodyTop, "0.50", Qt::Key_Up, "0.51"},
      {BodyValue::BodyHeight, "2.16", Qt::Key_Up, "2.17"},
      {BodyValue::BodyHeight, "2.20", Qt::Key_Up, "2.20"},
      {BodyValue::BodyHeight, "1.50", Qt::Key_Down, "1.50"},
  };
  for (const auto& c : cases) {
    OptionsValues values = DefaultValues(0);
    values.layout.SetBody(c.value, c.start);
    auto dialog = Open(values);
    const bool top = c.value == BodyValue::BodyTop;
    auto* arrows =
        ControlByName<UpDownArrows>(dialog.get(), top ? "bodyTopArrows" : "bodyHeightArrows");
    arrows->setFocus();
    QTest::keyClick(arrows, c.key);
    EXPECT_EQ(Display(*dialog, top ? "bodyTopDisplay" : "bodyHeightDisplay"), c.expected)
        << c.start;
    EXPECT_EQ(dialog->values().layout.Body(c.value), c.expected) << c.start;
  }
}

TEST_F(OptionsDialogTest, ArrowButtonsStepByOneHundredth) {
  auto dialog = Open();
  auto* arrows = ControlByName<UpDownArrows>(dialog.get(), "bodyHeightArrows");
  test::Click(arrows->upButton());
  test::Click(arrows->upButton());
  test::Click(arrows->downButton());
  EXPECT_EQ(dialog->values().layout.Body(BodyValue::BodyHeight), "2.17");
}

TEST_F(OptionsDialogTest, ResetGivesTheFirstVersionsGridValuesOnAnyVersion) {
  OptionsValues values = DefaultValues(1);
  values.layout.SetBody(BodyValue::GridColumn1, "4.44");
  auto dialog = Open(values);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.32");
  test::Click(ControlByName<QPushButton>(dialog.get(), "resetGridButton"));
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.30");
  EXPECT_EQ(Display(*dialog, "bodyHeightDisplay"), "2.16");
  const CardLayout& layout = dialog->values().layout;
  EXPECT_EQ(layout.Body(BodyValue::BodyTop), "1.30");
  EXPECT_EQ(layout.Body(BodyValue::BodyHeight), "2.16");
  EXPECT_EQ(layout.Body(BodyValue::GridColumn1), "4.44");
}

TEST_F(OptionsDialogTest, SwitchingVersionsSavesAndReloadsTheLayouts) {
  auto dialog = Open();
  auto* arrows = ControlByName<UpDownArrows>(dialog.get(), "bodyTopArrows");
  test::Click(arrows->upButton());  // 1.31, made before the switch

  VersionList(*dialog)->setCurrentRow(1);
  EXPECT_EQ(dialog->values().cardVersion, 1);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.32");  // no cplot1.dat: the defaults
  EXPECT_EQ(Display(*dialog, "bodyHeightDisplay"), "1.75");
  EXPECT_EQ(std::filesystem::file_size(dir_ / "cplot.dat"), 400u);

  VersionList(*dialog)->setCurrentRow(0);
  EXPECT_EQ(dialog->values().cardVersion, 0);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.31");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "cplot1.dat"));
  dialog->reject();  // what the switches wrote stays written
  CardLayout saved;
  ASSERT_TRUE(LoadLayout(saved, dir_.path(), 0));
  EXPECT_EQ(saved.Body(BodyValue::BodyTop), "1.31");
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(OptionsDialogTest, AFailedSaveIsToldAndTheSwitchGoesOn) {
  std::filesystem::create_directory(dir_ / "cplot.dat");  // no file can replace a folder
  auto dialog = Open();
  VersionList(*dialog)->setCurrentRow(1);
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].contains("cplot.dat")) << messages_[0].toStdString();
  EXPECT_EQ(dialog->values().cardVersion, 1);
}

TEST_F(OptionsDialogTest, AnUnknownCardVersionOpensOnTheFirstRow) {
  OptionsValues values = DefaultValues(0);
  values.cardVersion = 3;
  auto dialog = Open(values);
  QListWidget* list = VersionList(*dialog);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->item(0)->text(), "S-21-H   10/15   Printed in Germany");
  EXPECT_EQ(list->item(1)->text(), "S-21-H  Hu  4/05  Printed in Germany");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(dialog->values().cardVersion, 0);
}

TEST_F(OptionsDialogTest, DateFormatFollowsTheRadios) {
  OptionsValues values = DefaultValues(0);
  values.dateFormat = 2;
  auto dialog = Open(values);
  EXPECT_TRUE(ControlByName<QRadioButton>(dialog.get(), "dateFormat2")->isChecked());
  test::Click(ControlByName<QRadioButton>(dialog.get(), "dateFormat3"));
  EXPECT_EQ(dialog->values().dateFormat, 3);
  // Whatever checks a radio chooses its format: an assistive tool's toggle, the arrow keys.
  test::ToggleAccessibly(ControlByName<QRadioButton>(dialog.get(), "dateFormat0"));
  EXPECT_TRUE(ControlByName<QRadioButton>(dialog.get(), "dateFormat0")->isChecked());
  EXPECT_EQ(dialog->values().dateFormat, 0);
  ControlByName<QRadioButton>(dialog.get(), "dateFormat0")->setFocus();
  QTest::keyClick(ControlByName<QRadioButton>(dialog.get(), "dateFormat0"), Qt::Key_Down);
  EXPECT_TRUE(ControlByName<QRadioButton>(dialog.get(), "dateFormat1")->isChecked());
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->values().dateFormat, 1);

  values.dateFormat = 9;  // a hand-edited settings file: no radio, the value kept
  auto other = Open(values);
  for (const char* name : {"dateFormat0", "dateFormat1", "dateFormat2", "dateFormat3"})
    EXPECT_FALSE(ControlByName<QRadioButton>(other.get(), name)->isChecked()) << name;
  other->accept();
  EXPECT_EQ(other->values().dateFormat, 9);
}

TEST_F(OptionsDialogTest, DetailedSettingsReplaceTheLayoutOnlyOnOk) {
  auto dialog = Open();
  auto* detailed = ControlByName<QPushButton>(dialog.get(), "detailedButton");
  test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& d) {
    EXPECT_EQ(d.windowTitle(),
              QString::fromUtf8("Részletes beállítás - S-21-H   10/15   Printed in Germany"));
    ControlByName<QLineEdit>(&d, "bodyTopEdit")->setText("0.50");
    d.accept();
  });
  test::Click(detailed);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "0.50");
  EXPECT_EQ(dialog->values().layout.Body(BodyValue::BodyTop), "0.50");

  const CardLayout before = dialog->values().layout;
  test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& d) {
    test::Click(ControlByName<QPushButton>(&d, "resetButton"));
    EXPECT_EQ(ControlByName<QLineEdit>(&d, "bodyTopEdit")->text(), "1.30");
    test::Click(ControlByName<QPushButton>(&d, "cancelButton"));
  });
  test::Click(detailed);
  EXPECT_EQ(dialog->values().layout, before);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "0.50");
}

TEST_F(OptionsDialogTest, DataSourceRunsWhileTheDialogStaysOpen) {
  auto dialog = Open();
  test::Click(ControlByName<QPushButton>(dialog.get(), "dataSourceButton"));
  EXPECT_EQ(dataSourceRuns_, 1);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(OptionsDialogTest, PrinterSetupEditsTheApplicationsPrinter) {
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  printer.Reset();
  printer.ForSetup().setOutputFileName(QString::fromStdString((dir_ / "card.pdf").string()));
  auto dialog = Open();
  const QString pdf = QString::fromStdString((dir_ / "card.pdf").string());
  test::WhenModal<QPrintDialog>([&printer, &pdf](QPrintDialog& setup) {
    EXPECT_EQ(setup.printer(), &printer.ForSetup());
    // The user picks the PDF entry, the last one whatever printers the machine has.
    auto* printers = setup.findChild<QComboBox*>("printers");
    auto* file = setup.findChild<QLineEdit*>("filename");
    if (!printers || !file) {
      ADD_FAILURE() << "the print setup has no printer list or file name";
      setup.reject();
      return;
    }
    printers->setCurrentIndex(printers->count() - 1);
    file->setText(pdf);
    EXPECT_FALSE(setup.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(setup.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(setup.testOption(QAbstractPrintDialog::PrintCurrentPage));
    EXPECT_TRUE(setup.testOption(QAbstractPrintDialog::PrintToFile));  // the PDF entry
    setup.accept();
  });
  test::Click(ControlByName<QPushButton>(dialog.get(), "printerSetupButton"));
  QPrinter* current = printer.Current();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->outputFormat(), QPrinter::PdfFormat);
  EXPECT_TRUE(current->outputFileName().endsWith("card.pdf"));
  printer.Reset();
}

}  // namespace
}  // namespace velunorh

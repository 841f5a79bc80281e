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
#include "ui/application_printer.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/up_down_arrows.h"

namespace velunorh {
namespace {

using test::ControlById;

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
    return ControlById<QListWidget>(&dialog, 1067);
  }

  test::TempDir dir_;
  QStringList messages_;
  int dataSourceRuns_ = 0;
};

TEST_F(OptionsDialogTest, ControlsCarryTheirTexts) {
  auto dialog = Open();
  EXPECT_TRUE(dialog->windowTitle().isEmpty());
  struct Case {
    int id;
    const char* text;
  } buttons[] = {
      {1015, "01/31/02 "},
      {1016, "31/01/02  "},
      {1017, "2002. Jan. 02."},
      {1018, "2002-01-02"},
      {1061, "Visszaállítás az alapértelmezett értékekre"},
      {1062, "Részletes beállítás"},
      {1013, "Adat forrás"},
      {1012, "Nyomtató &Beállítás"},
      {2, "Mégse"},
      {1, "OK"},
  };
  for (const auto& c : buttons)
    EXPECT_EQ(ControlById<QAbstractButton>(dialog.get(), c.id)->text(), QString::fromUtf8(c.text));
  QStringList groups;
  for (auto* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
  groups.sort();
  EXPECT_EQ(groups,
            (QStringList{QString::fromUtf8(" Dátum Formátum "), QString::fromUtf8(" Margók "),
                         QString::fromUtf8(" Törzs (Havi adatok) ")}));
  EXPECT_TRUE(ControlById<QPushButton>(dialog.get(), 1)->isDefault());
  EXPECT_EQ(ControlById<QLineEdit>(dialog.get(), 1014)->text(), "0.10");
  EXPECT_EQ(ControlById<QLineEdit>(dialog.get(), 1019)->text(), "0.20");
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.30");
  EXPECT_EQ(Display(*dialog, "bodyHeightDisplay"), "2.16");
}

TEST_F(OptionsDialogTest, MarginsAreCheckedWhenLeft) {
  struct Case {
    int id;
    const char* typed;
    const char* shown;  // and kept
    bool rejected;
  } cases[] = {
      {1014, "12.5", "0.10", true}, {1014, ".5", "0.50", false},  {1014, " 2 ", "2.00", false},
      {1019, "1,5", "0.20", true},  {1019, "125", "1.25", false},
  };
  for (const auto& c : cases) {
    auto dialog = Open();
    messages_.clear();
    auto* field = ControlById<QLineEdit>(dialog.get(), c.id);
    test::TypeAndTab(field, c.typed);
    QApplication::processEvents();
    EXPECT_EQ(field->text(), c.shown) << c.typed;
    EXPECT_EQ(messages_, c.rejected ? QStringList{kMarginMessage} : QStringList{}) << c.typed;
    dialog->accept();
    const OptionsValues& v = dialog->values();
    EXPECT_EQ(c.id == 1014 ? v.topMargin : v.leftMargin, c.shown) << c.typed;
  }
}

TEST_F(OptionsDialogTest, EnterChecksTheMarginBeingTyped) {
  auto dialog = Open();
  auto* field = ControlById<QLineEdit>(dialog.get(), 1014);
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
    auto* arrows = ControlById<UpDownArrows>(dialog.get(), top ? 1057 : 1058);
    arrows->setFocus();
    QTest::keyClick(arrows, c.key);
    EXPECT_EQ(Display(*dialog, top ? "bodyTopDisplay" : "bodyHeightDisplay"), c.expected)
        << c.start;
    EXPECT_EQ(dialog->values().layout.Body(c.value), c.expected) << c.start;
  }
}

TEST_F(OptionsDialogTest, ArrowButtonsStepByOneHundredth) {
  auto dialog = Open();
  auto* arrows = ControlById<UpDownArrows>(dialog.get(), 1058);
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
  test::Click(ControlById<QPushButton>(dialog.get(), 1061));
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "1.30");
  EXPECT_EQ(Display(*dialog, "bodyHeightDisplay"), "2.16");
  const CardLayout& layout = dialog->values().layout;
  EXPECT_EQ(layout.Body(BodyValue::BodyTop), "1.30");
  EXPECT_EQ(layout.Body(BodyValue::BodyHeight), "2.16");
  EXPECT_EQ(layout.Body(BodyValue::GridColumn1), "4.44");
}

TEST_F(OptionsDialogTest, SwitchingVersionsSavesAndReloadsTheLayouts) {
  auto dialog = Open();
  auto* arrows = ControlById<UpDownArrows>(dialog.get(), 1057);
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
  EXPECT_TRUE(ControlById<QRadioButton>(dialog.get(), 1017)->isChecked());
  test::Click(ControlById<QRadioButton>(dialog.get(), 1018));
  EXPECT_EQ(dialog->values().dateFormat, 3);
  // Whatever checks a radio chooses its format: an assistive tool's toggle, the arrow keys.
  test::ToggleAccessibly(ControlById<QRadioButton>(dialog.get(), 1015));
  EXPECT_TRUE(ControlById<QRadioButton>(dialog.get(), 1015)->isChecked());
  EXPECT_EQ(dialog->values().dateFormat, 0);
  ControlById<QRadioButton>(dialog.get(), 1015)->setFocus();
  QTest::keyClick(ControlById<QRadioButton>(dialog.get(), 1015), Qt::Key_Down);
  EXPECT_TRUE(ControlById<QRadioButton>(dialog.get(), 1016)->isChecked());
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->values().dateFormat, 1);

  values.dateFormat = 9;  // a hand-edited settings file: no radio, the value kept
  auto other = Open(values);
  for (int id = 1015; id <= 1018; ++id)
    EXPECT_FALSE(ControlById<QRadioButton>(other.get(), id)->isChecked()) << id;
  other->accept();
  EXPECT_EQ(other->values().dateFormat, 9);
}

TEST_F(OptionsDialogTest, DetailedSettingsReplaceTheLayoutOnlyOnOk) {
  auto dialog = Open();
  auto* detailed = ControlById<QPushButton>(dialog.get(), 1062);
  test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& d) {
    EXPECT_EQ(d.windowTitle(),
              QString::fromUtf8("Részletes beállítás - S-21-H   10/15   Printed in Germany"));
    ControlById<QLineEdit>(&d, 1066)->setText("0.50");
    d.accept();
  });
  test::Click(detailed);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "0.50");
  EXPECT_EQ(dialog->values().layout.Body(BodyValue::BodyTop), "0.50");

  const CardLayout before = dialog->values().layout;
  test::WhenModal<DetailedSettingsDialog>([](DetailedSettingsDialog& d) {
    test::Click(ControlById<QPushButton>(&d, 1064));
    EXPECT_EQ(ControlById<QLineEdit>(&d, 1066)->text(), "1.30");
    test::Click(ControlById<QPushButton>(&d, 2));
  });
  test::Click(detailed);
  EXPECT_EQ(dialog->values().layout, before);
  EXPECT_EQ(Display(*dialog, "bodyTopDisplay"), "0.50");
}

TEST_F(OptionsDialogTest, DataSourceRunsWhileTheDialogStaysOpen) {
  auto dialog = Open();
  test::Click(ControlById<QPushButton>(dialog.get(), 1013));
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
  test::Click(ControlById<QPushButton>(dialog.get(), 1012));
  QPrinter* current = printer.Current();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->outputFormat(), QPrinter::PdfFormat);
  EXPECT_TRUE(current->outputFileName().endsWith("card.pdf"));
  printer.Reset();
}

}  // namespace
}  // namespace velunorh

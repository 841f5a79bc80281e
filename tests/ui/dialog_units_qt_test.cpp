#include "ui/dialog_units.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTest>

#include "card/card_layout.h"
#include "main_window_fixture.h"
#include "session/password_prompt.h"
#include "test_support.h"
#include "ui/about_box.h"
#include "ui/calibration_dialog.h"
#include "ui/data_source_dialog.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/password_dialog.h"

namespace velunorh {
namespace {

// The widest line of a control's text as drawn, mnemonic marks left out.
int TextWidth(const QWidget& control, QString text) {
  text.remove('&');
  int widest = 0;
  for (const QString& line : text.split('\n'))
    widest = std::max(widest, control.fontMetrics().horizontalAdvance(line));
  return widest;
}

// Fails on a label, check box, radio button or button too narrow for its text.
void ExpectNothingClipped(QWidget& dialog) {
  dialog.show();
  for (QWidget* control : dialog.findChildren<QWidget*>()) {
    if (!control->isVisible()) continue;
    const QStyle* style = control->style();
    int needed = -1;
    if (auto* label = qobject_cast<QLabel*>(control); label && !label->wordWrap()) {
      needed = TextWidth(*label, label->text()) + 2 * label->frameWidth();
    } else if (auto* box = qobject_cast<QCheckBox*>(control); box && !box->text().isEmpty()) {
      needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) +
               TextWidth(*box, box->text());
    } else if (auto* radio = qobject_cast<QRadioButton*>(control)) {
      needed = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, radio) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, radio) +
               TextWidth(*radio, radio->text().trimmed());
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
      needed = TextWidth(*button, button->text());
    }
    if (needed < 0) continue;
    EXPECT_GE(control->width(), needed) << control->objectName().toStdString();
  }
}

// Each dialog made at the application's font, by name.
std::vector<std::pair<std::string, std::unique_ptr<QWidget>>> AllDialogs(
    const test::MainWindowFixture& main, PasswordPrompt& prompt) {
  const std::filesystem::path& folder = main.options.workFolder;
  std::vector<std::pair<std::string, std::unique_ptr<QWidget>>> dialogs;
  OptionsValues values;
  MakeDefaultLayout(values.layout, 0);
  OptionsDialog::Services services;
  services.workFolder = folder;
  dialogs.emplace_back("options", std::make_unique<OptionsDialog>(values, services));
  for (int version : {0, 1}) {
    CardLayout layout;
    MakeDefaultLayout(layout, version);
    dialogs.emplace_back(
        "detailed settings " + std::to_string(version),
        std::make_unique<DetailedSettingsDialog>(layout, version, [](const QString&) {}));
  }
  dialogs.emplace_back("calibration",
                       std::make_unique<CalibrationDialog>("0.20", "0.15", values.layout));
  dialogs.emplace_back("data source",
                       std::make_unique<DataSourceDialog>(0, true, folder / "floppy"));
  dialogs.emplace_back("password", std::make_unique<PasswordDialog>(prompt));
  dialogs.emplace_back("about", std::make_unique<AboutBox>());
  // The main window on a publisher with a full name and a sex, so every box beside the header
  // preview is shown.
  test::WriteFullHeaderPublisher(folder);
  dialogs.emplace_back("main window", main.Make());
  return dialogs;
}

class DialogUnitsTest : public ::testing::Test {
 protected:
  void TearDown() override { QApplication::setFont(normal_); }
  const QFont normal_ = QApplication::font();
  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
  PasswordPrompt prompt_{"titok"};
};

// At the font the templates were drawn at, every dialog keeps its pixels exactly.
TEST_F(DialogUnitsTest, TheTemplateFontKeepsTheTemplateGeometry) {
  OptionsValues values;
  MakeDefaultLayout(values.layout, 0);
  OptionsDialog::Services services;
  services.workFolder = dir_.path();
  OptionsDialog dialog(values, services);
  EXPECT_EQ(dialog.size(), QSize(520, 336));
  EXPECT_EQ(dialog.findChild<QPushButton*>("okButton")->geometry(), QRect(422, 300, 90, 28));
}

// A half again larger font: the dialogs grow by as much, in both directions, and no text is cut.
TEST_F(DialogUnitsTest, ALargerFontGrowsEveryDialogWithoutCuttingText) {
  std::map<std::string, QSize> normalSizes;
  for (auto& [name, dialog] : AllDialogs(main_, prompt_)) normalSizes[name] = dialog->size();

  QFont large = normal_;
  large.setPointSizeF(normal_.pointSizeF() * 1.5);
  QApplication::setFont(large);
  for (auto& [name, dialog] : AllDialogs(main_, prompt_)) {
    SCOPED_TRACE(name);
    const QSize before = normalSizes[name];
    // A dialog too large for the screen grows inside its scroll area.
    auto* content = dialog->findChild<QWidget*>("scrolledContent");
    const QSize grown = content ? content->size() : dialog->size();
    ExpectNothingClipped(*dialog);
    // On this small screen the main window draws its previews smaller: its sizes on each screen
    // are MainWindowFitTest's.
    if (name == "main window") continue;
    EXPECT_NEAR(grown.width(), before.width() * 1.5, before.width() * 0.15);
    EXPECT_NEAR(grown.height(), before.height() * 1.5, before.height() * 0.15);
  }
}

// The controls' tab order, by name.
QStringList TabOrder(QWidget& dialog) {
  QStringList names;
  for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty() && w->isVisibleTo(&dialog))
      names << w->objectName();
  return names;
}

// At a font half again as large the tall dialog no longer fits the screen: it fits by scrolling,
// keeps its tab order, and the focused field is scrolled into view.
TEST_F(DialogUnitsTest, TheTallDialogFitsTheScreenAtALargerFont) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  QStringList normalOrder;
  {
    DetailedSettingsDialog normal(layout, 0, [](const QString&) {});
    normalOrder = TabOrder(normal);
  }
  QFont large = normal_;
  large.setPointSizeF(normal_.pointSizeF() * 1.5);
  QApplication::setFont(large);
  DetailedSettingsDialog dialog(layout, 0, [](const QString&) {});
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  const QRect screen = dialog.screen()->availableGeometry();
  ASSERT_GT(dialog.findChild<QWidget*>("scrolledContent")->height(), screen.height());
  EXPECT_LE(dialog.frameGeometry().height(), screen.height());
  EXPECT_LE(dialog.frameGeometry().width(), screen.width());
  EXPECT_EQ(TabOrder(dialog), normalOrder);

  auto* ok = dialog.findChild<QPushButton*>("okButton");
  dialog.findChild<QWidget*>("headerX0")->setFocus(Qt::TabFocusReason);
  for (int presses = 0; presses < normalOrder.size() && QApplication::focusWidget() != ok;
       ++presses)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), ok);
  EXPECT_TRUE(dialog.rect().contains(ok->mapTo(&dialog, ok->rect().bottomRight())));
}

}  // namespace
}  // namespace velunorh

#include "ui/options_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "base/string_table.h"
#include "base/today.h"
#include "card/calibration_sheet.h"
#include "card/layout_step.h"
#include "session/options_values.h"
#include "session/print_file_name.h"
#include "ui/accessible_window.h"
#include "ui/calibration_dialog.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui/field_leave_watcher.h"
#include "ui/print/application_printer.h"
#include "ui/print/print_file_question.h"
#include "ui/print/print_job.h"
#include "ui/qt_text.h"
#include "ui_options_dialog.h"

namespace velunorh {

OptionsDialog::OptionsDialog(OptionsValues values, Services services, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::OptionsDialogForm),
      values_(std::move(values)),
      services_(std::move(services)) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  NameGroupBoxesByTitle(this);
  ui_->bodyTopArrows->NameArrows();
  ui_->bodyHeightArrows->NameArrows();
  if (!services_.showMessage) services_.showMessage = MessageBoxOver(this);

  QRadioButton* radios[] = {ui_->dateFormat0, ui_->dateFormat1, ui_->dateFormat2, ui_->dateFormat3};
  auto* dateFormats = new QButtonGroup(this);
  for (int format = 0; format < 4; ++format) dateFormats->addButton(radios[format], format);
  if (QAbstractButton* radio = dateFormats->button(values_.dateFormat)) radio->setChecked(true);
  // toggled, not clicked: a keyboard move or an assistive tool's toggle selects a format too.
  connect(dateFormats, &QButtonGroup::idToggled, this, [this](int format, bool checked) {
    if (checked) values_.dateFormat = format;
  });

  ui_->topMarginEdit->setText(FromUtf8(values_.topMargin));
  ui_->leftMarginEdit->setText(FromUtf8(values_.leftMargin));
  marginWatcher_ = new FieldLeaveWatcher(this, [this](QLineEdit* field) { CheckMargin(field); });
  marginWatcher_->Watch(ui_->topMarginEdit);
  marginWatcher_->Watch(ui_->leftMarginEdit);

  ui_->calibrationButton->setText(Text(StringId::CalibrationSheetButton));
  ui_->calibrationButton->setAccessibleName(ui_->calibrationButton->text());
  ui_->calibrationButton->setAccessibleDescription(Text(StringId::CalibrationSheetHelp));
  ui_->calibrateButton->setText(Text(StringId::CalibDialogButton));
  ui_->calibrateButton->setAccessibleName(ui_->calibrateButton->text());

  RefreshGridDisplays();
  FillCardVersionList();
  ConnectCommands();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::ConnectCommands() {
  connect(ui_->bodyTopArrows, &UpDownArrows::stepRequested, this, [this](int direction) {
    StepBody(BodyValue::BodyTop, ui_->bodyTopDisplay, direction, kBodyTopLower, kBodyTopUpper);
  });
  connect(ui_->bodyHeightArrows, &UpDownArrows::stepRequested, this, [this](int direction) {
    StepBody(BodyValue::BodyHeight, ui_->bodyHeightDisplay, direction, kBodyHeightLower,
             kBodyHeightUpper);
  });
  connect(ui_->resetGridButton, &QPushButton::clicked, this, &OptionsDialog::ResetGrid);
  connect(ui_->cardVersionList, &QListWidget::currentRowChanged, this,
          &OptionsDialog::ChangeCardVersion);
  connect(ui_->detailedButton, &QPushButton::clicked, this, &OptionsDialog::OpenDetailedSettings);
  connect(ui_->dataSourceButton, &QPushButton::clicked, this, [this] {
    if (services_.changeDataSource) services_.changeDataSource();
  });
  connect(ui_->printerSetupButton, &QPushButton::clicked, this, &OptionsDialog::OpenPrinterSetup);
  connect(ui_->calibrationButton, &QPushButton::clicked, this, &OptionsDialog::PrintCalibration);
  connect(ui_->calibrateButton, &QPushButton::clicked, this, &OptionsDialog::Calibrate);
  connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::FillCardVersionList() {
  QSignalBlocker block(ui_->cardVersionList);
  const int count = CardVersionCount();
  for (int version = 0; version < count; ++version)
    ui_->cardVersionList->addItem(FromUtf8(CardVersionName(version)));
  if (values_.cardVersion < 0 || values_.cardVersion >= count) values_.cardVersion = 0;
  ui_->cardVersionList->setCurrentRow(values_.cardVersion);
}

std::string& OptionsDialog::MarginOf(QLineEdit* field) {
  return field == ui_->topMarginEdit ? values_.topMargin : values_.leftMargin;
}

// A rejected entry is told and replaced by the last good value; an accepted one is shown in
// its normal form.
bool OptionsDialog::CommitMargin(QLineEdit* field) {
  std::string text = field->text().toStdString();
  const bool accepted = NormalizeLayoutValue(text);
  if (accepted)
    MarginOf(field) = text;
  else
    services_.showMessage(Text(StringId::MarginHelp));
  field->setText(FromUtf8(MarginOf(field)));
  return accepted;
}

void OptionsDialog::CheckMargin(QLineEdit* field) {
  CommitMargin(field);
}

// Enter or a click can act before the field-leave check has run, so what was typed into a
// margin is checked here; a rejected margin keeps its field focused.
bool OptionsDialog::CommitTypedMargins() {
  for (QLineEdit* field : {ui_->topMarginEdit, ui_->leftMarginEdit}) {
    if (!field->isModified()) continue;
    marginWatcher_->CheckedNow(field);
    if (!CommitMargin(field)) {
      marginWatcher_->ReturnFocus(field);
      return false;
    }
  }
  return true;
}

void OptionsDialog::accept() {
  if (CommitTypedMargins()) QDialog::accept();
}

// The step starts from the shown text, not from a position of the control, so a value set out
// of range in the detailed settings only moves back toward the limits.
void OptionsDialog::StepBody(BodyValue value, QLabel* display, int direction, int lower,
                             int upper) {
  std::string stepped =
      StepLayoutValue(display->text().toLatin1().toStdString(), direction, lower, upper);
  values_.layout.SetBody(value, stepped);
  display->setText(FromUtf8(stepped));
  ShowBodyValues();
}

void OptionsDialog::RefreshGridDisplays() {
  ui_->bodyTopDisplay->setText(SlotText(values_.layout.Body(BodyValue::BodyTop)));
  ui_->bodyHeightDisplay->setText(SlotText(values_.layout.Body(BodyValue::BodyHeight)));
  ShowBodyValues();
}

// Screen readers hear the shown values with the arrows that step them.
void OptionsDialog::ShowBodyValues() {
  ui_->bodyTopArrows->SetValueText(ui_->bodyTopDisplay->text());
  ui_->bodyHeightArrows->SetValueText(ui_->bodyHeightDisplay->text());
  ui_->bodyTopDisplay->setAccessibleDescription(ui_->bodyTopDisplay->text());
  ui_->bodyHeightDisplay->setAccessibleDescription(ui_->bodyHeightDisplay->text());
}

// Always the first version's grid values, whichever version is chosen.
void OptionsDialog::ResetGrid() {
  values_.layout.SetBody(BodyValue::BodyTop, LoadString(StringId::Version0BodyTop));
  values_.layout.SetBody(BodyValue::BodyHeight, LoadString(StringId::Version0BodyHeight));
  RefreshGridDisplays();
}

void OptionsDialog::ChangeCardVersion(int row) {
  if (row < 0 || row == values_.cardVersion) return;
  const std::string problem = SwitchCardVersion(services_.workFolder, values_, row);
  if (!problem.empty()) services_.showMessage(FromUtf8(problem));
  RefreshGridDisplays();
}

void OptionsDialog::OpenDetailedSettings() {
  DetailedSettingsDialog dialog(values_.layout, values_.cardVersion, services_.showMessage, this);
  if (dialog.exec() == QDialog::Accepted) values_.layout = dialog.layout();
  RefreshGridDisplays();
}

void OptionsDialog::OpenPrinterSetup() {
  ApplicationPrinter& application = ApplicationPrinter::Instance();
  const std::string before = application.ForSetup().printerName().toStdString();
  if (!RunPrinterSetup(this)) return;
  CommitTypedMargins();
  FollowPrinter(before, application.ChosenInSetup().toStdString());
}

// Another printer chosen brings back the margins it had; the ones in use stay with the printer
// they were set for. The caller's margins follow as well: the printer stays chosen on Cancel.
void OptionsDialog::FollowPrinter(const std::string& before, const std::string& now) {
  if (services_.printerSwitched) services_.printerSwitched(before, now);
  if (SwitchPrinterMargins(values_.printerMargins, values_.leftMargin, values_.topMargin, before,
                           now)) {
    ui_->leftMarginEdit->setText(FromUtf8(values_.leftMargin));
    ui_->topMarginEdit->setText(FromUtf8(values_.topMargin));
  }
}

// The sheet shows the dialog's values as they stand, saved or not, so a change can be tried
// on plain paper before a card is spent. It prints exactly as a card would.
void OptionsDialog::PrintCalibration() {
  if (!CommitTypedMargins()) return;
  const std::optional<QPrinter*> settled = SettlePrinter(
      this,
      [this](const std::string& before, const std::string& now) { FollowPrinter(before, now); },
      services_.showMessage);
  if (!settled) return;
  QPrinter* printer = *settled;
  const std::string documentName = LoadString(StringId::CalibrationDocumentName);
  if (printer && !AskPrintFile(this, *printer, PrintFileName(documentName))) return;
  const CalendarDate today = Today();
  const CalibrationSheetInput sheet{
      values_.leftMargin,
      values_.topMargin,
      values_.layout,
      DetailedSettingsDialog::FieldNames(values_.cardVersion),
      CardVersionName(values_.cardVersion),
      printer ? PrintDestination(*printer).toStdString() : std::string(),
      QString::asprintf("%04d.%02d.%02d.", today.year, today.month, today.day).toStdString()};
  HandOver handOver;
  handOver.documentName = FromUtf8(documentName);
  handOver.sendWhilePaused = AskSendWhilePaused(this);
  handOver.window = this;
  const PrintOutcome outcome = PrintCardPage(
      printer, [sheet](Surface& surface) { PrintCalibrationSheet(surface, sheet); }, &handOver);
  if (const QString message = PrintOutcomeMessage(outcome, printer); !message.isEmpty())
    services_.showMessage(message);
}

// The readings of a printed sheet move the margins being edited; OK of the options keeps them,
// as it keeps margins typed in.
void OptionsDialog::Calibrate() {
  if (!CommitTypedMargins()) return;
  CalibrationDialog dialog(values_.leftMargin, values_.topMargin, values_.layout, this);
  if (dialog.exec() != QDialog::Accepted) return;
  values_.leftMargin = dialog.result().leftMargin;
  values_.topMargin = dialog.result().topMargin;
  ui_->leftMarginEdit->setText(FromUtf8(values_.leftMargin));
  ui_->topMarginEdit->setText(FromUtf8(values_.topMargin));
  if (dialog.printAgain()) PrintCalibration();
}

}  // namespace velunorh

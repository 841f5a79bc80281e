#include "ui/calibration_dialog.h"

#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <cmath>

#include "base/string_table.h"
#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui/qt_text.h"
#include "ui_calibration_dialog.h"

namespace velunorh {
namespace {

// The scales' range in half millimetres, typed in half-millimetre steps.
void SetUpReading(QDoubleSpinBox* spin, const QString& name) {
  spin->setRange(-kCalibrationScaleHalfMm / 2.0, kCalibrationScaleHalfMm / 2.0);
  spin->setSingleStep(0.5);
  spin->setDecimals(1);
  spin->setSuffix(QStringLiteral(" mm"));
  spin->setKeyboardTracking(false);
  spin->setAccessibleName(name);
}

int HalfMillimetres(const QDoubleSpinBox* spin) {
  return static_cast<int>(std::lround(spin->value() * 2));
}

}  // namespace

CalibrationDialog::CalibrationDialog(std::string leftMargin, std::string topMargin,
                                     CardLayout layout, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::CalibrationDialogForm),
      leftMargin_(std::move(leftMargin)),
      topMargin_(std::move(topMargin)),
      layout_(std::move(layout)) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  PressFocusedButtonOnEnter(this);
  setWindowTitle(Text(StringId::CalibDialogTitle));
  ui_->introLabel->setText(Text(StringId::CalibDialogIntro));
  const std::string right = LoadString(StringId::CalibRightHeading);
  const std::string down = LoadString(StringId::CalibDownHeading);
  ui_->rightHeading->setText(FromUtf8(right));
  ui_->downHeading->setText(FromUtf8(down));
  struct Row {
    QLabel* label;
    QDoubleSpinBox* right;
    QDoubleSpinBox* down;
  } rows[] = {{ui_->point1Label, ui_->point1RightSpin, ui_->point1DownSpin},
              {ui_->point2Label, ui_->point2RightSpin, ui_->point2DownSpin}};
  for (int point = 1; point <= 2; ++point) {
    const Row& row = rows[point - 1];
    const std::string number = std::to_string(point);
    row.label->setText(FromUtf8(LoadStringWith(StringId::CalibPointLabel, {number})));
    row.label->setBuddy(row.right);
    SetUpReading(row.right, FromUtf8(LoadStringWith(StringId::CalibSpinName, {number, right})));
    SetUpReading(row.down, FromUtf8(LoadStringWith(StringId::CalibSpinName, {number, down})));
    for (QDoubleSpinBox* spin : {row.right, row.down})
      connect(spin, &QDoubleSpinBox::valueChanged, this, &CalibrationDialog::Solve);
  }
  ui_->marginsLabel->setAccessibleName(ui_->marginsLabel->text());
  ui_->printAgainBox->setText(Text(StringId::CalibPrintAgain));
  ui_->applyButton->setText(Text(StringId::CalibApply));
  ui_->cancelButton->setText(Text(StringId::CalibCancel));
  connect(ui_->applyButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  Solve();
  ui_->point1RightSpin->setFocus();
}

CalibrationDialog::~CalibrationDialog() = default;

bool CalibrationDialog::printAgain() const {
  return ui_->printAgainBox->isChecked();
}

// Shows the margins before and after, and what else the readings say, at every change.
void CalibrationDialog::Solve() {
  result_ = SolveMarginCalibration(
      leftMargin_, topMargin_, layout_,
      {HalfMillimetres(ui_->point1RightSpin), HalfMillimetres(ui_->point1DownSpin)},
      {HalfMillimetres(ui_->point2RightSpin), HalfMillimetres(ui_->point2DownSpin)});
  ui_->marginsLabel->setText(
      FromUtf8(LoadStringWith(StringId::CalibMarginsChange,
                              {leftMargin_, result_.leftMargin, topMargin_, result_.topMargin})));
  ui_->marginsLabel->setAccessibleName(ui_->marginsLabel->text());
  std::string advice;
  for (const std::string& message : result_.messages) advice += message + "\n";
  if (!result_.scaling && !result_.skew) advice += LoadString(StringId::CalibNoScalingNoSkew);
  ui_->adviceLabel->setText(FromUtf8(advice).trimmed());
  ui_->adviceLabel->setAccessibleName(ui_->adviceLabel->text());
}

}  // namespace velunorh

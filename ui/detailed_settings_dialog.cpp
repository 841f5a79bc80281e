#include "ui/detailed_settings_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/accessible_window.h"
#include "ui/dialog_units.h"
#include "ui/enter_key.h"
#include "ui/field_leave_watcher.h"
#include "ui/fit_to_screen.h"
#include "ui/qt_text.h"
#include "ui_detailed_settings_dialog.h"

namespace velunorh {
namespace {

// SlotText's way back: each character its byte again.
std::string SlotBytes(const QLineEdit* field) {
  return field->text().toLatin1().toStdString();
}

// The newer card has no sixth column: its slot stays in the layout as it is, out of sight.
void RelabelForNewForm(Ui::DetailedSettingsDialogForm& f) {
  f.gridLabel1->setText(Text(StringId::PlacementsLabel));
  f.gridLabel2->setText(Text(StringId::VideoShowingsLabel));
  f.gridLabel4->setText(f.gridLabel5->text());
  f.gridLabel5->setText(f.gridLabel6->text());
  f.gridLabel6->hide();
  f.gridColumn6Edit->hide();
}

}  // namespace

DetailedSettingsDialog::DetailedSettingsDialog(const CardLayout& layout, int cardVersion,
                                               ShowMessage showMessage, QWidget* parent)
    : QDialog(parent),
      ui_(new Ui::DetailedSettingsDialogForm),
      layout_(layout),
      cardVersion_(cardVersion),
      newForm_(IsNewForm(cardVersion)),
      showMessage_(showMessage ? std::move(showMessage) : MessageBoxOver(this)) {
  ui_->setupUi(this);
  ApplyDialogUnits(this);
  ScrollWhenLargerThanScreen(this);
  PressFocusedButtonOnEnter(this);
  NameGroupBoxesByTitle(this);
  Ui::DetailedSettingsDialogForm& f = *ui_;
  fields_ = {
      f.headerX0,        f.headerY0,        f.headerX1,        f.headerY1,        f.headerX2,
      f.headerY2,        f.headerX3,        f.headerY3,        f.headerX4,        f.headerY4,
      f.headerX5,        f.headerY5,        f.headerX6,        f.headerY6,        f.headerX7,
      f.headerY7,        f.headerX8,        f.headerY8,        f.headerX9,        f.headerY9,
      f.headerX10,       f.headerY10,       f.headerX11,       f.headerY11,       f.bodyTopEdit,
      f.bodyHeightEdit,  f.gridColumn1Edit, f.gridColumn2Edit, f.gridColumn3Edit, f.gridColumn4Edit,
      f.gridColumn5Edit, f.gridColumn6Edit, f.gridColumn7Edit};

  if (newForm_) RelabelForNewForm(f);
  NameFields();
  FillFields();
  const std::string versionName = CardVersionName(cardVersion_);
  setWindowTitle(FromUtf8(LoadString(StringId::DetailedSettingsTitle) + " - " + versionName));
  ui_->resetButton->setText(FromUtf8(LoadString(StringId::ResetToDefaults) + " - " + versionName));

  watcher_ = new FieldLeaveWatcher(this, [this](QLineEdit* field) {
    if (!CheckField(field)) watcher_->ReturnFocus(field);
  });
  for (QLineEdit* field : fields_) watcher_->Watch(field);
  connect(ui_->resetButton, &QPushButton::clicked, this, &DetailedSettingsDialog::ResetToDefaults);
  connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

DetailedSettingsDialog::~DetailedSettingsDialog() = default;

CalibrationNames DetailedSettingsDialog::FieldNames(int cardVersion) {
  // The form itself is the source, so the names cannot drift from what the dialog shows.
  QDialog holder;
  Ui::DetailedSettingsDialogForm f;
  f.setupUi(&holder);
  if (IsNewForm(cardVersion)) RelabelForNewForm(f);

  auto name = [&holder](const QLabel* label, const QWidget* field) {
    if (!field->isVisibleTo(&holder)) return std::string();
    // A mnemonic's marker is no part of the name; "&&" is a literal ampersand.
    QString text = label->text().trimmed();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    return text.toStdString();
  };
  const QLabel* headerLabels[] = {f.headerLabel0, f.headerLabel1, f.headerLabel2,  f.headerLabel3,
                                  f.headerLabel4, f.headerLabel5, f.headerLabel6,  f.headerLabel7,
                                  f.headerLabel8, f.headerLabel9, f.headerLabel10, f.headerLabel11};
  const QWidget* headerFields[] = {f.headerX0, f.headerX1, f.headerX2,  f.headerX3,
                                   f.headerX4, f.headerX5, f.headerX6,  f.headerX7,
                                   f.headerX8, f.headerX9, f.headerX10, f.headerX11};
  const QLabel* bodyLabels[] = {f.bodyTopLabel, f.bodyHeightLabel, f.gridLabel1,
                                f.gridLabel2,   f.gridLabel3,      f.gridLabel4,
                                f.gridLabel5,   f.gridLabel6,      f.gridLabel7};
  const QWidget* bodyFields[] = {f.bodyTopEdit,     f.bodyHeightEdit,  f.gridColumn1Edit,
                                 f.gridColumn2Edit, f.gridColumn3Edit, f.gridColumn4Edit,
                                 f.gridColumn5Edit, f.gridColumn6Edit, f.gridColumn7Edit};
  CalibrationNames names;
  for (int i = 0; i < kHeaderPositionCount; ++i)
    names.header[i] = name(headerLabels[i], headerFields[i]);
  for (int j = 0; j < kBodyValueCount; ++j) names.body[j] = name(bodyLabels[j], bodyFields[j]);
  return names;
}

// Each field is announced by its row and axis: the Y fields have no label of their own, and a
// grid column's label changes with the card version.
void DetailedSettingsDialog::NameFields() {
  auto rowName = [this](const char* labelName) {
    QString text = findChild<QLabel*>(labelName)->text();
    text.remove('&');
    if (text.startsWith(QLatin1String("[x] "))) text.remove(0, 4);
    return text.simplified();
  };
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    const QString row = rowName(QStringLiteral("headerLabel%1").arg(i).toLatin1().constData());
    FieldOfHeaderX(i)->setAccessibleName(row + " X");
    FieldOfHeaderY(i)->setAccessibleName(row + " Y");
  }
  ui_->bodyTopEdit->setAccessibleName(rowName("bodyTopLabel"));
  ui_->bodyHeightEdit->setAccessibleName(rowName("bodyHeightLabel"));
  QLineEdit* columns[] = {ui_->gridColumn1Edit, ui_->gridColumn2Edit, ui_->gridColumn3Edit,
                          ui_->gridColumn4Edit, ui_->gridColumn5Edit, ui_->gridColumn6Edit,
                          ui_->gridColumn7Edit};
  for (int column = 1; column <= 7; ++column) {
    columns[column - 1]->setAccessibleName(
        rowName(QStringLiteral("gridLabel%1").arg(column).toLatin1().constData()) + " X");
  }
}

void DetailedSettingsDialog::FillFields() {
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    auto position = static_cast<HeaderPosition>(i);
    FieldOfHeaderX(i)->setText(SlotText(layout_.X(position)));
    FieldOfHeaderY(i)->setText(SlotText(layout_.Y(position)));
  }
  for (int j = 0; j < kBodyValueCount; ++j)
    FieldOfBody(j)->setText(SlotText(layout_.Body(static_cast<BodyValue>(j))));
}

// A value that passes is shown in its normal form; a rejected one is told and stays as typed.
bool DetailedSettingsDialog::CheckField(QLineEdit* field) {
  std::string text = SlotBytes(field);
  if (!NormalizeLayoutValue(text)) {
    showMessage_(Text(StringId::MarginHelp));
    return false;
  }
  field->setText(SlotText(text));
  return true;
}

void DetailedSettingsDialog::ResetToDefaults() {
  MakeDefaultLayout(layout_, cardVersion_);
  FillFields();
}

void DetailedSettingsDialog::accept() {
  for (QLineEdit* field : fields_) {
    if (!field->isModified()) continue;
    watcher_->CheckedNow(field);
    if (!CheckField(field)) {
      watcher_->ReturnFocus(field);
      return;
    }
  }
  // The slots take the texts as they stand, cut to what a slot holds; the hidden field too.
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    auto position = static_cast<HeaderPosition>(i);
    layout_.SetX(position, SlotBytes(FieldOfHeaderX(i)));
    layout_.SetY(position, SlotBytes(FieldOfHeaderY(i)));
  }
  for (int j = 0; j < kBodyValueCount; ++j)
    layout_.SetBody(static_cast<BodyValue>(j), SlotBytes(FieldOfBody(j)));
  QDialog::accept();
}

}  // namespace velunorh

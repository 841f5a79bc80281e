#include "session/card_inputs.h"
#include "ui/main_window.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "session/publisher_list.h"
#include "base/string_table.h"
#include "base/string_table_by_number.h"
#include "companion/name_date_format.h"
#include "card/header_block_pass.h"
#include "card/header_preview_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/monthly_preview_pass.h"
#include "ui/print_job.h"
#include "ui/about_box.h"
#include "ui/application_printer.h"
#include "ui/options_dialog.h"
#include "ui/preview_pane.h"
#include "ui/program_icon.h"
#include "ui/type_ahead_list.h"
#include "ui_main_window.h"

namespace velunorh {
namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

MainWindow::MainWindow(Options options, QWidget* parent)
    : QDialog(parent), ui_(new Ui::MainWindowForm) {
  ui_->setupUi(this);
  list_ = ui_->publisherList;
  monthBoxes_ = {ui_->monthBox0, ui_->monthBox1, ui_->monthBox2,  ui_->monthBox3,
                 ui_->monthBox4, ui_->monthBox5, ui_->monthBox6,  ui_->monthBox7,
                 ui_->monthBox8, ui_->monthBox9, ui_->monthBox10, ui_->monthBox11};

  ui_->headerPreview->SetPainter(
      [this](Surface& surface, const Rect& client) { PaintHeaderPreview(surface, client); });
  ui_->monthlyPreview->SetPainter(
      [this](Surface& surface, const Rect& client) { PaintMonthlyPreview(surface, client); });
  ShowGroupCaption();
  setWindowIcon(ProgramIcon());

  warn_ = options.warn ? options.warn : [this](const QString& message) {
    QMessageBox::warning(this, FromUtf8(LoadString(147)), message);
  };
  if (!options.hooks.showMessage)
    options.hooks.showMessage = [this](const std::string& message) { warn_(FromUtf8(message)); };
  UseRealDialogs(options);
  state_.settingsFile = options.settingsFile;
  state_.workFolder = options.workFolder;
  state_.data.paths().floppyFolder = options.floppyFolder;
  state_.currentDrive = CurrentDriveNumber(options.workFolder, options.floppyFolder);
  StartUp(state_, options.today, options.hooks);
  if (!state_.stopRequested) FillPublisherList();
  SyncBoxes();
  if (state_.stopRequested) {
    Exit();
    return;
  }
  UpdateMonthBoxes();
  UpdateTitle();
  ConnectCommands();
}

MainWindow::~MainWindow() = default;

void MainWindow::ConnectCommands() {
  connect(list_, &QListWidget::currentRowChanged, this, [this] {
    state_.selection.useFullName = true;
    ui_->fullNameBox->setChecked(true);
    RefreshSelection();
  });
  connect(list_, &TypeAheadList::characterTyped, this, &MainWindow::RefreshSelection);
  connect(ui_->fullNameBox, &QCheckBox::clicked, this, [this](bool checked) {
    state_.selection.useFullName = checked;
    RefreshSelection();
    FocusList();
  });
  connect(ui_->lastNameFirstBox, &QCheckBox::clicked, this, [this](bool checked) {
    state_.settings.lastNameFirst = checked;
    state_.settingsChanged = true;
    RefreshSelection();
    FocusList();
  });
  connect(ui_->groupButton, &QPushButton::clicked, this, [this] {
    state_.selection.publisherGroup = (state_.selection.publisherGroup + 1) % kPublisherGroups;
    ShowGroupCaption();
    FillPublisherList();
    FocusList();
  });
  connect(ui_->optionsButton, &QPushButton::clicked, this, &MainWindow::OpenOptions);
  for (int row = 0; row < 12; ++row) {
    connect(monthBoxes_[row], &QCheckBox::clicked, this, [this, row](bool checked) {
      state_.selection.monthRow[row] = checked;
      MonthBoxClicked(state_.selection);
      SyncBoxes();
      RepaintPreviews();
    });
  }
  connect(ui_->totalBox, &QCheckBox::clicked, this, [this](bool checked) {
    state_.selection.printTotal = checked;
    MonthBoxClicked(state_.selection);
    SyncBoxes();
    RepaintPreviews();
  });
  connect(ui_->previousYearBox, &QCheckBox::clicked, this, &MainWindow::UpdateMonthBoxes);
  connect(ui_->printHeaderBox, &QCheckBox::clicked, this, [this](bool checked) {
    PrintHeaderClicked(state_.selection, checked);
    SyncBoxes();
    ui_->headerPreview->update();
  });
  connect(ui_->genderMarksBox, &QCheckBox::clicked, this, [this](bool checked) {
    state_.selection.printGenderMarks = checked;
    ui_->headerPreview->update();
  });
  connect(ui_->printButton, &QPushButton::clicked, this, &MainWindow::PrintCard);
  connect(ui_->doneButton, &QPushButton::clicked, this, &QDialog::reject);
}

// The boxes show the choice held in the state; programmatic changes send no clicks.
void MainWindow::SyncBoxes() {
  const CardSelection& s = state_.selection;
  auto set = [](QCheckBox* box, bool checked, bool enabled = true) {
    QSignalBlocker block(box);
    box->setChecked(checked);
    box->setEnabled(enabled);
  };
  set(ui_->fullNameBox, s.useFullName);
  set(ui_->lastNameFirstBox, state_.settings.lastNameFirst);
  set(ui_->previousYearBox, s.year.previousServiceYear);
  set(ui_->printHeaderBox, s.printHeader);
  set(ui_->genderMarksBox, s.printGenderMarks, s.genderMarksEnabled);
  for (int row = 0; row < 12; ++row) set(monthBoxes_[row], s.monthRow[row], s.monthRowEnabled[row]);
  set(ui_->totalBox, s.printTotal, s.totalEnabled);
}

void MainWindow::FillPublisherList() {
  QSignalBlocker block(list_);
  list_->clear();
  for (const auto& line :
       BuildPublisherList(state_.data.current, state_.selection.publisherGroup,
                          state_.selection.year.reportMonth, state_.settings.firstNameSort)) {
    auto* item = new QListWidgetItem(FromUtf8(line.text), list_);
    item->setData(Qt::UserRole, line.slot);
  }
  if (list_->count() > 0) list_->setCurrentRow(0);
  RefreshSelection();
  FocusList();
}

void MainWindow::RefreshSelection() {
  QListWidgetItem* item = list_->currentItem();
  state_.selection.selectedPublisher = item ? item->data(Qt::UserRole).toInt() : 0;
  RepaintPreviews();
}

void MainWindow::RepaintPreviews() {
  ui_->headerPreview->update();
  ui_->monthlyPreview->update();
}

void MainWindow::ShowGroupCaption() {
  ui_->groupButton->setText(FromUtf8(PublisherGroupCaption(state_.selection.publisherGroup)));
}

void MainWindow::UpdateTitle() {
  setWindowTitle(FromUtf8(LoadString(147) + " - " + CardVersionName(state_.settings.cardVersion)));
}

void MainWindow::UpdateMonthBoxes() {
  state_.selection.year.previousServiceYear = ui_->previousYearBox->isChecked();
  ui_->monthlyPreview->update();
  velunorh::UpdateMonthBoxes(state_.selection, state_.data);
  SyncBoxes();
}

void MainWindow::PaintHeaderPreview(Surface& surface, const Rect& client) {
  HeaderPreviewResult result =
      DrawHeaderPreview(surface, client, state_.data, HeaderPreviewInputFrom(state_));
  state_.headerName = result.nameText;
  state_.mobileText = result.mobileText;
  ui_->fullNameBox->setVisible(result.fullNameBoxVisible);
  ui_->lastNameFirstBox->setVisible(result.lastNameFirstBoxVisible);
  ui_->genderMarksBox->setVisible(result.genderBoxVisible);
  if (result.checkGenderBox && !state_.selection.printGenderMarks) {
    state_.selection.printGenderMarks = true;
    SyncBoxes();
  }
}

void MainWindow::PaintMonthlyPreview(Surface& surface, const Rect& client) {
  // The system's border sizes: one pixel on these screens.
  constexpr int kBorderX = 1, kBorderY = 1;
  DrawMonthlyPreview(surface, client, state_.data, MonthlyPreviewInputFrom(state_), kBorderX,
                     kBorderY);
}

void MainWindow::PrintCard() {
  std::string name = FormatName(state_.data.current, state_.selection.selectedPublisher,
                                state_.settings.lastNameFirst);
  TrimLeft(name);
  TrimRight(name);
  if (name.empty()) return;

  const HeaderBlockInput header = HeaderBlockInputFrom(state_);
  const MonthlyGridInput grid = MonthlyGridInputFrom(state_);
  PrintOutcome outcome =
      PrintCardPage(ApplicationPrinter::Instance().Current(), [&](Surface& surface) {
        PrintHeaderBlock(surface, state_.data, header);
        PrintMonthlyGrid(surface, state_.data, grid);
      });
  if (outcome != PrintOutcome::kPrinted) {
    warn_(PrintOutcomeMessage(outcome));
    return;
  }
  FocusList();
}

void MainWindow::OpenOptions() {
  OptionsValues values;
  values.dateFormat = state_.settings.dateFormat;
  values.cardVersion = state_.settings.cardVersion;
  values.topMargin = state_.settings.topMargin;
  values.leftMargin = state_.settings.leftMargin;
  values.layout = state_.layout;
  OptionsDialog::Services services;
  services.workFolder = state_.workFolder;
  services.showMessage = warn_;
  services.changeDataSource = [this] { ChangeDataSource(); };
  OptionsDialog dialog(values, services, this);
  std::optional<OptionsResult> result;
  if (dialog.exec() == QDialog::Accepted) {
    const OptionsValues& chosen = dialog.values();
    result = OptionsResult{state_.settings, chosen.layout};
    result->settings.dateFormat = chosen.dateFormat;
    result->settings.cardVersion = chosen.cardVersion;
    result->settings.topMargin = chosen.topMargin;
    result->settings.leftMargin = chosen.leftMargin;
  }
  ApplyOptions(result);
}

void MainWindow::ApplyOptions(const std::optional<OptionsResult>& result) {
  if (result) {
    const AppSettings& in = result->settings;
    AppSettings& mine = state_.settings;
    if (in.dateFormat != mine.dateFormat || in.topMargin != mine.topMargin ||
        in.leftMargin != mine.leftMargin || in.cardVersion != mine.cardVersion ||
        !(result->layout == state_.layout))
      state_.settingsChanged = true;
    mine.topMargin = in.topMargin;
    mine.leftMargin = in.leftMargin;
    mine.dateFormat = in.dateFormat;
    mine.cardVersion = in.cardVersion;
    if (state_.languageCode == "portuguese") {
      if (in.firstNameSort != mine.firstNameSort) state_.settingsChanged = true;
      mine.firstNameSort = in.firstNameSort;
      if (state_.settingsChanged) SortPublishers(state_.data.current, mine.firstNameSort);
    } else {
      mine.firstNameSort = false;
    }
    state_.layout = result->layout;
  }
  if (state_.settingsChanged) {
    FillPublisherList();
    state_.newFormFlag = IsNewForm(state_.settings.cardVersion);
    UpdateTitle();
    RefreshSelection();
  }
  FocusList();
}

void MainWindow::ShowAbout() {
  AboutBox about(this);
  about.exec();
}

void MainWindow::FocusList() {
  list_->setFocus();
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  const std::string aboutText = LoadString(101);
  if (aboutText.empty()) return;
  QMenu menu(this);
  menu.addSeparator();
  menu.addAction(FromUtf8(aboutText), this, &MainWindow::ShowAbout);
  menu.exec(event->globalPos());
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && !LoadString(101).empty()) {
    ShowAbout();
    return;
  }
  QDialog::keyPressEvent(event);
}

void MainWindow::done(int result) {
  Exit();
  QDialog::done(result);
}

void MainWindow::Exit() {
  if (exited_) return;
  exited_ = true;
  ExitReport report = velunorh::Exit(state_);
  QStringList problems;
  if (!report.settingsWritten)
    problems << QStringLiteral("A beállítások nem menthetők ide: %1\n%2")
                    .arg(QString::fromStdString(state_.settingsFile.string()),
                         FromUtf8(report.settingsError));
  if (!report.layoutWritten)
    problems
        << QStringLiteral("A kártya elrendezése nem menthető ide: %1\n%2")
               .arg(QString::fromStdString(
                        (state_.workFolder / LayoutFileName(state_.settings.cardVersion)).string()),
                    FromUtf8(report.layoutError));
  if (!problems.isEmpty()) warn_(problems.join("\n\n"));
}

}  // namespace velunorh

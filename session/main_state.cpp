#include "session/main_state.h"

#include "base/edition.h"
#include "base/string_table.h"
#include "companion/drive_test.h"
#include "session/options_values.h"
#include "session/pending_jobs.h"
#include "session/print_ledger.h"
#include "session/publisher_list.h"

namespace velunorh {
namespace {

void SettleDataLocation(MainState& state, UserPrompts& prompts) {
  int location = state.settings.dataLocation;
  if (DriveTest(location, state.data.paths().floppyFolder)) return;
  std::optional<int> chosen = prompts.ChooseDataLocation(location, true);
  if (!chosen) {
    state.stopRequested = true;
    return;
  }
  if (*chosen != location) {
    state.settings.dataLocation = *chosen;
    state.settingsChanged = true;
  }
}

}  // namespace

void LoadLayoutOfWorkFolder(MainState& state) {
  state.layoutKeptReason.clear();
  if (!LoadLayout(state.layout, state.workFolder, state.settings.cardVersion)) {
    MakeDefaultLayout(state.layout, state.settings.cardVersion);
    state.layoutKeptReason =
        LayoutFileUnreadable(state.workFolder, state.settings.cardVersion).value_or("");
    state.layoutKeptVersion = state.settings.cardVersion;
  }
  state.layoutLoaded = true;
}

void ReadStateAtStart(MainState& state, const ServiceYear& today, UserPrompts& prompts) {
  state.selection.year.reportMonth = today.reportMonth;
  state.selection.year.currentYear = today.currentYear;

  state.languageCode = LoadString(StringId::LanguageCode);
  state.settings = ReadSettings(state.settingsFile, state.languageCode);
  state.settingsChanged = false;
  state.stopRequested = false;
  state.data.paths().folder = state.workFolder;

  SettleDataLocation(state, prompts);
  state.data.paths().dataLocation = state.settings.dataLocation;
  state.data.paths().currentDrive = state.currentDrive;

  if (!state.stopRequested) {
    if (state.data.AllocateTables()) {
      state.data.LoadAllData(state.stopRequested, [&prompts](const PublisherRecord& header) {
        return prompts.CheckPassword(header);
      });
    } else {
      prompts.ShowMessage(LoadString(StringId::OutOfMemory));
    }
  }
  if (IsPortuguese(state.languageCode) && state.data.current.count >= 1)
    SortPublishers(state.data.current, state.settings.firstNameSort);

  state.selection.useFullName = true;
  state.settings.cardVersion = ValidCardVersion(state.settings.cardVersion, CardVersionCount());
  state.selection.printHeader = true;
  state.selection.printGenderMarks = false;
  state.selection.genderMarksEnabled = true;
  if (state.stopRequested) return;

  UpdateMonthBoxes(state.selection, state.data);
  LoadLayoutOfWorkFolder(state);
  state.newFormFlag = IsNewForm(state.settings.cardVersion);
  state.fontCharset = FontCharset(state.languageCode);
}

std::vector<std::filesystem::path> FilesThisProgramWrites(const MainState& state) {
  std::vector<std::filesystem::path> files{state.settingsFile,
                                           state.workFolder / kPrintLedgerFileName,
                                           state.workFolder / kPendingJobsFileName};
  for (int version = 0; version < CardVersionCount(); ++version)
    files.push_back(LayoutFile(state.workFolder, version));
  return files;
}

ExitReport WriteStateAtExit(MainState& state) {
  ExitReport report;
  state.data.ReleaseTables();
  if (state.settingsChanged) {
    report.settingsWritten = WriteSettings(state.settingsFile, state.settings, state.languageCode,
                                           &report.settingsError);
  }
  if (state.layoutLoaded) {
    report.layoutChanged = state.layoutChanged;
    report.layoutKept =
        !state.layoutKeptReason.empty() && state.layoutKeptVersion == state.settings.cardVersion;
    // Kept even when it became readable meanwhile: this run holds the defaults, not its positions.
    if (report.layoutKept) {
      report.layoutWritten = false;
      report.layoutError = LoadStringWith(StringId::LayoutFileKept, {state.layoutKeptReason});
    } else {
      report.layoutWritten = SaveLayout(state.layout, state.workFolder, state.settings.cardVersion,
                                        &report.layoutError);
    }
  }
  return report;
}

}  // namespace velunorh

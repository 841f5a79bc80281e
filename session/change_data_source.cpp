#include "session/change_data_source.h"

#include <system_error>

namespace velunorh {
namespace {

constexpr std::uintmax_t kMinPublisherFileSize = 500;

void SetDataLocation(MainState& state, int location) {
  state.settings.dataLocation = location;
  state.data.paths().dataLocation = location;
}

// Loads the new location's data when it has any; false when the switch is refused.
bool SwitchTo(MainState& state, int location, UserPrompts& prompts) {
  SetDataLocation(state, location);
  if (!HoldsPublisherData(state.data.paths().PublisherFile())) return true;
  const bool publishersLoaded = state.data.current.count > 1;
  if (publishersLoaded && !prompts.ConfirmNewData()) return false;
  state.data.LoadAllData(state.stopRequested, [&prompts](const PublisherRecord& header) {
    return prompts.CheckPassword(header);
  });
  return !state.stopRequested;
}

}  // namespace

bool HoldsPublisherData(const std::filesystem::path& publisherFile) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(publisherFile, ec)) return false;
  std::uintmax_t size = std::filesystem::file_size(publisherFile, ec);
  return !ec && size > kMinPublisherFileSize;
}

bool SwitchDataLocation(MainState& state, UserPrompts& prompts) {
  const int previousLocation = state.settings.dataLocation;
  state.stopRequested = false;

  std::optional<int> chosen = prompts.ChooseDataLocation(previousLocation, false);
  if (!chosen || *chosen == previousLocation) return false;

  if (SwitchTo(state, *chosen, prompts)) {
    state.settingsChanged = true;
  } else {
    SetDataLocation(state, previousLocation);
  }
  if (state.stopRequested) {
    // The refused data replaced the tables: load the old location's again, previous year
    // included, which the refusal would otherwise skip. It was accepted before: no prompt.
    state.stopRequested = false;
    state.data.LoadAllData(state.stopRequested);
  }
  return true;
}

}  // namespace velunorh

#pragma once

#include <filesystem>
#include <optional>

#include "companion/congregation_data.h"
#include "session/main_state.h"

namespace velunorh {

// True when a publisher file holds publisher data: it exists and is larger than 500 bytes.
bool HoldsPublisherData(const std::filesystem::path& publisherFile);

// Lets the user choose another data location and loads its data when it has any. Keeps the
// data on screen when the new source has none, when the user declines to replace the loaded
// publishers, or when the new data's password is refused (then the data of the old location is
// loaded again without a prompt). Returns true when the publisher list must be refilled.
bool SwitchDataLocation(MainState& state, UserPrompts& prompts);

}  // namespace velunorh

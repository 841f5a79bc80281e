#pragma once

#include "session/main_state.h"
#include "card/header_preview_pass.h"
#include "card/header_block_pass.h"
#include "card/monthly_grid_pass.h"
#include "card/monthly_preview_pass.h"

namespace velunorh {

// The inputs of the current selection and settings (string 132 gives the name's shift).
HeaderPreviewInput HeaderPreviewInputFrom(const MainState& state);

// The inputs of the current selection, settings and layout; the display name is computed from
// the data (loading the extension record), so it is right even before the preview has painted.
HeaderBlockInput HeaderBlockInputFrom(MainState& state);

MonthlyGridInput MonthlyGridInputFrom(const MainState& state);

MonthlyPreviewInput MonthlyPreviewInputFrom(const MainState& state);

}  // namespace velunorh

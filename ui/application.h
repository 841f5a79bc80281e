#pragma once

namespace velunorh {

// Program start: settings path, edition, then the main window, run modally.
int RunApplication(const char* argv0);

}  // namespace velunorh

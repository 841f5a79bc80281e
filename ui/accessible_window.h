#pragma once

namespace velunorh {

// Lets screen readers find the main window's right-click menu while it is open. Qt leaves popup
// windows out of the application's accessible children, so the window lists its open menus
// after its controls. Call once, before the window is made.
void ListOpenMenusWithMainWindow();

}  // namespace velunorh

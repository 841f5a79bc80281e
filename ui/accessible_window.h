#pragma once

class QWidget;

namespace velunorh {

// Lets screen readers find the main window's right-click menu while it is open. Qt leaves popup
// windows out of the application's accessible children, so the window lists its open menus
// after its controls. Call once, before the window is made.
void ListOpenMenusWithMainWindow();

// Names each group box of `dialog` by the title it shows: unnamed, an inner group box is read by
// the title of the group around it.
void NameGroupBoxesByTitle(QWidget* dialog);

}  // namespace velunorh

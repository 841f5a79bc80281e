#pragma once

class QKeyEvent;

namespace velunorh {

// Shift+F10 and the Menu key open the right-click menu from the keyboard.
bool IsContextMenuKey(const QKeyEvent& event);

}  // namespace velunorh

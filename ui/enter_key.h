#pragma once

class QWidget;

namespace velunorh {

// Enter and Return press the push button that has the focus; only when no push button has it
// does the window's default button take the key. Qt's dialogs would otherwise press the default
// button (Print, OK) for a focused button that is not an auto-default one.
void PressFocusedButtonOnEnter(QWidget* window);

}  // namespace velunorh

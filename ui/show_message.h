#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace velunorh {

// How a dialog tells the user something. Tests put a recorder in its place.
using ShowMessage = std::function<void(const QString& text)>;

// A warning box over `parent` with the program's title (string 147) and an OK button.
ShowMessage MessageBoxOver(QWidget* parent);

}  // namespace velunorh

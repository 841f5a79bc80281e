#pragma once

#include <QIcon>

namespace velunorh {

// Icon 128: the program's own icon.
QIcon ProgramIcon();

}  // namespace velunorh

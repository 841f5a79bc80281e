#include "ui/program_icon.h"

namespace velunorh {

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/velunorh.xpm")); }

}  // namespace velunorh

#include "ui/program_icon.h"

#include <QPixmap>

namespace velunorh {

// Read as XPM by name: an icon made from the file name asks every image plugin whether it knows
// the format, loading them all at start-up.
QIcon ProgramIcon() {
  return QIcon(QPixmap(QStringLiteral(":/velunorh.xpm"), "XPM"));
}

}  // namespace velunorh

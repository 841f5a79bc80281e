#include "ui/program_icon.h"

#include <QPixmap>

// The resources sit in a static library: nothing else refers to them, so the linker drops them
// unless they are registered by name.
static void RegisterResources() {
  Q_INIT_RESOURCE(resources);
}

namespace velunorh {

// Read as XPM by name: an icon made from the file name asks every image plugin whether it knows
// the format, loading them all at start-up.
QIcon ProgramIcon() {
  RegisterResources();
  return QIcon(QPixmap(QStringLiteral(":/velunorh.xpm"), "XPM"));
}

}  // namespace velunorh

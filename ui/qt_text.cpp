#include "ui/qt_text.h"

namespace velunorh {

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

QString Text(StringId id) {
  return FromUtf8(LoadString(id));
}

QString SlotText(const std::string& value) {
  return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
}

}  // namespace velunorh

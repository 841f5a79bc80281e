#include "card/recording_surface.h"

namespace velunorh {

int RecordingSurface::TextWidth(std::string_view text) {
  // Count UTF-8 characters, not bytes, so accented text measures like plain text.
  int characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
  int perCharacter = font_.emHeight > 1 ? font_.emHeight / 2 : 1;
  return characters * perCharacter;
}

const RecordingSurface::Text* RecordingSurface::Find(std::string_view text) const {
  for (const auto& t : texts)
    if (t.text == text) return &t;
  return nullptr;
}

}  // namespace velunorh

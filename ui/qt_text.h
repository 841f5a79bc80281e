#pragma once

#include <QString>
#include <string>

#include "base/string_table.h"

namespace velunorh {

// The core's texts are UTF-8.
QString FromUtf8(const std::string& text);

// A text of the string table.
QString Text(StringId id);

// A layout slot's bytes one for one as characters, whatever a hand-made layout file put there,
// so a slot that is not touched goes back unchanged and "7 characters" are 7 bytes.
QString SlotText(const std::string& value);

}  // namespace velunorh

#pragma once

#include <string>

namespace velunorh {

// The string table read by a bare id. Code names its texts with StringId; this form is for the
// table's own code and tests, and for the few callers not yet converted to names.
std::string LoadString(int id);
int LoadStringInt(int id);

}  // namespace velunorh

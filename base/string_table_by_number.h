#pragma once

#include <string>

namespace velunorh {

// The string table read by a bare id. Code names its texts with StringId; this form is for the
// table's own code and for tests that walk every id.
std::string LoadString(int id);
int LoadStringInt(int id);

}  // namespace velunorh

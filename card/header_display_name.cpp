#include "card/header_display_name.h"

#include "companion/name_date_format.h"

namespace velunorh {

std::string HeaderDisplayName(CongregationData& data, int slot, bool useFullName,
                              bool lastNameFirst) {
  if (slot < 1 || !data.current.IsLoaded(slot)) return "";
  const bool hasFullName =
      data.LoadExtension(slot) != 0 && !data.extensionBuffer().fullName().empty();
  if (hasFullName && useFullName) return data.extensionBuffer().fullName();
  return FormatName(data.current, slot, lastNameFirst);
}

}  // namespace velunorh

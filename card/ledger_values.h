#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "card/card_digest.h"

namespace velunorh {

// The data an item of the card was printed from, as the print ledger keeps it beside the item's
// digest: one line a person can read, and enough to tell later which field changed.
//
//   row:    the old form's cells / the new form's cells / the remark
//           "- - 24.75 - 3 1 / - - 24.75 3 1 / Kisegítő úttörő"
//   total:  the old form's totals / the new form's
//   header: the fields of HeaderData between "|"
//           "Kovács|Anna||female|Fő utca 1.|…"
//
// A cell is one word: "-" when empty, and a blank, "/", "\" or a line break in it written as
// "\s", "\/", "\\", "\n", "\r" ("\-" for a cell that is "-" itself). The remark and the
// header's fields keep their blanks; "\", "|" and line breaks are written "\\", "\|", "\n",
// "\r". The text has no line break and never starts or ends in a blank but where a remark or a
// field does.
std::string ValuesText(const RowData& data);
std::string ValuesText(const TotalData& data);
std::string ValuesText(const HeaderData& data);

// The data back from such a text; nothing when the text is not one.
std::optional<RowData> ReadRowValues(std::string_view text);
std::optional<TotalData> ReadTotalValues(std::string_view text);
std::optional<HeaderData> ReadHeaderValues(std::string_view text);

}  // namespace velunorh

#include "card/ledger_values.h"

namespace velunorh {
namespace {

constexpr char kEscape = '\\';
constexpr std::string_view kEmptyCell = "-";
constexpr std::string_view kFormEnd = "/";
constexpr char kFieldSeparator = '|';

// Appends `text` with each character of `special` (and the escape itself) escaped.
void PutEscaped(std::string& out, std::string_view text, std::string_view special) {
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == ' ' && special.find(' ') != std::string_view::npos) {
      out += "\\s";
    } else {
      if (c == kEscape || special.find(c) != std::string_view::npos) out += kEscape;
      out += c;
    }
  }
}

// The text without its escapes; nothing for an escape this format never writes.
std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != kEscape) {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 's':
        out += ' ';
        break;
      case '\\':
      case '/':
      case '-':
      case '|':
        out += text[i];
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

void PutCells(std::string& out, const std::vector<std::string>& cells) {
  for (const std::string& cell : cells) {
    if (cell.empty())
      out += kEmptyCell;
    else if (cell == kEmptyCell)
      out += "\\-";
    else
      PutEscaped(out, cell, " /");
    out += ' ';
  }
  out += kFormEnd;
}

// Reads cells from `text` at `at` up to the form's end ("/") and the blank after it, if any.
std::optional<std::vector<std::string>> ReadCells(std::string_view text, std::size_t& at) {
  std::vector<std::string> cells;
  for (;;) {
    const std::size_t end = std::min(text.find(' ', at), text.size());
    const std::string_view word = text.substr(at, end - at);
    at = end == text.size() ? end : end + 1;
    if (word == kFormEnd) return cells;
    if (word.empty() || end == text.size()) return std::nullopt;
    if (word == kEmptyCell) {
      cells.emplace_back();
      continue;
    }
    auto cell = Unescaped(word);
    if (!cell) return std::nullopt;
    cells.push_back(std::move(*cell));
  }
}

}  // namespace

std::string ValuesText(const RowData& data) {
  std::string out;
  PutCells(out, data.oldForm);
  out += ' ';
  PutCells(out, data.newForm);
  if (!data.remark.empty()) {
    out += ' ';
    PutEscaped(out, data.remark, {});
  }
  return out;
}

std::string ValuesText(const TotalData& data) {
  std::string out;
  PutCells(out, data.oldForm);
  out += ' ';
  PutCells(out, data.newForm);
  return out;
}

std::string ValuesText(const HeaderData& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0) out += kFieldSeparator;
    PutEscaped(out, data[i], "|");
  }
  return out;
}

std::optional<RowData> ReadRowValues(std::string_view text) {
  std::size_t at = 0;
  RowData data;
  auto oldForm = ReadCells(text, at);
  if (!oldForm) return std::nullopt;
  auto newForm = ReadCells(text, at);
  if (!newForm) return std::nullopt;
  // After the second form's end: nothing, or one blank and the remark.
  if (at < text.size() || text.ends_with(' ')) {
    auto remark = Unescaped(text.substr(at));
    if (!remark || remark->empty()) return std::nullopt;
    data.remark = std::move(*remark);
  }
  data.oldForm = std::move(*oldForm);
  data.newForm = std::move(*newForm);
  return data;
}

std::optional<TotalData> ReadTotalValues(std::string_view text) {
  std::size_t at = 0;
  auto oldForm = ReadCells(text, at);
  if (!oldForm) return std::nullopt;
  auto newForm = ReadCells(text, at);
  if (!newForm || at != text.size() || text.ends_with(' ')) return std::nullopt;
  return TotalData{std::move(*oldForm), std::move(*newForm)};
}

std::optional<HeaderData> ReadHeaderValues(std::string_view text) {
  HeaderData data;
  std::size_t field = 0, start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == kEscape) {
      ++i;  // the escaped character never ends a field
      continue;
    }
    if (i < text.size() && text[i] != kFieldSeparator) continue;
    if (field == data.size()) return std::nullopt;
    auto value = Unescaped(text.substr(start, i - start));
    if (!value) return std::nullopt;
    data[field++] = std::move(*value);
    start = i + 1;
  }
  if (field != data.size()) return std::nullopt;
  return data;
}

}  // namespace velunorh

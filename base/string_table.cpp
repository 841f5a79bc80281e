#include "base/string_table.h"

#include "base/string_table_by_number.h"

#include <cstddef>
#include <string_view>
#include <unordered_map>

#include "base/text_number.h"

extern const unsigned char kStringTableText[];
extern const std::size_t kStringTableTextSize;

namespace velunorh {
namespace {

std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      char next = text[++i];
      if (next == 'n') {
        out += '\n';
      } else if (next == 't') {
        out += '\t';
      } else if (next == '\\') {
        out += '\\';
      } else {
        out += '\\';
        out += next;
      }
    } else {
      out += c;
    }
  }
  return out;
}

// Entries are "<id><TAB><name><TAB><text>"; the name is for the code (StringId) and is skipped
// here. Anything else (blank lines, comments starting with '#') is skipped.
std::unordered_map<int, std::string> ParseTable(std::string_view all) {
  std::unordered_map<int, std::string> table;
  while (!all.empty()) {
    std::size_t end = all.find('\n');
    std::string_view line = all.substr(0, end);
    all = end == std::string_view::npos ? std::string_view{} : all.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) continue;
    int id = 0;
    bool digits = true;
    for (char c : line.substr(0, tab)) {
      if (c < '0' || c > '9') {
        digits = false;
        break;
      }
      id = id * 10 + (c - '0');
    }
    if (!digits) continue;
    const std::size_t nameEnd = line.find('\t', tab + 1);
    if (nameEnd == std::string_view::npos) continue;
    table[id] = Unescape(line.substr(nameEnd + 1));
  }
  return table;
}

const std::unordered_map<int, std::string>& Table() {
  static const auto table = ParseTable(
      std::string_view(reinterpret_cast<const char*>(kStringTableText), kStringTableTextSize));
  return table;
}

}  // namespace

std::string LoadString(int id) {
  auto it = Table().find(id);
  return it == Table().end() ? std::string{} : it->second;
}

int LoadStringInt(int id) {
  return LeadingInteger(LoadString(id));
}

std::string LoadString(StringId id) {
  return LoadString(static_cast<int>(id));
}

int LoadStringInt(StringId id) {
  return LoadStringInt(static_cast<int>(id));
}

std::string LoadStringWith(StringId id, std::initializer_list<std::string_view> arguments) {
  const std::string text = LoadString(id);
  std::string out;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char next = at + 1 < text.size() ? text[at + 1] : '\0';
    const std::size_t index = static_cast<std::size_t>(next - '1');
    if (text[at] == '%' && next >= '1' && next <= '9' && index < arguments.size()) {
      out += *(arguments.begin() + index);
      ++at;
    } else {
      out += text[at];
    }
  }
  return out;
}

std::string LoadStringOfRun(StringId first, int count, int offset) {
  if (offset < 0 || offset >= count) return {};
  return LoadString(static_cast<int>(first) + offset);
}

}  // namespace velunorh

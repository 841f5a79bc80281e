#include "session/publisher_list.h"

#include <cwctype>
#include <locale>
#include <utility>

#include "companion/name_date_format.h"
#include "session/card_selection.h"

namespace velunorh {
namespace {

std::string ListText(const PublisherTable& table, int slot, bool firstNameSort) {
  return FormatName(table, slot, !firstNameSort);
}

// Case-insensitive, locale-aware order of two UTF-8 keys.
bool KeyGreater(const std::string& a, const std::string& b) {
  auto fold = [](const std::string& s) {
    std::wstring wide;
    std::mbstate_t state{};
    const char* src = s.c_str();
    std::size_t n = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (n == static_cast<std::size_t>(-1)) {
      for (unsigned char c : s) wide += static_cast<wchar_t>(std::towlower(c));
      return wide;
    }
    wide.resize(n);
    src = s.c_str();
    state = {};
    std::mbsrtowcs(wide.data(), &src, n, &state);
    for (auto& c : wide) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return wide;
  };
  std::wstring fa = fold(a), fb = fold(b);
  return std::wcscoll(fa.c_str(), fb.c_str()) > 0;
}

}  // namespace

std::vector<PublisherListLine> BuildPublisherList(const PublisherTable& table, int group,
                                                  int reportMonth, bool firstNameSort) {
  std::vector<PublisherListLine> lines;
  for (int slot = 1; slot < table.count; ++slot) {
    if (InPublisherGroup(table, slot, group, reportMonth))
      lines.push_back({ListText(table, slot, firstNameSort), slot});
  }
  return lines;
}

void SortPublishers(PublisherTable& table, bool firstNameSort) {
  auto key = [&](int slot) {
    std::string text = ListText(table, slot, firstNameSort);
    TrimLeft(text);
    TrimRight(text);
    return text;
  };
  for (int i = 2; i < table.count; ++i) {
    if (!KeyGreater(key(i - 1), key(i))) continue;
    for (int b = i; b >= 2; --b) {
      if (KeyGreater(key(b - 1), key(b))) std::swap(table[b - 1], table[b]);
    }
  }
}

}  // namespace velunorh

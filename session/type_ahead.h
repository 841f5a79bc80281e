#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velunorh {

// The publisher list's letter search: letters typed while the list has the focus build a prefix,
// and the first line that begins with it (ignoring case) is selected.
class TypeAhead {
 public:
  static constexpr int kMaxPrefix = 31;

  // A fresh prefix, as on every visit of the list.
  void Reset() { prefix_.clear(); }

  // A typed character. For a letter (in the C library's letter class of the process's locale)
  // gives the line to select, or nothing when no line matches; other characters change nothing.
  std::optional<int> Type(char32_t c, const std::vector<std::string>& lines);

  const std::string& prefix() const { return prefix_; }

  // Whether Type takes c as a letter; other characters change neither prefix nor selection.
  static bool IsLetter(char32_t c);

 private:
  std::string prefix_;
};

}  // namespace velunorh

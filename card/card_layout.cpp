#include "card/card_layout.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "base/text_number.h"

namespace velunorh {
namespace {

// The table holds five entries of each per-version run (names, new-form flags) and a block of
// 20 entries per version for each run of default positions.
constexpr int kVersionSlots = 5;
constexpr int kDefaultStringsPerVersion = 20;

// Version v's default of one position, from the run that starts at version 0's first entry.
std::string VersionDefault(StringId versionZeroFirst, int version, int index, int count) {
  if (version < 0 || version >= kVersionSlots || index < 0 || index >= count) return {};
  return LoadStringOfRun(versionZeroFirst, kVersionSlots * kDefaultStringsPerVersion,
                         kDefaultStringsPerVersion * version + index);
}

bool SlotInside(std::size_t offset) {
  return offset <= CardLayout::kSize - CardLayout::kValueSize;
}

}  // namespace

std::string CardLayout::LayoutValue(std::size_t offset) const {
  if (!SlotInside(offset)) return {};
  const char* slot = reinterpret_cast<const char*>(bytes.data() + offset);
  return std::string(slot, strnlen(slot, kValueSize));
}

void CardLayout::SetLayoutValue(std::size_t offset, std::string_view text) {
  if (!SlotInside(offset)) return;
  std::size_t length = std::min(text.size(), kMaxValueLength);
  std::fill_n(bytes.begin() + offset, kValueSize, std::uint8_t{0});
  std::memcpy(bytes.data() + offset, text.data(), length);
}

int CardVersionCount() {
  return LoadStringInt(StringId::CardVersionCount);
}

std::string CardVersionName(int version) {
  return LoadStringOfRun(StringId::CardVersion0Name, kVersionSlots, version);
}

bool IsNewForm(int version) {
  return LoadStringOfRun(StringId::CardVersion0NewForm, kVersionSlots, version) == "Y";
}

std::string LayoutFileName(int version) {
  return version == 0 ? "cplot.dat" : "cplot" + std::to_string(version) + ".dat";
}

bool LoadLayout(CardLayout& layout, const std::filesystem::path& folder, int version) {
  layout.bytes.fill(0);
  InputFile in(folder / LayoutFileName(version));
  if (!in.isOpen() || in.Identity().size > kMaxLayoutFileBytes) return false;
  // One block of 400 bytes, like the file was always read: bytes beyond it are ignored.
  if (in.Read(layout.bytes.data(), CardLayout::kSize) == CardLayout::kSize) return true;
  layout.bytes.fill(0);  // a short file's bytes are discarded
  return false;
}

std::optional<std::string> LayoutFileUnreadable(const std::filesystem::path& folder, int version) {
  InputFile in(folder / LayoutFileName(version));
  switch (in.status()) {
    case InputFile::Status::kMissing:
      return std::nullopt;
    case InputFile::Status::kNotRegular:
      return LoadString(std::filesystem::is_directory(folder / LayoutFileName(version))
                            ? StringId::ReasonIsFolder
                            : StringId::ReasonNotRegular);
    case InputFile::Status::kFailed:
      return in.errorText();
    case InputFile::Status::kOpen:
      break;
  }
  // A short file is read (and replaced by a whole one) as it always was.
  if (in.Identity().size > kMaxLayoutFileBytes) return LoadString(StringId::ReasonFileTooLarge);
  return std::nullopt;
}

bool SaveLayout(const CardLayout& layout, const std::filesystem::path& folder, int version,
                std::string* error) {
  const std::filesystem::path file = folder / LayoutFileName(version);
  if (const auto unreadable = LayoutFileUnreadable(folder, version)) {
    if (error) *error = LoadStringWith(StringId::LayoutFileKept, {*unreadable});
    return false;
  }
  if (IsMarkedReadOnly(file)) {
    if (error) *error = LoadString(StringId::LayoutFileReadOnly);
    return false;
  }
  std::string_view image(reinterpret_cast<const char*>(layout.bytes.data()), CardLayout::kSize);
  return WriteFileAtomically(file, image, error);
}

void MakeDefaultLayout(CardLayout& layout, int version) {
  layout.bytes.fill(0);
  for (int i = 0; i < kHeaderPositionCount; ++i) {
    auto position = static_cast<HeaderPosition>(i);
    layout.SetX(position,
                VersionDefault(StringId::Version0NameX, version, i, kHeaderPositionCount));
    layout.SetY(position,
                VersionDefault(StringId::Version0NameY, version, i, kHeaderPositionCount));
  }
  for (int j = 0; j < kBodyValueCount; ++j) {
    layout.SetBody(static_cast<BodyValue>(j),
                   VersionDefault(StringId::Version0BodyTop, version, j, kBodyValueCount));
  }
}

namespace {

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Digits with at most one point, and that point no later than the second character: D.DD fits.
bool Acceptable(std::string_view text) {
  int points = 0;
  std::size_t lastPoint = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.') {
      ++points;
      lastPoint = i;
    } else if (!IsDigit(text[i])) {
      return false;
    }
  }
  return points <= 1 && (points == 0 || lastPoint <= 1);
}

}  // namespace

bool NormalizeLayoutValue(std::string& text) {
  std::string value(Trimmed(text));
  if (value.empty()) value = "0.00";
  if (!Acceptable(value)) return false;

  if (value.front() == '.') value.insert(0, "0");  // .5 -> 0.5
  const bool pointSecond = value.size() > 1 && value[1] == '.';
  if (value.size() == 1) {
    value += ".00";  // 7 -> 7.00
  } else if (value.size() == 2) {
    // 1. -> 1.00; two digits read like three or four, the second being tenths: 12 -> 1.20.
    value = pointSecond ? value.substr(0, 1) + ".00" : value.substr(0, 1) + "." + value[1] + "0";
  } else if (value.size() == 3) {
    value = pointSecond ? value + "0" : value.substr(0, 1) + "." + value.substr(1, 2);
  } else if (!pointSecond) {
    value = value.substr(0, 1) + "." + value.substr(1, 2);  // 1234 -> 1.23
  }
  // Four or more characters with the point second stay as they are ("1.234").
  text = value;
  return true;
}

int LayoutValueToDevice(std::string_view text, int unitsPerInch) {
  long long whole = !text.empty() && IsDigit(text[0]) ? text[0] - '0' : 0;
  long long hundredths = text.size() > 2 ? LeadingInteger(text.substr(2, 2)) : 0;
  long long units = unitsPerInch * hundredths / 100 + unitsPerInch * whole;
  return static_cast<int>(std::clamp<long long>(units, INT_MIN, INT_MAX));
}

int LayoutValueHundredths(std::string_view text) {
  return LayoutValueToDevice(text, 100);
}

}  // namespace velunorh

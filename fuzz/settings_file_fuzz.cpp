// The settings file: ReadSettings of a fuzzed file, WriteSettings onto it (every other line must
// survive, and the values must read back), the remembered printer read from it and written
// into it, the whole-file reading and writing of sections, and one ProfileFile write of fuzzed
// names.
//
// Input: 12 option bytes (the five integer settings as signed 16-bit numbers, the two booleans
// and the edition), then chunks: the settings file, the top and left margins, a section, key
// and value for the ProfileFile write, and a printer name.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/profile_file.h"
#include "fuzz_support.h"
#include "session/app_settings.h"
#include "session/remembered_printer.h"

namespace velunorh::fuzz {
namespace {

std::optional<std::string> ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// Whether a value reads back exactly as written: no blanks at its ends (the reader trims
// them), no pair of quotes around it (the reader removes them), no line break, and short
// enough not to be cut.
bool ReadsBackAsWritten(std::string_view value) {
  if (value.find_first_of("\r\n") != std::string_view::npos) return false;
  if (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back()))) return false;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return false;
  }
  return value.size() <= ProfileFile::kMaxTextBytes;
}

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    // Carriage returns at a line's end mean nothing to the reader, which trims them; the last
    // line's may become part of the line end that a new line after it brings.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return lines;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A key line of one of the written keys may come back with another value: the same text up to
// and including its '='.
bool IsWrittenKeyLine(const std::string& line) {
  static const std::vector<std::string> kKeys = {
      "alt date format", "last name first", "card version", "top", "left", "drive", "enabled"};
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  std::string name = line.substr(0, equals);
  while (!name.empty() && IsBlank(name.back())) name.pop_back();
  std::size_t start = 0;
  while (start < name.size() && IsBlank(name[start])) ++start;
  name = name.substr(start);
  for (char& c : name) c = Lower(c);
  for (const auto& key : kKeys) {
    if (name == key) return true;
  }
  return false;
}

// Every line of the old file is still there, in order; only the written keys' values changed.
void CheckOtherLinesSurvive(const std::string& before, const std::string& after) {
  const auto old = Lines(before);
  const auto now = Lines(after);
  std::size_t j = 0;
  for (const std::string& line : old) {
    const std::size_t prefix = line.find('=') + 1;
    bool found = false;
    for (; j < now.size() && !found; ++j) {
      found = now[j] == line ||
              (IsWrittenKeyLine(line) && now[j].compare(0, prefix, line, 0, prefix) == 0);
    }
    Check(found);
  }
}

int Low8(int value) {
  return value & 0xFF;
}

void CheckReadBack(const AppSettings& read, const AppSettings& written, bool portuguese) {
  Check(read.dateFormat == Low8(written.dateFormat));
  Check(read.lastNameFirst == written.lastNameFirst);
  Check(read.cardVersion == Low8(written.cardVersion));
  Check(read.dataLocation == Low8(written.dataLocation));
  Check(read.firstNameSort == (portuguese && written.firstNameSort));
  if (ReadsBackAsWritten(written.topMargin)) Check(read.topMargin == written.topMargin);
  if (ReadsBackAsWritten(written.leftMargin)) Check(read.leftMargin == written.leftMargin);
}

void CheckRead(const AppSettings& settings) {
  for (int value : {settings.dateFormat, settings.cardVersion, settings.dataLocation}) {
    Check(value >= 0 && value <= 255);
  }
  Check(settings.topMargin.size() <= ProfileFile::kMaxTextBytes);
  Check(settings.leftMargin.size() <= ProfileFile::kMaxTextBytes);
}

// One write of fuzzed names: what was written reads back, and nothing else changes.
void CheckProfileWrite(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value) {
  ProfileFile profile(text);
  Check(profile.Text() == text);
  const std::string before = profile.Text();
  if (!profile.WriteText(section, key, value)) {
    Check(profile.Text() == before);
    return;
  }
  const ProfileFile again(profile.Text());
  const std::string missing = "\x01missing";
  if (ReadsBackAsWritten(value)) Check(again.ReadText(section, key, missing) == value);
  Check(again.ReadText(section, key, missing) != missing);
}

// The sections read whole are what ProfileFile reads key by key, and written again they read
// back the same.
void CheckSections(std::string_view text) {
  const std::vector<ProfileSection> sections = ReadProfileSections(text);
  const ProfileFile profile(text);
  const std::string missing = "\x01missing";
  for (const ProfileSection& section : sections) {
    for (const auto& [key, value] : section.keys) {
      Check(profile.ReadText(section.name, key, missing) == value);
    }
  }
  const std::string written = WriteProfileSections(sections);
  const std::vector<ProfileSection> again = ReadProfileSections(written);
  // Names the writer leaves out (blanks inside brackets, say) make the two lists differ in
  // length; what it wrote must read back in order.
  std::size_t j = 0;
  for (const ProfileSection& section : again) {
    while (j < sections.size() && sections[j].name != section.name) ++j;
    Check(j < sections.size());
    std::size_t k = 0;
    for (const auto& pair : section.keys) {
      while (k < sections[j].keys.size() && sections[j].keys[k] != pair) ++k;
      Check(k < sections[j].keys.size());
    }
    ++j;
  }
}

// The printer name read from the file is what ProfileFile reads; a name written reads back and
// leaves the other settings as they were.
void CheckRememberedPrinter(const std::filesystem::path& file, std::string_view text,
                            std::string_view name) {
  const std::string read = ReadRememberedPrinter(file);
  if (text.size() <= kMaxSettingsFileBytes) {
    Check(read == ProfileFile(text).ReadText("Printer", "Name", ""));
  } else {
    Check(read.empty());
  }
  const AppSettings before = ReadSettings(file, "hun");
  const auto bytesBefore = ReadFile(file);
  if (!WriteRememberedPrinter(file, std::string(name))) {
    Check(ReadFile(file) == bytesBefore);
    return;
  }
  if (ReadsBackAsWritten(name)) Check(ReadRememberedPrinter(file) == name);
  Check(ReadSettings(file, "hun") == before);
}

}  // namespace
}  // namespace velunorh::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace velunorh;
  using namespace velunorh::fuzz;
  FuzzInput input(bytes, size, 12);
  const auto& folder = ScratchFolder();
  const auto file = folder / "velunorh.INI";
  const auto text = input.NextChunk();
  PutFile(file, text);

  const AppSettings hun = ReadSettings(file, "hun");
  const AppSettings portuguese = ReadSettings(file, "portuguese");
  CheckRead(hun);
  CheckRead(portuguese);
  Check(!hun.firstNameSort);
  AppSettings same = portuguese;
  same.firstNameSort = false;
  same.firstNameSortStored = hun.firstNameSortStored;  // only the Portuguese edition reads it
  Check(same == hun);

  AppSettings settings;
  settings.dateFormat = static_cast<std::int16_t>(input.Option16(0));
  settings.cardVersion = static_cast<std::int16_t>(input.Option16(2));
  settings.dataLocation = static_cast<std::int16_t>(input.Option16(4));
  settings.lastNameFirst = input.Option(6) & 1;
  settings.firstNameSort = input.Option(6) & 2;
  const bool isPortuguese = input.Option(6) & 4;
  const std::string language = isPortuguese ? "portuguese" : "hun";
  settings.topMargin = std::string(input.NextChunk().value_or("0.00"));
  settings.leftMargin = std::string(input.NextChunk().value_or("0.20"));

  const auto before = ReadFile(file);
  const bool breaks = settings.topMargin.find_first_of("\r\n") != std::string::npos ||
                      settings.leftMargin.find_first_of("\r\n") != std::string::npos;
  std::string error;
  const bool fits = text.value_or("").size() <= kMaxSettingsFileBytes;
  const bool written = WriteSettings(file, settings, language, &error);
  Check(written == (!breaks && fits));
  const auto after = ReadFile(file);
  if (!written) {
    Check(after == before);  // a refused write leaves the file as it was
  } else {
    Check(after.has_value());
    CheckOtherLinesSurvive(before.value_or(""), *after);
    CheckReadBack(ReadSettings(file, language), settings, isPortuguese);
    // Writing the same settings again changes nothing.
    Check(WriteSettings(file, settings, language));
    Check(ReadFile(file) == after);
  }

  const auto section = input.NextChunk();
  const auto key = input.NextChunk();
  const auto value = input.NextChunk();
  if (section && key && value) CheckProfileWrite(text.value_or(""), *section, *key, *value);
  CheckSections(text.value_or(""));

  PutFile(file, text);
  CheckRememberedPrinter(file, text.value_or(""), input.NextChunk().value_or("Irodai nyomtató"));
  return 0;
}

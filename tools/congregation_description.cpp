#include "tools/congregation_description.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace velunorh::tools {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The first word of a line and the rest of it.
std::pair<std::string, std::string> SplitKey(const std::string& line) {
  const auto end = line.find_first_of(" \t");
  if (end == std::string::npos) return {line, ""};
  return {line.substr(0, end), Trim(line.substr(end))};
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// What a publisher block gathers besides the record itself. Outside the parser: clang cannot
// default-construct a nested struct with member initializers inside its enclosing class.
struct Pending {
  Publisher publisher;
  int firstLine = 0;
  std::optional<Pioneer> pioneer;
  std::array<bool, 12> monthPioneerGiven{};
  std::optional<std::uint16_t> extensionIndex;
  std::string fullName, text2, text3;
  bool hasExtension = false;
  std::vector<std::pair<int, std::string>> remarks;
};

class Parser {
 public:
  Parser(std::istream& in, std::string source) : in_(in), source_(std::move(source)) {}

  Congregation Parse() {
    for (std::string raw; std::getline(in_, raw);) {
      ++line_;
      const std::string line = Trim(raw);
      if (line.empty() || line[0] == '#') continue;
      ParseLine(line);
    }
    FinishPublisher();
    return std::move(result_);
  }

 private:
  [[noreturn]] void Fail(const std::string& message) const {
    throw WriterError(source_ + ":" + std::to_string(line_) + ": " + message);
  }

  long Number(const std::string& text, long low, long high, const char* what) const {
    long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
      Fail(std::string(what) + " must be a number, not \"" + text + "\"");
    }
    if (value < low || value > high) {
      Fail(std::string(what) + " " + text + " is outside " + std::to_string(low) + "-" +
           std::to_string(high));
    }
    return value;
  }

  int Month(const std::string& text) const {
    return static_cast<int>(Number(text, 1, 12, "the month (1 = January ... 12 = December)"));
  }

  Pioneer PioneerNamed(const std::string& name) const {
    if (name == "none") return Pioneer::kNone;
    if (name == "auxiliary") return Pioneer::kAuxiliary;
    if (name == "regular") return Pioneer::kRegular;
    Fail("pioneer is none, auxiliary or regular, not \"" + name + "\"");
  }

  PublisherFile& File() {
    if (section_ == Section::kNone) Fail("a [current] or [previous] section comes first");
    if (section_ == Section::kCurrent) return result_.current;
    return *result_.previous;
  }

  void ParseLine(const std::string& line) {
    if (line == "[current]" || line == "[previous]") {
      FinishPublisher();
      section_ = line == "[current]" ? Section::kCurrent : Section::kPrevious;
      if (section_ == Section::kPrevious && !result_.previous) result_.previous.emplace();
      return;
    }
    const auto [key, value] = SplitKey(line);
    if (key == "publisher") {
      FinishPublisher();
      File();
      pending_.emplace();
      pending_->firstLine = line_;
      return;
    }
    if (!pending_) {
      ParseFileSetting(key, value);
    } else {
      ParsePublisherLine(key, value);
    }
  }

  void ParseFileSetting(const std::string& key, const std::string& value) {
    PublisherFile& file = File();
    if (key == "password") {
      if (value.empty()) Fail("password needs a text; leave the line out for no password");
      file.password = value;
    } else if (key == "plain") {
      file.scrambled = false;
    } else if (key == "year-marks") {
      const auto words = Words(value);
      if (words.size() != 12) Fail("year-marks needs twelve numbers");
      for (int i = 0; i < 12; ++i) {
        file.yearMarks[i] = static_cast<std::uint8_t>(Number(words[i], 0, 255, "a year mark"));
      }
    } else {
      Fail("unknown file setting \"" + key + "\" (publishers start with a \"publisher\" line)");
    }
  }

  void ParsePublisherLine(const std::string& key, const std::string& value) {
    Pending& pending = *pending_;
    Publisher& p = pending.publisher;
    static const std::map<std::string, std::string Publisher::*> kTexts{
        {"given", &Publisher::givenName},        {"family", &Publisher::familyName},
        {"address", &Publisher::homeAddress},    {"home-phone", &Publisher::homeTelephone},
        {"mobile", &Publisher::mobileTelephone}, {"spare", &Publisher::spareText},
        {"born", &Publisher::dateOfBirth},       {"immersed", &Publisher::dateImmersed},
    };
    if (auto text = kTexts.find(key); text != kTexts.end()) {
      p.*(text->second) = value;
    } else if (key == "id") {
      p.id = static_cast<std::uint16_t>(Number(value, 0, 65535, "id"));
    } else if (key == "anointed") {
      p.anointed = true;
    } else if (key == "appointment") {
      if (value == "elder") {
        p.appointment = Appointment::kElder;
      } else if (value == "servant") {
        p.appointment = Appointment::kMinisterialServant;
      } else {
        Fail("appointment is elder or servant, not \"" + value + "\"");
      }
    } else if (key == "sex") {
      if (value != "male" && value != "female") Fail("sex is male or female");
      p.sex = value == "male" ? Sex::kMale : Sex::kFemale;
    } else if (key == "pioneer") {
      pending.pioneer = PioneerNamed(value);
    } else if (key == "link") {
      p.previousYearLink = static_cast<std::uint16_t>(Number(value, 0, 65535, "link"));
    } else if (key == "extension-index") {
      pending.extensionIndex =
          static_cast<std::uint16_t>(Number(value, 0, 65535, "extension-index"));
    } else if (key == "full-name" || key == "extension-text2" || key == "extension-text3") {
      if (section_ != Section::kCurrent) Fail("the extension file belongs to [current]");
      (key == "full-name"         ? pending.fullName
       : key == "extension-text2" ? pending.text2
                                  : pending.text3) = value;
      pending.hasExtension = true;
    } else if (key == "month") {
      ParseMonth(value);
    } else if (key == "remark") {
      const auto [month, text] = SplitKey(value);
      pending.remarks.emplace_back(Month(month), text);
    } else if (key == "remark-slot") {
      const auto words = Words(value);
      if (words.size() != 2) Fail("remark-slot needs a month and a slot number");
      p.remarkSlot[Month(words[0]) - 1] =
          static_cast<std::uint8_t>(Number(words[1], 0, 255, "the remark slot"));
    } else {
      Fail("unknown publisher line \"" + key + "\"");
    }
  }

  void ParseMonth(const std::string& value) {
    const auto words = Words(value);
    if (words.size() < 2 || (words[1] != "old" && words[1] != "new")) {
      Fail("month needs a month number and old or new, then key=value pairs");
    }
    const int m = Month(words[0]) - 1;
    MonthReport report;
    report.newForm = words[1] == "new";
    static const std::map<std::string, int MonthReport::*> kValues{
        {"hours", &MonthReport::hours},
        {"quarters", &MonthReport::quarters},
        {"returnvisits", &MonthReport::returnVisits},
        {"studies", &MonthReport::bibleStudies},
        {"books", &MonthReport::books},
        {"brochures", &MonthReport::brochures},
        {"subscriptions", &MonthReport::subscriptions},
        {"magazines", &MonthReport::magazines},
        {"placements", &MonthReport::placements},
        {"videos", &MonthReport::videoShowings},
    };
    for (std::size_t i = 2; i < words.size(); ++i) {
      const auto equals = words[i].find('=');
      if (equals == std::string::npos) Fail("\"" + words[i] + "\" is not key=value");
      const std::string key = words[i].substr(0, equals);
      const std::string number = words[i].substr(equals + 1);
      if (key == "pioneer") {
        report.pioneer = PioneerNamed(number);
        pending_->monthPioneerGiven[m] = true;
      } else if (auto field = kValues.find(key); field != kValues.end()) {
        report.*(field->second) = static_cast<int>(Number(number, 0, 1000000, key.c_str()));
      } else {
        Fail("unknown month value \"" + key + "\"");
      }
    }
    pending_->publisher.months[m] = report;
  }

  void FinishPublisher() {
    if (!pending_) return;
    Pending pending = std::move(*pending_);
    pending_.reset();
    Publisher& p = pending.publisher;
    if (pending.pioneer) {
      for (int m = 0; m < 12; ++m) {
        if (!pending.monthPioneerGiven[m]) p.months[m].pioneer = *pending.pioneer;
      }
    }
    if (pending.extensionIndex) p.extensionIndex = *pending.extensionIndex;
    if (pending.hasExtension) {
      if (!pending.extensionIndex) p.extensionIndex = NextExtensionIndex();
      result_.extensions.push_back(
          {p.extensionIndex, p.id, pending.fullName, pending.text2, pending.text3});
    }
    if (!pending.remarks.empty() && p.id < 11) {
      throw WriterError(source_ + ":" + std::to_string(pending.firstLine) +
                        ": a publisher with remarks needs an id of 11 or more (smaller ids are "
                        "not matched to remarks)");
    }
    auto& remarks = section_ == Section::kCurrent ? result_.remarks : result_.previousRemarks;
    PublisherFile& file = File();
    const int publisherLine = pending.firstLine;
    try {
      EncodePublisherRecord(p, file.scrambled);
      if (pending.hasExtension) EncodeExtensionRecord(result_.extensions.back());
      for (const auto& [month, text] : pending.remarks) {
        Remark remark{static_cast<std::uint8_t>(month), p.id, text};
        RemarkFileBytes({remark});
        remarks.push_back(remark);
      }
    } catch (const WriterError& e) {
      throw WriterError(source_ + ":" + std::to_string(publisherLine) + ": " + e.what());
    }
    file.publishers.push_back(std::move(p));
  }

  std::uint16_t NextExtensionIndex() const {
    std::uint16_t highest = 0;
    for (const auto& entry : result_.extensions) highest = std::max(highest, entry.index);
    return static_cast<std::uint16_t>(highest + 1);
  }

  enum class Section { kNone, kCurrent, kPrevious };

  std::istream& in_;
  std::string source_;
  int line_ = 0;
  Section section_ = Section::kNone;
  Congregation result_;
  std::optional<Pending> pending_;
};

}  // namespace

Congregation ParseCongregation(std::istream& in, const std::string& sourceName) {
  return Parser(in, sourceName).Parse();
}

Congregation ReadCongregationFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) throw WriterError("cannot read " + file.string());
  return ParseCongregation(in, file.string());
}

}  // namespace velunorh::tools

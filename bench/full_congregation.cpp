#include "bench/full_congregation.h"

#include <array>
#include <string>
#include <vector>

#include "tools/field_encoding.h"

namespace velunorh::bench {
namespace {

using tools::Appointment;
using tools::MonthReport;
using tools::Pioneer;
using tools::Publisher;
using tools::PublisherFile;
using tools::Remark;
using tools::Sex;

constexpr std::array kMaleNames{"Árpád",  "Béla",  "Csaba",  "Dénes",  "Előd",   "Ferenc",
                                "Gábor",  "Gyula", "István", "János",  "Károly", "László",
                                "Miklós", "Ödön",  "Péter",  "Sándor", "Tamás",  "Zoltán"};
constexpr std::array kFemaleNames{"Ágnes",   "Borbála", "Csilla", "Dóra",    "Erzsébet", "Éva",
                                  "Gizella", "Ilona",   "Judit",  "Katalin", "Lívia",    "Márta",
                                  "Noémi",   "Piroska", "Réka",   "Szilvia", "Tünde",    "Zsófia"};
constexpr std::array kFamilyNames{
    "Szentgyörgyi", "Kovács", "Szabó",  "Tóth",   "Nagy",   "Horváth",  "Varga",   "Kiss",
    "Molnár",       "Németh", "Farkas", "Balogh", "Papp",   "Takács",   "Juhász",  "Lakatos",
    "Mészáros",     "Oláh",   "Simon",  "Rácz",   "Fekete", "Szilágyi", "Török",   "Fehér",
    "Balázs",       "Gál",    "Kocsis", "Pintér", "Fodor",  "Szűcs",    "Hegedűs", "Bíró"};
constexpr std::array kStreets{"Petőfi Sándor utca", "Kossuth Lajos utca",     "Szent István tér",
                              "Arany János körút",  "Erkel Ferenc utca",      "Rákóczi Ferenc út",
                              "Dózsa György út",    "Széchenyi István sétány"};
constexpr std::array kTowns{"6000 Kecskemét", "6041 Kerekegyháza", "6100 Kiskunfélegyháza",
                            "6034 Helvécia",  "6050 Lajosmizse",   "6060 Tiszakécske"};
constexpr std::array kRemarkTexts{
    "Emlékünnep: felszolgált",          "Kisegítő úttörő",
    "Beteg volt, kórházban feküdt",     "Körzetfelvigyázói látogatás hete",
    "Nyaralás alatt is szolgált",       "Késve adta le a jelentést",
    "Új bibliatanulmányozás kezdődött", "Levélben és telefonon tanúskodott"};

// Fixed pseudo-random figures, so every run measures the same folder.
class Figures {
 public:
  int Next(int below) {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int>((state_ >> 33) % static_cast<unsigned>(below));
  }

 private:
  std::uint64_t state_ = 0x5eed;
};

template <typename List>
std::string Pick(const List& list, int index) {
  return list[static_cast<std::size_t>(index) % list.size()];
}

std::string TwoDigits(int n) {
  return std::string(1, char('0' + n / 10)) + char('0' + n % 10);
}

// MMDDYYYY
std::string Date(int month, int day, int year) {
  return TwoDigits(month) + TwoDigits(day) + std::to_string(year);
}

MonthReport Report(Figures& f, bool newForm, Pioneer pioneer) {
  MonthReport r;
  r.newForm = newForm;
  r.pioneer = pioneer;
  r.hours = pioneer == Pioneer::kRegular     ? 50 + f.Next(40)
            : pioneer == Pioneer::kAuxiliary ? 30 + f.Next(20)
                                             : 1 + f.Next(25);
  r.quarters = f.Next(4);
  r.returnVisits = f.Next(30);
  r.bibleStudies = f.Next(5);
  if (newForm) {
    r.placements = f.Next(40);
    r.videoShowings = f.Next(10);
  } else {
    r.books = f.Next(6);
    r.brochures = f.Next(12);
    r.subscriptions = f.Next(4);
    r.magazines = f.Next(50);
  }
  return r;
}

// Publisher i of both years; `previousYear` picks the report packing of that file.
Publisher MakePublisher(int i, bool previousYear, Figures& f) {
  Publisher p;
  const bool male = i % 2 == 0;
  p.sex = i % 29 == 5 ? Sex::kUnknown : male ? Sex::kMale : Sex::kFemale;
  p.givenName = male ? Pick(kMaleNames, i / 2) : Pick(kFemaleNames, i / 2);
  p.familyName = Pick(kFamilyNames, i * 7 / 3);
  p.homeAddress = Pick(kTowns, i) + ", " + Pick(kStreets, i / 3) + " " +
                  std::to_string(1 + i % 97) + ". " + std::to_string(1 + i % 4) + ". emelet " +
                  std::to_string(1 + i % 12) + ".";
  p.homeTelephone = "76/" + std::to_string(400000 + i * 313);
  p.mobileTelephone = "06-30-" + std::to_string(1000000 + i * 7919);
  p.spareText = "csoport " + std::to_string(1 + i % 8);
  p.dateOfBirth = Date(1 + i % 12, 1 + i % 28, 1930 + i % 80);
  if (i % 10 != 9) p.dateImmersed = Date(1 + (i + 5) % 12, 1 + (i + 11) % 28, 1960 + i % 60);
  p.anointed = i % 50 == 0;
  p.id = static_cast<std::uint16_t>(kSubjectId + i);
  p.extensionIndex = static_cast<std::uint16_t>(1 + i);
  if (male)
    p.appointment = i % 6 == 0   ? Appointment::kElder
                    : i % 6 == 4 ? Appointment::kMinisterialServant
                                 : Appointment::kNone;
  const Pioneer standing = i % 10 == 0 ? Pioneer::kRegular : Pioneer::kNone;
  for (int month = 0; month < 12; ++month) {
    const Pioneer pioneer =
        standing == Pioneer::kNone && (i + month) % 7 == 0 ? Pioneer::kAuxiliary : standing;
    // The previous-year file still holds September to December in the old form.
    const bool newForm = !previousYear || month < 8;
    p.months[month] = Report(f, newForm, pioneer);
  }
  return p;
}

PublisherFile MakePublisherFile(bool previousYear, std::uint8_t yearMark) {
  PublisherFile file;
  file.scrambled = true;
  file.yearMarks.fill(yearMark);
  Figures f;
  for (int i = 0; i < kPublishers; ++i)
    file.publishers.push_back(MakePublisher(i, previousYear, f));
  return file;
}

// A scrambled text whose byte would scramble to 0 cannot be stored (the reader would stop
// there): such a name is passed over for the next one.
bool Storable(const std::string& utf8) {
  const std::string raw = tools::ToCodePage(utf8, "full name", "fullName");
  for (std::size_t i = 0; i < raw.size(); ++i)
    if ((static_cast<unsigned char>(raw[i]) + i + 47) % 256 == 0) return false;
  return true;
}

std::string FullName(int i) {
  for (int n = i;; ++n) {
    std::string name = "dr. " + Pick(kFamilyNames, i * 7 / 3) + " " + Pick(kMaleNames, i / 2) +
                       " " + Pick(kFemaleNames, n) + " " + Pick(kMaleNames, n + 3);
    if (Storable(name)) return name;
  }
}

std::vector<tools::ExtensionEntry> MakeExtensions() {
  std::vector<tools::ExtensionEntry> entries;
  for (int index = 1; index <= kExtensionRecords; ++index) {
    tools::ExtensionEntry e;
    e.index = static_cast<std::uint16_t>(index);
    const int i = index - 1;
    // Past the publishers come the records of those who have moved away.
    e.id = static_cast<std::uint16_t>(i < kPublishers ? kSubjectId + i : 1000 + i);
    e.fullName = FullName(i);
    e.text2 = Pick(kTowns, i + 2) + ", " + Pick(kStreets, i);
    e.text3 = "Értesítendő: " + Pick(kFemaleNames, i + 1) + " " + Pick(kFamilyNames, i) +
              ", 06-20-" + std::to_string(2000000 + i * 541);
    entries.push_back(e);
  }
  return entries;
}

// kRemarksPerMonth remarks in every month, entered month by month from September. Month m
// remarks a window of the publishers shifted by m * shift, which always holds the subject.
std::vector<Remark> MakeRemarks(int shift) {
  std::vector<Remark> remarks;
  for (int row = 0; row < 12; ++row) {
    const int month = (row + 8) % 12;
    for (int k = 0; k < kRemarksPerMonth; ++k) {
      const int i = ((k - month * shift) % kPublishers + kPublishers) % kPublishers;
      remarks.push_back({static_cast<std::uint8_t>(month + 1),
                         static_cast<std::uint16_t>(kSubjectId + i),
                         Pick(kRemarkTexts, i + month)});
    }
  }
  return remarks;
}

}  // namespace

tools::Congregation FullCongregation() {
  // The largest shift below keeps the subject inside every month's window.
  static_assert(11 * 7 < kRemarksPerMonth);
  tools::Congregation c;
  c.current = MakePublisherFile(false, kTodayYear % 100);
  c.extensions = MakeExtensions();
  c.remarks = MakeRemarks(5);
  c.previous = MakePublisherFile(true, kTodayYear % 100 - 1);
  c.previousRemarks = MakeRemarks(7);
  return c;
}

void WriteFullCongregation(const std::filesystem::path& folder) {
  tools::WriteCongregation(FullCongregation(), folder);
}

}  // namespace velunorh::bench

// The session without widgets: the card content follows the data and the choice, the boxes
// beside the header preview, the group print's plan, and the printer remembered across runs.
#include "session/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "base/atomic_file.h"
#include "base/string_table.h"
#include "no_questions.h"
#include "session/remembered_printer.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

tools::Publisher Named(const std::string& given, const std::string& family, std::uint16_t id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.months[8].newForm = true;  // September
  p.months[8].hours = 5;
  return p;
}

class SessionTest : public ::testing::Test {
 protected:
  void Write(const std::string& remark) {
    tools::Congregation c;
    c.current.publishers = {Named("Anna", "Kovács", 11), Named("", "", 12),
                            Named("Béla", "Szabó", 13)};
    c.remarks = {{9, 11, remark}};
    tools::WriteCongregation(c, dir_.path());
  }
  std::unique_ptr<Session> Start() {
    auto session = std::make_unique<Session>(
        Session::Places{dir_ / "velunorh.INI", dir_.path(), dir_ / "floppy"}, prompts_);
    EXPECT_EQ(session->StartUp(ServiceYear::FromDate(2026, 10)), SessionStatus::kRunning);
    return session;
  }

  test::TempDir dir_;
  test::NoQuestions prompts_;
};

TEST_F(SessionTest, ARemarkTheCompanionProgramChangesShowsAtTheNextRepaint) {
  Write("első szöveg");
  auto session = Start();
  session->ChoosePublisher(1);
  EXPECT_EQ(session->Content().rows[0].remark, "első szöveg");
  // Written again with another text of the same length, and a later time.
  Write("más szöveg!");
  const auto file = dir_ / "remark7.dat";
  std::filesystem::last_write_time(
      file, std::filesystem::last_write_time(file) + std::chrono::seconds(1));
  // Reading the card changes nothing; the window looks at the files again at each repaint.
  EXPECT_EQ(session->Content().rows[0].remark, "első szöveg");
  EXPECT_TRUE(session->RefreshFromFiles());
  EXPECT_EQ(session->Content().rows[0].remark, "más szöveg!");
  EXPECT_FALSE(session->RefreshFromFiles());
}

// The companion program saves one of its files while the program runs: the publishers are read
// again, and the chosen publisher stays chosen though one entered before it moved it in the file.
TEST_F(SessionTest, EachCompanionFileSavedMeanwhileIsReadAgainKeepingTheChoice) {
  using Shown = std::function<std::string(const CardContent&)>;
  const Shown hours = [](const CardContent& card) { return card.rows[0].cells[2]; };
  const Shown name = [](const CardContent& card) { return card.displayName; };
  struct Case {
    const char* what;
    // Changes the data and writes the one file the companion program saves.
    std::function<void(tools::Congregation&, const std::filesystem::path&)> save;
    Shown shown;
    std::string before, after;
    int slotAfter;
  };
  const Case cases[] = {
      {"publisher file",
       [](tools::Congregation& c, const std::filesystem::path& dir) {
         c.current.publishers[2].months[8].hours = 9;
         c.current.publishers.insert(c.current.publishers.begin(), Named("Ádám", "Ács", 14));
         tools::WriteBytesFile(dir / "tdat7.bin", tools::PublisherFileBytes(c.current));
       },
       hours, "5", "9", 4},
      {"extension file",
       [](tools::Congregation& c, const std::filesystem::path& dir) {
         c.extensions[0].fullName = "Szabó Béla Márton";
         tools::WriteBytesFile(dir / "xten7.dat", tools::ExtensionFileBytes(c.extensions));
       },
       name, "Szabó Béla Ödön", "Szabó Béla Márton", 3},
      {"previous year's file",
       [](tools::Congregation& c, const std::filesystem::path& dir) {
         c.previous->publishers[2].months[8].hours = 8;
         tools::WriteBytesFile(dir / "Roll" / "Ov7_8" / "tdat7.bin",
                               tools::PublisherFileBytes(*c.previous));
       },
       name, "Szabó Béla Ödön", "Szabó Béla Ödön", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tools::Congregation data;
    data.current.publishers = {Named("Anna", "Kovács", 11), Named("", "", 12),
                               Named("Béla", "Szabó", 13)};
    data.current.publishers[2].extensionIndex = 1;
    data.extensions = {{1, 13, "Szabó Béla Ödön", "", ""}};
    data.previous = data.current;
    tools::WriteCongregation(data, dir_.path());
    auto session = Start();
    session->ChoosePublisher(3);
    ASSERT_EQ(c.shown(session->Content()), c.before);
    EXPECT_FALSE(session->RefreshFromFiles());

    c.save(data, dir_.path());
    EXPECT_TRUE(session->RefreshFromFiles());
    EXPECT_EQ(session->selection().selectedPublisher, c.slotAfter);
    EXPECT_EQ(c.shown(session->Content()), c.after);
    EXPECT_EQ(session->publisherReadings(), 1);
    EXPECT_FALSE(session->RefreshFromFiles());
  }
}

TEST_F(SessionTest, TheContentFollowsTheChoice) {
  Write("x");
  auto session = Start();
  session->ChoosePublisher(3);
  EXPECT_EQ(session->Content().displayName, "Béla Szabó");
  session->SetLastNameFirst(true);
  EXPECT_EQ(session->Content().displayName.rfind("Szabó", 0), 0u) << session->Content().displayName;
  session->ChoosePublisher(1);
  EXPECT_EQ(session->Content().displayName, "Kovács, Anna");
  EXPECT_EQ(session->Content().rows[0].cells[2], "5");
}

TEST_F(SessionTest, TheGroupPrintSkipsPublishersWithoutAName) {
  Write("x");
  auto session = Start();
  const Session::GroupPlan plan = session->PlanGroupPrint();
  EXPECT_EQ(plan.slots, (std::vector<int>{1, 3}));
  EXPECT_EQ(plan.skipped, 1);
}

TEST_F(SessionTest, TheChosenPrinterIsWrittenAtExitAndReadAtTheNextStart) {
  Write("x");
  test::WriteText(dir_ / "velunorh.INI", "; kept\n[Format]\nAlt Date Format=1\n");
  {
    auto session = Start();
    EXPECT_EQ(session->rememberedPrinter(), "");
    session->SetChosenPrinter("Irodai nyomtató");
    EXPECT_TRUE(session->Exit().printerWritten);
  }
  EXPECT_EQ(test::ReadText(dir_ / "velunorh.INI"),
            "; kept\n[Format]\nAlt Date Format=1\n\n[Printer]\nName=Irodai nyomtató\n");
  auto session = Start();
  EXPECT_EQ(session->rememberedPrinter(), "Irodai nyomtató");
  EXPECT_TRUE(session->Exit().printerWritten);  // nothing chosen this run: nothing written
  EXPECT_EQ(ReadRememberedPrinter(dir_ / "velunorh.INI"), "Irodai nyomtató");
}

TEST_F(SessionTest, TheStartRemovesWhatASaveCutShortLeftOfItsFiles) {
  Write("x");
  const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(3);
  const std::string mark(kTemporaryMark);
  const std::vector<std::string> stale = {"velunorh.INI" + mark + "aB3dE5",
                                          "velunorh-ledger.ini" + mark + "Zz9Yy8",
                                          "cplot.dat" + mark + "q1w2e3"};
  const std::vector<std::string> kept = {"velunorh-ledger.ini.Zz9Yy8",
                                         "tdat7.bin" + mark + "aB3dE5"};
  for (const auto& names : {stale, kept}) {
    for (const std::string& name : names) {
      test::WriteText(dir_ / name, "x");
      std::filesystem::last_write_time(dir_ / name, longAgo);
    }
  }
  auto session = Start();
  for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(dir_ / name)) << name;
  for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(dir_ / name)) << name;
}

// A settings file the user made read-only (in a folder where it could be replaced) stays as it
// is, and the user hears of it once, only when something they changed cannot be kept.
TEST_F(SessionTest, AReadOnlySettingsFileIsNotReplacedAndToldOnce) {
  namespace fs = std::filesystem;
  struct Case {
    bool changeSetting;
    bool choosePrinter;
  } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
  Write("x");
  const auto file = dir_ / "velunorh.INI";
  const std::string text = "[Format]\nAlt Date Format=1\n";
  for (const Case& c : cases) {
    test::WriteText(file, text);
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto session = Start();
    if (c.changeSetting) session->SetLastNameFirst(true);
    if (c.choosePrinter) session->SetChosenPrinter("Irodai nyomtató");
    const ExitReport report = session->Exit();

    const std::string what = std::to_string(c.changeSetting) + std::to_string(c.choosePrinter);
    EXPECT_EQ(test::ReadText(file), text) << what;
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read)
        << what;
    const std::vector<std::string> told = {report.settingsError, report.printerError};
    const auto messages =
        std::count_if(told.begin(), told.end(), [](const std::string& e) { return !e.empty(); });
    EXPECT_EQ(messages, c.changeSetting || c.choosePrinter ? 1 : 0) << what;
    EXPECT_EQ(report.settingsWritten && report.printerWritten, !c.changeSetting && !c.choosePrinter)
        << what;
    for (const std::string& error : told) {
      if (!error.empty()) {
        EXPECT_EQ(error, LoadString(StringId::SettingsFileReadOnly)) << what;
      }
    }
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  }
}

// A row chosen in the list offers the full name again; a publisher found by typing keeps the box.
TEST_F(SessionTest, ChoosingFromTheListTicksTheFullNameAgain) {
  tools::Congregation c;
  c.current.publishers = {Named("Anna", "Kovács", 11), Named("Béla", "Szabó", 13)};
  c.current.publishers[1].extensionIndex = 1;
  c.extensions = {{1, 13, "Szabó Béla Ferenc", "", ""}};
  tools::WriteCongregation(c, dir_.path());
  struct Case {
    bool fromList;
    bool useFullName;
    const char* displayName;
  } cases[] = {{true, true, "Szabó Béla Ferenc"}, {false, false, "Béla Szabó"}};
  for (const Case& k : cases) {
    auto session = Start();
    session->ChooseFromList(1);
    session->SetUseFullName(false);
    if (k.fromList)
      session->ChooseFromList(2);
    else
      session->ChoosePublisher(2);
    EXPECT_EQ(session->selection().useFullName, k.useFullName) << k.fromList;
    EXPECT_EQ(session->Content().displayName, k.displayName) << k.fromList;
  }
}

// The options dialog opens with the session's values; only its OK takes values over, and only a
// changed value counts as a change to write at exit.
TEST_F(SessionTest, TheOptionsAreTakenOverOnOk) {
  struct Case {
    const char* what;
    bool ok;
    void (*edit)(OptionsValues&);
    bool settingsChanged;
    bool layoutChanged;
  } cases[] = {
      {"cancel", false, [](OptionsValues& v) { v.leftMargin = "0.45"; }, false, false},
      {"OK, nothing changed", true, [](OptionsValues&) {}, false, false},
      {"a margin", true, [](OptionsValues& v) { v.leftMargin = "0.45"; }, true, false},
      {"a date format", true, [](OptionsValues& v) { v.dateFormat = 3; }, true, false},
      {"the grid", true, [](OptionsValues& v) { v.layout.SetBody(BodyValue::BodyTop, "1.31"); },
       true, true},
  };
  Write("x");
  for (const Case& c : cases) {
    std::filesystem::remove(dir_ / "velunorh.INI");
    auto session = Start();
    OptionsValues chosen = session->Options();
    EXPECT_EQ(chosen.layout, session->layout()) << c.what;
    EXPECT_EQ(chosen.leftMargin, session->settings().leftMargin) << c.what;
    c.edit(chosen);
    EXPECT_EQ(session->ApplyOptions(c.ok ? std::optional(chosen) : std::nullopt), c.settingsChanged)
        << c.what;
    if (c.ok) {
      EXPECT_EQ(session->Options(), chosen) << c.what;
    }
    const ExitReport report = session->Exit();
    EXPECT_EQ(report.layoutChanged, c.layoutChanged) << c.what;
    EXPECT_EQ(std::filesystem::exists(dir_ / "velunorh.INI"), c.settingsChanged) << c.what;
  }
}

TEST(RememberedPrinter, AKeyOfAnyLengthOrGarbageReadsAsAName) {
  test::TempDir dir;
  const auto file = dir / "velunorh.INI";
  test::WriteText(file, "[Printer]\nName=" + std::string(5000, 'x') + "\n");
  EXPECT_EQ(ReadRememberedPrinter(file).size(), 4095u);
  test::WriteText(file, "[Printer]\nName=\x01\xff\xfe garbage\n");
  EXPECT_EQ(ReadRememberedPrinter(file), "\x01\xff\xfe garbage");
  // A name that cannot stand on one line is refused and the file stays as it was.
  std::string error;
  EXPECT_FALSE(WriteRememberedPrinter(file, "two\nlines", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadRememberedPrinter(file), "\x01\xff\xfe garbage");
}

// The boxes beside the header preview: the full-name box only for a usable full name, the
// family-name-first box unless the full name is shown, F/N only for a publisher with a sex.
TEST(SessionHeaderBoxes, FollowTheFullNameTheChoiceAndTheSex) {
  tools::Congregation c;
  for (int i = 0; i < 3; ++i) {
    tools::Publisher p;
    p.id = static_cast<std::uint16_t>(20 + i);
    p.givenName = "Bela";
    p.familyName = "Szabo";
    p.sex = i == 2 ? tools::Sex::kUnknown : tools::Sex::kMale;
    c.current.publishers.push_back(p);
  }
  c.current.publishers[0].extensionIndex = 1;
  c.extensions = {{1, 20, "Szabo Bela Ferenc", "", ""}};
  test::TempDir dir;
  tools::WriteCongregation(c, dir.path());
  test::NoQuestions prompts;
  Session session({dir / "velunorh.INI", dir.path(), dir / "floppy"}, prompts);
  ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 11)), SessionStatus::kRunning);
  struct Case {
    const char* what;
    int slot;
    bool useFullName;
    bool fullName, lastNameFirst, genderMarks;
  } cases[] = {
      {"full name shown", 1, true, true, false, true},
      {"full name not wanted", 1, false, true, true, true},
      {"no full name", 2, true, false, true, true},
      {"no sex", 3, true, false, true, false},
      {"no publisher", 0, true, false, true, false},
  };
  for (const auto& k : cases) {
    session.ChoosePublisher(k.slot);
    session.SetUseFullName(k.useFullName);
    const HeaderBoxes boxes = session.VisibleHeaderBoxes();
    EXPECT_EQ(boxes.fullName, k.fullName) << k.what;
    EXPECT_EQ(boxes.lastNameFirst, k.lastNameFirst) << k.what;
    EXPECT_EQ(boxes.genderMarks, k.genderMarks) << k.what;
  }
}

}  // namespace
}  // namespace velunorh

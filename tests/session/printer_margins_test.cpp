#include "session/printer_margins.h"

#include <gtest/gtest.h>

#include "no_questions.h"
#include "session/app_settings.h"
#include "session/remembered_printer.h"
#include "session/session.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh {
namespace {

TEST(PrinterMargins, AnotherPrinterBringsItsOwnMarginsBack) {
  struct Case {
    const char* what;
    PrinterMarginBook book;
    const char* from;
    const char* to;
    bool changed;
    const char* left;  // the margins in use after, from 0.20 / 0.10 before
    const char* top;
    PrinterMarginBook after;
  } cases[] = {
      {"a new printer keeps the margins",
       {},
       "Otthon",
       "Terem",
       true,
       "0.20",
       "0.10",
       {"Terem", {{"Otthon", {"0.20", "0.10"}}}}},
      {"back to the first",
       {"Terem", {{"Otthon", {"0.35", "0.05"}}}},
       "ignored",
       "Otthon",
       true,
       "0.35",
       "0.05",
       {"Otthon", {{"Terem", {"0.20", "0.10"}}}}},
      {"the same printer",
       {"Terem", {{"Otthon", {"0.35", "0.05"}}}},
       "Terem",
       "Terem",
       false,
       "0.20",
       "0.10",
       {"Terem", {{"Otthon", {"0.35", "0.05"}}}}},
      // A file of one printer does not say whose its margins are: the printer before.
      {"owner unknown", {}, "Otthon", "Otthon", false, "0.20", "0.10", {}},
      {"nothing chosen (print to a file)",
       {"Terem", {}},
       "Terem",
       "",
       false,
       "0.20",
       "0.10",
       {"Terem", {}}},
      {"no printer known before", {}, "", "Terem", true, "0.20", "0.10", {"Terem", {}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string left = "0.20", top = "0.10";
    EXPECT_EQ(SwitchPrinterMargins(c.book, left, top, c.from, c.to), c.changed);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(top, c.top);
    EXPECT_EQ(c.book, c.after);
  }
}

class PrinterMarginsFile : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_ / "velunorh.INI"; }
  test::TempDir dir_;
};

// A file that never knew a second printer is written exactly as before.
TEST_F(PrinterMarginsFile, OnePrinterWritesAsBefore) {
  test::WriteText(File(), "[Margins]\nTop=0.10\nLeft=0.30\n[Printer]\nName=Otthon\n");
  AppSettings settings = ReadSettings(File(), "hun");
  EXPECT_EQ(settings.printerMargins, PrinterMarginBook{});
  settings.leftMargin = "0.32";
  ASSERT_TRUE(WriteSettings(File(), settings, "hun"));
  EXPECT_EQ(test::ReadText(File()),
            "[Margins]\nTop=0.10\nLeft=0.32\n[Printer]\nName=Otthon\n\n[Format]\n"
            "Alt Date Format=0\nLast Name First=0\nCard Version=0\n\n[Data Location]\nDrive=0\n");
}

// Names with "=", ";" and blanks come back whole; a smaller book leaves no entry behind.
TEST_F(PrinterMarginsFile, OtherPrintersMarginsRoundTrip) {
  AppSettings settings;
  settings.printerMargins = {"Terem",
                             {{"Otthon = HP; 2", {"0.35", "0.05"}}, {"C", {"1.00", "0.00"}}}};
  ASSERT_TRUE(WriteSettings(File(), settings, "hun"));
  EXPECT_EQ(ReadSettings(File(), "hun").printerMargins, settings.printerMargins);

  settings.printerMargins.others.erase("C");
  ASSERT_TRUE(WriteSettings(File(), settings, "hun"));
  EXPECT_EQ(ReadSettings(File(), "hun").printerMargins, settings.printerMargins);
  EXPECT_EQ(test::ReadText(File()).find("1.00 0.00 C"), std::string::npos);

  // A damaged entry is left out; the others stay.
  test::WriteText(File(),
                  "[Margins]\nPrinter=Terem\n[Printer Margins]\nCount=3\nPrinter1=0.20\n"
                  "Printer2=0.35 0.05 Otthon\nPrinter3=0.10 0.10 \n");
  EXPECT_EQ(ReadSettings(File(), "hun").printerMargins,
            (PrinterMarginBook{"Terem", {{"Otthon", {"0.35", "0.05"}}}}));
}

// Printer names as systems give them come back whole, as the printer in use and as another one;
// lines an older program wrote read as they always did.
TEST_F(PrinterMarginsFile, EveryPrinterNameReadsBackWhole) {
  const char* const names[] = {
      "Irodai nyomtató 2", "HP = 2; Terem",       "; Terem",
      "[Terem]",           "\\\\szerver\\HP 4",   " kezdő szóköz",
      "záró szóköz ",      "\"idézve\"",          "'idézve'",
      "\"félig",           "két  szóköz\tés tab", "Ő",
      "0.10 0.20",         "\" \" körül",
  };
  for (const char* name : names) {
    SCOPED_TRACE(name);
    for (bool inUse : {true, false}) {
      AppSettings settings;
      settings.printerMargins = inUse ? PrinterMarginBook{name, {{"Otthon", {"0.35", "0.05"}}}}
                                      : PrinterMarginBook{"Otthon", {{name, {"0.35", "0.05"}}}};
      ASSERT_TRUE(WriteSettings(File(), settings, "hun"));
      EXPECT_EQ(ReadSettings(File(), "hun").printerMargins, settings.printerMargins) << inUse;
    }
    // The remembered printer is matched against the margins' owner at start.
    ASSERT_TRUE(WriteRememberedPrinter(File(), name));
    EXPECT_EQ(ReadRememberedPrinter(File()), name);
  }

  struct Old {
    const char* line;
    const char* name;
  } old[] = {
      {"Printer1=0.35 0.05 Irodai nyomtató 2", "Irodai nyomtató 2"},
      {"Printer1=0.35 0.05 \"HP\"", "\"HP\""},
      {"Printer1 = 0.35 0.05 HP = 2; Terem  ", "HP = 2; Terem"},
  };
  for (const Old& o : old) {
    SCOPED_TRACE(o.line);
    test::WriteText(File(), std::string("[Margins]\nPrinter=Terem\n[Printer Margins]\nCount=1\n") +
                                o.line + "\n");
    EXPECT_EQ(ReadSettings(File(), "hun").printerMargins,
              (PrinterMarginBook{"Terem", {{o.name, {"0.35", "0.05"}}}}));
  }
}

// At start, margins kept for another printer give way to the remembered printer's own.
TEST_F(PrinterMarginsFile, TheRememberedPrintersMarginsReturnAtStart) {
  tools::WriteCongregation({}, dir_.path());
  test::WriteText(File(),
                  "[Margins]\nTop=0.10\nLeft=0.30\nPrinter=Terem\n[Printer Margins]\nCount=1\n"
                  "Printer1=0.45 0.02 Otthon\n[Printer]\nName=Otthon\n");
  test::NoQuestions prompts;
  {
    Session session({File(), dir_.path(), dir_ / "floppy"}, prompts);
    ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 10)), SessionStatus::kRunning);
    EXPECT_EQ(session.settings().leftMargin, "0.45");
    EXPECT_EQ(session.settings().topMargin, "0.02");
    session.Exit();
  }
  const AppSettings stored = ReadSettings(File(), "hun");
  EXPECT_EQ(stored.leftMargin, "0.45");
  EXPECT_EQ(stored.topMargin, "0.02");
  EXPECT_EQ(stored.printerMargins, (PrinterMarginBook{"Otthon", {{"Terem", {"0.30", "0.10"}}}}));
}

}  // namespace
}  // namespace velunorh

// Saves that cannot be made, seen from the user's side: whatever stops the settings or the
// layout file from being written, the old file stays whole, no temporary file is left, and the
// user is told which file was not saved and why.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "main_window_fixture.h"
#include "posix_test_support.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/up_down_arrows.h"

namespace velunorh {
namespace {

namespace fs = std::filesystem;
using test::ControlByName;

// One way a save is stopped. `block` runs on the folder whose files are to be saved before the
// program starts; `impose` sets the conditions the program then runs under, for as long as the
// object it returns lives.
struct Interruption {
  const char* name;
  const char* reason;  // what the message says about the cause
  std::function<void(const fs::path& folder, const std::vector<fs::path>& files)> block;
  std::function<std::shared_ptr<void>()> impose;
};

void PrintTo(const Interruption& interruption, std::ostream* out) {
  *out << interruption.name;
}

::testing::AssertionResult Mentions(const QString& message, const std::string& part) {
  if (message.contains(QString::fromStdString(part))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << '"' << message.toStdString() << "\" does not mention \"" << part << '"';
}

void RemoveWriteBits(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

void Nothing(const fs::path&, const std::vector<fs::path>&) {}
std::shared_ptr<void> AsUsual() {
  return nullptr;
}
std::shared_ptr<void> AsUnprivilegedUser() {
  return std::make_shared<test::Unprivileged>();
}

const Interruption kInterruptions[] = {
    {"ReadOnlyFolder", "nincs hozzá jogosultság",
     [](const fs::path& folder, const std::vector<fs::path>&) { RemoveWriteBits(folder); },
     AsUnprivilegedUser},
    {"FullDisk", "a fájl túl nagy", Nothing,
     [] { return std::make_shared<test::FileSizeLimit>(16); }},
    // A folder in the file's place: the new file cannot be renamed over it.
    {"RenameOntoAFolder", "ez egy mappa",
     [](const fs::path&, const std::vector<fs::path>& files) {
       for (const fs::path& file : files) {
         fs::remove(file);
         test::WriteText(file / "kept.txt", "kept");
       }
     },
     AsUsual},
    // The whole new file is written, then the rename is refused: in a sticky folder only the
    // owner (root here) may replace the old file.
    {"RenameRefused", "nincs hozzá jogosultság",
     [](const fs::path& folder, const std::vector<fs::path>&) {
       fs::permissions(folder, fs::perms::all | fs::perms::sticky_bit);
     },
     AsUnprivilegedUser},
};

class FailedSaveTest : public ::testing::TestWithParam<Interruption> {
 protected:
  void SetUp() override {
    tools::Congregation congregation;
    tools::Publisher p;
    p.givenName = "Anna";
    p.familyName = "Kovács";
    p.id = 11;
    congregation.current.publishers = {p};
    tools::WriteCongregation(congregation, work_);
    test::WriteText(settingsFile_, "[Format]\nAlt Date Format=1\n");
    CardLayout old;
    MakeDefaultLayout(old, 0);
    old.SetX(HeaderPosition::Name, "0.33");
    ASSERT_TRUE(SaveLayout(old, work_, 0));
    test::OpenToOthers(dir_.path());
    GetParam().block(work_, {settingsFile_, work_ / "cplot.dat"});
    before_ = test::SnapshotFolder(work_);
  }

  test::TempDir dir_;
  fs::path work_ = dir_ / "work";
  test::MainWindowFixture main_{work_};
  const fs::path settingsFile_ = main_.options.settingsFile;
  test::FolderSnapshot before_;
};

TEST_P(FailedSaveTest, AtExitTheUserIsToldOfBothFilesAndTheOldOnesStay) {
  {
    auto conditions = GetParam().impose();
    auto window = main_.Open();
    ASSERT_FALSE(window->stopRequested());
    // Both files would change: a margin and the grid's place.
    OptionsValues changed = window->session().Options();
    changed.leftMargin = "0.45";
    changed.layout.SetBody(BodyValue::BodyTop, "1.31");
    window->ApplyOptions(changed);
    test::Click(window->findChild<QPushButton*>("doneButton"));
    EXPECT_FALSE(window->isVisible());
  }
  ASSERT_EQ(main_.warnings.size(), 1)
      << main_.warnings.join("\n").toStdString();  // one message names both files
  EXPECT_TRUE(Mentions(main_.warnings[0], settingsFile_.string()));
  EXPECT_TRUE(Mentions(main_.warnings[0], (work_ / "cplot.dat").string()));
  EXPECT_TRUE(Mentions(main_.warnings[0], GetParam().reason));
  EXPECT_EQ(test::SnapshotDifference(before_, test::SnapshotFolder(work_)), "");
}

TEST_P(FailedSaveTest, ACardVersionSwitchTellsAndKeepsTheOldLayout) {
  {
    auto conditions = GetParam().impose();
    auto window = main_.Open();
    ASSERT_FALSE(window->stopRequested());
    test::WhenModal<OptionsDialog>([](OptionsDialog& dialog) {
      test::Click(
          ControlByName<UpDownArrows>(&dialog, "bodyTopArrows")->upButton());  // a change to save
      ControlByName<QListWidget>(&dialog, "cardVersionList")->setCurrentRow(1);
      EXPECT_EQ(dialog.values().cardVersion, 1);  // the switch goes on
      test::Click(ControlByName<QPushButton>(&dialog, "cancelButton"));
    });
    test::Click(window->findChild<QPushButton*>("optionsButton"));
  }
  ASSERT_EQ(main_.warnings.size(), 1) << main_.warnings.join("\n").toStdString();
  EXPECT_TRUE(Mentions(main_.warnings[0], (work_ / "cplot.dat").string()));
  EXPECT_TRUE(Mentions(main_.warnings[0], GetParam().reason));
  EXPECT_EQ(test::SnapshotDifference(before_, test::SnapshotFolder(work_)), "");
}

INSTANTIATE_TEST_SUITE_P(Interruptions, FailedSaveTest, ::testing::ValuesIn(kInterruptions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velunorh

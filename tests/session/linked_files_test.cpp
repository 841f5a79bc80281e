// The program's own files kept elsewhere (on a share) and linked to from where the program looks
// for them: a save writes the file behind the link and the link stays.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/atomic_file.h"
#include "base/platform.h"
#include "base/string_table.h"
#include "card/card_layout.h"
#include "session/app_settings.h"
#include "session/print_ledger.h"
#include "session/remembered_printer.h"
#include "test_support.h"

// Symbolic links need rights on Windows that a test cannot count on.
#ifndef _WIN32
namespace velunorh {
namespace {

namespace fs = std::filesystem;

struct SavedFile {
  const char* name;
  std::string before;
  std::function<bool(const fs::path& file, std::string& error)> save;
};

const SavedFile kSavedFiles[] = {
    {"velunorh.INI", "; kept by hand\n[Format]\nAlt Date Format=1\n",
     [](const fs::path& file, std::string& error) {
       AppSettings settings = ReadSettings(file, "hun");
       settings.dateFormat = 2;
       return WriteSettings(file, settings, "hun", &error) &&
              WriteRememberedPrinter(file, "Irodai nyomtató", &error);
     }},
    {"cplot.dat", std::string(CardLayout::kSize, '\0'),
     [](const fs::path& file, std::string& error) {
       CardLayout layout;
       MakeDefaultLayout(layout, 0);
       return SaveLayout(layout, file.parent_path(), 0, &error);
     }},
    {kPrintLedgerFileName, "[2025 id:1234]\nName=Kovács Anna\nHeader=2025-10-03 0f1e2d3c4b5a6978\n",
     [](const fs::path& file, std::string& error) {
       PrintLedger ledger;
       if (ledger.Load(file, {2026, 1, 5}).outcome != PrintLedger::LoadOutcome::kLoaded)
         return false;
       if (!ledger.Forget(2025, "id:1234")) return false;
       return ledger.Save(&error);
     }},
};

TEST(LinkedFiles, ASaveWritesTheFileBehindTheLinkAndKeepsTheLink) {
  for (const SavedFile& saved : kSavedFiles) {
    test::TempDir dir;
    const fs::path share = dir / "share";
    const fs::path work = dir / "work";
    fs::create_directories(share / "sub");
    fs::create_directories(work);
    const fs::path target = share / "sub" / saved.name;
    test::WriteText(target, saved.before);
    // A relative link to a second link, as a secretary may set them up.
    fs::create_symlink(target, share / "latest");
    fs::create_symlink(fs::path("..") / "share" / "latest", work / saved.name);

    std::string error;
    ASSERT_TRUE(saved.save(work / saved.name, error)) << saved.name << ": " << error;
    EXPECT_TRUE(fs::is_symlink(work / saved.name)) << saved.name;
    EXPECT_TRUE(fs::is_symlink(share / "latest")) << saved.name;
    EXPECT_NE(test::ReadText(target), saved.before) << saved.name;
    // Nothing was left in either folder: the temporary file went beside the target and was
    // renamed onto it. (The ledger's lock file stays beside its target, where every copy of the
    // program finds it.)
    const auto entries = [](const fs::path& folder) {
      int count = 0;
      for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().extension() != ".lock";
      return count;
    };
    EXPECT_EQ(entries(work), 1) << saved.name;
    EXPECT_EQ(entries(share / "sub"), 1) << saved.name;
    EXPECT_FALSE(fs::exists(work / (std::string(saved.name) + ".lock"))) << saved.name;
  }
}

// A file with a second name (a hard link) is refused, not split: a save by rename would leave the
// other name with the old content, and two copies sharing a ledger through it would each lock a
// file of their own and drift apart.
TEST(LinkedFiles, AFileWithASecondNameIsNotReplacedAndTheSaveSaysWhy) {
  for (const SavedFile& saved : kSavedFiles) {
    test::TempDir dir;
    const fs::path file = dir / saved.name;
    test::WriteText(dir / "elsewhere", saved.before);
    fs::create_hard_link(dir / "elsewhere", file);
    std::string error;
    EXPECT_FALSE(saved.save(file, error)) << saved.name;
    EXPECT_NE(error.find(LoadStringWith(StringId::ErrorHardLinked, {PathText(file)})),
              std::string::npos)
        << error;
    EXPECT_EQ(test::ReadText(dir / "elsewhere"), saved.before) << saved.name;
    EXPECT_EQ(fs::hard_link_count(file), 2u) << saved.name;
  }
}

}  // namespace
}  // namespace velunorh
#endif

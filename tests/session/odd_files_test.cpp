// Something other than a regular file where a data, layout or settings file belongs reads as
// no file at all, and never blocks: a FIFO would wait for a writer and a device would feed
// endless bytes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/string_table.h"
#include "card/card_layout.h"
#include "companion/congregation_data.h"
#include "no_questions.h"
#include "session/app_settings.h"
#include "session/session.h"
#include "test_support.h"
#include "tools/companion_writer.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <optional>

#include "posix_test_support.h"
#endif

namespace velunorh {
namespace {

namespace fs = std::filesystem;

enum class Odd { kFolder, kFifo, kDeviceLink };

const char* Name(Odd odd) {
  switch (odd) {
    case Odd::kFolder:
      return "a folder";
    case Odd::kFifo:
      return "a FIFO";
    case Odd::kDeviceLink:
      return "a link to a device";
  }
  return "";
}

bool Place(Odd odd, const fs::path& file) {
  fs::remove(file);
  fs::create_directories(file.parent_path());
  switch (odd) {
    case Odd::kFolder:
      return fs::create_directory(file);
#ifndef _WIN32
    case Odd::kFifo:
      return ::mkfifo(file.c_str(), 0600) == 0;
    case Odd::kDeviceLink:
      fs::create_symlink("/dev/zero", file);
      return true;
#else
    default:
      return false;
#endif
  }
  return false;
}

// A small congregation with something in every file, so that a file read as missing shows.
tools::Congregation Congregation() {
  tools::Congregation c;
  tools::Publisher p;
  p.givenName = "Anna";
  p.familyName = "Kiss";
  p.id = 20;
  p.extensionIndex = 1;
  c.current.publishers = {p};
  c.extensions = {{1, 20, "Kiss Anna", "", ""}};
  c.remarks = {{3, 20, "beteg"}};
  tools::PublisherFile previous = c.current;
  previous.publishers.push_back(p);
  previous.publishers.back().id = 21;
  c.previous = previous;
  c.previousRemarks = {{3, 20, "tavaly"}};
  return c;
}

// What the program took from the folder, in a line.
std::string WhatLoads(const fs::path& folder) {
  CongregationData data{DataPaths{folder}};
  if (!data.AllocateTables()) return "no memory";
  bool stop = false;
  data.LoadAllData(stop);
  std::string remark;
  std::string previousRemark;
  data.GetRemark(1, 2, false, remark);
  data.GetRemark(1, 2, true, previousRemark);
  CardLayout layout;
  const bool layoutRead = LoadLayout(layout, folder, 0);
  const bool settingsRead = !(ReadSettings(folder / "velunorh.INI", "hun") == AppSettings{});
  return "publishers " + std::to_string(data.current.count) + ", previous " +
         std::to_string(data.previous.count) + ", extensions " +
         std::to_string(data.ExtensionCount()) + ", remarks " +
         std::to_string(data.currentRemarks(2).count) + " '" + remark + "' '" + previousRemark +
         "', layout " + (layoutRead ? "read" : "none") + ", settings " +
         (settingsRead ? "read" : "defaults");
}

// Each file in turn replaced by each odd kind must load exactly as when the file is missing.
TEST(OddFiles, CountAsMissingAndNeverBlock) {
  const char* const kFiles[] = {
      "tdat7.bin", "xten7.dat",   "remark7.dat", "Roll/Ov7_8/tdat7.bin", "Roll/Ov7_8/remark7.dat",
      "cplot.dat", "velunorh.INI"};
#ifndef _WIN32
  const Odd kKinds[] = {Odd::kFolder, Odd::kFifo, Odd::kDeviceLink};
#else
  const Odd kKinds[] = {Odd::kFolder};
#endif
  for (const char* name : kFiles) {
    test::TempDir dir;
    tools::WriteCongregation(Congregation(), dir.path());
    CardLayout layout;
    MakeDefaultLayout(layout, 0);
    ASSERT_TRUE(SaveLayout(layout, dir.path(), 0));
    test::WriteText(dir / "velunorh.INI", "[Format]\nCard Version=1\n");
    const std::string whole = WhatLoads(dir.path());
    const fs::path file = dir / name;
    fs::remove(file);
    const std::string missing = WhatLoads(dir.path());
    ASSERT_NE(missing, whole) << name << " is never read";

    for (Odd odd : kKinds) {
      SCOPED_TRACE(std::string(Name(odd)) + " as " + name);
      ASSERT_TRUE(Place(odd, file));
#ifndef _WIN32
      // In a child with a time limit: an open that waits fails the test instead of hanging it.
      test::ChildResult result = test::RunWithTimeLimit(5, [&](std::string& text) {
        text = WhatLoads(dir.path());
        return true;
      });
      EXPECT_TRUE(result.ok);
      EXPECT_EQ(result.text, missing);
#else
      EXPECT_EQ(WhatLoads(dir.path()), missing);
#endif
      fs::remove(file);
    }
  }
}

// The settings file's place holds no file, so no save may put one there either.
TEST(OddFiles, SettingsAreNotSavedOverAFolder) {
  test::TempDir dir;
  fs::create_directory(dir / "velunorh.INI");
  std::string error;
  EXPECT_FALSE(WriteSettings(dir / "velunorh.INI", AppSettings{}, "hun", &error));
  EXPECT_NE(error.find("nem közönséges fájl"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir / "velunorh.INI"));
}

#ifndef _WIN32
// What stands at a path, its links followed: kind, device number and bytes.
std::string Describe(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "missing";
  std::string text = std::to_string(info.st_mode & S_IFMT) + " " + std::to_string(info.st_rdev) +
                     " " + std::to_string(info.st_size);
  if (S_ISREG(info.st_mode) && info.st_size <= 4096) text += " " + test::ReadText(path);
  return text;
}

// A layout file that is there but cannot be read may hold the secretary's measured positions:
// the exit never puts the defaults in its place, nor a file where a FIFO or device stands (behind
// a link too), and the user is told once, though nothing was edited.
TEST(OddFiles, ALayoutFileThatCouldNotBeReadIsKeptAtExitAndTold) {
  CardLayout calibrated;
  MakeDefaultLayout(calibrated, 0);
  calibrated.SetX(HeaderPosition::Name, "0.37");
  const std::string image(reinterpret_cast<const char*>(calibrated.bytes.data()),
                          CardLayout::kSize);
  struct Case {
    const char* what;
    std::function<bool(const fs::path& file)> place;
    bool unprivileged;  // root reads any file
    StringId reason;
  } cases[] = {
      {"mode 000",
       [&image](const fs::path& file) {
         test::WriteText(file, image);
         fs::permissions(file, fs::perms::none);
         return true;
       },
       true, StringId::ReasonNoPermission},
      {"over 4 KiB, sparse",
       [&image](const fs::path& file) {
         test::WriteText(file, image);
         fs::resize_file(file, std::uintmax_t{1} << 30);
         return true;
       },
       false, StringId::ReasonFileTooLarge},
      {"a FIFO", [](const fs::path& file) { return ::mkfifo(file.c_str(), 0666) == 0; }, false,
       StringId::ReasonNotRegular},
      {"a link to a private device node",
       [](const fs::path& file) {
         const fs::path node = file.parent_path() / "dev" / "zero";
         fs::create_directory(node.parent_path());
         fs::create_symlink(node, file);
         return ::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0;
       },
       false, StringId::ReasonNotRegular},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    tools::WriteCongregation(Congregation(), dir.path());
    if (c.unprivileged) {
      test::OpenToOthers(dir.path());
      fs::permissions(dir.path(), fs::perms::all);  // so that only the file's bits stop us
    }
    const fs::path file = dir / "cplot.dat";
    ASSERT_TRUE(c.place(file));
    const std::string before = Describe(file);
    ExitReport report;
    {
      std::optional<test::Unprivileged> nobody;
      if (c.unprivileged) nobody.emplace();
      test::NoQuestions prompts;
      Session session({dir / "velunorh.INI", dir.path(), dir / "floppy"}, prompts);
      ASSERT_EQ(session.StartUp(ServiceYear::FromDate(2026, 10)), SessionStatus::kRunning);
      report = session.Exit();
    }
    EXPECT_FALSE(report.layoutWritten);
    EXPECT_TRUE(report.layoutKept);
    EXPECT_EQ(report.layoutError, LoadStringWith(StringId::LayoutFileKept, {LoadString(c.reason)}));
    EXPECT_EQ(Describe(file), before);
    for (const auto& entry : fs::directory_iterator(dir.path()))
      EXPECT_EQ(entry.path().filename().string().find(".velunorh-tmp-"), std::string::npos);
  }
}
#endif

}  // namespace
}  // namespace velunorh

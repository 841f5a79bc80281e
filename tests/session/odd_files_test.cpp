// Something other than a regular file where a data, layout or settings file belongs reads as
// no file at all, and never blocks: a FIFO would wait for a writer and a device would feed
// endless bytes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "card/card_layout.h"
#include "companion/congregation_data.h"
#include "session/app_settings.h"
#include "test_support.h"
#include "tools/companion_writer.h"

#ifndef _WIN32
#include <sys/stat.h>

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

}  // namespace
}  // namespace velunorh

#include "base/settings_path.h"

#include <gtest/gtest.h>

namespace velunorh {
namespace {

TEST(SettingsFile, ReplacesAFourCharacterExtensionOrAppends) {
  struct Case {
    const char* program;
    const char* settings;
  } cases[] = {
      {"/opt/velunorh/velunorh", "/opt/velunorh/velunorh.INI"},
      {"/opt/velunorh/velunorh.exe", "/opt/velunorh/velunorh.INI"},
      {"/opt/velunorh/velunorh.bin", "/opt/velunorh/velunorh.INI"},
      {"/opt/my.app.exe", "/opt/my.app.INI"},
      {"/opt/a.exe", "/opt/a.INI"},
      {"/opt/v1.2/velunorh", "/opt/v1.2/velunorh.INI"},    // a folder's dot is no extension
      {"/opt/velunorh-4.0.1", "/opt/velunorh-4.0.1.INI"},  // ".0.1" is no extension
      {"/opt/velunorh.sh", "/opt/velunorh.sh.INI"},
      {"/opt/.exe", "/opt/.exe.INI"},                  // a hidden name, not an extension
      {"/opt/velunorh.INI", "/opt/velunorh.INI.INI"},  // never the program itself
      {"velunorh", "velunorh.INI"},
  };
  for (const Case& c : cases) EXPECT_EQ(SettingsFile(c.program), c.settings) << c.program;
}

TEST(SettingsFile, ProgramPathIsTheRunningFile) {
  std::filesystem::path self = ProgramPath("not-this");
  EXPECT_TRUE(self.is_absolute()) << self;
#ifdef _WIN32
  EXPECT_EQ(self.filename(), "core_tests.exe");
#else
  EXPECT_EQ(self.filename(), "core_tests");
#endif
  EXPECT_TRUE(std::filesystem::is_regular_file(self)) << self;
}

}  // namespace
}  // namespace velunorh

#include "base/platform.h"

#include <gtest/gtest.h>

#include <string>

#include "base/atomic_file.h"
#include "test_support.h"

namespace velunorh {
namespace {

namespace fs = std::filesystem;

// A folder name with the accents of the edition's language: on Windows the path must reach the
// system as UTF-16, not through the narrow code page.
const fs::path kAccentedFolder = fs::path(u8"Gyülekezet Őrs ű");

TEST(InputFile, ReadsSeeksAndStopsAtTheEndInAnAccentedFolder) {
  test::TempDir dir;
  const fs::path file = dir.path() / kAccentedFolder / "tdat7.bin";
  fs::create_directories(file.parent_path());
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(file, "0123456789", &error)) << error;

  InputFile in(file);
  ASSERT_EQ(in.status(), InputFile::Status::kOpen);
  char buffer[8] = {};
  EXPECT_EQ(in.Read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  ASSERT_TRUE(in.Seek(7));
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 3u);  // only what is left
  EXPECT_EQ(std::string(buffer, 3), "789");
  ASSERT_TRUE(in.Seek(100));
  EXPECT_EQ(in.Read(buffer, sizeof buffer), 0u);
  EXPECT_TRUE(in.errorText().empty()) << in.errorText();
}

TEST(InputFile, MissingFilesAndFoldersAreNoFiles) {
  test::TempDir dir;
  fs::create_directory(dir / "folder");
  EXPECT_EQ(InputFile(dir / "missing").status(), InputFile::Status::kMissing);
  EXPECT_EQ(InputFile(dir / "missing" / "file").status(), InputFile::Status::kMissing);
  EXPECT_EQ(InputFile(dir / "folder").status(), InputFile::Status::kNotRegular);
#ifdef _WIN32
  // A device name opens a device in any folder.
  EXPECT_EQ(InputFile(dir / "NUL").status(), InputFile::Status::kNotRegular);
#endif
  char byte = 0;
  InputFile none(dir / "missing");
  EXPECT_EQ(none.Read(&byte, 1), 0u);
}

TEST(Platform, TheProgramFileAndTheFloppyFolder) {
  const fs::path self = RunningProgramFile();
  EXPECT_TRUE(self.is_absolute()) << self;
  EXPECT_TRUE(fs::is_regular_file(self)) << self;
#ifdef _WIN32
  EXPECT_EQ(DefaultFloppyFolder(), fs::path(L"A:\\"));
#else
  EXPECT_EQ(DefaultFloppyFolder(), fs::path("/media/floppy"));
#endif
}

}  // namespace
}  // namespace velunorh

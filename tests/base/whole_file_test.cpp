#include "base/whole_file.h"

#include <gtest/gtest.h>

#include <string>

#include "base/profile_file.h"
#include "test_support.h"

namespace velunorh {
namespace {

namespace fs = std::filesystem;

TEST(ReadFileUpTo, ReadsUpToTheLimitAndRefusesWhatIsLarger) {
  test::TempDir dir;
  fs::create_directory(dir / "folder");
  test::WriteText(dir / "eight", "12345678");
  test::WriteText(dir / "empty", "");
  // Sparse, so the test costs nothing: a refusal must not read it.
  test::WriteText(dir / "huge", "");
  fs::resize_file(dir / "huge", std::uint64_t{4} << 30);
  struct Case {
    const char* name;
    std::size_t limit;
    WholeFile::Status status;
    const char* bytes;
  } cases[] = {
      {"eight", 8, WholeFile::Status::kRead, "12345678"},
      {"eight", 7, WholeFile::Status::kTooLarge, ""},
      {"empty", 0, WholeFile::Status::kRead, ""},
      {"huge", 64 * 1024, WholeFile::Status::kTooLarge, ""},
      {"missing", 8, WholeFile::Status::kMissing, ""},
      {"folder", 8, WholeFile::Status::kNotRegular, ""},
  };
  for (const Case& c : cases) {
    const WholeFile file = ReadFileUpTo(dir / c.name, c.limit);
    EXPECT_EQ(file.status, c.status) << c.name << " " << c.limit;
    EXPECT_EQ(file.bytes, c.bytes) << c.name;
    const bool told =
        c.status != WholeFile::Status::kRead && c.status != WholeFile::Status::kMissing;
    EXPECT_EQ(file.error.find(c.name) != std::string::npos, told) << file.error;
  }
}

TEST(ReadFileUpTo, AProfileLargerThanItsLimitIsAnErrorNotAnEmptyProfile) {
  test::TempDir dir;
  test::WriteText(dir / "v.INI", "[A]\nx=1\n");
  ProfileFile profile;
  std::string error;
  EXPECT_FALSE(profile.Load(dir / "v.INI", &error, 4));
  EXPECT_NE(error.find("v.INI"), std::string::npos) << error;
  EXPECT_EQ(profile.Text(), "");
  EXPECT_TRUE(profile.Load(dir / "v.INI", &error, 8));
  EXPECT_EQ(profile.ReadText("A", "x", ""), "1");
}

}  // namespace
}  // namespace velunorh

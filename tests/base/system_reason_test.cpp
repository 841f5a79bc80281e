#include "base/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/string_table.h"
#include "test_support.h"

namespace velunorh {
namespace {

TEST(SystemReason, CommonReasonsInTheEditionsLanguage) {
  struct Case {
    std::errc code;
    StringId text;
  } cases[] = {
      {std::errc::no_space_on_device, StringId::ReasonNoSpace},
      {std::errc::permission_denied, StringId::ReasonNoPermission},
      {std::errc::operation_not_permitted, StringId::ReasonNoPermission},
      {std::errc::read_only_file_system, StringId::ReasonReadOnlyFileSystem},
      {std::errc::is_a_directory, StringId::ReasonIsFolder},
      {std::errc::no_such_file_or_directory, StringId::ReasonNotFound},
      {std::errc::file_too_large, StringId::ReasonFileTooLarge},
      {std::errc::too_many_symbolic_link_levels, StringId::ReasonLinkLoop},
      {std::errc::filename_too_long, StringId::ReasonNameTooLong},
      {std::errc::not_a_directory, StringId::ReasonNotAFolder},
      {std::errc::device_or_resource_busy, StringId::ReasonBusy},
      {std::errc::io_error, StringId::ReasonIoError},
      {std::errc::too_many_files_open, StringId::ReasonTooManyOpen},
      {std::errc::cross_device_link, StringId::ReasonOtherDevice},
      {std::errc::no_lock_available, StringId::ReasonTryAgain},
      {std::errc::too_many_links, StringId::ReasonTooManyLinks},
  };
  for (const Case& c : cases) {
    const std::error_code generic = std::make_error_code(c.code);
    EXPECT_EQ(SystemReason(generic), LoadString(c.text)) << generic.message();
#ifndef _WIN32
    // The system's own codes are errno values here.
    EXPECT_EQ(SystemReasonOfCode(generic.value()), LoadString(c.text)) << generic.message();
#endif
  }
}

// A reason without a text of its own still never shows the system's English words: only its code.
TEST(SystemReason, AnyOtherReasonIsHungarianWithItsCode) {
  const std::error_code others[] = {std::make_error_code(std::errc::bad_message),
                                    std::error_code(999999, std::system_category()),
                                    std::make_error_code(std::io_errc::stream)};
  for (const std::error_code& other : others) {
    EXPECT_EQ(SystemReason(other),
              LoadStringWith(StringId::ReasonOther, {std::to_string(other.value())}))
        << other.message();
  }
}

#ifndef _WIN32
// A loop of links met by a real open: the reason the user reads is Hungarian.
TEST(SystemReason, ALoopOfLinksIsToldInHungarian) {
  test::TempDir dir;
  std::filesystem::create_symlink("b", dir / "a");
  std::filesystem::create_symlink("a", dir / "b");
  std::error_code error;
  (void)std::filesystem::file_size(dir / "a", error);
  ASSERT_TRUE(error);
  EXPECT_EQ(SystemReason(error), LoadString(StringId::ReasonLinkLoop));
}
#endif

TEST(SystemReason, AFailedFolderChangeSaysWhyInHungarian) {
  std::error_code error;
  std::filesystem::current_path("/surely/not/here", error);
  ASSERT_TRUE(error);
  EXPECT_EQ(SystemReason(error), LoadString(StringId::ReasonNotFound));
}

}  // namespace
}  // namespace velunorh

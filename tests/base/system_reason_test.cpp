#include "base/system_reason.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "base/string_table.h"

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
  };
  for (const Case& c : cases) {
    const std::error_code generic = std::make_error_code(c.code);
    EXPECT_EQ(SystemReason(generic), LoadString(c.text)) << generic.message();
#ifndef _WIN32
    // The system's own codes are errno values here.
    EXPECT_EQ(SystemReasonOfCode(generic.value()), LoadString(c.text)) << generic.message();
#endif
  }
  // The rest keep the system's text.
  const std::error_code other = std::make_error_code(std::errc::too_many_files_open);
  EXPECT_EQ(SystemReason(other), other.message());
}

TEST(SystemReason, AFailedFolderChangeSaysWhyInHungarian) {
  std::error_code error;
  std::filesystem::current_path("/surely/not/here", error);
  ASSERT_TRUE(error);
  EXPECT_EQ(SystemReason(error), LoadString(StringId::ReasonNotFound));
}

}  // namespace
}  // namespace velunorh

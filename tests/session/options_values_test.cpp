// The options dialog's switch of card version: the layout being edited goes to its own file, the
// other version's comes from its file or its defaults, and a failed save does not stop the switch.
#include "session/options_values.h"

#include <gtest/gtest.h>

#include "base/string_table.h"
#include "test_support.h"

namespace velunorh {
namespace {

namespace fs = std::filesystem;

TEST(SwitchCardVersion, SavesTheEditedLayoutAndReadsTheOthersFile) {
  struct Case {
    const char* what;
    int from, to;
    const char* targetFile;  // the other version's file before the switch: nullptr = none
    bool saveFails;          // a folder stands where the edited version's file goes
    const char* expectedBodyTop;
  } cases[] = {
      {"no file: the defaults", 0, 1, nullptr, false, "1.32"},
      {"a file of its own", 0, 1, "1.44", false, "1.44"},
      {"back to the first version", 1, 0, "0.99", false, "0.99"},
      {"a save that fails goes on", 0, 1, "1.44", true, "1.44"},
      {"a short file: the defaults", 1, 0, "", false, "1.30"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    const fs::path from = LayoutFile(dir.path(), c.from);
    const fs::path to = LayoutFile(dir.path(), c.to);
    if (c.targetFile && *c.targetFile) {
      CardLayout other;
      MakeDefaultLayout(other, c.to);
      other.SetBody(BodyValue::BodyTop, c.targetFile);
      ASSERT_TRUE(SaveLayout(other, dir.path(), c.to)) << c.what;
    } else if (c.targetFile) {
      test::WriteText(to, "1.30");  // far shorter than a layout
    }
    if (c.saveFails) fs::create_directory(from);  // no file can replace a folder

    OptionsValues values;
    values.cardVersion = c.from;
    MakeDefaultLayout(values.layout, c.from);
    values.layout.SetBody(BodyValue::BodyTop, "1.11");  // an edit not saved yet
    const CardLayout edited = values.layout;
    const std::string problem = SwitchCardVersion(dir.path(), values, c.to);

    EXPECT_EQ(values.cardVersion, c.to) << c.what;
    EXPECT_EQ(values.layout.Body(BodyValue::BodyTop), c.expectedBodyTop) << c.what;
    if (c.saveFails) {
      EXPECT_EQ(problem.rfind(LoadStringWith(StringId::LayoutNotSaved, {from.string(), ""}), 0), 0u)
          << problem;
      EXPECT_TRUE(fs::is_directory(from)) << c.what;
    } else {
      EXPECT_EQ(problem, "") << c.what;
      CardLayout saved;
      ASSERT_TRUE(LoadLayout(saved, dir.path(), c.from)) << c.what;
      EXPECT_EQ(saved, edited) << c.what;
    }
  }
}

}  // namespace
}  // namespace velunorh

#pragma once

#include <gtest/gtest.h>

#include "companion/congregation_data.h"
#include "session/user_prompts.h"
#include "test_support.h"
#include "tools/companion_writer.h"

namespace velunorh::test {

// A data folder written by the companion-format writer and loaded the way start-up loads it.
struct LoadedCongregation {
  TempDir dir;
  CongregationData data{DataPaths{dir.path()}};

  explicit LoadedCongregation(const tools::Congregation& congregation) {
    tools::WriteCongregation(congregation, dir.path());
    EXPECT_TRUE(data.AllocateTables());
    bool stop = false;
    data.LoadAllData(stop);
  }
};

// Answers a session's questions for tests that are not about them: the location as it stands,
// every password and new data accepted; a message is a failure.
class NoQuestions : public UserPrompts {
 public:
  std::optional<int> ChooseDataLocation(int preset, bool) override { return preset; }
  bool CheckPassword(const PublisherRecord&) override { return true; }
  bool ConfirmNewData() override { return true; }
  void ShowMessage(const std::string& message) override { ADD_FAILURE() << message; }
};

}  // namespace velunorh::test

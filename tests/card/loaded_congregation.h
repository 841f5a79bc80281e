#pragma once

#include <gtest/gtest.h>

#include "companion/congregation_data.h"
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

}  // namespace velunorh::test

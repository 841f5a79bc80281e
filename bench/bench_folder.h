#pragma once

#include <filesystem>

namespace velunorh::bench {

// A fresh temporary folder holding the full-size congregation, removed again at the end.
class BenchFolder {
 public:
  BenchFolder();
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace velunorh::bench

#include "bench/bench_folder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>
#include <system_error>

#include "bench/full_congregation.h"

namespace velunorh::bench {

BenchFolder::BenchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velunorh-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
  try {
    WriteFullCongregation(path_);
  } catch (...) {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    throw;
  }
}

BenchFolder::~BenchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace velunorh::bench

// full_congregation OUTPUT_FOLDER
// Writes the full-size data folder that the benchmarks measure into OUTPUT_FOLDER.
#include <exception>
#include <iostream>

#include "bench/full_congregation.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: full_congregation OUTPUT_FOLDER\n";
    return 2;
  }
  try {
    velunorh::bench::WriteFullCongregation(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "full_congregation: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

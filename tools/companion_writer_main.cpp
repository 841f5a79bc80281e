// companion_writer DESCRIPTION.txt OUTPUT_FOLDER
// Writes the companion program's data files described in DESCRIPTION.txt into OUTPUT_FOLDER.
#include <exception>
#include <iostream>

#include "tools/congregation_description.h"

int main(int argc, char** argv) {
  using namespace velunorh::tools;
  if (argc != 3) {
    std::cerr << "usage: companion_writer DESCRIPTION.txt OUTPUT_FOLDER\n";
    return 2;
  }
  try {
    const Congregation congregation = ReadCongregationFile(argv[1]);
    WriteCongregation(congregation, argv[2]);
    std::cout << "Wrote " << congregation.current.publishers.size() << " publishers";
    if (congregation.previous) {
      std::cout << " and " << congregation.previous->publishers.size()
                << " of the previous service year";
    }
    std::cout << " to " << argv[2] << "\n";
  } catch (const std::exception& e) {
    std::cerr << "companion_writer: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

#pragma once

// The CUPS queue of the spool tests: SPOOL_QUEUE is the default printer and writes its PDF to
// SPOOL_PDF (the CTest fixture "spool" sets both up).
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace velunorh::test {

// What a shell command prints.
inline std::string Run(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// Waits until the queue has no pending job left: then its PDF is whole.
inline bool WaitForQueue(const std::string& queue) {
  for (int i = 0; i < 150; ++i) {
    if (Run("lpstat -o " + queue + " 2>/dev/null").empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

}  // namespace velunorh::test

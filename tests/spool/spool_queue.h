#pragma once

// The CUPS queue of the spool tests: SPOOL_QUEUE is the default printer of the tests' own
// scheduler in SPOOL_CUPS_DIR and writes its PDF to SPOOL_PDF (the CTest fixture "spool" sets
// them up; CUPS_SERVER points the clients at it).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

// The name the scheduler keeps for the queue's most recent completed job ("" when none): the
// newest id from its list of completed jobs, then that job's attributes.
inline std::string LastCompletedJobName(const std::string& queue,
                                        const std::filesystem::path& folder) {
  std::istringstream jobs(Run("lpstat -W completed -o " + queue + " 2>/dev/null"));
  long newest = -1;
  for (std::string line; std::getline(jobs, line);) {
    std::string job = line.substr(0, line.find(' '));
    if (job.rfind(queue + "-", 0) != 0) continue;
    newest = std::max(newest, std::atol(job.c_str() + queue.size() + 1));
  }
  if (newest < 0) return "";
  const auto request = folder / "job-name.test";
  std::ofstream(request) << "{\n"
                            "  NAME \"Job name\"\n"
                            "  OPERATION Get-Job-Attributes\n"
                            "  GROUP operation-attributes-tag\n"
                            "  ATTR charset attributes-charset utf-8\n"
                            "  ATTR language attributes-natural-language en\n"
                            "  ATTR uri printer-uri $uri\n"
                         << "  ATTR integer job-id " << newest << "\n"
                         << "  ATTR name requesting-user-name root\n"
                            "  ATTR keyword requested-attributes job-name\n"
                            "  STATUS successful-ok\n"
                            "  DISPLAY job-name\n"
                            "}\n";
  // ipptool takes no CUPS_SERVER: it reaches the tests' scheduler on its loopback port.
  std::ifstream portFile(std::string(SPOOL_CUPS_DIR) + "/port");
  std::string port;
  std::getline(portFile, port);
  std::string out = Run("ipptool -t ipp://127.0.0.1:" + port + "/printers/" + queue + " " +
                        request.string() + " 2>&1");
  const std::string key = "job-name (nameWithoutLanguage) = ";
  std::size_t at = out.find(key);
  if (at == std::string::npos) return "";
  at += key.size();
  return out.substr(at, out.find('\n', at) - at);
}

}  // namespace velunorh::test

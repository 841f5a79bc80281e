#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace velunorh {

// What the command line asks: run (in the given data folder, or the current one), or answer
// --help / --version, or refuse.
struct CommandLine {
  enum class Action { Run, Help, Version, Refuse };
  Action action = Action::Run;
  std::optional<std::filesystem::path> dataFolder;
  std::string problem;  // for Refuse: what was wrong, without the program name
};

// `arguments` without the program name. Options are --help (-h) and --version; "--" ends them.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Answers what needs no window and enters the data folder. Gives the exit status when the
// program should end now (0 after --help or --version, 2 for a wrong command line, 1 when the
// folder cannot be entered), or nothing when the window should open.
std::optional<int> AnswerCommandLine(const CommandLine& line, const std::string& program,
                                     std::ostream& out, std::ostream& err);

}  // namespace velunorh

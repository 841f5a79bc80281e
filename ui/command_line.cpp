#include "ui/command_line.h"

#include <system_error>

#include "base/platform.h"
#include "base/string_table.h"
#include "base/system_reason.h"

namespace velunorh {
namespace {

constexpr const char* kVersion = "4.0";

void WriteUsage(const std::string& program, std::ostream& out) {
  out << LoadStringWith(StringId::CommandLineUsage, {program}) << "\n";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  bool optionsEnded = false;
  for (const std::string& argument : arguments) {
    const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
    if (isOption) {
      if (argument == "--") {
        optionsEnded = true;
      } else if (argument == "--help" || argument == "-h") {
        line.action = CommandLine::Action::Help;
        return line;
      } else if (argument == "--version") {
        line.action = CommandLine::Action::Version;
        return line;
      } else {
        line.action = CommandLine::Action::Refuse;
        line.problem = LoadStringWith(StringId::CommandLineUnknownOption, {argument});
        return line;
      }
    } else if (line.dataFolder) {
      line.action = CommandLine::Action::Refuse;
      line.problem = LoadString(StringId::CommandLineOneFolder);
      return line;
    } else {
      line.dataFolder = argument;
    }
  }
  return line;
}

std::optional<int> AnswerCommandLine(const CommandLine& line, const std::string& program,
                                     std::ostream& out, std::ostream& err) {
  switch (line.action) {
    case CommandLine::Action::Help:
      WriteUsage(program, out);
      return 0;
    case CommandLine::Action::Version:
      out << "Velunorh " << kVersion << "\n";
      return 0;
    case CommandLine::Action::Refuse:
      err << program << ": " << line.problem << "\n"
          << LoadStringWith(StringId::CommandLineTryHelp, {program}) << "\n";
      return 2;
    case CommandLine::Action::Run:
      break;
  }
  if (line.dataFolder) {
    // The program reads and writes in its current folder, as when the launcher starts it there.
    std::error_code error;
    std::filesystem::current_path(*line.dataFolder, error);
    if (error) {
      err << program << ": "
          << LoadStringWith(StringId::CommandLineBadFolder,
                            {PathText(*line.dataFolder), SystemReason(error)})
          << "\n";
      return 1;
    }
  }
  return std::nullopt;
}

}  // namespace velunorh

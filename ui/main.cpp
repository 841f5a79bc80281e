#include <QApplication>
#include <QStringList>
#include <filesystem>
#include <iostream>

#include "ui/application.h"
#include "ui/command_line.h"
#include "ui/program_style.h"

namespace {

std::vector<std::string> ArgumentsOf(const QStringList& all) {
  std::vector<std::string> arguments;
  for (qsizetype i = 1; i < all.size(); ++i)
    arguments.push_back(all[i].toLocal8Bit().toStdString());
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace velunorh;
  const std::string program =
      argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "velunorh";
  // --help and --version are answered before Qt starts, so they work without a display.
  const CommandLine early = ParseCommandLine({argv + (argc > 0 ? 1 : 0), argv + argc});
  if (early.action == CommandLine::Action::Help || early.action == CommandLine::Action::Version)
    return *AnswerCommandLine(early, program, std::cout, std::cerr);

  QApplication app(argc, argv);
  InstallProgramStyle();
#ifdef VELUNORH_APP_ID
  QGuiApplication::setDesktopFileName(QStringLiteral(VELUNORH_APP_ID));
#endif
  // Qt has taken its own options (-platform, -style, …) out by now.
  const CommandLine line = ParseCommandLine(ArgumentsOf(QCoreApplication::arguments()));
  if (auto status = AnswerCommandLine(line, program, std::cout, std::cerr)) return *status;
  return RunApplication(argv[0]);
}

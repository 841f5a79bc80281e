// Prints the calibration sheet of a card version to a PDF file through the options dialog's
// own button, with the version's default positions: the picture in the README comes from it.
// calibration_sheet OUTPUT.pdf [VERSION [LEFT TOP]]   (margins in inches, default 0.20 0.15)
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <cstdio>
#include <string>

#include "card/card_layout.h"
#include "tests/ui/modal_script.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s OUTPUT.pdf [VERSION [LEFT TOP]]\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  using namespace velunorh;

  OptionsValues values;
  values.cardVersion = argc >= 3 ? std::stoi(argv[2]) : 0;
  if (values.cardVersion < 0 || values.cardVersion >= CardVersionCount()) {
    std::fprintf(stderr, "no card version %d\n", values.cardVersion);
    return 2;
  }
  values.leftMargin = argc == 5 ? argv[3] : "0.20";
  values.topMargin = argc == 5 ? argv[4] : "0.15";
  MakeDefaultLayout(values.layout, values.cardVersion);

  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  QPrinter& pdf = printer.ForSetup();
  pdf.setOutputFormat(QPrinter::PdfFormat);
  pdf.setOutputFileName(QString::fromLocal8Bit(argv[1]));
  pdf.setResolution(600);
  printer.SetupConfirmed();

  int failures = 0;
  OptionsDialog::Services services;
  services.workFolder = QDir::tempPath().toStdString();  // nothing is saved from here
  services.showMessage = [&failures](const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    ++failures;
  };
  // The print asks for its file: the one given here.
  velunorh::test::KeepTheSetupsFile keep([&pdf] { return pdf.outputFileName(); });
  OptionsDialog dialog(values, services);
  dialog.findChild<QPushButton*>("calibrationButton")->click();
  return failures == 0 ? 0 : 1;
}

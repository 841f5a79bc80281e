// Prints the calibration sheet of a card version to a PDF file through the options dialog's
// own button, with the version's default positions: the picture in the README comes from it.
// calibration_sheet OUTPUT.pdf [VERSION [LEFT TOP]]   (margins in inches, default 0.20 0.15;
//   OUTPUT "-": the default printer)
// With --dialog, a picture of "Kalibrálás" as it shows four readings (in mm) instead:
// calibration_sheet --dialog OUTPUT.png RIGHT1 DOWN1 RIGHT2 DOWN2
#include <QApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <string>

#include "card/card_layout.h"
#include "tests/ui/modal_script.h"
#include "ui/calibration_dialog.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"

namespace {

// The dialog on the first card version with the margins the sheet's picture has, the readings
// typed in, saved as it is drawn on the screen.
int DialogPicture(const char* output, char** readings) {
  using namespace velunorh;
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  CalibrationDialog dialog("0.20", "0.15", layout);
  const char* const spins[] = {"point1RightSpin", "point1DownSpin", "point2RightSpin",
                               "point2DownSpin"};
  for (int k = 0; k < 4; ++k)
    dialog.findChild<QDoubleSpinBox*>(spins[k])->setValue(std::stod(readings[k]));
  dialog.show();
  QEventLoop shown;  // laid out and drawn
  QTimer::singleShot(500, &shown, &QEventLoop::quit);
  shown.exec();
  return dialog.grab().save(QString::fromLocal8Bit(output)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--dialog") {
    QApplication app(argc, argv);
    return DialogPicture(argv[2], argv + 3);
  }
  if (argc != 2 && argc != 3 && argc != 5) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT.pdf|- [VERSION [LEFT TOP]]\n"
                 "       %s --dialog OUTPUT.png RIGHT1 DOWN1 RIGHT2 DOWN2\n",
                 argv[0], argv[0]);
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

  // "-": the system's default printer, as a secretary prints it (the Windows build's sheet goes
  // through the system's spooler so).
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  QPrinter& pdf = printer.ForSetup();
  if (std::string(argv[1]) != "-") {
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(QString::fromLocal8Bit(argv[1]));
    pdf.setResolution(600);
  }
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

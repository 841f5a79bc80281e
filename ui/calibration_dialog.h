#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "card/margin_calibration.h"

class QDoubleSpinBox;

namespace Ui {
class CalibrationDialogForm;
}

namespace velunorh {

// "Kalibrálás": the four readings of the calibration sheet's scales typed in, the old and the
// new margins and what the readings tell of scaling and skew shown as they are typed. Apply
// closes it with the new margins in result(); the caller takes them over.
class CalibrationDialog : public QDialog {
  Q_OBJECT

 public:
  CalibrationDialog(std::string leftMargin, std::string topMargin, CardLayout layout,
                    QWidget* parent = nullptr);
  ~CalibrationDialog() override;

  const MarginCalibration& result() const { return result_; }
  bool printAgain() const;

 private:
  void Solve();

  std::unique_ptr<Ui::CalibrationDialogForm> ui_;
  std::string leftMargin_, topMargin_;
  CardLayout layout_;
  MarginCalibration result_;
};

}  // namespace velunorh

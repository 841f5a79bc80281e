#include "ui/calibration_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "base/string_table.h"
#include "test_support.h"
#include "ui/dialog_test_support.h"
#include "ui/options_dialog.h"
#include "ui/qt_text.h"

namespace velunorh {
namespace {

using test::ControlByName;

// Readings typed with the arrow keys, as from the keyboard: each press is half a millimetre.
void Step(QDoubleSpinBox* spin, int halfMillimetres) {
  spin->setFocus();
  for (int i = 0; i < std::abs(halfMillimetres); ++i)
    QTest::keyClick(spin, halfMillimetres > 0 ? Qt::Key_Up : Qt::Key_Down);
}

class CalibrationDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<OptionsDialog> Open() {
    OptionsValues values;
    values.topMargin = "0.10";
    values.leftMargin = "0.20";
    MakeDefaultLayout(values.layout, 0);
    OptionsDialog::Services services;
    services.workFolder = dir_.path();
    services.showMessage = [this](const QString& text) { messages_ << text; };
    auto dialog = std::make_unique<OptionsDialog>(values, services);
    test::ShowActive(*dialog);
    return dialog;
  }

  test::TempDir dir_;
  QStringList messages_;
};

// Typed readings show the old and new margins and what else they tell, before anything is
// applied; Apply hands the new margins to the options, Cancel leaves them.
TEST_F(CalibrationDialogTest, ReadingsShowTheNewMarginsAndApplyThem) {
  auto options = Open();
  auto* calibrate = ControlByName<QPushButton>(options.get(), "calibrateButton");
  EXPECT_EQ(calibrate->text(), Text(StringId::CalibDialogButton));

  struct Case {
    const char* what;
    int p1Right, p1Down, p2Right, p2Down;  // half millimetres
    const char* shownMargins;
    std::vector<StringId> told;
    bool apply;
  } cases[] = {
      // 2 mm right and 1 mm down at both points: 8 and 4 hundredths of an inch.
      {"alike",
       4,
       2,
       4,
       2,
       "Bal: 0.20 → 0.28 hüvelyk\nFent: 0.10 → 0.14 hüvelyk",
       {StringId::CalibNoScalingNoSkew},
       false},
      {"scaled",
       0,
       0,
       4,
       4,
       "Bal: 0.20 → 0.24 hüvelyk\nFent: 0.10 → 0.14 hüvelyk",
       {StringId::CalibScaling},
       false},
      {"askew and past zero",
       -10,
       -7,
       -7,
       -10,
       "Bal: 0.20 → 0.03 hüvelyk\nFent: 0.10 → 0.00 hüvelyk",
       {StringId::CalibTopBelowZero, StringId::CalibSkew},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool seen = false;
    test::WhenModal<CalibrationDialog>([&](CalibrationDialog& dialog) {
      test::ShowActive(dialog);
      auto* p1Right = ControlByName<QDoubleSpinBox>(&dialog, "point1RightSpin");
      auto* p1Down = ControlByName<QDoubleSpinBox>(&dialog, "point1DownSpin");
      auto* p2Right = ControlByName<QDoubleSpinBox>(&dialog, "point2RightSpin");
      auto* p2Down = ControlByName<QDoubleSpinBox>(&dialog, "point2DownSpin");
      EXPECT_EQ(dialog.focusWidget(), p1Right);
      // Each field says which point and direction it is.
      EXPECT_TRUE(p1Right->accessibleName().startsWith("1. pont, jobbra"));
      EXPECT_TRUE(p1Down->accessibleName().startsWith("1. pont, lefelé"));
      EXPECT_TRUE(p2Right->accessibleName().startsWith("2. pont, jobbra"));
      EXPECT_TRUE(p2Down->accessibleName().startsWith("2. pont, lefelé"));
      Step(p1Right, c.p1Right);
      Step(p1Down, c.p1Down);
      Step(p2Right, c.p2Right);
      Step(p2Down, c.p2Down);
      EXPECT_EQ(ControlByName<QLabel>(&dialog, "marginsLabel")->text(),
                QString::fromUtf8(c.shownMargins));
      const QString advice = ControlByName<QLabel>(&dialog, "adviceLabel")->text();
      for (StringId id : c.told) {
        const QString start = Text(id).left(20);
        EXPECT_TRUE(advice.contains(start))
            << advice.toStdString() << "\nlacks " << start.toStdString();
      }
      EXPECT_EQ(advice.count('\n') + 1, static_cast<int>(c.told.size())) << advice.toStdString();
      // The sheet again is offered, checked; here it is not printed.
      auto* again = ControlByName<QCheckBox>(&dialog, "printAgainBox");
      EXPECT_TRUE(again->isChecked());
      again->setChecked(false);
      test::Click(ControlByName<QPushButton>(&dialog, c.apply ? "applyButton" : "cancelButton"));
      seen = true;
    });
    test::Click(calibrate);
    EXPECT_TRUE(seen);
  }
  // Only the last case was applied.
  EXPECT_EQ(options->values().leftMargin, "0.03");
  EXPECT_EQ(options->values().topMargin, "0.00");
  EXPECT_EQ(ControlByName<QLineEdit>(options.get(), "leftMarginEdit")->text(), "0.03");
  EXPECT_EQ(ControlByName<QLineEdit>(options.get(), "topMarginEdit")->text(), "0.00");
  EXPECT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();
}

// The readings stop at the scales' ends.
TEST_F(CalibrationDialogTest, ReadingsStayOnTheScales) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  CalibrationDialog dialog("0.20", "0.10", layout);
  test::ShowActive(dialog);
  auto* spin = ControlByName<QDoubleSpinBox>(&dialog, "point2DownSpin");
  Step(spin, 30);
  EXPECT_EQ(spin->value(), 5.0);
  Step(spin, -41);
  EXPECT_EQ(spin->value(), -5.0);
  EXPECT_EQ(dialog.result().topMargin, "0.00");  // -2.5 mm from 0.10 in
}

}  // namespace
}  // namespace velunorh

#include "ui/detailed_settings_dialog.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <string>

#include "ui/dialog_test_support.h"

namespace velunorh {
namespace {

using test::ControlByName;

class DetailedSettingsTest : public ::testing::Test {
 protected:
  std::unique_ptr<DetailedSettingsDialog> Open(int version, const CardLayout* layout = nullptr) {
    CardLayout copy;
    if (layout)
      copy = *layout;
    else
      MakeDefaultLayout(copy, version);
    auto dialog = std::make_unique<DetailedSettingsDialog>(
        copy, version, [this](const QString& text) { messages_ << text; });
    test::ShowActive(*dialog);
    return dialog;
  }
  static QLineEdit* Field(DetailedSettingsDialog& dialog, const char* name) {
    return ControlByName<QLineEdit>(&dialog, name);
  }

  QStringList messages_;
};

// The label whose buddy is the field: the text the user reads beside it.
QLabel* RowLabel(QWidget& dialog, QLineEdit* field) {
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->buddy() == field) return label;
  return nullptr;
}

TEST_F(DetailedSettingsTest, FieldsShowTheLayoutSlots) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  layout.SetX(HeaderPosition::Name, "0.11");
  layout.SetY(HeaderPosition::Female, "0.12");
  layout.SetBody(BodyValue::GridColumn7, "3.33");
  auto dialog = Open(0, &layout);
  struct Case {
    const char* name;
    const char* text;
  } cases[] = {
      {"headerX0", "0.11"},        {"headerY0", "0.22"},        {"headerX4", "4.35"},
      {"headerY11", "0.12"},       {"headerX11", "5.30"},       {"bodyTopEdit", "1.30"},
      {"bodyHeightEdit", "2.16"},  {"gridColumn1Edit", "1.00"}, {"gridColumn6Edit", "3.20"},
      {"gridColumn7Edit", "3.33"},
  };
  for (const auto& c : cases) EXPECT_EQ(Field(*dialog, c.name)->text(), c.text) << c.name;
  EXPECT_EQ(RowLabel(*dialog, Field(*dialog, "headerX5"))->text(),
            QString::fromUtf8("Bemeritkeyés idöpontja"));
  QStringList groups;
  for (auto* group : dialog->findChildren<QGroupBox*>()) groups << group->title();
  groups.sort();
  EXPECT_EQ(groups, (QStringList{QString::fromUtf8(" Fejléc "),
                                 QString::fromUtf8(" Havi adatok beállítás "),
                                 QString::fromUtf8(" Törzs ")}));
}

TEST_F(DetailedSettingsTest, GridRowsFollowTheCardForm) {
  struct Case {
    int version;
    std::vector<const char*> labels;  // of fields gridColumn1Edit to gridColumn7Edit
    bool sixthShown;
  } cases[] = {
      {0, {"Terjesztések", "Videólejátszások", "Óra", "UL", "BibliaT", "", "Megjegyzés"}, false},
      {1, {"Könyv", "Füzet", "Óra", "Folyóirat", "UL", "BibliaT", "Megjegyzés"}, true},
  };
  for (const auto& c : cases) {
    auto dialog = Open(c.version);
    for (int k = 0; k < 7; ++k) {
      if (k == 5 && !c.sixthShown) continue;
      EXPECT_EQ(
          RowLabel(*dialog, Field(*dialog, ("gridColumn" + std::to_string(k + 1) + "Edit").c_str()))
              ->text(),
          QString::fromUtf8(c.labels[k]))
          << c.version << " " << k;
    }
    EXPECT_EQ(Field(*dialog, "gridColumn6Edit")->isVisible(), c.sixthShown) << c.version;
    EXPECT_EQ(ControlByName<QLabel>(dialog.get(), "gridLabel6")->isVisible(), c.sixthShown)
        << c.version;
  }
}

TEST_F(DetailedSettingsTest, TheHiddenColumnIsWrittenBackAsItWas) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  layout.SetBody(BodyValue::GridColumn6, "4.56");
  auto dialog = Open(0, &layout);
  dialog->accept();
  EXPECT_EQ(dialog->layout().Body(BodyValue::GridColumn6), "4.56");
  EXPECT_EQ(dialog->layout(), layout);
}

TEST_F(DetailedSettingsTest, TitleAndResetCaptionNameTheCardVersion) {
  auto dialog = Open(1);
  EXPECT_EQ(dialog->windowTitle(),
            QString::fromUtf8("Részletes beállítás - S-21-H  Hu  4/05  Printed in Germany"));
  EXPECT_EQ(
      ControlByName<QPushButton>(dialog.get(), "resetButton")->text(),
      QString::fromUtf8("Visszaállítás alapértékekre - S-21-H  Hu  4/05  Printed in Germany"));
}

TEST_F(DetailedSettingsTest, ResetPutsBackTheVersionsOwnDefaults) {
  CardLayout layout;
  MakeDefaultLayout(layout, 1);
  layout.SetX(HeaderPosition::Name, "9.99");
  layout.SetBody(BodyValue::BodyTop, "0.50");
  layout.bytes[200] = 7;  // a reserved byte read from a file
  auto dialog = Open(1, &layout);
  test::Click(ControlByName<QPushButton>(dialog.get(), "resetButton"));
  EXPECT_EQ(Field(*dialog, "headerX0")->text(), "0.30");
  EXPECT_EQ(Field(*dialog, "bodyTopEdit")->text(), "1.32");
  EXPECT_EQ(Field(*dialog, "bodyHeightEdit")->text(), "1.75");
  dialog->accept();
  CardLayout defaults;
  MakeDefaultLayout(defaults, 1);
  EXPECT_EQ(dialog->layout(), defaults);
}

TEST_F(DetailedSettingsTest, OkCutsEachSlotToSevenCharacters) {
  CardLayout layout;
  MakeDefaultLayout(layout, 0);
  layout.SetBody(BodyValue::GridColumn6, "1234567");
  layout.bytes[CardLayout::Offset(BodyValue::GridColumn6) + 7] = '8';  // a slot without its NUL
  auto dialog = Open(0, &layout);
  EXPECT_EQ(Field(*dialog, "gridColumn6Edit")->text(), "12345678");
  test::TypeAndTab(Field(*dialog, "headerX0"), "1.2345678");  // passes the check as it stands
  QApplication::processEvents();
  dialog->accept();
  EXPECT_EQ(dialog->layout().X(HeaderPosition::Name), "1.23456");
  EXPECT_EQ(dialog->layout().Body(BodyValue::GridColumn6), "1234567");
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(DetailedSettingsTest, AFieldIsCheckedOnceTheFocusHasMovedOn) {
  auto dialog = Open(0);
  QLineEdit* birthX = Field(*dialog, "headerX4");
  test::TypeAndTab(birthX, ".5");
  EXPECT_EQ(birthX->text(), ".5");  // not inside the focus change
  QApplication::processEvents();
  EXPECT_EQ(birthX->text(), "0.50");
  EXPECT_TRUE(Field(*dialog, "headerY4")->hasFocus());
  EXPECT_TRUE(messages_.isEmpty());

  QLineEdit* bodyTop = Field(*dialog, "bodyTopEdit");
  test::TypeAndTab(bodyTop, "10.25");
  QApplication::processEvents();
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(bodyTop->hasFocus());
  EXPECT_EQ(bodyTop->text(), "10.25");
  QApplication::processEvents();
  EXPECT_EQ(messages_.size(), 1);
}

// Two rejected fields: the focus handed back to the first must not check the second, which
// would hand the focus back and forth with a message box each time.
TEST_F(DetailedSettingsTest, TwoBadFieldsDoNotBounceTheFocus) {
  CardLayout layout;
  MakeDefaultLayout(layout, 1);
  layout.SetY(HeaderPosition::Name, "bad");  // from a hand-made file
  int boxes = 0;
  DetailedSettingsDialog* owner = nullptr;
  auto dialog = std::make_unique<DetailedSettingsDialog>(layout, 1, [&](const QString& text) {
    ++boxes;
    QMessageBox box(QMessageBox::Warning, "Velunorh", text, QMessageBox::Ok, owner);
    QTimer::singleShot(50, &box, &QDialog::accept);
    box.exec();
    owner->activateWindow();  // as the window manager does when the box goes
    EXPECT_TRUE(QTest::qWaitForWindowActive(owner));
  });
  owner = dialog.get();
  test::ShowActive(*dialog);
  QLineEdit* nameX = Field(*dialog, "headerX0");
  test::TypeAndTab(nameX, "x");  // the Tab moves on to Name Y, which holds "bad"
  for (int i = 0; i < 20; ++i) {
    QTest::qWait(20);
    QApplication::processEvents();
  }
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(QApplication::focusWidget(), nameX);
  EXPECT_EQ(nameX->text(), "x");
}

TEST_F(DetailedSettingsTest, OkChecksWhatWasTypedButNeverLeft) {
  auto dialog = Open(0);
  QLineEdit* field = Field(*dialog, "gridColumn3Edit");
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, "2..1");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(messages_.size(), 1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(field->hasFocus());

  // A click on OK takes the focus first, which queues the check as well: told once only.
  field->selectAll();
  QTest::keyClicks(field, "x");
  test::Click(ControlByName<QPushButton>(dialog.get(), "okButton"));
  QApplication::processEvents();
  EXPECT_EQ(messages_.size(), 2);
  EXPECT_TRUE(dialog->isVisible());

  field->selectAll();
  QTest::keyClicks(field, "21");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->layout().Body(BodyValue::GridColumn3), "2.10");
}

}  // namespace
}  // namespace velunorh

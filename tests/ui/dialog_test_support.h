#pragma once

#include <filesystem>

#include "ui/print/application_printer.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace velunorh::test {

// The child control with the objectName `name`.
template <typename T>
T* ControlByName(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(QString::fromUtf8(name));
  if (!child) ADD_FAILURE() << "no control " << name;
  return child;
}

// Runs `act` on the modal dialog of type `Dialog` once a command has opened it. Call before
// the click that opens it; `act` must close it.
template <typename Dialog>
void WhenModal(std::function<void(Dialog&)> act) {
  auto* poll = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(poll, &QTimer::timeout, [poll, clock, act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      poll->stop();
      act(*dialog);
    } else if (clock->elapsed() > 5000) {
      poll->stop();
      ADD_FAILURE() << "the dialog did not open";
    } else {
      return;
    }
    poll->deleteLater();
    delete clock;
  });
  poll->start(10);
}

// Shows a dialog as the active window, so that focus changes reach its controls.
inline void ShowActive(QWidget& dialog) {
  dialog.show();
  dialog.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Types into a field as the user would: focus, old text selected, new text, then Tab away.
inline void TypeAndTab(QLineEdit* field, const QString& text) {
  field->setFocus(Qt::MouseFocusReason);
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, Qt::Key_Tab);
}

inline void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}

// Toggles a check box or radio button as an assistive tool does: through its accessibility
// interface's toggle action, which sends no click.
inline void ToggleAccessibly(QWidget* button) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
  ASSERT_TRUE(accessible && accessible->actionInterface());
  ASSERT_TRUE(accessible->actionInterface()->actionNames().contains(
      QAccessibleActionInterface::toggleAction()));
  accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

// The application's printer set to the print setup's "print to file" choice: a 600 dpi PDF.
inline void PrintToPdfFile(const std::filesystem::path& pdf) {
  ApplicationPrinter& printer = ApplicationPrinter::Instance();
  printer.Reset();
  QPrinter& setup = printer.ForSetup();
  setup.setOutputFormat(QPrinter::PdfFormat);
  setup.setOutputFileName(QString::fromStdString(pdf.string()));
  setup.setResolution(600);
  printer.SetupConfirmed();
}

}  // namespace velunorh::test

#include "ui/print/print_preview.h"

#include <QAction>
#include <QCoreApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QToolBar>

#include "ui/print/print_job.h"

namespace velunorh {
namespace {

// The preview's own texts, in whichever language Qt's translation gives them.
QString QtText(const char* text) {
  return QCoreApplication::translate("QPrintPreviewDialog", text);
}

void KeepPreviewToTheCard(QPrintPreviewDialog& preview, const std::function<void()>& print) {
  auto* toolbar = preview.findChild<QToolBar*>();
  if (!toolbar) return;
  const QStringList changesThePage = {QtText("Portrait"), QtText("Landscape"),
                                      QtText("Page setup")};
  QAction* printAction = nullptr;
  for (QAction* action : toolbar->actions()) {
    if (changesThePage.contains(action->text())) {
      toolbar->removeAction(action);
      action->setEnabled(false);
    } else if (action->text() == QtText("Print")) {
      printAction = action;
    }
  }
  if (!printAction) return;
  // Qt's own print would open a print dialog whose choices outlive this print.
  printAction->disconnect(&preview);
  QObject::connect(printAction, &QAction::triggered, &preview, [print] { print(); });
  printAction->setObjectName("previewPrintAction");
  toolbar->removeAction(printAction);
  const QList<QAction*> rest = toolbar->actions();
  QAction* first = rest.isEmpty() ? nullptr : rest.first();
  toolbar->insertAction(first, printAction);
  if (first) toolbar->insertSeparator(first);
}

}  // namespace

bool ShowPrintPreview(QWidget* parent, QPrinter& printer,
                      const std::function<void(Surface&)>& drawPage,
                      const std::function<bool()>& print) {
  PrepareCardPrinter(printer);
  QPrintPreviewDialog preview(&printer, parent);
  preview.setObjectName("printPreview");
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
    QPainter painter(target);
    DrawPages(*target, painter, 1, [&](Surface& surface, int) { drawPage(surface); });
  });
  bool printed = false;
  KeepPreviewToTheCard(preview, [&] {
    printed = print();
    if (printed) preview.accept();
  });
  preview.exec();
  return printed;
}

}  // namespace velunorh

#include "ui/print/group_print.h"

#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

#include "base/string_table.h"
#include "ui/print/application_printer.h"
#include "ui/print/print_file_question.h"
#include "ui/print/print_job.h"
#include "ui/qt_text.h"

namespace velunorh {

GroupPrint::GroupPrint(QWidget* parent, Session& session, Hooks hooks)
    : parent_(parent), session_(session), hooks_(std::move(hooks)) {}

bool GroupPrint::Run() {
  Session::GroupPlan plan = session_.PlanGroupPrint();
  if (plan.slots.empty()) {
    hooks_.warn(Text(StringId::GroupPrintEmpty));
    return false;
  }
  // The due cards are made before the question, which says how many there are.
  const Session::DueGroupPlan due = session_.PlanDueGroupPrint();
  const Answer answer = Ask(plan, due);
  if (answer == Answer::kCancel) return false;
  // Every card as the boxes stand may put ink where a card already holds some: asked first.
  std::optional<Session::LeaveOut> leaveOut;
  if (answer == Answer::kAll && !(leaveOut = session_.SettleGroupOverprint(plan))) return false;
  const std::optional<QPrinter*> settled = SettlePrinter(
      parent_,
      [this](const std::string& before, const std::string& now) {
        session_.SwitchPrinter(before, now);
      },
      hooks_.warn);
  if (!settled) return false;
  printer_ = *settled;
  if (!printer_) {
    hooks_.warn(PrintOutcomeMessage(PrintOutcome::kNoPrinter));
    return false;
  }
  if (!AskPrintFile(parent_, *printer_, session_.PrintFileNameOfGroup())) return false;
  switch (answer) {
    case Answer::kCancel:
      return false;
    case Answer::kAll:
      return PrintAll(plan, *leaveOut);
    case Answer::kDueOnly: {
      QProgressDialog progress(parent_);
      const int count = static_cast<int>(due.cards.size());
      Prepare(progress, count);
      std::vector<Session::PrintedPage> pages;
      // Made before the printer was settled, whose own margins may have returned since.
      for (const Session::DueCard& card : due.cards)
        pages.push_back({card.slot, &card.card, session_.WithMarginsInUse(card.page)});
      progress.setValue(count);  // made with the question
      return PrintAsOneJob(progress, pages);
    }
  }
  return false;
}

GroupPrint::Answer GroupPrint::Ask(const Session::GroupPlan& plan,
                                   const Session::DueGroupPlan& due) {
  const int count = static_cast<int>(plan.slots.size());
  const QString group = QString::fromStdString(session_.GroupCaption()).remove(QLatin1Char('&'));
  const QString question =
      plan.skipped == 0
          ? Text(StringId::GroupPrintQuestion).arg(count).arg(group)
          : Text(StringId::GroupPrintQuestionSkipping).arg(count).arg(group).arg(plan.skipped);
  // The nameless publishers are told above; the due line splits only the cards asked about.
  const QString dueLine = QString::fromStdString(
      LoadStringWith(StringId::GroupPrintDueLine,
                     {std::to_string(due.cards.size()), std::to_string(due.nothingDue)}));
  QMessageBox ask(QMessageBox::Question, Text(StringId::ProgramName), question + "\n\n" + dueLine,
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  ask.setObjectName("groupPrintQuestion");
  ask.setTextFormat(Qt::PlainText);
  ask.button(QMessageBox::Cancel)->setText(Text(StringId::CancelButton));
  QPushButton* dueOnly = ask.addButton(Text(StringId::GroupPrintDueOnly), QMessageBox::AcceptRole);
  dueOnly->setObjectName("groupPrintDueOnly");
  dueOnly->setEnabled(!due.cards.empty() && session_.CanTellDue());
  ask.exec();
  if (ask.clickedButton() == dueOnly) return Answer::kDueOnly;
  if (ask.clickedButton() == ask.button(QMessageBox::Ok)) return Answer::kAll;
  return Answer::kCancel;
}

// The steps: each card made (0 to `cards`), then the job handed over, then recorded, then done.
// Until the job is handed over, "Mégse" stops everything and nothing reaches the printer.
void GroupPrint::Prepare(QProgressDialog& progress, int cards) {
  progress.setObjectName("groupPrintProgress");
  progress.setWindowTitle(Text(StringId::ProgramName));
  progress.setCancelButtonText(Text(StringId::CancelButton));
  progress.setWindowModality(Qt::WindowModal);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  progress.setMinimumDuration(static_cast<int>(hooks_.progressDelay.count()));
  progress.setRange(0, cards + 3);
  progress.setLabelText(Text(StringId::GroupPrintMaking).arg(0).arg(cards));
  progress.setValue(0);
}

bool GroupPrint::PrintAll(Session::GroupPlan& plan, const Session::LeaveOut& leaveOut) {
  const int count = static_cast<int>(plan.slots.size());
  QProgressDialog progress(parent_);
  Prepare(progress, count);
  // The cards are made first and the printer is opened only when all are there, so that a
  // cancel leaves nothing at all in the printer's queue. Those the overprint question made
  // are taken as they are.
  std::vector<CardContent>& cards = plan.cards;
  cards.reserve(plan.slots.size());
  for (std::size_t k = 0; k < plan.slots.size(); ++k) {
    if (progress.wasCanceled()) return Cancelled(progress);
    if (k == cards.size()) cards.push_back(session_.ContentFor(plan.slots[k]));
    const int made = static_cast<int>(k + 1);
    progress.setLabelText(Text(StringId::GroupPrintMaking).arg(made).arg(count));
    progress.setValue(made);
  }
  if (progress.wasCanceled()) return Cancelled(progress);
  const CardPageInput page = session_.CardPage();
  // A card the boxes leave blank is not fed through the printer for nothing, nor one whose
  // every line was left out.
  std::vector<Session::PrintedPage> pages;
  for (int k = 0; k < count; ++k) {
    const auto over = leaveOut.find(plan.slots[k]);
    const CardPageInput cardPage =
        over == leaveOut.end() ? page : WithoutOverprint(page, over->second);
    if (CardPagePlacesAnything(cards[k], cardPage))
      pages.push_back({plan.slots[k], &cards[k], cardPage});
  }
  if (pages.empty()) {
    progress.close();
    hooks_.warn(
        Text(leaveOut.empty() ? StringId::NothingOnThePage : StringId::GroupOverprintNothingLeft));
    return false;
  }
  return PrintAsOneJob(progress, pages);
}

// A print stopped before its job was handed over: the user hears that it left no trace.
bool GroupPrint::Cancelled(QProgressDialog& progress) {
  progress.close();
  hooks_.inform(Text(StringId::GroupPrintCancelled));
  return false;
}

bool GroupPrint::PrintAsOneJob(QProgressDialog& progress,
                               const std::vector<Session::PrintedPage>& pages) {
  if (progress.wasCanceled()) return Cancelled(progress);
  const int count = static_cast<int>(pages.size());
  QPrinter* printer = printer_;
  // From here the job is on its way: it can no longer be stopped.
  progress.setCancelButton(nullptr);
  progress.setLabelText(Text(StringId::GroupPrintSending).arg(count));
  progress.setValue(count + 1);
  HandOver handOver;
  handOver.sendWhilePaused = AskSendWhilePaused(parent_);
  handOver.window = parent_;
  // Copies: a hand-over given up on still draws them after this returns.
  auto cards = std::make_shared<std::vector<std::pair<CardContent, CardPageInput>>>();
  for (const Session::PrintedPage& page : pages) cards->emplace_back(*page.card, page.page);
  const PrintOutcome outcome = PrintCardPages(
      printer, count,
      [cards](Surface& surface, int k) {
        DrawCardPage(surface, (*cards)[k].first, (*cards)[k].second);
      },
      &handOver);
  if (outcome != PrintOutcome::kPrinted) {
    progress.close();
    if (const QString message = PrintOutcomeMessage(outcome, printer); !message.isEmpty())
      hooks_.warn(message);
    return false;
  }
  progress.setLabelText(Text(StringId::GroupPrintRecording));
  progress.setValue(count + 2);
  hooks_.record(pages, *printer, handOver.job);
  progress.setValue(count + 3);
  progress.close();
  hooks_.inform(Text(PrintsToFile(*printer) ? StringId::GroupPrintSentToFile
                                            : StringId::GroupPrintSentToPrinter)
                    .arg(count)
                    .arg(PrintDestination(*printer)));
  return true;
}

}  // namespace velunorh

// Drawing on the full-size folder, through the real main window on the offscreen platform:
// one repaint of both previews against the same calls replayed straight with QPainter, one print
// of a full card to a 600 dpi PDF file, 300 such prints one after the other, and 300 cards
// printed as one job the way the group print makes them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QListWidget>
#include <QPrinter>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_folder.h"
#include "bench/full_congregation.h"
#include "bench/painter_replay.h"
#include "card/card_content.h"
#include "card/card_page.h"
#include "card/recording_surface.h"
#include "session/session.h"
#include "session/user_prompts.h"
#include "tests/ui/modal_script.h"
#include "ui/main_window.h"
#include "ui/preview_pane.h"
#include "ui/print/application_printer.h"
#include "ui/print/print_job.h"

namespace velunorh::bench {
namespace {

class PaintCounter : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return QObject::eventFilter(watched, event);
  }
};

// The benchmark's answers: each print of the same card goes over what the ledger says the last
// one put there, and is meant to print the whole card again; a message is kept as a warning.
class PrintAgainAnswers : public UserPrompts {
 public:
  explicit PrintAgainAnswers(QStringList& warnings) : warnings_(warnings) {}
  std::optional<int> ChooseDataLocation(int, bool) override { return std::nullopt; }
  bool CheckPassword(const PublisherRecord&) override { return true; }
  bool ConfirmNewData() override { return false; }
  void ShowMessage(const std::string& message) override {
    warnings_ << QString::fromStdString(message);
  }
  OverprintAnswer AskOverprint(const std::string&) override {
    return OverprintAnswer::kPrintAnyway;
  }
  bool WaitToSave(const std::string& message, const std::function<bool()>&) override {
    ShowMessage(message);
    return false;
  }

 private:
  QStringList& warnings_;
};

// The main window on the full-size folder with the subject selected: every month row, the
// totals, the header and the gender marks chosen, as for printing a whole card.
class CardWindow {
 public:
  CardWindow() {
    MainWindow::Options options;
    options.settingsFile = folder_.path() / "velunorh.INI";
    options.workFolder = folder_.path();
    options.floppyFolder = folder_.path() / "floppy";
    options.today = ServiceYear::FromDate(kTodayYear, kTodayMonth);
    options.warn = [this](const QString& message) { warnings_ << message; };
    options.prompts = &answers_;
    window_ = std::make_unique<MainWindow>(options);
    window_->show();
    QApplication::processEvents();
    SelectSubject();
    for (int row = 0; row < 12; ++row) Tick("monthBox" + QString::number(row));
    Tick("totalBox");
    // Choosing months clears the header box.
    Tick("printHeaderBox");
    Tick("genderMarksBox");
    QApplication::processEvents();
  }

  MainWindow& window() { return *window_; }
  PreviewPane* pane(const char* name) { return window_->findChild<PreviewPane*>(name); }
  const std::filesystem::path& folder() const { return folder_.path(); }
  const QStringList& warnings() const { return warnings_; }

 private:
  void SelectSubject() {
    const int slot = window_->session().data().FindPublisherById(kSubjectId);
    auto* list = window_->findChild<QListWidget*>("publisherList");
    for (int row = 0; row < list->count(); ++row)
      if (list->item(row)->data(Qt::UserRole).toInt() == slot) list->setCurrentRow(row);
  }
  void Tick(const QString& name) {
    auto* box = window_->findChild<QCheckBox*>(name);
    if (box->isEnabled() && !box->isChecked()) box->click();
  }

  BenchFolder folder_;
  QStringList warnings_;
  PrintAgainAnswers answers_{warnings_};
  std::unique_ptr<MainWindow> window_;
};

std::unique_ptr<CardWindow> theWindow;

CardWindow& Window() {
  if (!theWindow) theWindow = std::make_unique<CardWindow>();
  return *theWindow;
}

// Both panes painted on screen, as an update of the window paints them.
void BM_RepaintPreviews(benchmark::State& state) {
  CardWindow& w = Window();
  PreviewPane* header = w.pane("headerPreview");
  PreviewPane* monthly = w.pane("monthlyPreview");
  PaintCounter paints;
  header->installEventFilter(&paints);
  monthly->installEventFilter(&paints);
  for (auto _ : state) {
    header->repaint();
    monthly->repaint();
  }
  header->removeEventFilter(&paints);
  monthly->removeEventFilter(&paints);
  if (paints.count != 2 * state.iterations()) state.SkipWithError("a preview did not repaint");
}

// Both panes rendered into images: the drawing passes through the pane's own painter surface,
// without the window's backing store.
void BM_RenderPreviewsToImage(benchmark::State& state) {
  CardWindow& w = Window();
  PreviewPane* header = w.pane("headerPreview");
  PreviewPane* monthly = w.pane("monthlyPreview");
  QImage headerImage(header->size(), QImage::Format_ARGB32_Premultiplied);
  QImage monthlyImage(monthly->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    header->render(&headerImage);
    monthly->render(&monthlyImage);
  }
  benchmark::DoNotOptimize(monthlyImage.constBits());
}

// The floor of the repaint: each pane's calls of one repaint, recorded, replayed with QPainter
// straight onto an image of the pane's size.
void BM_ReplayPreviewsOntoImage(benchmark::State& state) {
  CardWindow& w = Window();
  std::vector<std::pair<PainterReplay, QImage>> panes;
  for (const char* name : {"headerPreview", "monthlyPreview"}) {
    PreviewPane* pane = w.pane(name);
    RecordingSurface recording(pane->logicalDpiX(), pane->logicalDpiY());
    pane->painter()(recording, Rect{0, 0, pane->width(), pane->height()});
    panes.emplace_back(PainterReplay(recording, pane->font(), pane->palette().window().color()),
                       QImage(pane->size(), QImage::Format_ARGB32_Premultiplied));
  }
  for (auto _ : state) {
    for (auto& [replay, image] : panes) replay.DrawOnto(image);
  }
  benchmark::DoNotOptimize(panes.back().second.constBits());
}

// The application's printer set to a PDF file at 600 dpi for as long as it lives.
class PdfPrinter {
 public:
  explicit PdfPrinter(const std::filesystem::path& pdf) : pdf_(pdf) {
    ApplicationPrinter& printer = ApplicationPrinter::Instance();
    printer.Reset();
    QPrinter& setup = printer.ForSetup();
    setup.setOutputFormat(QPrinter::PdfFormat);
    setup.setOutputFileName(QString::fromStdString(pdf.string()));
    setup.setResolution(600);
    printer.SetupConfirmed();
  }
  ~PdfPrinter() { ApplicationPrinter::Instance().Reset(); }
  PdfPrinter(const PdfPrinter&) = delete;
  PdfPrinter& operator=(const PdfPrinter&) = delete;

  bool Written() const {
    std::error_code ec;
    return std::filesystem::file_size(pdf_, ec) > 0 && !ec;
  }

 private:
  std::filesystem::path pdf_;
};

// Prints one whole card to a PDF file, `cards` times, one job each.
void PrintCards(benchmark::State& state, int cards) {
  CardWindow& w = Window();
  PdfPrinter pdf(w.folder() / "card.pdf");
  for (auto _ : state) {
    for (int card = 0; card < cards; ++card) w.window().PrintCard();
  }
  if (!w.warnings().isEmpty() || !pdf.Written()) state.SkipWithError("the card was not printed");
}

// One print of the whole card: the print command of the window, to a PDF file at 600 dpi.
void BM_PrintCardToPdf(benchmark::State& state) {
  PrintCards(state, 1);
}

// What a group print of 300 cards is measured against: 300 prints of one card, one after the
// other.
constexpr int kGroupOfCards = 300;
void BM_Print300SingleCards(benchmark::State& state) {
  PrintCards(state, kGroupOfCards);
}

// 300 cards as one job, made as the group print makes them: the session's plan, each card's
// content from the session, then every page drawn in one print. The question and the progress
// dialog are left out; the list's publishers are taken again from the first when there are
// fewer than 300.
void BM_Print300CardsAsOneJob(benchmark::State& state) {
  CardWindow& w = Window();
  Session& session = w.window().session();
  PdfPrinter pdf(w.folder() / "group.pdf");
  PrintOutcome outcome = PrintOutcome::kPrinted;
  std::size_t planned = 0;
  for (auto _ : state) {
    const Session::GroupPlan plan = session.PlanGroupPrint();
    planned = plan.slots.size();
    if (planned == 0) break;
    std::vector<CardContent> cards;
    cards.reserve(kGroupOfCards);
    for (int k = 0; k < kGroupOfCards; ++k)
      cards.push_back(session.ContentFor(plan.slots[static_cast<std::size_t>(k) % planned]));
    const CardPageInput page = session.CardPage();
    outcome = PrintCardPages(ApplicationPrinter::Instance().Current(), kGroupOfCards,
                             [&](Surface& surface, int k) {
                               DrawCardPage(surface, cards[static_cast<std::size_t>(k)], page);
                             });
    if (outcome != PrintOutcome::kPrinted) break;
  }
  if (planned == 0 || outcome != PrintOutcome::kPrinted || !pdf.Written())
    state.SkipWithError("the cards were not printed");
}

BENCHMARK(BM_RepaintPreviews)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderPreviewsToImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplayPreviewsOntoImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintCardToPdf)->Unit(benchmark::kMillisecond);
// 300 cards outlast the minimum time: one iteration per repetition.
BENCHMARK(BM_Print300SingleCards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Print300CardsAsOneJob)->Unit(benchmark::kMillisecond);

}  // namespace

// The window goes before the application does.
void CloseWindow() {
  theWindow.reset();
}

}  // namespace velunorh::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A print to a PDF file asks for the file: the answer keeps the one the benchmark set up.
  velunorh::test::KeepTheSetupsFile keep(
      [] { return velunorh::ApplicationPrinter::Instance().ForSetup().outputFileName(); });
  benchmark::RunSpecifiedBenchmarks();
  velunorh::bench::CloseWindow();
  benchmark::Shutdown();
  return 0;
}

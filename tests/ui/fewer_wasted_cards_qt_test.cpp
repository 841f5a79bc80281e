// The print preview, the group print, what they say when there is nothing to print or a print
// failed (which records nothing), a second press while a print runs, and a printer a dialog
// left turned, through the real main window printing to PDF files at 600 dpi read back with
// poppler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintPreviewWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "dialog_test_support.h"
#include "main_window_fixture.h"
#include "modal_script.h"
#include "pdf_words.h"
#include "session/print_ledger.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/main_window.h"
#include "ui/print/application_printer.h"
#include "ui/qt_text.h"

namespace velunorh {
namespace {

tools::Publisher Publisher(const std::string& given, const std::string& family, int id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.homeAddress = given + " utca " + std::to_string(id);
  p.id = id;
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.sex = tools::Sex::kFemale;
  for (int month : {8, 9}) {  // September and October
    p.months[month].newForm = true;
    p.months[month].hours = 10 + id;
    p.months[month].placements = id;
  }
  return p;
}

// Three publishers, the second of them without any name.
tools::Congregation ThreePublishers() {
  tools::Congregation c;
  c.current.publishers = {Publisher("Anna", "Kovács", 11), Publisher("", "", 12),
                          Publisher("Béla", "Szabó", 13)};
  return c;
}

class FewerWastedCardsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(ThreePublishers(), dir_.path());
    main_.ShowProgressAtOnce();
    window_ = main_.Open();  // October reported
    list_ = window_->findChild<QListWidget*>("publisherList");
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  void PrintTo(const std::filesystem::path& pdf) { test::PrintToPdfFile(pdf); }
  void Click(const char* name) {
    auto* box = window_->findChild<QCheckBox*>(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  }
  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
  void Press(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
  // The progress window, should the script see it, runs its course.
  static void LeaveProgressAlone(QWidget*) {}
  // The question before ink goes over ink, answered "Mégis nyomtatja".
  static void PrintAnyway(QWidget* dialog) {
    ASSERT_EQ(dialog->objectName(), "overprintQuestion");
    dialog->findChild<QPushButton*>("overprintPrintAnyway")->click();
  }
  bool LedgerWritten() const { return std::filesystem::exists(dir_ / kPrintLedgerFileName); }
  // The chosen publisher's next print goes on a fresh card: these tests print one card again to
  // compare the pages, which on the same card would be ink over ink.
  void NewCard() { EXPECT_EQ(window_->session().ForgetCard(), ""); }
  static std::vector<test::PdfWord> OnlyPage(const std::filesystem::path& pdf) {
    auto pages = test::ReadPdfWords(pdf);
    EXPECT_EQ(pages.size(), 1u) << pdf;
    return pages.empty() ? std::vector<test::PdfWord>{} : pages[0].words;
  }
  // The months, the total and the header, as a user fills a new card.
  void ChooseEverything() {
    Click("monthBox0");
    Click("monthBox1");
    Click("printHeaderBox");
  }
  // The words of a single print of the list's row.
  std::vector<test::PdfWord> SinglePrint(int row, const std::string& name) {
    list_->setCurrentRow(row);
    const auto pdf = dir_ / (name + ".pdf");
    PrintTo(pdf);
    Press("printButton");
    auto pages = test::ReadPdfWords(pdf);
    EXPECT_EQ(pages.size(), 1u) << name;
    return pages.empty() ? std::vector<test::PdfWord>{} : pages[0].words;
  }
  static void ExpectSameWords(const std::vector<test::PdfWord>& a,
                              const std::vector<test::PdfWord>& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].text, b[i].text) << what;
      EXPECT_NEAR(a[i].xMin, b[i].xMin, 0.5) << what << " " << a[i].text;
      EXPECT_NEAR(a[i].yMin, b[i].yMin, 0.5) << what << " " << a[i].text;
    }
  }

  test::TempDir dir_;
  test::MainWindowFixture main_{dir_.path()};
  std::unique_ptr<MainWindow> window_;
  QListWidget* list_ = nullptr;
};

TEST_F(FewerWastedCardsTest, PrintingFromThePreviewGivesThePageThatPrintGives) {
  ChooseEverything();
  const auto printed = SinglePrint(0, "printed");
  ASSERT_FALSE(printed.empty());
  NewCard();

  const auto fromPreview = dir_ / "preview.pdf";
  PrintTo(fromPreview);
  int pages = 0;
  test::ModalScript script({[&](QWidget* dialog) {
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    pages = preview->pageCount();
    dialog->findChild<QAction*>("previewPrintAction")->trigger();
  }});
  Press("previewButton");
  EXPECT_EQ(pages, 1);
  EXPECT_EQ(script.answered(), 1);
  auto read = test::ReadPdfWords(fromPreview);
  ASSERT_EQ(read.size(), 1u);
  ExpectSameWords(read[0].words, printed, "preview");
  EXPECT_EQ(test::PdfTitle(fromPreview), "Card Header");
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

TEST_F(FewerWastedCardsTest, ThePreviewSaysSoWhenNothingWouldPrint) {
  list_->setCurrentRow(1);  // the publisher without a name
  test::ModalScript script({});
  Press("previewButton");
  EXPECT_EQ(script.unexpected(), 0);  // no preview opened
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nincs mit nyomtatni")));
}

TEST_F(FewerWastedCardsTest, AGroupPrintIsOneJobWhosePageKIsTheSinglePrintOfPublisherK) {
  ChooseEverything();
  const auto first = SinglePrint(0, "first");
  const auto third = SinglePrint(2, "third");

  const auto group = dir_ / "group.pdf";
  PrintTo(group);
  QString question;
  // Both cards hold their lines already: printed again, to compare the pages.
  test::ModalScript script({[&](QWidget* dialog) {
                              auto* box = qobject_cast<QMessageBox*>(dialog);
                              ASSERT_NE(box, nullptr);
                              question = box->text();
                              box->button(QMessageBox::Ok)->click();
                            },
                            PrintAnyway, LeaveProgressAlone});
  Press("groupPrintButton");
  EXPECT_GE(script.answered(), 2);
  EXPECT_TRUE(question.startsWith(QString::fromUtf8("2 kártya nyomtatása: Összes Hírnőkök?")))
      << question.toStdString();
  EXPECT_TRUE(question.contains(QString::fromUtf8("1 hírnöknek nincs neve")))
      << question.toStdString();
  auto pages = test::ReadPdfWords(group);
  ASSERT_EQ(pages.size(), 2u);
  ExpectSameWords(pages[0].words, first, "page 1");
  ExpectSameWords(pages[1].words, third, "page 2");
  EXPECT_EQ(test::PdfTitle(group), "Card Header");
}

// Cancelled while the cards are made, at the first and at the last: the printer is never opened,
// and the user is told that nothing was printed or recorded.
TEST_F(FewerWastedCardsTest, ACancelledGroupPrintPrintsNothingAndSaysSo) {
  for (int cancelAt : {0, 1}) {
    main_.told.clear();
    const auto group = dir_ / ("group" + std::to_string(cancelAt) + ".pdf");
    PrintTo(group);
    test::CancelProgressAt cancel(cancelAt);
    test::ModalScript script({[](QWidget* dialog) {
      qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
    }});
    Press("groupPrintButton");
    EXPECT_TRUE(cancel.cancelled()) << "cancelled at " << cancelAt;
    EXPECT_FALSE(std::filesystem::exists(group)) << "cancelled at " << cancelAt;
    EXPECT_EQ(main_.told, QStringList{Text(StringId::GroupPrintCancelled)})
        << "cancelled at " << cancelAt;
  }
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

TEST_F(FewerWastedCardsTest, AnEmptyGroupPrintsNothingAndSaysSo) {
  // The third group holds those not baptized: nobody here.
  for (int i = 0; i < 3; ++i) Press("groupButton");
  ASSERT_EQ(list_->count(), 0);
  const auto group = dir_ / "empty.pdf";
  PrintTo(group);
  test::ModalScript script({});
  Press("groupPrintButton");
  EXPECT_EQ(script.unexpected(), 0);
  EXPECT_FALSE(std::filesystem::exists(group));
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nincs nyomtatható kártya")));
}

TEST_F(FewerWastedCardsTest, WithoutAPrinterThePreviewAndTheGroupSayNoPrinter) {
  ApplicationPrinter::Instance().Reset();  // no scheduler in the widget tests: no printer
  Press("previewButton");
  test::ModalScript script({[](QWidget* dialog) {
    qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
  }});
  Press("groupPrintButton");
  ASSERT_EQ(main_.warnings.size(), 2);
  EXPECT_EQ(main_.warnings[0], "No Printer");
  EXPECT_EQ(main_.warnings[1], "No Printer");
}

TEST_F(FewerWastedCardsTest, APrintThatCouldNotBeWrittenSaysSoAndRecordsNothing) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  // The file's folder does not exist: the printer cannot be opened for drawing.
  PrintTo(dir_ / "missing" / "card.pdf");
  Press("printButton");
  ASSERT_EQ(main_.warnings.size(), 1);
  EXPECT_TRUE(main_.warnings[0].contains(QString::fromUtf8("nem írható")))
      << main_.warnings[0].toStdString();
  EXPECT_TRUE(main_.warnings[0].contains("missing")) << main_.warnings[0].toStdString();
  EXPECT_FALSE(LedgerWritten());
}

// Presses that reach the print buttons while a print runs (queued behind it, or made from
// inside it) make no second job.
TEST_F(FewerWastedCardsTest, ASecondPressWhileAPrintRunsDoesNothing) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  ApplicationPrinter::Instance().Reset();  // no printer: each print that runs says so once
  for (const char* name : {"printButton", "previewButton"}) {
    QPushButton* button = Button(name);
    const QPoint middle = button->rect().center();
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonPress, middle, button->mapToGlobal(middle),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(
        button, new QMouseEvent(QEvent::MouseButtonRelease, middle, button->mapToGlobal(middle),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  }
  Button("printButton")->click();
  QApplication::processEvents();
  EXPECT_EQ(main_.warnings, QStringList{"No Printer"});
  for (const char* name : {"printButton", "previewButton", "groupPrintButton"})
    EXPECT_TRUE(Button(name)->isEnabled()) << name;

  // From inside a group print, while its question is open.
  main_.warnings.clear();
  PrintTo(dir_ / "group.pdf");
  test::ModalScript script({[this](QWidget* dialog) {
                              Button("printButton")->click();
                              Button("groupPrintButton")->click();
                              qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
                            },
                            LeaveProgressAlone});
  Press("groupPrintButton");
  EXPECT_EQ(script.unexpected(), 0);
  EXPECT_EQ(test::ReadPdfWords(dir_ / "group.pdf").size(), 2u);
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// Whatever a dialog left in the printer, the card prints upright at its positions.
TEST_F(FewerWastedCardsTest, APrinterLeftInLandscapeStillPrintsTheCardUpright) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  Click("printHeaderBox");
  PrintTo(dir_ / "upright.pdf");
  Press("printButton");
  const auto upright = OnlyPage(dir_ / "upright.pdf");
  ASSERT_FALSE(upright.empty());
  NewCard();

  PrintTo(dir_ / "turned.pdf");
  ApplicationPrinter::Instance().ForSetup().setPageOrientation(QPageLayout::Landscape);
  Press("printButton");
  auto pages = test::ReadPdfWords(dir_ / "turned.pdf");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_LT(pages[0].width, pages[0].height);
  ASSERT_EQ(pages[0].words.size(), upright.size());
  for (std::size_t i = 0; i < upright.size(); ++i) {
    EXPECT_EQ(pages[0].words[i].text, upright[i].text);
    EXPECT_NEAR(pages[0].words[i].xMin, upright[i].xMin, 0.5) << upright[i].text;
    EXPECT_NEAR(pages[0].words[i].yMin, upright[i].yMin, 0.5) << upright[i].text;
  }
}

// The preview offers nothing that turns or re-pages the printer, keeps its print in sight at
// a large font, and prints as "Nyomtatás" does.
TEST_F(FewerWastedCardsTest, ThePreviewCannotTurnTheCardAndItsPrintStaysInSight) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  PrintTo(dir_ / "preview.pdf");
  const QFont normal = QApplication::font();
  QFont large = normal;
  large.setPointSizeF(normal.pointSizeF() * 1.5);  // as at a font DPI of 144
  QApplication::setFont(large);
  auto tr = [](const char* text) {
    return QCoreApplication::translate("QPrintPreviewDialog", text);
  };
  QStringList shown;
  bool printInSight = false;
  test::ModalScript script({[&](QWidget* dialog) {
    auto* toolbar = dialog->findChild<QToolBar*>();
    ASSERT_NE(toolbar, nullptr);
    for (QAction* action : toolbar->actions()) shown << action->text();
    auto* print = dialog->findChild<QAction*>("previewPrintAction");
    ASSERT_NE(print, nullptr);
    QWidget* button = toolbar->widgetForAction(print);
    printInSight = button && button->isVisible() && toolbar->rect().contains(button->geometry());
    print->trigger();
  }});
  Press("previewButton");
  QApplication::setFont(normal);
  EXPECT_EQ(script.answered(), 1);
  for (const char* gone : {"Portrait", "Landscape", "Page setup"})
    EXPECT_FALSE(shown.contains(tr(gone))) << gone;
  EXPECT_TRUE(printInSight);
  EXPECT_FALSE(OnlyPage(dir_ / "preview.pdf").empty());
  EXPECT_TRUE(LedgerWritten());
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();
}

// Two named cards and one nameless publisher: the nameless one is told once, and the due-only
// line splits the two named cards.
TEST_F(FewerWastedCardsTest, TheGroupQuestionsCountsAddUp) {
  list_->setCurrentRow(0);
  Click("monthBox0");
  Click("monthBox1");
  Click("printHeaderBox");
  PrintTo(dir_ / "anna.pdf");
  Press("printButton");  // Anna's card is complete

  QString question;
  test::ModalScript script({[&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    question = box->text();
    box->button(QMessageBox::Cancel)->click();
  }});
  Press("groupPrintButton");
  EXPECT_TRUE(question.startsWith(QString::fromUtf8("2 kártya nyomtatása")))
      << question.toStdString();
  EXPECT_TRUE(question.contains(QString::fromUtf8("1 hírnöknek nincs neve")))
      << question.toStdString();
  EXPECT_TRUE(question.contains(QString::fromUtf8("Csak esedékes: 1 kártya nyomtatása, 1 kimarad")))
      << question.toStdString();
}

// The progress counts the cards made, then the job handed over (no cancel from there on),
// then its record; at the end the user is told how many cards went where.
TEST_F(FewerWastedCardsTest, TheGroupProgressIsHonestAndTheEndSaysWhereTheCardsWent) {
  const auto pdf = dir_ / "group.pdf";
  PrintTo(pdf);
  struct Step {
    int value;
    QString label;
    bool cancellable;
  };
  std::vector<Step> steps;
  test::ModalScript script({[&](QWidget* dialog) {
                              qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
                            },
                            LeaveProgressAlone});
  // Each repaint of the progress window is a step the user sees.
  struct Watch : QObject {
    std::vector<Step>* steps;
    bool eventFilter(QObject* watched, QEvent* event) override {
      auto* widget = qobject_cast<QWidget*>(watched);
      auto* p = widget ? qobject_cast<QProgressDialog*>(widget->window()) : nullptr;
      if (p && event->type() == QEvent::Paint && p->isVisible()) {
        const bool cancellable = [p] {
          for (auto* b : p->findChildren<QPushButton*>())
            if (b->isVisible()) return true;
          return false;
        }();
        if (steps->empty() || steps->back().label != p->labelText())
          steps->push_back({p->value(), p->labelText(), cancellable});
      }
      return false;
    }
  } watcher;
  watcher.steps = &steps;
  qApp->installEventFilter(&watcher);
  Press("groupPrintButton");
  qApp->removeEventFilter(&watcher);

  ASSERT_FALSE(steps.empty());
  EXPECT_TRUE(steps.front().label.startsWith(QString::fromUtf8("Kártyák készítése")))
      << steps.front().label.toStdString();
  EXPECT_TRUE(steps.front().cancellable);
  bool sending = false;
  for (const Step& step : steps) {
    if (step.label.contains(QString::fromUtf8("átadása"))) {
      sending = true;
      EXPECT_FALSE(step.cancellable);
      EXPECT_EQ(step.value, 3);  // two cards made, the job under way
    }
  }
  EXPECT_TRUE(sending);
  EXPECT_EQ(test::ReadPdfWords(pdf).size(), 2u);
  ASSERT_EQ(main_.told.size(), 1);
  EXPECT_EQ(main_.told[0],
            QString::fromUtf8("2 kártya elmentve ide: ") + QString::fromStdString(pdf.string()));
  EXPECT_TRUE(LedgerWritten());
}

// A print to a PDF file asks for the file, proposing the publisher's (or the group's) name in
// the folder of the last file, never replaces a file unasked, and says where the file went.
TEST_F(FewerWastedCardsTest, APrintToAFileAsksForItAndNeverReplacesOneUnasked) {
  test::KeepTheSetupsFile::Pause askingMyself;
  list_->setCurrentRow(0);
  Click("monthBox0");
  PrintTo(dir_ / "setup.pdf");
  const auto card = dir_ / "Kovacs_Anna_S21.pdf";
  QStringList proposed;
  auto keepProposed = [&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    proposed << files->selectedFiles().value(0);
    static_cast<QDialog*>(files)->accept();
  };
  auto answer = [](QMessageBox::StandardButton button) {
    return [button](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->objectName(), "printFileReplace");
      box->button(button)->click();
    };
  };
  {
    test::ModalScript script({keepProposed});
    Press("printButton");
    EXPECT_EQ(script.unexpected(), 0);
  }
  ASSERT_EQ(proposed.size(), 1);
  EXPECT_EQ(proposed[0], QString::fromStdString(card.string()));
  ASSERT_TRUE(std::filesystem::exists(card));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "setup.pdf"));
  ASSERT_EQ(main_.told.size(), 1);
  EXPECT_TRUE(main_.told[0].contains(QString::fromStdString(card.string())))
      << main_.told[0].toStdString();

  // The same file again: the answer "Mégse" leaves it as it was and records nothing more.
  // "Mégse" to replacing it goes back to the file dialog, which proposes the same file: another
  // name chosen there gets the card.
  test::WriteText(card, "kept");
  const auto other = dir_ / "masik.pdf";
  NewCard();
  {
    test::ModalScript script({keepProposed, answer(QMessageBox::Cancel), [&](QWidget* dialog) {
                                auto* files = qobject_cast<QFileDialog*>(dialog);
                                ASSERT_NE(files, nullptr);
                                proposed << files->selectedFiles().value(0);
                                // Chosen, and typed as a user does: selectFile alone leaves
                                // a focused name field as it was.
                                files->selectFile(QString::fromStdString(other.string()));
                                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                                ASSERT_NE(name, nullptr);
                                name->setText(QString::fromStdString(other.string()));
                                static_cast<QDialog*>(files)->accept();
                              }});
    Press("printButton");
    EXPECT_EQ(script.answered(), 3);
    EXPECT_EQ(script.unexpected(), 0);
  }
  ASSERT_EQ(proposed.size(), 3);
  EXPECT_EQ(proposed[2], QString::fromStdString(card.string()));
  EXPECT_EQ(test::ReadText(card), "kept");
  EXPECT_FALSE(OnlyPage(other).empty());
  EXPECT_EQ(main_.told.size(), 2);
  NewCard();
  {
    test::ModalScript script({keepProposed, answer(QMessageBox::Ok)});
    Press("printButton");
    EXPECT_EQ(script.answered(), 2);
  }
  EXPECT_EQ(OnlyPage(card).empty(), false);
  EXPECT_EQ(main_.told.size(), 3);

  // A file dialog closed without a file prints nothing and says nothing.
  std::filesystem::remove(card);
  NewCard();
  {
    test::ModalScript script({[](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); }});
    Press("printButton");
  }
  EXPECT_FALSE(std::filesystem::exists(card));
  EXPECT_TRUE(main_.warnings.isEmpty()) << main_.warnings.join("; ").toStdString();

  // The group's file is named after the group.
  proposed.clear();
  NewCard();
  {
    test::ModalScript script(
        {[](QWidget* dialog) {
           qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::Ok)->click();
         },
         keepProposed, LeaveProgressAlone});
    Press("groupPrintButton");
  }
  ASSERT_EQ(proposed.size(), 1);
  EXPECT_EQ(proposed[0], QString::fromStdString((dir_ / "Osszes_Hirnokok_S21.pdf").string()));
  EXPECT_EQ(test::ReadPdfWords(dir_ / "Osszes_Hirnokok_S21.pdf").size(), 2u);
}

}  // namespace
}  // namespace velunorh

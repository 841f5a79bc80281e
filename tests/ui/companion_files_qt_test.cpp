// The companion program's files are only ever read: a whole session over its data, with every
// command of the window, a print and a switch of the data source, leaves each of them as it
// was, opens none of them for writing and adds nothing among them. The read-only bits set
// here do not bind root (CI), so the bytes, the write times and the file system's own report
// of every file opened for writing are what the test checks.
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "main_window_fixture.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/modal_script.h"
#include "ui/options_dialog.h"
#include "ui/print/application_printer.h"
#include "ui/type_ahead_list.h"

namespace velunorh {
namespace {

namespace fs = std::filesystem;
using test::ControlByName;

// What the file system reports about the files of some folders: every write, every close of a
// file opened for writing, every change of attributes, every file made, removed or renamed.
class FolderWatch {
 public:
  FolderWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) { EXPECT_GE(fd_, 0); }
  ~FolderWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  void Watch(const fs::path& folder) {
    constexpr std::uint32_t kMask = IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                    IN_MOVED_FROM | IN_MOVED_TO;
    int wd = inotify_add_watch(fd_, folder.c_str(), kMask);
    ASSERT_GE(wd, 0) << folder;
    folders_[wd] = folder;
  }

  // "path: what" for every event so far.
  std::vector<std::string> Events() {
    std::vector<std::string> events;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        std::string name = event->len ? event->name : "";
        events.push_back((folders_[event->wd] / name).string() + ": " + What(event->mask));
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return events;
  }

 private:
  static std::string What(std::uint32_t mask) {
    const std::pair<std::uint32_t, const char*> kinds[] = {
        {IN_MODIFY, "written"},      {IN_CLOSE_WRITE, "opened for writing"},
        {IN_ATTRIB, "attributes"},   {IN_CREATE, "made"},
        {IN_DELETE, "removed"},      {IN_MOVED_FROM, "renamed away"},
        {IN_MOVED_TO, "renamed to"},
    };
    std::string what;
    for (const auto& [bit, text] : kinds)
      if (mask & bit) what += std::string(what.empty() ? "" : ", ") + text;
    return what;
  }

  int fd_;
  std::map<int, fs::path> folders_;
};

tools::Publisher MakePublisher(const std::string& given, const std::string& family,
                               std::uint16_t id) {
  tools::Publisher p;
  p.givenName = given;
  p.familyName = family;
  p.id = id;
  p.dateImmersed = "05141995";
  p.dateOfBirth = "03021970";
  p.homeAddress = "Fő utca 1.";
  for (int month = 0; month < 12; ++month) {
    p.months[month].newForm = true;
    p.months[month].hours = 10 + month;
    p.months[month].placements = month;
  }
  return p;
}

// The running year with a password, full names, remarks and the previous service year.
tools::Congregation WorkingFolderData() {
  tools::Congregation c;
  c.current.password = "titok";
  auto pioneer = MakePublisher("Anna", "Kovács", 11);
  pioneer.months[7].pioneer = tools::Pioneer::kRegular;
  pioneer.sex = tools::Sex::kFemale;
  auto elder = MakePublisher("Béla", "Szabó", 12);
  elder.appointment = tools::Appointment::kElder;
  elder.sex = tools::Sex::kMale;
  elder.extensionIndex = 1;
  auto unbaptized = MakePublisher("Csaba", "Tóth", 13);
  unbaptized.dateImmersed = "";
  c.current.publishers = {pioneer, elder, unbaptized};
  c.extensions = {{1, 12, "Szabó Béla Dénes", "", ""}};
  c.remarks = {{8, 12, "jó munka"}, {7, 11, "szabadság"}};
  c.previous.emplace();
  c.previous->publishers = c.current.publishers;
  c.previous->yearMarks = {25, 25, 25, 25, 25, 25, 25, 25, 24, 24, 24, 24};
  c.previousRemarks = {{10, 12, "tavaly"}};
  return c;
}

// The other data source, on the floppy stand-in: publishers under another password.
tools::Congregation FloppyData() {
  tools::Congregation c;
  c.current.password = "masik";
  c.current.publishers = {MakePublisher("Dóra", "Nagy", 21), MakePublisher("Ede", "Kiss", 22)};
  c.extensions = {{1, 21, "Nagy Dóra Éva", "", ""}};
  c.remarks = {{8, 21, "floppy"}};
  return c;
}

// The program's own files, which may appear: the settings, the layout, the print ledger, their
// temporary files and the test file of the floppy drive.
bool ProgramsOwn(const std::string& name) {
  for (const char* prefix : {"velunorh.INI", "cplot", "velunorh-ledger.ini", "orsival.tst"})
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

class CompanionFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tools::WriteCongregation(WorkingFolderData(), work_);
    tools::WriteCongregation(FloppyData(), floppy_);
    for (const fs::path& folder : {work_, floppy_}) {
      for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
          fs::permissions(entry.path(),
                          fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      watch_.Watch(folder);
      for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_directory()) watch_.Watch(entry.path());
    }
    companionFiles_ = {{work_, test::SnapshotFolder(work_)},
                       {floppy_, test::SnapshotFolder(floppy_)}};
    ASSERT_TRUE(companionFiles_[work_].count("Roll/Ov7_8/tdat7.bin"));
    ASSERT_TRUE(companionFiles_[work_].count("Roll/Ov7_8/remark7.dat"));
    ASSERT_TRUE(companionFiles_[work_].count("xten7.dat"));
    ASSERT_TRUE(companionFiles_[floppy_].count("tdat7.bin"));

    test::PrintToPdfFile(out_ / "card.pdf");
  }
  void TearDown() override { ApplicationPrinter::Instance().Reset(); }

  void Click(MainWindow& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    // The header preview shows or hides its boxes as it paints, which a slow build may delay.
    window.repaint();
    ASSERT_TRUE(QTest::qWaitFor([button] { return button->isEnabled() && button->isVisible(); }))
        << name;
    if (auto* box = qobject_cast<QCheckBox*>(button))
      QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    else
      QTest::mouseClick(button, Qt::LeftButton);
    window.repaint();  // the previews read the data as they paint
    QApplication::processEvents();
  }

  static void TypePassword(QWidget* prompt, const char* password) {
    QTest::keyClicks(prompt->findChild<QLineEdit*>("passwordEdit"), password);
  }

  test::TempDir dir_;
  test::TempDir out_;
  fs::path work_ = dir_ / "work";
  fs::path floppy_ = dir_ / "floppy";
  FolderWatch watch_;
  std::map<fs::path, test::FolderSnapshot> companionFiles_;
};

TEST_F(CompanionFilesTest, AWholeSessionWritesNoneOfThem) {
  test::MainWindowFixture main(work_);
  main.options.floppyFolder = floppy_;
  main.options.today = ServiceYear::FromDate(2026, 9);  // August reported: the whole service year

  std::unique_ptr<MainWindow> window;
  {
    test::ModalScript startUp({[](QWidget* prompt) { TypePassword(prompt, "titok"); }});
    window = main.Make();
    ASSERT_EQ(startUp.answered(), 1);
  }
  ASSERT_FALSE(window->stopRequested());
  window->show();
  QApplication::processEvents();

  for (int group = 0; group < 4; ++group) Click(*window, "groupButton");
  auto* list = window->findChild<TypeAheadList*>("publisherList");
  list->setFocus();
  QTest::keyClicks(list, "sz");  // Szabó Béla, who has a full name
  ASSERT_EQ(window->session().selection().selectedPublisher, 2);
  for (const char* box : {"fullNameBox", "lastNameFirstBox", "fullNameBox", "genderMarksBox",
                          "monthBox0", "monthBox11", "totalBox", "printHeaderBox"})
    Click(*window, box);
  Click(*window, "previousYearBox");
  Click(*window, "monthBox1");
  Click(*window, "printButton");
  Click(*window, "previousYearBox");
  Click(*window, "printButton");
  EXPECT_TRUE(fs::exists(out_ / "card.pdf"));

  // The options, and from them the switch to the floppy's data.
  test::WhenModal<OptionsDialog>([](OptionsDialog& options) {
    test::ModalScript dataSource(
        {[](QWidget* dialog) {
           dialog->findChild<QRadioButton*>("floppyRadio")->setChecked(true);
           test::Click(dialog->findChild<QPushButton*>("okButton"));
         },
         [](QWidget* question) {
           qobject_cast<QMessageBox*>(question)->button(QMessageBox::Ok)->click();
         },
         [](QWidget* prompt) { TypePassword(prompt, "masik"); }});
    test::Click(ControlByName<QPushButton>(&options, "dataSourceButton"));
    EXPECT_EQ(dataSource.answered(), 3);
    EXPECT_EQ(dataSource.unexpected(), 0);
    test::Click(ControlByName<QPushButton>(&options, "okButton"));
  });
  Click(*window, "optionsButton");
  ASSERT_EQ(window->session().settings().dataLocation, 1);
  EXPECT_EQ(list->count(), 2);
  Click(*window, "monthBox0");
  Click(*window, "printButton");
  Click(*window, "doneButton");
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(main.warnings.isEmpty()) << main.warnings.join("\n").toStdString();

  // The program's own files were written, so the watch did see writes.
  EXPECT_TRUE(fs::exists(work_ / "cplot.dat"));
  EXPECT_TRUE(fs::exists(work_ / "velunorh.INI"));
  for (const auto& [folder, before] : companionFiles_) {
    test::FolderSnapshot after = test::SnapshotFolder(folder);
    std::erase_if(after, [](const auto& entry) { return ProgramsOwn(entry.first); });
    EXPECT_EQ(test::SnapshotDifference(before, after), "") << folder;
  }
  std::vector<std::string> written;
  for (const std::string& event : watch_.Events())
    if (!ProgramsOwn(fs::path(event.substr(0, event.find(": "))).filename().string()))
      written.push_back(event);
  EXPECT_TRUE(written.empty()) << ::testing::PrintToString(written);
}

}  // namespace
}  // namespace velunorh

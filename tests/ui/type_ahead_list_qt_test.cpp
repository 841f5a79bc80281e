#include "ui/type_ahead_list.h"

#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "ui/dialog_test_support.h"

namespace velunorh {
namespace {

class TypeAheadListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.setObjectName("publisherList");
    list_.resize(200, 120);  // a few lines visible: the rest needs scrolling
    for (const char* name : {"Adam", "Bakos",   "Baranyi", "Csonka", "Dobos", "Erdős",   "Farkas",
                             "Gál",  "Horváth", "Illés",   "Juhász", "Kiss",  "Lakatos", "Molnár",
                             "Nagy", "Orbán",   "Pap",     "Rácz",   "Sipos", "Tóth",    "Vass"})
      list_.addItem(QString::fromUtf8(name));
    test::ShowActive(list_);
    list_.setFocus();
  }
  QString Selected() const { return list_.currentItem() ? list_.currentItem()->text() : ""; }
  int TopRow() const { return list_.row(list_.itemAt(2, 2)); }
  void Commit(const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(&list_, &event);
  }

  TypeAheadList list_;
};

// Text from an input method follows the same prefix rules as typed letters.
TEST_F(TypeAheadListTest, InputMethodTextSearchesLikeTypedLetters) {
  QSignalSpy typed(&list_, &TypeAheadList::characterTyped);
  Commit("ba");
  EXPECT_EQ(Selected(), "Bakos");
  Commit("r");
  EXPECT_EQ(Selected(), "Baranyi");
  // A composed accented letter is no letter of the search: nothing moves, Qt's search neither.
  Commit(QString::fromUtf8("é"));
  EXPECT_EQ(Selected(), "Baranyi");
  EXPECT_EQ(list_.typeAhead().prefix(), "bar");
  EXPECT_EQ(typed.count(), 4);  // one per character, as for key presses

  QInputMethodEvent composing(QStringLiteral("k"), {});  // still being composed
  QApplication::sendEvent(&list_, &composing);
  EXPECT_EQ(Selected(), "Baranyi");
}

TEST_F(TypeAheadListTest, ControlAndAltLettersAreNoLetters) {
  QTest::keyClicks(&list_, "c");
  ASSERT_EQ(Selected(), "Csonka");
  for (Qt::KeyboardModifier modifier : {Qt::AltModifier, Qt::ControlModifier}) {
    QTest::keyClick(&list_, Qt::Key_M, modifier);
    EXPECT_EQ(Selected(), "Csonka") << modifier;
    EXPECT_EQ(list_.typeAhead().prefix(), "c") << modifier;
  }
}

// The selected line is put at the top after every letter, also after one that matches nothing.
TEST_F(TypeAheadListTest, EveryLetterScrollsToTheSelectedLine) {
  QTest::keyClicks(&list_, "k");
  ASSERT_EQ(Selected(), "Kiss");
  EXPECT_EQ(TopRow(), list_.row(list_.currentItem()));
  list_.verticalScrollBar()->setValue(0);
  ASSERT_EQ(TopRow(), 0);
  QTest::keyClicks(&list_, "x");
  EXPECT_EQ(Selected(), "Kiss");
  EXPECT_EQ(TopRow(), list_.row(list_.currentItem()));
}

TEST_F(TypeAheadListTest, TheSelectedLineCannotBeUnselected) {
  QTest::keyClicks(&list_, "b");
  ASSERT_EQ(Selected(), "Bakos");
  QListWidgetItem* bakos = list_.currentItem();
  const QPoint onBakos = list_.visualItemRect(bakos).center();
  QTest::mouseClick(list_.viewport(), Qt::LeftButton, Qt::ControlModifier, onBakos);
  EXPECT_TRUE(bakos->isSelected());
  QTest::keyClick(&list_, Qt::Key_Space, Qt::ControlModifier);
  EXPECT_TRUE(bakos->isSelected());
  EXPECT_EQ(list_.selectedItems().size(), 1);
  // Ctrl+click on another line still moves the selection there.
  QListWidgetItem* adam = list_.item(0);
  list_.scrollToTop();
  QTest::mouseClick(list_.viewport(), Qt::LeftButton, Qt::ControlModifier,
                    list_.visualItemRect(adam).center());
  EXPECT_TRUE(adam->isSelected());
  EXPECT_EQ(list_.selectedItems().size(), 1);
}

// The accents of capitals (the Ú of Újhelyi) are drawn inside their row in every font: the text
// is centred on the row, so its tallest accent must not reach above the row's top.
TEST(TypeAheadListRowTest, RowsHoldTheAccentsOfCapitals) {
  int overhanging = 0;
  for (const char* family : {"DejaVu Sans", "Liberation Sans", "Liberation Serif", "Nimbus Roman",
                             "C059", "URW Bookman", "DejaVu Serif"}) {
    for (int points : {8, 9, 12}) {
      SCOPED_TRACE(std::string(family) + " " + std::to_string(points));
      TypeAheadList list;
      list.setFont(QFont(QString::fromUtf8(family), points));
      list.addItem(QString::fromUtf8("Újhelyi Ődön"));
      list.resize(200, 120);
      list.show();
      const QFontMetrics metrics(list.font());
      const QRect row = list.visualItemRect(list.item(0));
      const QRect glyphs = metrics.tightBoundingRect(QString::fromUtf8("ÚŐÉÁÖ"));
      const int baseline = row.top() + (row.height() - metrics.height()) / 2 + metrics.ascent();
      EXPECT_GE(baseline + glyphs.top(), row.top()) << "row " << row.height();
      EXPECT_LE(baseline + metrics.descent(), row.bottom() + 1) << "row " << row.height();
      if (-glyphs.top() > metrics.ascent()) ++overhanging;
    }
  }
#ifndef _WIN32
  // The families are the Linux fonts setup installs; elsewhere Qt falls back to others.
  EXPECT_GT(overhanging, 0) << "no font here has accents above its ascent";
#else
  (void)overhanging;
#endif
}

}  // namespace
}  // namespace velunorh

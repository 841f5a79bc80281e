// The accents of capitals (the dots of "Ö") rise above the font's ascent in common fonts: every
// kind of text the program shows draws them whole. Read from the pixels of the real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

namespace velunorh {
namespace {

// How many pixels differ between two pictures of the same size.
int DifferingPixels(const QImage& a, const QImage& b) {
  EXPECT_EQ(a.size(), b.size());
  if (a.size() != b.size()) return 0;
  int count = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  return count;
}

// The text drawn with `font` on a page large enough for all of it.
QImage Unclipped(const QString& text, const QFont& font) {
  const QFontMetrics metrics(font);
  QImage image(metrics.horizontalAdvance(text) + 40, 4 * metrics.height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QPoint(20, 2 * metrics.height()), text);
  return image;
}

struct Shown {
  const char* kind;
  // Makes the widget showing `text`, as the program's dialogs make it.
  std::function<std::unique_ptr<QWidget>(const QString& text)> make;
};

std::unique_ptr<QWidget> InBox(QWidget* control) {
  auto box = std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(box.get());
  layout->addWidget(control);
  return box;
}

const Shown kShown[] = {
    {"message box",
     [](const QString& text) -> std::unique_ptr<QWidget> {
       auto box = std::make_unique<QMessageBox>(QMessageBox::Question, "Velunorh", text,
                                                QMessageBox::Ok | QMessageBox::Cancel);
       box->setTextFormat(Qt::PlainText);
       return box;
     }},
    {"label", [](const QString& text) { return InBox(new QLabel(text)); }},
    {"word-wrapped label",
     [](const QString& text) {
       auto* label = new QLabel(text);
       label->setWordWrap(true);
       return InBox(label);
     }},
    {"check box", [](const QString& text) { return InBox(new QCheckBox(text)); }},
    {"push button", [](const QString& text) { return InBox(new QPushButton(text)); }},
    {"group box",
     [](const QString& text) {
       auto* group = new QGroupBox(text);
       (new QVBoxLayout(group))->addWidget(new QLabel("x"));
       return InBox(group);
     }},
};

TEST(AccentPixelsTest, TheDotsOfACapitalOAreDrawnWholeInEveryKindOfText) {
  const QString dotted = QString::fromUtf8("Összes Hírnőkök?");
  const QString plain = QString::fromUtf8("Osszes Hírnőkök?");
  const QFont font = QApplication::font();
  const QFontMetrics metrics(font);
  // Only a font whose dots rise above its ascent shows the fault; the Linux fonts setup
  // installs are such.
  const int rise = -metrics.tightBoundingRect(dotted.left(1)).top() - metrics.ascent();
  const int dots = DifferingPixels(Unclipped(dotted, font), Unclipped(plain, font));
#ifdef _WIN32
  // Under Wine the tests' platform finds no font at all (docs/windows.md): nothing to read.
  if (dots == 0) GTEST_SKIP() << "no font draws the dots here";
#endif
  ASSERT_GT(dots, 0);
  for (const Shown& shown : kShown) {
    SCOPED_TRACE(shown.kind);
    auto withDots = shown.make(dotted);
    auto without = shown.make(plain);
    withDots->show();
    without->show();
    without->resize(withDots->size());
    QApplication::processEvents();
    const int drawn = DifferingPixels(withDots->grab().toImage(), without->grab().toImage());
    EXPECT_GE(drawn, dots * 9 / 10) << "of " << dots << " pixels of the dots; they rise " << rise
                                    << " pixels above the ascent of " << font.family().toStdString()
                                    << " " << font.pointSize() << " pt";
  }
}

}  // namespace
}  // namespace velunorh

// Every window read through Qt's accessibility interface, as a screen reader reads it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMap>

#include "card/card_layout.h"
#include "main_window_fixture.h"
#include "session/password_prompt.h"
#include "test_support.h"
#include "tools/companion_writer.h"
#include "ui/about_box.h"
#include "ui/data_source_dialog.h"
#include "ui/detailed_settings_dialog.h"
#include "ui/dialog_test_support.h"
#include "ui/main_window.h"
#include "ui/options_dialog.h"
#include "ui/password_dialog.h"
#include "ui/preview_pane.h"

namespace velunorh {
namespace {

QString WhereIs(QAccessibleInterface* node) {
  return node->object() ? node->object()->objectName() : QStringLiteral("?");
}

// Fails on a control the keyboard can reach that a screen reader cannot name, and on two such
// controls with the same name, which a listener could not tell apart.
void ExpectNamedControls(QWidget& window) {
  window.show();
  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
  ASSERT_NE(root, nullptr);
  EXPECT_FALSE(root->text(QAccessible::Name).trimmed().isEmpty()) << "the window has no name";
  QMap<QString, QString> named;  // name -> object name of the control that has it
  std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
    for (int i = 0; i < node->childCount(); ++i) {
      QAccessibleInterface* child = node->child(i);
      if (!child) continue;
      const QAccessible::State state = child->state();
      if (state.focusable && !state.invisible) {
        const QString name = child->text(QAccessible::Name).trimmed();
        EXPECT_FALSE(name.isEmpty()) << "no name: " << WhereIs(child).toStdString();
        if (!name.isEmpty() && named.contains(name))
          ADD_FAILURE() << "same name \"" << name.toStdString()
                        << "\": " << WhereIs(child).toStdString() << " and "
                        << named[name].toStdString();
        named.insert(name, WhereIs(child));
      }
      walk(child);
    }
  };
  walk(root);
  EXPECT_FALSE(named.isEmpty());
}

TEST(AccessibleNames, EveryWindowNamesEveryControl) {
  test::TempDir dir;
  {
    tools::Congregation c;
    tools::Publisher p;
    p.givenName = "Anna";
    p.familyName = "Kovács";
    p.id = 1;
    c.current.publishers = {p};
    tools::WriteCongregation(c, dir.path());
    test::MainWindowFixture main(dir.path());
    auto window = main.Make();
    SCOPED_TRACE("main window");
    ExpectNamedControls(*window);
  }
  {
    OptionsValues values;
    MakeDefaultLayout(values.layout, 0);
    OptionsDialog::Services services;
    services.workFolder = dir.path();
    OptionsDialog dialog(values, services);
    SCOPED_TRACE("options");
    ExpectNamedControls(dialog);
  }
  for (int version : {0, 1}) {
    CardLayout layout;
    MakeDefaultLayout(layout, version);
    DetailedSettingsDialog dialog(layout, version, [](const QString&) {});
    SCOPED_TRACE("detailed settings, version " + std::to_string(version));
    ExpectNamedControls(dialog);
  }
  {
    DataSourceDialog dialog(0, true, dir / "floppy");
    SCOPED_TRACE("data source");
    ExpectNamedControls(dialog);
  }
  {
    PasswordPrompt prompt("titok");
    PasswordDialog dialog(prompt);
    SCOPED_TRACE("password");
    ExpectNamedControls(dialog);
  }
  {
    AboutBox dialog;
    SCOPED_TRACE("about");
    ExpectNamedControls(dialog);
  }
}

// A drawn preview is read out through its text source, asked afresh on every reading.
TEST(AccessibleNames, APreviewReadsItsTextSource) {
  PreviewPane pane;
  QString shown = "Kovács Anna";
  pane.SetAccessibleText([&shown] { return shown; });
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&pane);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StaticText);
  EXPECT_EQ(accessible->text(QAccessible::Name), shown);  // no name of its own: the text
  pane.setAccessibleName("Fejléc előnézete");
  shown = "Szabó Béla";
  EXPECT_EQ(accessible->text(QAccessible::Name), "Fejléc előnézete");
  EXPECT_EQ(accessible->text(QAccessible::Description), "Szabó Béla");
}

}  // namespace
}  // namespace velunorh

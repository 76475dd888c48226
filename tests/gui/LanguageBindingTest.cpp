#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>

#include "core/i18n/LanguageTables.h"
#include "gui/LanguageApplier.h"
#include "gui/MainWindow.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

QWidget* Form(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(name)) return w;
  }
  return nullptr;
}

// Every row of the language tables names a control of its window: a row whose control is gone
// would leave a caption untranslated without anyone noticing.
TEST(LanguageBindingTest, EveryTableRowNamesAControlOfItsWindow) {
  test::ProgramDir dir;
  test::ScriptedPrompts prompts;
  MainWindow window(dir.Path(), &prompts);
  window.ApplyOptions();
  QStringList unbound;
  auto check = [&](const char* form, const char* object) {
    QWidget* w = Form(form);
    if (!w || !TableControl(w, object)) {
      unbound.append(QLatin1String(form) + u'.' + QLatin1String(object));
    }
  };
  for (const Caption& c : CaptionTable()) check(c.form, c.object);
  for (const Placement& p : PlacementTable()) check(p.form, p.object);
  for (const Visibility& v : VisibilityTable()) check(v.form, v.object);
  unbound.removeDuplicates();
  EXPECT_EQ(unbound.join(u", "_qs).toStdString(), "");
}

}  // namespace
}  // namespace kavoro

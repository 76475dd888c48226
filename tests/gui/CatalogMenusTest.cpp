#include <gtest/gtest.h>

#include <QMenu>
#include <QSignalSpy>

#include "core/app/AppState.h"
#include "gui/CatalogMenus.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

QStringList Titles(const QMenu& menu) {
  QStringList titles;
  for (const QAction* a : menu.actions()) titles.append(a->isSeparator() ? u"-"_qs : a->text());
  return titles;
}

// The catalog's entries follow the menu's own, are made anew without piling up, and choosing
// one of them sets what is searched for.
TEST(CatalogMenusTest, EntriesFollowTheMenusOwnAndChooseWhatIsSearched) {
  test::ProgramDir dir;
  test::WriteBytes(dir.File(u"endungen.ini"_qs), test::CrLf({"Bilder", ".jpg", "Musik", ".mp3"}));
  AppState state(dir.Path());
  ASSERT_EQ(CheckConfiguration(state), StartupCheck::Ok);
  test::ScriptedPrompts prompts;
  QWidget window;
  QMenu types(&window);
  types.addAction(u"own"_qs);
  types.addSeparator();
  QMenu search(&window);
  CatalogMenus menus(state, prompts, &types, {&search}, &window);
  QSignalSpy changed(&state.events, &StateEvents::CaptionsChanged);
  menus.Rebuild();
  menus.Rebuild();
  EXPECT_EQ(Titles(types), (QStringList{"own", "-", "Bilder", "Musik", "-"}));
  ASSERT_EQ(Titles(search), (QStringList{"Bilder", "Musik", "-", "Nach allen Dateien suchen"}));

  search.actions()[1]->menu()->actions()[0]->trigger();  // Musik, .mp3
  EXPECT_EQ(state.selection.extensions, QStringList{u".mp3"_qs});
  EXPECT_FALSE(state.selection.search_all_files);
  search.actions().last()->trigger();
  EXPECT_TRUE(state.selection.search_all_files);
  EXPECT_EQ(changed.size(), 2);
}

}  // namespace
}  // namespace kavoro

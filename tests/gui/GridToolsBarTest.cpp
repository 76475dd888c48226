#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

#include "core/app/AppState.h"
#include "gui/GridToolsBar.h"
#include "support/FindNamed.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// The window calls ShowTools after start, "Neu", "Öffnen", the options and the language: the
// tools then show the state, and showing it never writes optionen.ini.
TEST(GridToolsBarTest, ShowsTheStateWithoutWritingIt) {
  test::ProgramDir dir;
  AppState state(dir.Path());
  ASSERT_FALSE(ApplyOptionsAtStart(state));
  const QByteArray stored = dir.Options();
  test::ScriptedPrompts prompts;
  QWidget page;
  QTableView grid(&page);
  GridToolsBar bar(state, prompts, &grid, &page);
  auto edit = [&page](const char* name) { return test::FindNamed<QLineEdit>(&page, name); };
  auto radio = [&page](const char* name) { return test::FindNamed<QRadioButton>(&page, name); };

  state.grid_tools.width_fields = {u"5"_qs, u"60"_qs, u"70"_qs, u"80"_qs, u"90"_qs};
  state.grid_tools.detail_tools_enabled = true;
  state.grid_tools.sort_choice = 4;
  bar.ShowTools();
  EXPECT_EQ(edit("Edit1")->text(), u"5"_qs);
  EXPECT_EQ(edit("Edit5")->text(), u"90"_qs);
  EXPECT_TRUE(edit("Edit3")->isEnabled());
  EXPECT_TRUE(radio("RadioButton4")->isChecked());

  state.grid_tools.detail_tools_enabled = false;
  state.grid_tools.sort_choice = 2;
  bar.ShowTools();
  for (const char* name : {"Edit3", "Edit4", "Edit5"}) EXPECT_FALSE(edit(name)->isEnabled());
  for (const char* name : {"RadioButton3", "RadioButton4", "RadioButton5"}) {
    EXPECT_FALSE(radio(name)->isEnabled());
  }
  EXPECT_TRUE(edit("Edit2")->isEnabled());
  EXPECT_TRUE(radio("RadioButton2")->isChecked());
  EXPECT_EQ(state.grid_tools.sort_choice, 2);
  EXPECT_EQ(dir.Options(), stored);
}

}  // namespace
}  // namespace kavoro

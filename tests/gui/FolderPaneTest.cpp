#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QSignalSpy>

#include "core/app/AppState.h"
#include "gui/FolderPane.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class FolderPaneTest : public ::testing::Test {
 protected:
  template <typename T = QAction>
  T* Find(const char* name) {
    auto* found = window_.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  // The entries of a context menu, submenus and separators left out.
  QList<QAction*> Entries(const char* menu) {
    QList<QAction*> entries;
    for (QAction* a : Find<QMenu>(menu)->actions()) {
      if (!a->isSeparator() && !a->menu()) entries.append(a);
    }
    return entries;
  }

  test::ProgramDir dir_;
  AppState state_{dir_.Path()};
  test::ScriptedPrompts prompts_;
  test::RecordingShell shell_;
  QWidget window_;
  FolderPane* pane_ = new FolderPane(state_, prompts_, shell_, &window_);
};

// The language tables and the tests know the entries by their names: each is named, once.
TEST_F(FolderPaneTest, EveryMenuEntryHasAnOwnNameWithACaption) {
  QStringList captioned;
  for (const Caption& c : CaptionTable()) {
    if (qstrcmp(c.form, "TForm1") == 0) captioned.append(QLatin1String(c.object));
  }
  captioned.append(u"Verzeinisanlegen1"_qs);  // its caption names the folder the menu is for
  QStringList names;
  for (const char* menu : {"PopupMenu1", "PopupMenu3"}) {
    for (const QAction* a : Entries(menu)) {
      EXPECT_TRUE(captioned.contains(a->objectName())) << a->objectName().toStdString();
      names.append(a->objectName());
    }
  }
  EXPECT_EQ(names.size(), 23);
  EXPECT_EQ(names.removeDuplicates(), 0);
  ASSERT_EQ(pane_->SearchMenus().size(), 2);
  EXPECT_EQ(pane_->SearchMenus()[0], Find<QMenu>("Suchennach1"));
  EXPECT_EQ(pane_->SearchMenus()[1], Find<QMenu>("Suchennach2"));
}

TEST_F(FolderPaneTest, EntriesOfThePaneTellTheWindow) {
  QSignalSpy folder(pane_, &FolderPane::EnterFolderClicked);
  QSignalSpy files(pane_, &FolderPane::EnterFilesClicked);
  QSignalSpy exported(pane_, &FolderPane::ExportClicked);
  QSignalSpy several(pane_, &FolderPane::SeveralFoldersClicked);
  Find("Eintragen1")->trigger();
  Find("Eintragen2")->trigger();
  Find("Alstxtxlsoderhtmspeichern1")->trigger();
  Find("Alstxtxlsoderhtmspeichern2")->trigger();
  Find("MehrereOrdnerdurchsuchen1")->trigger();
  EXPECT_EQ(folder.size(), 1);
  EXPECT_EQ(files.size(), 1);
  EXPECT_EQ(exported.size(), 2);
  EXPECT_EQ(several.size(), 1);

  // The menu's tick and the check box are one setting.
  Find("AuchUnterordnerdurchsuchen1")->setChecked(true);
  EXPECT_TRUE(pane_->Subfolders());
  pane_->ShowSubfolders(false);
  EXPECT_FALSE(Find("AuchUnterordnerdurchsuchen1")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("CheckBox1")->isChecked());
}

}  // namespace
}  // namespace kavoro

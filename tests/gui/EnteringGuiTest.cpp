#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "gui/CatalogEditor.h"
#include "gui/ExportDialog.h"
#include "gui/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/Printers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class EnteringGuiTest : public test::MainWindowFixture {
 protected:
  EnteringGuiTest() {
    test::WriteBytes(dir_.File(u"endungen.ini"_qs),
                     test::CrLf({"Bilder", ".jpg", "Musik", ".mp3", ".htm/.html"}));
    dir_.SetOptionLine(9, "0");   // no message when nothing is found
    dir_.SetOptionLine(15, "0");  // no time and count message
    Open();
    for (const char* name : {"a.mp3", "B.mp3", "c.jpg", "x/d.mp3", "x/e.MP3"}) {
      const QString path = files_.filePath(QLatin1String(name));
      QDir().mkpath(QFileInfo(path).path());
      test::WriteBytes(path, "data");
    }
  }
  void SelectFolder(const QString& path) {
    auto* tree = Find<QTreeView>("ShellTreeView1");
    auto* model = static_cast<QFileSystemModel*>(tree->model());
    tree->setCurrentIndex(model->index(path));
  }
  void EnterAndWait(const char* button = "Button1") {
    Find<QPushButton>(button)->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 10000);
  }
  // Chooses a catalog entry of the main menu by its text.
  void Choose(const QString& category, const QString& extension) {
    for (QAction* a : Find<QMenu>("Dateiarten1")->actions()) {
      if (!a->menu() || a->menu()->title() != category) continue;
      for (QAction* e : a->menu()->actions()) {
        if (e->text() == extension) return e->trigger();
      }
    }
    FAIL() << "no entry " << extension.toStdString();
  }
  QStringList Names() { return window_->State().doc.Column(1).mid(1); }

  QTemporaryDir files_;
};

TEST_F(EnteringGuiTest, OneTypeFromTheMenuThenAllFilesWithSubfolders) {
  Choose(u"Musik"_qs, u".mp3"_qs);
  EXPECT_EQ(window_->windowTitle(), u"Suchen nach : *.mp3 - Dateien"_qs);
  SelectFolder(files_.path());
  EnterAndWait();
  EXPECT_EQ(Names(), (QStringList{"a.mp3", "B.mp3"}));
  EXPECT_TRUE(window_->State().doc.ListingModified());
  EXPECT_EQ(window_->State().selection.current_extension, u" .mp3"_qs);

  Find<QAction>("NachallenDateiensuchen1")->trigger();
  EXPECT_EQ(window_->windowTitle(), u"Suchen nach : allen Dateien"_qs);
  Find<QCheckBox>("CheckBox1")->setChecked(true);
  EXPECT_TRUE(Find<QAction>("AuchUnterordnerdurchsuchen1")->isChecked());
  EnterAndWait();
  EXPECT_EQ(Names().mid(2), (QStringList{"a.mp3", "B.mp3", "c.jpg", "d.mp3", "e.MP3"}));
  EXPECT_EQ(window_->State().doc.Text().At(7), u"        7  e.MP3"_qs);
  QTRY_VERIFY(Find<QWidget>("TabbedNotebook1")->isEnabled());  // back with the timer's tick
  EXPECT_TRUE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
}

TEST_F(EnteringGuiTest, HidingExtensionsKeepsTheNamesOfDotFiles) {
  for (const char* name : {".bashrc", ".profile.bak"}) {
    test::WriteBytes(files_.filePath(QLatin1String(name)), "data");
  }
  window_->State().flags.hide_extensions = true;
  SelectFolder(files_.path());
  EnterAndWait();
  EXPECT_EQ(Names(), (QStringList{".bashrc", ".profile", "a", "B", "c"}));
  window_->State().flags.whole_path = true;
  EnterAndWait();
  EXPECT_EQ(Names().mid(5, 2),
            (QStringList{files_.filePath(u".bashrc"_qs), files_.filePath(u".profile"_qs)}));
}

TEST_F(EnteringGuiTest, MessagesForNothingFoundAndForTimeAndCount) {
  window_->State().flags.info_no_files = true;
  window_->State().flags.info_count_time = true;
  Choose(u"Musik"_qs, u".htm/.html"_qs);
  EXPECT_EQ(window_->State().selection.extensions, QStringList{u".htm"_qs});
  SelectFolder(files_.path());
  EnterAndWait();
  ASSERT_EQ(prompts_.shown.size(), 2);
  EXPECT_EQ(prompts_.shown[0],
            u"inform: Es wurden keine * .htm - Dateien in diesem Ordner gefunden"_qs);
  EXPECT_EQ(prompts_.shown[1], u"inform: Benötigte Zeit : 0.00 Minuten\nGefundene Dateien : 0"_qs);
}

TEST_F(EnteringGuiTest, SelectedFilesOfTheFolderContents) {
  SelectFolder(files_.path());
  auto* list = Find<QTableView>("ShellListView1");
  QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 3);
  list->selectionModel()->select(list->model()->index(1, 0, list->rootIndex()),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  list->selectionModel()->select(list->model()->index(2, 0, list->rootIndex()),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  EnterAndWait("Button5");
  EXPECT_EQ(Names(), (QStringList{"B.mp3", "c.jpg"}));
  EXPECT_FALSE(list->selectionModel()->hasSelection());
}

TEST_F(EnteringGuiTest, ClosingDuringARunCancelsItCleanly) {
  for (int i = 0; i < 3000; ++i) QDir().mkpath(files_.filePath(u"deep/%1/x"_qs.arg(i)));
  SelectFolder(files_.path());
  Find<QCheckBox>("CheckBox1")->setChecked(true);
  Find<QPushButton>("Button1")->click();
  ASSERT_TRUE(window_->Entering());
  window_->close();
  EXPECT_FALSE(window_->Entering());
  QTest::qWait(200);  // the worker's finished signal arrives after the run was ended
  EXPECT_FALSE(window_->State().doc.ListingModified());
  EXPECT_EQ(window_->State().doc.EntryCounter(), 0);
}

TEST_F(EnteringGuiTest, ProgressBarSaysEscapeStopsAndThatItStopped) {
  for (int i = 0; i < 3000; ++i) QDir().mkpath(files_.filePath(u"deep/%1/x"_qs.arg(i)));
  auto* bar = Find<QProgressBar>("ProgressBar1");
  EXPECT_FALSE(bar->isTextVisible());
  SelectFolder(files_.path());
  Find<QCheckBox>("CheckBox1")->setChecked(true);
  window_->activateWindow();  // the Escape shortcut needs an active window
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  Find<QPushButton>("Button1")->click();
  ASSERT_TRUE(window_->Entering());
  EXPECT_TRUE(bar->isTextVisible());
  EXPECT_EQ(bar->text(), u"Suche läuft ... Esc bricht sie ab"_qs);
  QTest::keyClick(window_.get(), Qt::Key_Escape);
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 10000);
  EXPECT_EQ(window_->State().doc.EntryCounter(), 0);
  EXPECT_TRUE(bar->isTextVisible());
  EXPECT_EQ(bar->text(), u"Suche abgebrochen"_qs);

  EnterAndWait();  // a finished run shows no text
  EXPECT_GT(window_->State().doc.EntryCounter(), 0);
  EXPECT_FALSE(bar->isTextVisible());
}

TEST_F(EnteringGuiTest, NoFolderChosenSaysSoAndEntersNothing) {
  Find<QTreeView>("ShellTreeView1")->setCurrentIndex({});
  Find<QPushButton>("Button1")->click();
  EXPECT_FALSE(window_->Entering());
  EXPECT_EQ(prompts_.shown, QStringList{u"inform: Bitte zuerst einen Ordner wählen."_qs});
  EXPECT_FALSE(window_->State().doc.ListingModified());
}

TEST_F(EnteringGuiTest, ContextMenusEnterAndExport) {
  SelectFolder(files_.path());
  Find<QAction>("Eintragen1")->trigger();
  QTRY_VERIFY(!window_->Entering());
  EXPECT_EQ(Names(), (QStringList{"a.mp3", "B.mp3", "c.jpg"}));
  Find<QAction>("AuchUnterordnerdurchsuchen1")->setChecked(true);
  EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  Find<QAction>("Alstxtxlsoderhtmspeichern2")->trigger();
  EXPECT_TRUE(window_->ExportWindow()->isVisible());
}

TEST_F(EnteringGuiTest, CatalogEditorKeepsEveryEntryOnItsLine) {
  Find<QAction>("Oberverzeichnishinzufgenlschen1")->trigger();
  CatalogEditor* editor = window_->Editor();
  ASSERT_TRUE(editor->isVisible());
  editor->findChild<QLineEdit*>(u"Edit1"_qs)->setText(u"Filme"_qs);
  editor->findChild<QPushButton*>(u"Button1"_qs)->click();
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(test::ReadBytes(dir_.File(u"endungen.ini"_qs)),
            test::CrLf({"Bilder", ".jpg", "Filme", "Musik", ".mp3", ".htm/.html"}));

  Find<QAction>("Dateiartenhinzufgenlschen1")->trigger();
  editor->findChild<QComboBox*>(u"ComboBox1"_qs)->setCurrentText(u"Bilder"_qs);
  editor->findChild<QLineEdit*>(u"Edit2"_qs)->setText(u"bmp"_qs);
  editor->findChild<QPushButton*>(u"Button2"_qs)->click();
  EXPECT_EQ(test::ReadBytes(dir_.File(u"endungen.ini"_qs)),
            test::CrLf({"Bilder", ".bmp", ".jpg", "Filme", "Musik", ".mp3", ".htm/.html"}));
  Choose(u"Musik"_qs, u".mp3"_qs);  // two lines further down than at start
  EXPECT_EQ(window_->State().selection.extensions, QStringList{u".mp3"_qs});

  // Deleting the searched extension goes back to all files.
  Find<QAction>("Dateiartenhinzufgenlschen1")->trigger();
  editor->findChild<QComboBox*>(u"ComboBox4"_qs)->setCurrentText(u"Musik"_qs);
  EXPECT_EQ(editor->findChild<QComboBox*>(u"ComboBox3"_qs)->count(), 2);
  editor->findChild<QComboBox*>(u"ComboBox3"_qs)->setCurrentText(u".mp3"_qs);
  editor->findChild<QPushButton*>(u"Button7"_qs)->click();
  EXPECT_TRUE(window_->State().selection.search_all_files);
  EXPECT_EQ(window_->windowTitle(), u"Suchen nach : allen Dateien"_qs);

  // A category that would read as an extension is refused and the editor stays.
  Find<QAction>("Oberverzeichnishinzufgenlschen1")->trigger();
  editor->findChild<QLineEdit*>(u"Edit1"_qs)->setText(u".Neu"_qs);
  editor->findChild<QPushButton*>(u"Button1"_qs)->click();
  EXPECT_TRUE(editor->isVisible());
  EXPECT_EQ(prompts_.shown.last(),
            u"inform: Ein Oberverzeichnis darf nicht mit einem Punkt beginnen."_qs);
  editor->findChild<QPushButton*>(u"Button3"_qs)->click();
  EXPECT_FALSE(editor->isVisible());
}

TEST_F(EnteringGuiTest, CatalogEditsActOnTheChosenBlockOfTwoOfOneName) {
  CatalogEditor* editor = window_->Editor();
  auto combo = [editor](const char* name) { return editor->findChild<QComboBox*>(name); };
  auto catalog = [this] { return test::ReadBytes(dir_.File(u"endungen.ini"_qs)).toStdString(); };
  auto lines = [](std::initializer_list<const char*> l) { return test::CrLf(l).toStdString(); };
  Find<QAction>("Oberverzeichnishinzufgenlschen1")->trigger();
  editor->findChild<QLineEdit*>(u"Edit1"_qs)->setText(u"Musik"_qs);
  editor->findChild<QPushButton*>(u"Button1"_qs)->click();
  ASSERT_EQ(catalog(), lines({"Bilder", ".jpg", "Musik", ".mp3", ".htm/.html", "Musik"}));

  // The second "Musik" gets the new extension and lists only its own.
  Find<QAction>("Dateiartenhinzufgenlschen1")->trigger();
  combo("ComboBox1")->setCurrentIndex(2);
  editor->findChild<QLineEdit*>(u"Edit2"_qs)->setText(u".ogg"_qs);
  editor->findChild<QPushButton*>(u"Button2"_qs)->click();
  EXPECT_EQ(catalog(), lines({"Bilder", ".jpg", "Musik", ".mp3", ".htm/.html", "Musik", ".ogg"}));
  Find<QAction>("Dateiartenhinzufgenlschen1")->trigger();
  combo("ComboBox4")->setCurrentIndex(2);
  ASSERT_EQ(combo("ComboBox3")->count(), 1);
  EXPECT_EQ(combo("ComboBox3")->itemText(0), u".ogg"_qs);
  editor->findChild<QPushButton*>(u"Button7"_qs)->click();
  EXPECT_EQ(catalog(), lines({"Bilder", ".jpg", "Musik", ".mp3", ".htm/.html", "Musik"}));

  // Deleting the second "Musik" leaves the first with its extensions.
  Find<QAction>("Oberverzeichnishinzufgenlschen1")->trigger();
  editor->findChild<QTabWidget*>(u"TabbedNotebook1"_qs)->setCurrentIndex(1);
  combo("ComboBox2")->setCurrentIndex(2);
  editor->findChild<QPushButton*>(u"Button5"_qs)->click();
  EXPECT_EQ(catalog(), lines({"Bilder", ".jpg", "Musik", ".mp3", ".htm/.html"}));
}

TEST_F(EnteringGuiTest, SeveralTypesPanel) {
  Find<QAction>("NachmehrerenDateiartensuchen1")->trigger();
  auto* panel = Find<QWidget>("GroupBox3");
  ASSERT_TRUE(panel->isVisible());
  EXPECT_FALSE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
  auto* catalog = Find<QTreeWidget>("TreeView1");
  auto* add = Find<QPushButton>("Button13");
  catalog->setCurrentItem(catalog->topLevelItem(0));
  emit catalog->itemClicked(catalog->currentItem(), 0);
  EXPECT_FALSE(add->isEnabled());  // a category cannot be chosen
  for (int twice = 0; twice < 2; ++twice) {
    catalog->setCurrentItem(catalog->topLevelItem(1)->child(0));  // .mp3
    emit catalog->itemClicked(catalog->currentItem(), 0);
    add->click();
  }
  catalog->setCurrentItem(catalog->topLevelItem(0)->child(0));  // .jpg
  emit catalog->itemDoubleClicked(catalog->currentItem(), 0);
  EXPECT_EQ(Find<QTreeWidget>("TreeView2")->topLevelItemCount(), 2);
  Find<QPushButton>("Button14")->click();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(window_->windowTitle(), u"Suchen nach : *.mp3 .jpg  - Dateien"_qs);
  EXPECT_EQ(Find<QCheckBox>("InfozeigefalskeineMp3DateinenimOrdnersind1")->text(),
            u"wenn keine * .mp3 .jpg - Dateien im Ordner sind"_qs);
  SelectFolder(files_.path());
  EnterAndWait();
  EXPECT_EQ(Names(), (QStringList{"a.mp3", "B.mp3", "c.jpg"}));
}

TEST_F(EnteringGuiTest, SeveralFoldersPanelEntersEachInTurn) {
  Find<QAction>("MehrereOrdnerdurchsuchen2")->trigger();
  auto* tree = Find<QTreeView>("ShellTreeView2");
  auto* model = static_cast<QFileSystemModel*>(tree->model());
  auto add = [&](const QString& path, bool subfolders) {
    tree->setCurrentIndex(model->index(path));
    emit tree->clicked(tree->currentIndex());
    Find<QCheckBox>("CheckBox3")->setChecked(subfolders);
    Find<QPushButton>("Button18")->click();
  };
  add(files_.filePath(u"x"_qs), false);
  add(files_.path(), true);
  add(files_.filePath(u"x"_qs), true);  // already there
  EXPECT_EQ(Find<QTreeWidget>("TreeView3")->topLevelItemCount(), 2);
  EXPECT_EQ(Find<QTreeWidget>("TreeView3")->topLevelItem(1)->text(0),
            QFileInfo(files_.path()).fileName() + u" + Unterordner"_qs);
  Find<QPushButton>("Button17")->click();
  QTRY_COMPARE_WITH_TIMEOUT(Names().size(), 7, 10000);
  QTRY_VERIFY(!window_->Entering());
  EXPECT_EQ(Names(), (QStringList{"d.mp3", "e.MP3", "a.mp3", "B.mp3", "c.jpg", "d.mp3", "e.MP3"}));
  EXPECT_TRUE(Find<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_TRUE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
}

TEST_F(EnteringGuiTest, EnterEntersOnlyWhenPressedAndReleasedInTheFolderTree) {
  SelectFolder(files_.path());
  auto* tree = Find<QTreeView>("ShellTreeView1");
  // A dialog that closes on the press (a rename prompt, a message) leaves the release to the
  // tree.
  QLineEdit dialog_field;
  QTest::keyPress(&dialog_field, Qt::Key_Return);
  QTest::keyRelease(tree, Qt::Key_Return);
  EXPECT_FALSE(window_->Entering());
  // A press in the tree that went elsewhere before its release counts neither.
  QTest::keyPress(tree, Qt::Key_Return);
  QFocusEvent focus_out(QEvent::FocusOut);
  QApplication::sendEvent(tree, &focus_out);
  QTest::keyPress(&dialog_field, Qt::Key_Enter);
  QTest::keyRelease(tree, Qt::Key_Enter);
  EXPECT_FALSE(window_->Entering());
  EXPECT_EQ(window_->State().doc.EntryCounter(), 0);

  QTest::keyPress(tree, Qt::Key_Return);
  QTest::keyRelease(tree, Qt::Key_Return);
  ASSERT_TRUE(window_->Entering());
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 10000);
  EXPECT_EQ(Names(), (QStringList{"a.mp3", "B.mp3", "c.jpg"}));
}

TEST_F(EnteringGuiTest, EscapeDuringSeveralFoldersEndsLikeAFinishedRun) {
  for (int i = 0; i < 1000; ++i) QDir().mkpath(files_.filePath(u"deep/%1"_qs.arg(i)));
  auto* main_tree = Find<QTreeView>("ShellTreeView1");
  const QModelIndex root = main_tree->rootIndex();
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  Find<QAction>("MehrereOrdnerdurchsuchen2")->trigger();
  auto* tree = Find<QTreeView>("ShellTreeView2");
  tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(files_.path()));
  emit tree->clicked(tree->currentIndex());
  Find<QCheckBox>("CheckBox3")->setChecked(true);
  Find<QPushButton>("Button18")->click();
  Find<QPushButton>("Button17")->click();
  ASSERT_TRUE(window_->Entering());
  QTest::keyClick(main_tree, Qt::Key_Escape);  // while the walk runs
  QTRY_VERIFY_WITH_TIMEOUT(!window_->Entering(), 10000);
  EXPECT_EQ(window_->State().doc.EntryCounter(), 0);
  // The folder tree shows every folder again, and the main window is usable.
  EXPECT_EQ(main_tree->rootIndex(), root);
  EXPECT_TRUE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
}

}  // namespace
}  // namespace kavoro

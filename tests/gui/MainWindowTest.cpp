#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "gui/ExitQuestion.h"
#include "gui/FolderTree.h"
#include "gui/MainWindow.h"
#include "gui/ProgramIcon.h"
#include "support/Entries.h"
#include "support/FindNamed.h"
#include "support/MainWindowFixture.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using MainWindowTest = test::MainWindowFixture;

TEST_F(MainWindowTest, StartsWithEveryControlInGerman) {
  MainWindow& w = Open();
  EXPECT_EQ(w.windowTitle(), u"Suchen nach : allen Dateien"_qs);
  auto* views = Find<QTabWidget>("TabbedNotebook1");
  EXPECT_EQ(views->tabText(0), u"          Text-Datei (*.txt)          "_qs);
  EXPECT_EQ(views->tabText(1), u"          Excel-Datei (*.xls)          "_qs);
  EXPECT_EQ(views->tabText(2), u"           HTML-Datei (*.htm)          "_qs);
  auto* folders = Find<QTabWidget>("TabbedNotebook2");
  EXPECT_EQ(folders->tabText(0), u"Ordner wählen"_qs);
  EXPECT_EQ(folders->tabText(1), u"Inhalt des Ordners zeigen"_qs);
  for (const char* name : {"ShellTreeView1", "ShellListView1", "Memo1", "Memo2", "StringGrid1",
                           "ProgressBar1", "GroupBox1", "GroupBox2", "GroupBox4", "Edit5",
                           "RadioButton5", "Button16", "versuch1", "CheckBox2"}) {
    Find(name);
  }
  EXPECT_EQ(Find<QCheckBox>("CheckBox1")->text(), u"Auch Unterordner durchsuchen"_qs);
  EXPECT_EQ(Find<QPushButton>("Button1")->text(), u"Eintragen"_qs);
  EXPECT_EQ(Find<QMenu>("Datei1")->title(), u"Datei"_qs);
  EXPECT_EQ(Find<QMenu>("SpracheLanguage1")->title(), u"Sprache / Language"_qs);
  EXPECT_EQ(Action("ffnen1")->text(), u"Öffnen"_qs);
  EXPECT_TRUE(Action("Deutsch1")->isChecked());
  EXPECT_FALSE(Action("English1")->isChecked());
  // Commands that are not part of the program yet are visibly off, never dead.
  EXPECT_TRUE(Action("Suchen1")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("Button1")->isEnabled());
  EXPECT_TRUE(Action("Neu1")->isEnabled());
  const QList<QAction*> types = Find<QMenu>("Dateiarten1")->actions();
  EXPECT_EQ(types[types.size() - 2]->menu()->title(), u"Archive"_qs);
  EXPECT_TRUE(types.last()->isSeparator());
  EXPECT_EQ(Find<QTableView>("StringGrid1")->model()->rowCount(), 1);
}

TEST_F(MainWindowTest, LanguageSwitchRewritesEveryCaptionAndLine13) {
  Open();
  Action("English1")->trigger();
  EXPECT_EQ(window_->windowTitle(), u"Search for : all files"_qs);
  EXPECT_EQ(Find<QTabWidget>("TabbedNotebook1")->tabText(2),
            u"            HTML-file (*.htm)             "_qs);
  EXPECT_EQ(Find<QTabWidget>("TabbedNotebook2")->tabText(0), u"Select folder "_qs);
  EXPECT_EQ(Action("Neu1")->text(), u"New"_qs);
  EXPECT_EQ(Find<QMenu>("Dateiarten1")->title(), u"File type"_qs);
  EXPECT_EQ(Find<QCheckBox>("Dateiendungenmitanzeigen1")->text(),
            u"Don`t  show file ending of found files"_qs);
  EXPECT_EQ(Find<QCheckBox>("InfozeigefalskeineMp3DateinenimOrdnersind1")->text(),
            u"if no file is in the folder"_qs);
  auto* exit = window_->ExitDialog();
  EXPECT_EQ(exit->findChild<QPushButton*>(u"Button3"_qs)->text(), u"Chancel"_qs);
  EXPECT_TRUE(exit->findChild<QLabel*>(u"Image1"_qs)->isHidden());
  EXPECT_FALSE(exit->findChild<QLabel*>(u"Image2"_qs)->isHidden());
  EXPECT_EQ(OptionLines()[13], "1\r");
  EXPECT_TRUE(Action("English1")->isChecked());
  EXPECT_FALSE(Action("Deutsch1")->isChecked());

  Action("Deutsch1")->trigger();
  EXPECT_EQ(Action("Neu1")->text(), u"Neu"_qs);
  EXPECT_EQ(exit->findChild<QPushButton*>(u"Button3"_qs)->text(), u"Abbrechen"_qs);
  EXPECT_EQ(OptionLines()[13], "0\r");
}

TEST_F(MainWindowTest, QtsOwnTextsAndTheContentsHeadersFollowTheLanguage) {
  const auto yes_text = [] {
    QMessageBox box(QMessageBox::Question, u"t"_qs, u"q"_qs, QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
  };
  const auto headers = [this] {
    QAbstractItemModel* model = Find<QTableView>("ShellListView1")->model();
    QStringList texts;
    for (int c = 0; c < 4; ++c) texts.append(model->headerData(c, Qt::Horizontal).toString());
    return texts;
  };
  Open();
  EXPECT_EQ(yes_text(), u"&Ja"_qs);
  EXPECT_EQ(headers(), (QStringList{"Name", "Größe", "Typ", "Geändert"}));
  Action("English1")->trigger();
  EXPECT_EQ(yes_text(), u"&Yes"_qs);
  EXPECT_EQ(headers(), (QStringList{"Name", "Size", "Type", "Date"}));
  Action("Deutsch1")->trigger();
  EXPECT_EQ(yes_text(), u"&Ja"_qs);
}

// Whether the tree's current folder is `folder` and its row is in view.
bool ShowsFolder(QTreeView* tree, const QString& folder) {
  auto* model = static_cast<QFileSystemModel*>(tree->model());
  const QModelIndex current = tree->currentIndex();
  return model->filePath(current) == folder &&
         tree->viewport()->rect().contains(tree->visualRect(current).center());
}

TEST(FolderTreeTest, FolderStaysInViewWhileTheFoldersAboveItAreRead) {
  // A folder among many others that the model has not read yet: they come in above it.
  QTemporaryDir dir;
  for (int i = 0; i < 60; ++i) QDir(dir.path()).mkpath(u"a%1/sub"_qs.arg(i, 2, 10, QChar(u'0')));
  QFileSystemModel model;
  model.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  QTreeView tree;
  tree.setModel(&model);
  tree.resize(200, 200);
  tree.setRootIndex(model.setRootPath(u"/"_qs));
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  const QString folder = dir.filePath(u"a59"_qs);
  ShowFolder(&tree, &model, folder);
  QTest::qWait(1500);  // every folder on the way has been read and sorted
  EXPECT_TRUE(ShowsFolder(&tree, folder));
}

TEST_F(MainWindowTest, SeveralFoldersPanelOpensAtTheMainTreesFolder) {
  QTemporaryDir dir;
  const QString chosen = dir.filePath(u"a/sub"_qs);
  QDir().mkpath(chosen);
  Open();
  auto* tree = Find<QTreeView>("ShellTreeView1");
  tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(chosen));
  Action("MehrereOrdnerdurchsuchen2")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(ShowsFolder(Find<QTreeView>("ShellTreeView2"), chosen), 10000);
}

// The icon every window shows is built in, so that it is there also before installing.
TEST(ProgramIconTest, TheBuiltInIconRenders) {
  const QImage image = ProgramIcon().pixmap(32, 32).toImage();
  ASSERT_FALSE(image.isNull());
  EXPECT_GT(qAlpha(image.pixel(16, 16)), 0);
}

// "kavoro FOLDER" (and a desktop's "Open with") starts at that folder; a file, at its folder.
TEST_F(MainWindowTest, TheStartFolderIsChosenInTheTree) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(u"Musik/Alben"_qs);
  QDir().mkpath(folder);
  test::WriteBytes(folder + u"/lied.mp3"_qs, "x");
  Open();
  auto* tabs = Find<QTabWidget>("TabbedNotebook2");
  tabs->setCurrentIndex(1);
  auto* tree = Find<QTreeView>("ShellTreeView1");

  window_->ShowStartFolder(folder + u"/lied.mp3"_qs);
  EXPECT_EQ(tabs->currentIndex(), 0);
  QTRY_VERIFY_WITH_TIMEOUT(ShowsFolder(tree, folder), 10000);
  EXPECT_TRUE(prompts_.shown.isEmpty());

  window_->ShowStartFolder(dir.path());
  QTRY_VERIFY_WITH_TIMEOUT(ShowsFolder(tree, dir.path()), 10000);

  // A path that is not there is named, and the tree stays where it was.
  window_->ShowStartFolder(dir.filePath(u"weg"_qs));
  EXPECT_EQ(prompts_.shown, QStringList{u"inform: Dieser Ordner wurde nicht gefunden :\n"_qs +
                                        dir.filePath(u"weg"_qs)});
  EXPECT_TRUE(ShowsFolder(tree, dir.path()));
}

TEST_F(MainWindowTest, ResizeLaysOutAndRecordsTheSizeHalfASecondLater) {
  MainWindow& w = Open();
  const QSize frame = w.frameGeometry().size() - w.size();
  ASSERT_FALSE(frame.isEmpty());  // the offscreen platform draws a frame too
  w.resize(QSize(900, 600) - frame);
  // The controls follow the area under the menu bar, whatever the frame.
  const QSize area = w.centralWidget()->size();
  EXPECT_EQ(Find<QWidget>("TabbedNotebook1")->geometry(),
            QRect(222, 0, area.width() - 222, area.height() - 20));
  EXPECT_EQ(Find<QWidget>("ProgressBar1")->geometry().bottom(), area.height() - 1);
  EXPECT_EQ(Find<QWidget>("ProgressBar1")->width(), area.width());
  EXPECT_EQ(Find<QWidget>("Button4")->x(), (area.width() - 222) / 2 - 173);
  EXPECT_EQ(OptionLines()[16], "702\r");  // not yet
  QTest::qWait(700);
  EXPECT_EQ(OptionLines()[16], "900\r");
  EXPECT_EQ(OptionLines()[17], "600\r");
  EXPECT_EQ(OptionLines()[18], "0\r");
  EXPECT_EQ(dir_.Options().size(), test::ShippedFile("optionen.ini").size());
}

// Under a window manager the frame is known only after the window is shown: the stored outer
// size first becomes the inside, as it also does when the manager restores the window it
// maximised at start. Half a second later the outer size is the stored one again.
TEST_F(MainWindowTest, TheStoredOuterSizeComesBackUnchanged) {
  dir_.SetOptionLine(16, "760");
  dir_.SetOptionLine(17, "540");
  MainWindow& w = Open();
  EXPECT_EQ(w.frameGeometry().size(), QSize(760, 540));
  w.resize(760, 540);
  QTest::qWait(1200);
  EXPECT_EQ(w.frameGeometry().size(), QSize(760, 540));
  EXPECT_EQ(OptionLines()[16], "760\r");
  EXPECT_EQ(OptionLines()[17], "540\r");
  EXPECT_EQ(w.minimumSize() + w.frameGeometry().size() - w.size(), QSize(702, 480));
}

TEST_F(MainWindowTest, StoredSizeAndMaximisingOnlyOnce) {
  dir_.SetOptionLine(16, "800");
  dir_.SetOptionLine(17, "500");
  dir_.SetOptionLine(18, "1");
  MainWindow& w = Open();
  EXPECT_EQ(w.frameGeometry().size(), QSize(800, 500));
  QTRY_VERIFY(w.isMaximized());
  w.showNormal();
  QTest::qWait(1200);  // the start timers ran again
  EXPECT_FALSE(w.isMaximized());
  EXPECT_EQ(OptionLines()[18], "0\r");
}

TEST_F(MainWindowTest, ExitQuestionKeepsTheListingUnlessReallySavedOrDiscarded) {
  MainWindow& w = Open();
  w.close();
  EXPECT_FALSE(w.isVisible());  // nothing entered: no question

  w.show();
  test::AddEntry(w.State().doc, u"a.mp3"_qs);
  w.State().doc.SetListingModified(true);
  ExitQuestion* q = w.ExitDialog();
  w.close();
  ASSERT_TRUE(q->isVisible());
  EXPECT_TRUE(w.isVisible());
  q->findChild<QPushButton*>(u"Button3"_qs)->click();  // Abbrechen
  EXPECT_FALSE(q->isVisible());
  EXPECT_TRUE(w.isVisible());

  w.close();
  ASSERT_TRUE(q->isVisible());
  q->findChild<QPushButton*>(u"Button1"_qs)->click();  // Ja, then the save dialog is cancelled
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.State().doc.EntryCounter(), 1);

  prompts_.files = {dir_.File(u"liste.mpl"_qs)};
  w.close();
  q->findChild<QPushButton*>(u"Button1"_qs)->click();  // Ja, saved this time
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(QFile::exists(dir_.File(u"liste.mpl3"_qs)));
}

TEST_F(MainWindowTest, NoEndsWithoutSaving) {
  MainWindow& w = Open();
  w.State().doc.SetListingModified(true);
  w.close();
  w.ExitDialog()->findChild<QPushButton*>(u"Button2"_qs)->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(QFile::exists(dir_.File(u"liste.mpl"_qs)));
}

TEST_F(MainWindowTest, OptionsPanelSavesAndCancels) {
  MainWindow& w = Open();
  Action("Optionen1")->trigger();
  auto* panel = Find<QGroupBox>("GroupBox1");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
  EXPECT_FALSE(Find<QWidget>("TabbedNotebook1")->isEnabled());
  auto* link = Find<QCheckBox>("LinkzudenDateienbeiHTML1");
  EXPECT_FALSE(link->isEnabled());
  Find<QCheckBox>("GanzenDateifahrtanzeigen1")->click();
  EXPECT_TRUE(link->isEnabled());
  Find<QCheckBox>("versuch1")->click();
  Find<QPushButton>("Button7")->click();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(Find<QMenu>("Datei1")->menuAction()->isEnabled());
  EXPECT_EQ(OptionLines()[11], "1\r");
  EXPECT_EQ(OptionLines()[14], "1\r");
  EXPECT_EQ(Find<QTableView>("StringGrid1")->model()->columnCount(), 5);
  EXPECT_EQ(Find<QTableView>("StringGrid1")->columnWidth(3), 190);
  EXPECT_TRUE(Find<QWidget>("Edit4")->isEnabled() || !Find<QWidget>("GroupBox2")->isEnabled());

  const QByteArray before = dir_.Options();
  Action("Optionen1")->trigger();
  Find<QCheckBox>("InfozeigenwievieleDateiengefundenwurden1")->click();
  Find<QPushButton>("Button12")->click();
  EXPECT_EQ(dir_.Options(), before);
  EXPECT_FALSE(w.State().flags.info_count_time);  // the changed tick is in force
}

TEST_F(MainWindowTest, NewAsksFirst) {
  MainWindow& w = Open();
  test::AddEntry(w.State().doc, u"a.mp3"_qs);
  Action("Neu1")->trigger();  // unscripted: No
  EXPECT_EQ(w.State().doc.EntryCounter(), 1);
  EXPECT_EQ(
      prompts_.shown.last(),
      u"ask: Alle nicht gespeicherten Einträge werden hierdurch verloren gehen !\nWeiter ?"_qs);
  prompts_.answers = {true};
  Action("Neu1")->trigger();
  EXPECT_EQ(w.State().doc.EntryCounter(), 0);
  EXPECT_EQ(Find<QTableView>("StringGrid1")->model()->rowCount(), 1);
}

// "Neu" starts a listing that belongs to no file: neither "Speichern" nor the exit question's
// "Ja" writes it over the list opened before without asking for a name. "Öffnen" asks before
// unsaved entries are lost, as "Neu" does.
TEST_F(MainWindowTest, NewListingHasNoFileAndOpeningAsksFirst) {
  MainWindow& w = Open();
  test::AddEntry(w.State().doc, u"alt.mp3"_qs);
  prompts_.files = {dir_.File(u"musik.mpl"_qs)};
  Action("Speichern2")->trigger();
  const QString base = dir_.File(u"musik"_qs);
  const QByteArray old[] = {test::ReadBytes(base + ".mpl"), test::ReadBytes(base + ".mpl2"),
                            test::ReadBytes(base + ".mpl3")};
  ASSERT_EQ(old[0], test::CrLf({"Datei", "alt.mp3"}));

  prompts_.answers = {true};
  Action("Neu1")->trigger();
  test::AddEntry(w.State().doc, u"neu.mp3"_qs);
  w.State().doc.SetListingModified(true);
  prompts_.shown.clear();
  prompts_.files = {u""_qs};  // the save dialog appears and is cancelled
  Action("Speichern2")->trigger();
  EXPECT_TRUE(prompts_.files.empty());
  w.close();
  w.ExitDialog()->findChild<QPushButton*>(u"Button1"_qs)->click();  // Ja: no name, no save
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(test::ReadBytes(base + ".mpl"), old[0]);
  EXPECT_EQ(test::ReadBytes(base + ".mpl2"), old[1]);
  EXPECT_EQ(test::ReadBytes(base + ".mpl3"), old[2]);

  const QString question =
      u"ask: Alle nicht gespeicherten Einträge werden hierdurch verloren gehen !\nWeiter ?"_qs;
  prompts_.shown.clear();
  prompts_.files = {base + ".mpl"};
  Action("ffnen1")->trigger();  // unscripted: No
  EXPECT_EQ(prompts_.shown, QStringList{question});
  EXPECT_EQ(w.State().doc.Cell(1, 1), u"neu.mp3"_qs);
  prompts_.answers = {true};
  Action("ffnen1")->trigger();
  EXPECT_EQ(w.State().doc.Cell(1, 1), u"alt.mp3"_qs);
  // An opened list with nothing new in it is replaced without a question.
  prompts_.shown.clear();
  prompts_.files = {base + ".mpl"};
  Action("ffnen1")->trigger();
  EXPECT_TRUE(prompts_.shown.isEmpty());
  EXPECT_TRUE(prompts_.files.empty());
}

TEST(MainWindowStartTest, MissingConfigurationEndsWithoutWriting) {
  test::ProgramDir dir;
  QFile::remove(dir.File(u"optionen.ini"_qs));
  test::ScriptedPrompts prompts;
  MainWindow w(dir.Path(), &prompts);
  EXPECT_FALSE(w.StartupOk());
  EXPECT_EQ(prompts.shown,
            QStringList{u"inform: Es fehlt die Datei endungen.ini oder optionen.ini, wodurch "
                        u"das Programm nicht mehr funktioniert"_qs});
  EXPECT_FALSE(QFile::exists(dir.File(u"optionen.ini"_qs)));
}

TEST_F(MainWindowTest, StoredSizeIsKeptWithinTheScreenAndAboveTheMinimum) {
  const std::pair<const char*, const char*> sizes[] = {
      {"2147483647", "99999999"}, {"-800", "-2147483648"}, {"0", "x"}, {"800", "500"}};
  for (const auto& [width, height] : sizes) {
    SCOPED_TRACE(std::string(width) + " x " + height);
    dir_.SetOptionLine(16, width);
    dir_.SetOptionLine(17, height);
    MainWindow& w = Open();
    const QRect screen = w.screen()->availableGeometry();
    const QRect frame = w.frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.width() << " x " << frame.height();
    EXPECT_GE(frame.width(), 702);
    EXPECT_GE(frame.height(), 480);
    // Half a second later the real size is stored.
    QTRY_COMPARE(OptionLines()[16], QByteArray::number(frame.width()) + '\r');
    EXPECT_EQ(OptionLines()[17], QByteArray::number(frame.height()) + '\r');
  }
}

TEST_F(MainWindowTest, MaximisedStateIsStoredByTheLanguageSwitchAndTheOptionsPanel) {
  MainWindow& w = Open();
  w.showMaximized();
  ASSERT_TRUE(w.isMaximized());
  // At once, before the state timer has written it.
  Action("English1")->trigger();
  EXPECT_EQ(OptionLines()[18], "1\r");
  EXPECT_EQ(OptionLines()[16], "702\r");  // the last normal size
  QTest::qWait(700);
  Action("Optionen1")->trigger();
  Find<QPushButton>("Button7")->click();
  EXPECT_EQ(OptionLines()[18], "1\r");
  w.showNormal();
  Action("Deutsch1")->trigger();
  EXPECT_EQ(OptionLines()[18], "0\r");
}

}  // namespace
}  // namespace kavoro

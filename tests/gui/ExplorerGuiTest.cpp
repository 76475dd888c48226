#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>

#include "gui/ExplorerActions.h"
#include "gui/MainWindow.h"
#include "support/MainWindowFixture.h"
#include "support/Printers.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class ExplorerGuiTest : public test::MainWindowFixture {
 protected:
  ExplorerGuiTest() {
    Open();
    for (const char* name :
         {"Musik/lied.mp3", "Musik/b.mp3", "Musik/c.mp3", "Andere/x.txt", "Leer/y.txt"}) {
      MakeFile(QLatin1String(name));
    }
    tree_ = Find<QTreeView>("ShellTreeView1");
    list_ = Find<QTableView>("ShellListView1");
  }
  ~ExplorerGuiTest() override {
    window_.reset();  // before the files it shows
    test::RemoveTree(files_.path());
  }
  QString P(const QString& relative) const { return files_.path() + u'/' + relative; }
  void MakeFile(const QString& relative) const {
    QDir().mkpath(QFileInfo(P(relative)).path());
    test::WriteBytes(P(relative), "data");
  }
  QFileSystemModel* Folders() { return static_cast<QFileSystemModel*>(tree_->model()); }
  QString CurrentFolder() { return Folders()->filePath(tree_->currentIndex()); }
  // Chooses the folder in the tree and waits until the contents view lists its files.
  void ShowFolder(const QString& relative, int files) {
    tree_->setCurrentIndex(Folders()->index(P(relative)));
    QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), files);
  }
  QModelIndex Row(int row) { return list_->model()->index(row, 0, list_->rootIndex()); }
  void SelectRows(std::initializer_list<int> rows) {
    list_->selectionModel()->clear();
    for (int row : rows) {
      list_->selectionModel()->select(Row(row),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  // A right click: the menu opens for the current folder or the selected files.
  QMenu* RightClick(QAbstractItemView* view, const char* menu) {
    emit view->customContextMenuRequested(QPoint(2, 2));
    auto* popup = Find<QMenu>(menu);
    const bool shown = popup->isVisible();
    popup->hide();
    return shown ? popup : nullptr;
  }
  void Command(QAbstractItemView* view, const char* action) {
    ASSERT_NE(RightClick(view, view == tree_ ? "PopupMenu1" : "PopupMenu3"), nullptr);
    Find<QAction>(action)->trigger();
  }
  bool Exists(const QString& relative) const { return QFileInfo::exists(P(relative)); }
  bool Dimmed(QAbstractItemView* view, const QModelIndex& index) {
    return static_cast<CutMarkDelegate*>(view->itemDelegate())->Dimmed(index);
  }

  QTemporaryDir files_;
  QTreeView* tree_ = nullptr;
  QTableView* list_ = nullptr;
};

TEST_F(ExplorerGuiTest, MenusNameTheFolderInBothLanguagesAndTheListNeedsASelection) {
  ShowFolder(u"Musik"_qs, 3);
  RightClick(tree_, "PopupMenu1");
  auto* expand = Find<QAction>("Verzeinisanlegen1");
  EXPECT_EQ(expand->text(), u"Alle Unterordner von : \"Musik\" öffnen"_qs);
  EXPECT_TRUE(expand->isEnabled());
  EXPECT_EQ(Find<QAction>("Auschneiden1")->text(), u"Ausschneiden"_qs);
  Find<QAction>("English1")->trigger();
  RightClick(tree_, "PopupMenu1");
  EXPECT_EQ(expand->text(), u"Open all under folder from : \"Musik\""_qs);
  EXPECT_EQ(Find<QAction>("Einfgen2")->text(), u"Past"_qs);
  for (const char* name : {"ffnen2", "Lschen1", "Einfgen1", "Externffnen1", "Eigenschaften1"}) {
    EXPECT_TRUE(Find<QAction>(name)->isEnabled()) << name;
  }
  list_->selectionModel()->clear();
  EXPECT_EQ(RightClick(list_, "PopupMenu3"), nullptr);
  SelectRows({0});
  EXPECT_NE(RightClick(list_, "PopupMenu3"), nullptr);
}

TEST_F(ExplorerGuiTest, CopiedFileGoesBesideItselfAsKopieVonOrIntoAnotherFolder) {
  ShowFolder(u"Musik"_qs, 3);
  SelectRows({2});  // sorted by name: b.mp3, c.mp3, lied.mp3
  Command(list_, "Kopieren2");
  Command(list_, "Einfgen2");
  EXPECT_EQ(prompts_.shown,
            QStringList({u"inform: lied.mp3\n"_qs + P(u"Musik/lied.mp3"_qs), u"inform: nun"_qs}));
  EXPECT_TRUE(Exists(u"Musik/Kopie von lied.mp3"_qs));
  EXPECT_TRUE(Exists(u"Musik/lied.mp3"_qs));
  // The paste emptied the clipboard: a second one adds nothing.
  QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 4);
  SelectRows({0});
  Command(list_, "Einfgen2");
  EXPECT_FALSE(Exists(u"Musik/Kopie (2) von lied.mp3"_qs));

  SelectRows({0});
  Command(list_, "Kopieren2");
  ShowFolder(u"Andere"_qs, 1);
  SelectRows({0});
  Command(list_, "Einfgen2");
  EXPECT_EQ(test::ReadBytes(P(u"Andere/b.mp3"_qs)), "data");
  EXPECT_TRUE(Exists(u"Musik/b.mp3"_qs));
  EXPECT_EQ(prompts_.shown.size(), 2);
}

TEST_F(ExplorerGuiTest, CutFileIsDimmedUntilItIsMovedAndASecondPasteDoesNothing) {
  ShowFolder(u"Musik"_qs, 3);
  SelectRows({1});
  Command(list_, "Ausschneiden1");
  EXPECT_TRUE(Dimmed(list_, Row(1)));
  EXPECT_FALSE(Dimmed(list_, Row(0)));
  EXPECT_TRUE(Exists(u"Musik/c.mp3"_qs));  // nothing moves before the paste
  ShowFolder(u"Andere"_qs, 1);
  SelectRows({0});
  Command(list_, "Einfgen2");
  EXPECT_TRUE(Exists(u"Andere/c.mp3"_qs));
  EXPECT_FALSE(Exists(u"Musik/c.mp3"_qs));
  QTRY_COMPARE(list_->model()->rowCount(list_->rootIndex()), 2);
  SelectRows({0});
  Command(list_, "Einfgen2");
  EXPECT_TRUE(prompts_.shown.isEmpty());
  EXPECT_EQ(QDir(P(u"Andere"_qs)).entryList(QDir::Files).size(), 2);
}

TEST_F(ExplorerGuiTest, CutFolderLosesItsMarkWhenAnotherIsCopied) {
  tree_->setCurrentIndex(Folders()->index(P(u"Musik"_qs)));
  Command(tree_, "Auschneiden1");
  EXPECT_TRUE(Dimmed(tree_, Folders()->index(P(u"Musik"_qs))));
  tree_->setCurrentIndex(Folders()->index(P(u"Andere"_qs)));
  Command(tree_, "Kopieren1");
  EXPECT_FALSE(Dimmed(tree_, Folders()->index(P(u"Musik"_qs))));
  tree_->setCurrentIndex(Folders()->index(P(u"Leer"_qs)));
  Command(tree_, "Einfgen1");
  EXPECT_TRUE(Exists(u"Leer/Andere/x.txt"_qs));
  EXPECT_TRUE(Exists(u"Andere/x.txt"_qs));
  EXPECT_TRUE(Exists(u"Musik/lied.mp3"_qs));
  EXPECT_FALSE(Exists(u"Leer/Musik"_qs));
  // A folder pasted into itself is refused with a message.
  Command(tree_, "Kopieren1");
  Command(tree_, "Einfgen1");
  EXPECT_EQ(prompts_.shown.value(0), u"error: "_qs + window_->State().Slots().msgIntoItself);
}

TEST_F(ExplorerGuiTest, RenameHandlesCancelEmptyCollisionAndSlash) {
  ShowFolder(u"Musik"_qs, 3);
  SelectRows({0});
  prompts_.texts = {std::nullopt, u""_qs, u"c.mp3"_qs, u"a/b"_qs, u"neu.mp3"_qs};
  for (int i = 0; i < 5; ++i) {
    SelectRows({0});  // b.mp3 until the last answer renames it
    Command(list_, "Umbenennen2");
  }
  const MessageSlots& m = window_->State().Slots();
  EXPECT_EQ(
      prompts_.shown,
      QStringList({u"text: Datei umbenennen|Neuer Name :|b.mp3"_qs,
                   u"text: Datei umbenennen|Neuer Name :|b.mp3"_qs,
                   u"text: Datei umbenennen|Neuer Name :|b.mp3"_qs,
                   u"error: "_qs + m.msgNameExists + u'\n' + P(u"Musik/c.mp3"_qs),
                   u"text: Datei umbenennen|Neuer Name :|b.mp3"_qs, u"error: "_qs + m.msgBadName,
                   u"text: Datei umbenennen|Neuer Name :|b.mp3"_qs}));
  EXPECT_TRUE(Exists(u"Musik/neu.mp3"_qs));
  EXPECT_FALSE(Exists(u"Musik/b.mp3"_qs));
  EXPECT_EQ(QDir(P(u"Musik"_qs)).entryList(QDir::Files).size(), 3);

  prompts_.shown.clear();
  prompts_.texts = {u"Lieder"_qs};
  tree_->setCurrentIndex(Folders()->index(P(u"Musik"_qs)));
  Command(tree_, "Umbenennen1");
  EXPECT_EQ(prompts_.shown, QStringList({u"text: Ordner umbenennen|Neuer Name :|Musik"_qs}));
  EXPECT_TRUE(Exists(u"Lieder/lied.mp3"_qs));
}

TEST_F(ExplorerGuiTest, DeleteAsksFirstAndIsThenFinal) {
  tree_->setCurrentIndex(Folders()->index(P(u"Musik"_qs)));
  Command(tree_, "Lschen1");
  EXPECT_EQ(prompts_.shown, QStringList({u"ask: Den Ordner : \"Musik\" wirklich löschen?\n"
                                         u"Achtung ! Kann nicht wieder hergestellt werden !"_qs}));
  EXPECT_TRUE(Exists(u"Musik/lied.mp3"_qs));
  prompts_.answers = {true};
  Command(tree_, "Lschen1");
  EXPECT_FALSE(Exists(u"Musik"_qs));
  EXPECT_NE(CurrentFolder(), P(u"Musik"_qs));

  ShowFolder(u"Andere"_qs, 1);
  SelectRows({0});
  prompts_.shown.clear();
  prompts_.answers = {true};
  Command(list_, "Lschen2");
  EXPECT_EQ(prompts_.shown.value(0),
            u"ask: Die Datei : \"x.txt\" wirklich löschen?\n"
            u"Achtung ! Kann nicht wieder hergestellt werden !"_qs);
  EXPECT_FALSE(Exists(u"Andere/x.txt"_qs));
}

TEST_F(ExplorerGuiTest, OpenExternalOpensEverySelectedFileOnceAndDeselectsThem) {
  ShowFolder(u"Musik"_qs, 3);
  SelectRows({2, 0, 1});
  Command(list_, "Externffnen1");
  EXPECT_EQ(shell_.opened, QList<QUrl>({QUrl::fromLocalFile(P(u"Musik/b.mp3"_qs)),
                                        QUrl::fromLocalFile(P(u"Musik/c.mp3"_qs)),
                                        QUrl::fromLocalFile(P(u"Musik/lied.mp3"_qs))}));
  EXPECT_FALSE(list_->selectionModel()->hasSelection());
  Command(tree_, "ffnen2");
  EXPECT_EQ(shell_.opened.last(), QUrl::fromLocalFile(P(u"Musik"_qs)));
}

TEST_F(ExplorerGuiTest, PropertiesShowTheFileInAWindowOfOurOwn) {
  ShowFolder(u"Musik"_qs, 3);
  SelectRows({1});
  Command(list_, "Eigenschaften1");
  auto* dialog = Find<QDialog>("PropertiesWindow");
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), u"Eigenschaften"_qs);
  QStringList texts;
  for (QLabel* label : dialog->findChildren<QLabel*>()) texts.append(label->text());
  EXPECT_TRUE(texts.contains(u"c.mp3"_qs));
  EXPECT_TRUE(texts.contains(P(u"Musik"_qs)));
}

TEST_F(ExplorerGuiTest, NamesInThePropertiesWindowAndTheFolderMenuAreTextNotMarkup) {
  MakeFile(u"<i>R&B/<b>bold.mp3"_qs);
  ShowFolder(u"<i>R&B"_qs, 1);
  RightClick(tree_, "PopupMenu1");
  // A single "&" would be taken as the mark of a shortcut letter and vanish.
  EXPECT_EQ(Find<QAction>("Verzeinisanlegen1")->text(),
            u"Alle Unterordner von : \"<i>R&&B\" öffnen"_qs);
  // A tab would begin the column of the shortcut; it is shown as the views show it.
  MakeFile(u"A\tB/x.txt"_qs);
  ShowFolder(u"A\tB"_qs, 1);
  RightClick(tree_, "PopupMenu1");
  EXPECT_EQ(Find<QAction>("Verzeinisanlegen1")->text(),
            u"Alle Unterordner von : \"A\u2409B\" öffnen"_qs);

  ShowFolder(u"<i>R&B"_qs, 1);
  SelectRows({0});
  Command(list_, "Eigenschaften1");
  auto* dialog = Find<QDialog>("PropertiesWindow");
  ASSERT_NE(dialog, nullptr);
  QStringList shown;
  for (QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->text().contains(u'<')) {
      shown.append(label->text());
      EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }
  }
  EXPECT_EQ(shown, QStringList({u"<b>bold.mp3"_qs, P(u"<i>R&B"_qs)}));
}

TEST_F(ExplorerGuiTest, OpenAllSubfoldersLoadsAndOpensTheWholeTree) {
  for (const char* name : {"Baum/a/aa/aaa/x.txt", "Baum/a/ab/y.txt", "Baum/b/ba/.versteckt/z"}) {
    MakeFile(QLatin1String(name));
  }
  // Nothing below "Baum" has been loaded yet.
  tree_->setCurrentIndex(Folders()->index(P(u"Baum"_qs)));
  Command(tree_, "Verzeinisanlegen1");
  for (const char* folder : {"Baum", "Baum/a", "Baum/a/aa", "Baum/b", "Baum/b/ba"}) {
    EXPECT_TRUE(tree_->isExpanded(Folders()->index(P(QLatin1String(folder))))) << folder;
  }
  // The folders come into the view as they are loaded.
  QTRY_VERIFY(tree_->visualRect(Folders()->index(P(u"Baum/a/aa/aaa"_qs))).isValid());
  QTRY_VERIFY(tree_->visualRect(Folders()->index(P(u"Baum/b/ba/.versteckt"_qs))).isValid());
  EXPECT_FALSE(tree_->isExpanded(Folders()->index(P(u"Musik"_qs))));
  EXPECT_TRUE(prompts_.shown.isEmpty());
}

TEST_F(ExplorerGuiTest, AFolderHoldingAPipeIsCopiedWithoutItAndTheMessageSaysSo) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(P(u"Musik/röhre"_qs)).constData(), 0644), 0);
  tree_->setCurrentIndex(Folders()->index(P(u"Musik"_qs)));
  Command(tree_, "Kopieren1");
  tree_->setCurrentIndex(Folders()->index(P(u"Leer"_qs)));
  Command(tree_, "Einfgen1");
  EXPECT_EQ(test::ReadBytes(P(u"Leer/Musik/lied.mp3"_qs)), "data");
  EXPECT_EQ(prompts_.shown,
            QStringList({u"inform: "_qs + window_->State().Slots().msgSpecialSkipped + u'\n' +
                         P(u"Musik/röhre"_qs)}));
  EXPECT_EQ(window_->findChild<QWidget*>(u"OperationProgress"_qs), nullptr);
}

TEST_F(ExplorerGuiTest, ANameThatIsNotUtf8IsListedAndReachedByItsBytes) {
  const QByteArray musik = QFile::encodeName(P(u"Musik"_qs));
  ::close(::creat(musik + "/bad\xFF.mp3", 0644));
  ShowFolder(u"Musik"_qs, 4);  // b.mp3, bad?.mp3, c.mp3, lied.mp3
  EXPECT_EQ(Row(1).data().toString(), u"bad\uFFFD.mp3"_qs);
  EXPECT_EQ(list_->model()->index(1, 1).data().toString(), u"0 KB"_qs);

  SelectRows({1});
  Command(list_, "Kopieren2");
  Command(list_, "Einfgen2");
  EXPECT_EQ(::access(musik + "/Kopie von bad\xFF.mp3", F_OK), 0);
  EXPECT_EQ(prompts_.shown.value(0), u"inform: bad\uFFFD.mp3\n"_qs + P(u"Musik/bad\uFFFD.mp3"_qs));
  QTRY_COMPARE(list_->model()->rowCount(), 5);

  prompts_.shown.clear();
  SelectRows({1});
  prompts_.texts = {u"bad\uFFFD.mp3"_qs, u"gut.mp3"_qs};
  Command(list_, "Umbenennen2");  // the name as shown renames nothing
  EXPECT_EQ(::access(musik + "/bad\xFF.mp3", F_OK), 0);
  SelectRows({1});
  Command(list_, "Umbenennen2");
  EXPECT_EQ(::access(musik + "/gut.mp3", F_OK), 0);
  EXPECT_NE(::access(musik + "/bad\xFF.mp3", F_OK), 0);
  EXPECT_EQ(prompts_.shown.size(), 2);
}

}  // namespace
}  // namespace kavoro

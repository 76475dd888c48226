#pragma once

#include <QList>
#include <set>
#include <string>

#include "core/listing/Entering.h"
#include "gui/FittingTabs.h"

class QAction;
class QCheckBox;
class QFileSystemModel;
class QMenu;
class QPushButton;
class QTableView;
class QTreeView;

namespace kavoro {

class AppState;
class ExplorerActions;
class FolderContentsModel;
class Prompts;
class Shell;
struct MainWindowGeometry;

// The folder side of the main window (TabbedNotebook2): the folder tree with "Auch Unterordner
// durchsuchen" on the first page, the files of its current folder on the second, each page with
// "Eintragen" and the export button, and the context menus of the tree and the file list.
class FolderPane : public FittingTabWidget {
  Q_OBJECT

 public:
  FolderPane(const AppState& state, Prompts& prompts, Shell& shell, QWidget* parent);

  // The folder chosen in the tree; empty when none is.
  QString SelectedFolder() const;
  // Chooses `folder` in the tree and shows the tree's page.
  void ChooseFolder(const QString& folder);
  bool Subfolders() const;
  // Ticks "Auch Unterordner durchsuchen" as the folder being entered is searched.
  void ShowSubfolders(bool on);
  // The files selected in the file list, by their names' bytes (which tell apart also names
  // that are shown alike); the selection is cleared.
  std::set<std::string, std::less<>> TakeSelectedFiles();
  // The "Suchen nach :" submenus of both context menus, which the window fills.
  const QList<QMenu*>& SearchMenus() const { return search_menus_; }
  // The file list's headers and open properties windows take the language now chosen.
  void ShowLanguage();
  // Places the controls of both pages; the pane itself is placed by the window.
  void PlaceControls(const MainWindowGeometry& g);

 signals:
  // "Eintragen" of the folder page or its menu, or Enter pressed and released in the tree.
  void EnterFolderClicked();
  // "Eintragen" of the file page or its menu.
  void EnterFilesClicked();
  void ExportClicked();
  void SeveralFoldersClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildFolderPage();
  void BuildContentsPage();
  void BuildContextMenus();

  EntryTexts texts_;  // the file list's size, type and date texts
  QTreeView* tree_ = nullptr;
  QFileSystemModel* folder_model_ = nullptr;
  QCheckBox* subfolders_ = nullptr;
  QPushButton* folder_enter_ = nullptr;
  QPushButton* folder_export_ = nullptr;
  QTableView* contents_view_ = nullptr;
  FolderContentsModel* contents_model_ = nullptr;
  QPushButton* contents_enter_ = nullptr;
  QPushButton* contents_export_ = nullptr;
  QMenu* tree_menu_ = nullptr;
  QMenu* contents_menu_ = nullptr;
  QList<QMenu*> search_menus_;
  QAction* expand_action_ = nullptr;  // "Alle Unterordner von : ... öffnen"
  ExplorerActions* explorer_ = nullptr;
  bool enter_pressed_in_tree_ = false;
};

}  // namespace kavoro

#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <functional>

#include "core/app/FileOperations.h"

class QDialog;
class QFileSystemModel;
class QMenu;
class QTabWidget;
class QTableView;
class QTreeView;

namespace kavoro {

class AppState;
class FolderContentsModel;
class Prompts;
class Shell;

// Draws the one item that is cut and not yet pasted dimmed.
class CutMarkDelegate : public QStyledItemDelegate {
 public:
  using PathOf = std::function<QString(const QModelIndex&)>;
  CutMarkDelegate(const FileClipboard& clip, PathOf path_of, QObject* parent);
  bool Dimmed(const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  const FileClipboard& clip_;
  PathOf path_of_;
};

// The file-manager commands of the folder tree's and the folder contents' context menus:
// open, refresh, open all subfolders, cut, copy, paste, rename, delete and properties.
class ExplorerActions : public QObject {
 public:
  struct Views {
    QTabWidget* tabs;
    QTreeView* tree;
    QFileSystemModel* folders;
    QTableView* list;
    FolderContentsModel* files;
  };
  // Connects the entries of the two menus by their names.
  ExplorerActions(const Views& views, QMenu* tree_menu, QMenu* list_menu, const AppState& state,
                  Prompts& prompts, Shell& shell, QWidget* owner);

  // The folder menu acts on the folder selected when it opened; its "open all subfolders"
  // entry names that folder.
  void TreeMenuOpening();
  // The file menu acts on the files selected when it opened.
  void ListMenuOpening();
  // Open properties windows take the texts of the language now chosen.
  void ShowLanguage();

  const FileClipboard& FolderClipboard() const { return folder_clip_; }
  const FileClipboard& FileClipboardState() const { return file_clip_; }

 private:
  // Folder commands.
  void OpenFolder();
  void RefreshTree();
  void ExpandAll();
  void CutFolder();
  void CopyFolder();
  void FolderProperties();
  void RenameFolder();
  void DeleteFolder();
  void PasteFolder();
  // File commands.
  void OpenFiles();
  void RefreshList();
  void CutFile();
  void CopyFile();
  void FileProperties();
  void RenameFile();
  void DeleteFile();
  void PasteFile();

  QString FilePath(const QModelIndex& index) const;
  QModelIndexList SelectedFiles() const;
  void Rename(const QString& path, const QString& caption);
  // Shows what went wrong or was left out; true when the operation succeeded.
  bool Report(const FileOpResult& result);
  // Runs a copy, move or delete; one that takes a while shows its progress under the caption
  // of the menu entry `command`, and its button or Escape stops it.
  FileOpResult WithProgress(const char* command,
                            const std::function<FileOpResult(const OperationProgress&)>& operation);
  void ShowProperties(const QString& path);
  void ShowPropertyTexts(QDialog* dialog) const;
  void Paste(FileClipboard& clip, const QString& folder);

  Views v_;
  const AppState& state_;
  Prompts& prompts_;
  Shell& shell_;
  QWidget* owner_;
  QMenu* tree_menu_;
  FileClipboard folder_clip_;
  FileClipboard file_clip_;
  QString menu_folder_;
  QPersistentModelIndex menu_node_;
  QString menu_file_;
};

}  // namespace kavoro

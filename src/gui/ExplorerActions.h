#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>
#include <vector>

#include "core/app/FileOperations.h"

class QAction;
class QFileSystemModel;
class QTabWidget;
class QTableView;
class QTreeView;

namespace kavoro {

class AppState;
class FolderContentsModel;
class PropertiesWindow;
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
  // `owner` is the window that the properties and progress windows belong to.
  ExplorerActions(const Views& views, const AppState& state, Prompts& prompts, Shell& shell,
                  QWidget* owner);

  // The folder menu acts on the folder selected when it opened; its entry `expand` ("open all
  // subfolders") names that folder.
  void TreeMenuOpening(QAction* expand);
  // The file menu acts on the files selected when it opened.
  void ListMenuOpening();
  // Open properties windows take the texts of the language now chosen.
  void ShowLanguage();

  const FileClipboard& FolderClipboard() const { return folder_clip_; }
  const FileClipboard& FileClipboardState() const { return file_clip_; }

  // The commands of the folder menu.
  void OpenFolder();
  void RefreshTree();
  void ExpandAll();
  void CutFolder();
  void CopyFolder();
  void FolderProperties();
  void RenameFolder();
  void DeleteFolder();
  void PasteFolder();
  // The commands of the file menu.
  void OpenFiles();
  void RefreshList();
  void CutFile();
  void CopyFile();
  void FileProperties();
  void RenameFile();
  void DeleteFile();
  void PasteFile();

 private:
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
  void Paste(FileClipboard& clip, const QString& folder);

  Views v_;
  const AppState& state_;
  Prompts& prompts_;
  Shell& shell_;
  QWidget* owner_;
  FileClipboard folder_clip_;
  FileClipboard file_clip_;
  QString menu_folder_;
  QPersistentModelIndex menu_node_;
  QString menu_file_;
  std::vector<QPointer<PropertiesWindow>> properties_windows_;
};

}  // namespace kavoro

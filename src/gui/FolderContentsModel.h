#pragma once

#include <QAbstractTableModel>
#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QTimer>

#include "core/listing/Entering.h"

namespace kavoro {

class AppState;

// The folder contents view: the files of one folder (hidden ones included, no folders), in the
// order and with the size, type and date texts that entering uses for them. The files are
// read with the bytes of their names, so also a name that is not UTF-8 is listed, shown as
// the listing shows it, and reached by its real path. A change in the folder reads it again.
class FolderContentsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  FolderContentsModel(EntryTexts& texts, const AppState& state, QObject* parent);

  // `folder` as utf8::NameFromBytes holds it.
  void SetFolder(const QString& folder);
  void Reload();
  const QString& Folder() const { return folder_; }
  const FoundFiles& Files() const { return files_; }
  // The path of a row's file as utf8::NameFromBytes holds it.
  QString FilePath(const QModelIndex& index) const;
  // The column headers follow the language.
  void LanguageChanged();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  QIcon Icon(const QString& name) const;

  EntryTexts& texts_;
  const AppState& state_;
  QString folder_;
  FoundFiles files_;
  QFileSystemWatcher watcher_;
  QTimer reload_soon_;  // gathers the notices of a burst of changes into one reading
  QMimeDatabase mimes_;
  QFileIconProvider icons_;
  mutable QHash<QString, QIcon> icon_cache_;  // by MIME type
};

}  // namespace kavoro

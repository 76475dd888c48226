#include "gui/FolderContentsModel.h"

#include <QFileSystemModel>

#include "core/listing/ListingHeaders.h"

namespace kavoro {

FolderContentsModel::FolderContentsModel(QFileSystemModel* source, EntryTexts& texts,
                                         QObject* parent)
    : QSortFilterProxyModel(parent), files_(source), texts_(texts) {
  setSourceModel(source);
  setDynamicSortFilter(true);
  sort(0);
}

QString FolderContentsModel::FileName(const QModelIndex& index) const {
  return files_->fileName(mapToSource(index.siblingAtColumn(0)));
}

QVariant FolderContentsModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || index.column() == 0) {
    return QSortFilterProxyModel::data(index, role);
  }
  const QFileInfo info = files_->fileInfo(mapToSource(index));
  switch (index.column()) {
    case 1:
      return FormatSizeKB(std::uint64_t(info.size()));
    case 2:
      return texts_.types.ShellTypeName(info.fileName());
    case 3:
      return texts_.dates.Format(info.lastModified().toSecsSinceEpoch());
    default:
      return QSortFilterProxyModel::data(index, role);
  }
}

QVariant FolderContentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < headers_.size()) {
    return headers_[section];
  }
  return QSortFilterProxyModel::headerData(section, orientation, role);
}

void FolderContentsModel::SetLanguage(UiLanguage language) {
  // The detail words of the listing's own header, after the file's name.
  headers_ =
      QStringList{u"Name"_qs} + HeadersFor(language, true, UmlautForm::Plain).grid_cells.mid(2);
  emit headerDataChanged(Qt::Horizontal, 0, int(headers_.size()) - 1);
}

bool FolderContentsModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  return Scanner::ContentsOrderLess(files_->fileName(left), files_->fileName(right));
}

bool FolderContentsModel::filterAcceptsRow(int row, const QModelIndex& parent) const {
  const QModelIndex index = files_->index(row, 0, parent);
  // Folders here are only the way down to the shown folder.
  if (files_->isDir(index)) return true;
  return files_->fileInfo(index).isFile();
}

}  // namespace kavoro

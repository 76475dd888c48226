#include "gui/FolderContentsModel.h"

#include "core/app/AppState.h"
#include "core/text/Utf8.h"

namespace kavoro {

namespace {
constexpr int kColumns = 4;  // name, size, type, date
constexpr int kReloadDelayMs = 150;
}  // namespace

FolderContentsModel::FolderContentsModel(EntryTexts& texts, const AppState& state, QObject* parent)
    : QAbstractTableModel(parent), texts_(texts), state_(state) {
  reload_soon_.setSingleShot(true);
  reload_soon_.setInterval(kReloadDelayMs);
  connect(&reload_soon_, &QTimer::timeout, this, &FolderContentsModel::Reload);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &reload_soon_,
          qOverload<>(&QTimer::start));
}

void FolderContentsModel::SetFolder(const QString& folder) {
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  folder_ = folder;
  if (!folder_.isEmpty()) watcher_.addPath(folder_);
  Reload();
}

void FolderContentsModel::Reload() {
  reload_soon_.stop();
  beginResetModel();
  files_ = folder_.isEmpty() ? FoundFiles() : Scanner::ListFolder(folder_, true);
  endResetModel();
}

QString FolderContentsModel::FilePath(const QModelIndex& index) const {
  return index.isValid() ? files_.FullPath(std::size_t(index.row())) : QString();
}

void FolderContentsModel::LanguageChanged() {
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

int FolderContentsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(files_.Count());
}

int FolderContentsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant FolderContentsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto row = std::size_t(index.row());
  if (role == Qt::DecorationRole && index.column() == 0) return Icon(files_.FileName(row));
  if (role == Qt::TextAlignmentRole && index.column() == 1) {
    return int(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:
      return files_.FileName(row);
    case 1:
      return FormatSizeKB(files_.Size(row));
    case 2:
      return texts_.types.ShellTypeName(files_.FileName(row));
    case 3:
      return texts_.dates.Format(files_.Mtime(row));
    default:
      return {};
  }
}

QVariant FolderContentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return state_.Slots().contentsColumns.value(section);
}

QIcon FolderContentsModel::Icon(const QString& name) const {
  const QMimeType type = mimes_.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
  auto it = icon_cache_.constFind(type.name());
  if (it == icon_cache_.constEnd()) {
    const QIcon fallback =
        QIcon::fromTheme(type.genericIconName(), icons_.icon(QFileIconProvider::File));
    it = icon_cache_.insert(type.name(), QIcon::fromTheme(type.iconName(), fallback));
  }
  return *it;
}

}  // namespace kavoro

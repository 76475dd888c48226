#include "gui/CatalogHitsModel.h"

#include <QColor>
#include <QFileInfo>
#include <QThreadPool>
#include <algorithm>
#include <unordered_map>

#include "core/listing/DateKey.h"
#include "core/listing/GridSort.h"
#include "core/text/Utf8.h"

namespace kavoro {

CatalogHitsModel::CatalogHitsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CatalogHitsModel::SetHits(std::vector<CatalogEntry> hits) {
  beginResetModel();
  ++generation_;
  rows_.clear();
  rows_.reserve(hits.size());
  for (CatalogEntry& hit : hits) rows_.push_back({std::move(hit), There::Unknown});
  endResetModel();
}

void CatalogHitsModel::SetLanguage(UiLanguage language) {
  language_ = language;
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (!rows_.empty()) {
    emit dataChanged(index(0, kThereColumn), index(rowCount() - 1, kThereColumn));
  }
}

std::vector<CatalogEntry> CatalogHitsModel::Entries() const {
  std::vector<CatalogEntry> entries;
  entries.reserve(rows_.size());
  for (const Row& row : rows_) entries.push_back(row.entry);
  return entries;
}

void CatalogHitsModel::CheckFiles(int first, int last) {
  std::vector<QString> paths;
  for (int row = std::max(first, 0); row <= last && row < rowCount(); ++row) {
    Row& r = rows_[std::size_t(row)];
    // Only a whole path says where the file is.
    if (r.there != There::Unknown || !r.entry.name.startsWith(u'/')) continue;
    r.there = There::Asked;
    paths.push_back(r.entry.name);
  }
  if (paths.empty()) return;
  // A disc that is not there, or a slow network folder, must not hold the window.
  const quint64 generation = generation_;
  QThreadPool::globalInstance()->start([this, generation, paths = std::move(paths)] {
    std::vector<std::pair<QString, bool>> answers;
    for (const QString& path : paths) answers.emplace_back(path, QFileInfo::exists(path));
    QMetaObject::invokeMethod(
        this, [this, generation, answers] { Answer(generation, answers); }, Qt::QueuedConnection);
  });
}

void CatalogHitsModel::Answer(quint64 generation,
                              const std::vector<std::pair<QString, bool>>& answers) {
  if (generation != generation_) return;
  std::unordered_map<QString, bool> there(answers.begin(), answers.end());
  for (int row = 0; row < rowCount(); ++row) {
    Row& r = rows_[std::size_t(row)];
    if (r.there != There::Asked) continue;
    const auto it = there.find(r.entry.name);
    if (it == there.end()) continue;
    r.there = it->second ? There::Yes : There::No;
    emit dataChanged(index(row, 0), index(row, kThereColumn));
  }
}

QString CatalogHitsModel::ThereText(There there) const {
  const MessageSlots& messages = MessageSlotsFor(language_);
  return there == There::Yes  ? messages.catalogFileThere
         : there == There::No ? messages.catalogFileGone
                              : QString();
}

int CatalogHitsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int CatalogHitsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kThereColumn + 1;
}

QVariant CatalogHitsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Row& row = rows_[std::size_t(index.row())];
  const CatalogEntry& e = row.entry;
  if (role == Qt::ToolTipRole && index.column() == 0) return e.list;
  if (role == Qt::ToolTipRole && index.column() == 2) return e.name;
  if (role == Qt::ForegroundRole && row.there == There::No) return QColor(Qt::gray);
  if (role == Qt::TextAlignmentRole && (index.column() == 1 || index.column() == 3)) {
    return int(Qt::AlignRight | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case 0:  // the list's name; its folder is in the tooltip
      return QFileInfo(e.list).fileName();
    case 1:
      return e.number;
    case kThereColumn:
      return ThereText(row.there);
    default:
      return EntryCell(e, index.column());
  }
}

QVariant CatalogHitsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  return MessageSlotsFor(language_).catalogColumns.value(section);
}

void CatalogHitsModel::sort(int column, Qt::SortOrder order) {
  // Keys made once, so that fifty thousand rows sort at once.
  struct Key {
    std::string text;  // the grid's text key
    qint64 value;
  };
  const DateReader dates;
  std::vector<Key> keys;
  keys.reserve(rows_.size());
  for (const Row& row : rows_) {
    const CatalogEntry& e = row.entry;
    QString text;
    qint64 value = 0;
    switch (column) {
      case 0:  // a list's entries stay in their order
        text = QFileInfo(e.list).fileName();
        value = e.number;
        break;
      case 1:
        value = e.number;
        break;
      case 2:
        text = e.name;
        break;
      case 3:
        value = ReadSizeKB(utf8::FromQString(e.size)).value_or(-1);
        break;
      case 4:
        text = e.type;
        break;
      case 5:
        value = dates.Seconds(utf8::FromQString(e.date)).value_or(INT64_MIN);
        break;
      default:
        text = ThereText(row.there);
    }
    std::string key;
    AppendTextKey(utf8::FromQString(text), key);
    keys.push_back({std::move(key), value});
  }
  std::vector<std::size_t> order_of(rows_.size());
  for (std::size_t i = 0; i < order_of.size(); ++i) order_of[i] = i;
  std::stable_sort(order_of.begin(), order_of.end(), [&](std::size_t a, std::size_t b) {
    const int by_text = keys[a].text.compare(keys[b].text);
    const bool less = by_text != 0 ? by_text < 0 : keys[a].value < keys[b].value;
    const bool more = by_text != 0 ? by_text > 0 : keys[a].value > keys[b].value;
    return order == Qt::AscendingOrder ? less : more;
  });
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> new_row(rows_.size());
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  for (std::size_t i = 0; i < order_of.size(); ++i) {
    new_row[order_of[i]] = int(i);
    sorted.push_back(std::move(rows_[order_of[i]]));
  }
  rows_ = std::move(sorted);
  QModelIndexList after;
  for (const QModelIndex& old : before)
    after.append(index(new_row[std::size_t(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace kavoro

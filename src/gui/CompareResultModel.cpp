#include "gui/CompareResultModel.h"

namespace kavoro {
namespace {

QString Text(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// The cells of one entry from column 1 on: name, size and date in the list, size and date now,
// moved to.
QStringList Cells(const CompareResult& r, CompareGroup group, std::size_t i) {
  switch (group) {
    case CompareGroup::Added: {
      const ComparedEntry& e = r.added[i];
      return {Text(e.name), {}, {}, Text(e.size), Text(e.date), {}};
    }
    case CompareGroup::Missing: {
      const ComparedEntry& e = r.missing[i];
      return {Text(e.name), Text(e.size), Text(e.date), {}, {}, {}};
    }
    case CompareGroup::Changed: {
      const ChangedEntry& e = r.changed[i];
      return {Text(e.name),     Text(e.old_size), Text(e.old_date),
              Text(e.new_size), Text(e.new_date), {}};
    }
    case CompareGroup::Moved: {
      const MovedEntry& e = r.moved[i];
      return {Text(e.from), Text(e.size), Text(e.date), {}, {}, Text(e.to)};
    }
    case CompareGroup::Unreadable: {
      const ComparedEntry& e = r.unreadable[i];
      return {Text(e.name), Text(e.size), Text(e.date), {}, {}, {}};
    }
  }
  return {};
}

}  // namespace

CompareResultModel::CompareResultModel(QObject* parent) : QAbstractTableModel(parent) {}

void CompareResultModel::SetResult(std::shared_ptr<const CompareResult> result) {
  result_ = std::move(result);
  shown_.reset();
  Fill();
}

void CompareResultModel::ShowGroup(std::optional<CompareGroup> group) {
  shown_ = group;
  Fill();
}

void CompareResultModel::SetLanguage(UiLanguage language) {
  language_ = language;
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, 0));
}

std::size_t CompareResultModel::Count(CompareGroup group) const {
  if (!result_) return 0;
  switch (group) {
    case CompareGroup::Added:
      return result_->added.size();
    case CompareGroup::Missing:
      return result_->missing.size();
    case CompareGroup::Changed:
      return result_->changed.size();
    case CompareGroup::Moved:
      return result_->moved.size();
    case CompareGroup::Unreadable:
      return result_->unreadable.size();
  }
  return 0;
}

void CompareResultModel::Fill() {
  beginResetModel();
  rows_.clear();
  for (int g = 0; g < kCompareGroups; ++g) {
    const auto group = CompareGroup(g);
    if (shown_ && *shown_ != group) continue;
    for (std::size_t i = 0; i < Count(group); ++i) rows_.push_back({group, i});
  }
  endResetModel();
}

int CompareResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.size());
}

int CompareResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(MessageSlotsFor(language_).compareColumns.size());
}

QVariant CompareResultModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !result_) return {};
  // Sizes, then and now, right-aligned as in the grid.
  if (role == Qt::TextAlignmentRole && (index.column() == 2 || index.column() == 4)) {
    return int(Qt::AlignRight | Qt::AlignVCenter);
  }
  // A long name or path is shown whole in its tooltip.
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  const Row& row = rows_[std::size_t(index.row())];
  if (index.column() == 0) {
    return role == Qt::DisplayRole ? MessageSlotsFor(language_).compareGroups[int(row.group)]
                                   : QVariant();
  }
  return Cells(*result_, row.group, row.index).value(index.column() - 1);
}

QVariant CompareResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return MessageSlotsFor(language_).compareColumns.value(section);
}

}  // namespace kavoro

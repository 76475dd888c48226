#include "gui/ListingModels.h"

namespace kavoro {
namespace {

int Clamp(qsizetype n) { return n > INT_MAX ? INT_MAX : static_cast<int>(n); }

}  // namespace

LineListModel::LineListModel(ListingDocument& doc, ListingDocument::View view, QObject* parent)
    : QAbstractListModel(parent), doc_(doc), view_(view), rows_(Clamp(Lines().Count())) {
  connect(&doc_, &ListingDocument::ViewChanged, this, &LineListModel::OnViewChanged);
}

const LineList& LineListModel::Lines() const {
  return view_ == ListingDocument::View::Text ? doc_.Text() : doc_.Html();
}

int LineListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_) return {};
  return Lines().At(index.row());
}

void LineListModel::OnViewChanged(ListingDocument::View view, bool appended_only) {
  if (view != view_) return;
  const int rows = Clamp(Lines().Count());
  if (appended_only && rows > rows_) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
    return;
  }
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

GridModel::GridModel(ListingDocument& doc, QObject* parent)
    : QAbstractTableModel(parent),
      doc_(doc),
      rows_(Clamp(doc.RowCount())),
      columns_(doc.ColumnCount()) {
  connect(&doc_, &ListingDocument::ViewChanged, this, &GridModel::OnViewChanged);
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
  if (role == Qt::DisplayRole) return doc_.Cell(index.column(), index.row());
  if (role == Qt::TextAlignmentRole && index.column() == 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

void GridModel::OnViewChanged(ListingDocument::View view, bool appended_only) {
  if (view != ListingDocument::View::Grid) return;
  const int rows = Clamp(doc_.RowCount());
  if (appended_only && rows > rows_ && columns_ == doc_.ColumnCount()) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
    return;
  }
  beginResetModel();
  rows_ = rows;
  columns_ = doc_.ColumnCount();
  endResetModel();
}

}  // namespace kavoro

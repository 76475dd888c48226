#include "gui/ListingModels.h"

namespace kavoro {
namespace {

int Clamp(qsizetype n) { return n > INT_MAX ? INT_MAX : static_cast<int>(n); }

}  // namespace

ListingViewModel::ListingViewModel(ListingDocument& doc, ListingDocument::View view,
                                   QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), view_(view) {
  rows_ = DocumentRows();
  columns_ = DocumentColumns();
  connect(&doc_, &ListingDocument::ViewChanged, this, &ListingViewModel::OnViewChanged);
}

int ListingViewModel::DocumentRows() const {
  switch (view_) {
    case ListingDocument::View::Text:
      return Clamp(doc_.Text().Count());
    case ListingDocument::View::Html:
      return Clamp(doc_.Html().Count());
    case ListingDocument::View::Grid:
      break;
  }
  return Clamp(doc_.RowCount());
}

int ListingViewModel::DocumentColumns() const {
  return view_ == ListingDocument::View::Grid ? doc_.ColumnCount() : 1;
}

int ListingViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ListingViewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

QVariant ListingViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
  if (role == Qt::DisplayRole) {
    switch (view_) {
      case ListingDocument::View::Text:
        return doc_.Text().At(index.row());
      case ListingDocument::View::Html:
        return doc_.Html().At(index.row());
      case ListingDocument::View::Grid:
        return doc_.Cell(index.column(), index.row());
    }
  }
  if (role == Qt::TextAlignmentRole && view_ == ListingDocument::View::Grid &&
      index.column() == 0) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return {};
}

void ListingViewModel::OnViewChanged(ListingDocument::View view, bool appended_only) {
  if (view != view_) return;
  const int rows = DocumentRows();
  if (appended_only && rows > rows_ && columns_ == DocumentColumns()) {
    beginInsertRows({}, rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
    return;
  }
  beginResetModel();
  rows_ = rows;
  columns_ = DocumentColumns();
  endResetModel();
}

}  // namespace kavoro

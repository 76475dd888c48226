#pragma once

#include <QAbstractListModel>
#include <QAbstractTableModel>
#include <QFont>

#include "core/listing/ListingDocument.h"

namespace kavoro {

// Shows the text view or the HTML view of the listing; only visible rows cost anything.
class LineListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  LineListModel(ListingDocument& doc, ListingDocument::View view, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  void OnViewChanged(ListingDocument::View view, bool appended_only);
  const LineList& Lines() const;

  ListingDocument& doc_;
  ListingDocument::View view_;
  int rows_ = 0;
};

// Shows the grid; row 0 is the header row, an ordinary row as in the stored listing.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GridModel(ListingDocument& doc, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  void OnViewChanged(ListingDocument::View view, bool appended_only);

  ListingDocument& doc_;
  int rows_ = 0;
  int columns_ = 0;
};

}  // namespace kavoro

#pragma once

#include <QAbstractTableModel>

#include "core/listing/ListingDocument.h"

namespace kavoro {

// One view of the listing as a Qt model: only visible rows cost anything. The row count is
// cached, so growth at the end becomes an insertion and anything else a reset.
class ListingViewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  ListingViewModel(ListingDocument& doc, ListingDocument::View view, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  void OnViewChanged(ListingDocument::View view, bool appended_only);
  int DocumentRows() const;
  int DocumentColumns() const;

  ListingDocument& doc_;
  ListingDocument::View view_;
  int rows_ = 0;
  int columns_ = 1;
};

}  // namespace kavoro

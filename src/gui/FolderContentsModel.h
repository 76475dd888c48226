#pragma once

#include <QSortFilterProxyModel>

#include "core/i18n/LanguageTables.h"
#include "core/listing/Entering.h"

class QFileSystemModel;

namespace kavoro {

// The folder contents view: the files of one folder (hidden ones included, no folders), in the
// order and with the size, type and date texts that entering uses for them.
class FolderContentsModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  FolderContentsModel(QFileSystemModel* source, EntryTexts& texts, QObject* parent);
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void SetLanguage(UiLanguage language);
  QString FileName(const QModelIndex& index) const;

 protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

 private:
  QFileSystemModel* files_;
  EntryTexts& texts_;
  QStringList headers_;
};

}  // namespace kavoro

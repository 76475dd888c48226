#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "core/catalog/Catalog.h"
#include "core/i18n/LanguageTables.h"

namespace kavoro {

// The results of a catalogue search: list, number, file, size, type, date, and for entries
// that are whole paths whether the file is there now. Sorting is the model's own (numbers and
// sizes by value, dates by time, texts as the grid sorts them).
class CatalogHitsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kThereColumn = 6;

  explicit CatalogHitsModel(QObject* parent = nullptr);

  void SetHits(std::vector<CatalogEntry> hits);
  void SetLanguage(UiLanguage language);
  const CatalogEntry& Entry(int row) const { return rows_[std::size_t(row)].entry; }
  // The entries in the order shown.
  std::vector<CatalogEntry> Entries() const;
  // Finds out off the window's thread whether the files of rows first..last are there; the
  // rows show it when the answer comes.
  void CheckFiles(int first, int last);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  enum class There : signed char { Unknown, Asked, Yes, No };
  struct Row {
    CatalogEntry entry;
    There there = There::Unknown;
  };
  QString ThereText(There there) const;
  void Answer(quint64 generation, const std::vector<std::pair<QString, bool>>& answers);

  std::vector<Row> rows_;
  UiLanguage language_ = UiLanguage::German;
  quint64 generation_ = 0;  // a new result makes older answers void
};

}  // namespace kavoro

#pragma once

#include <QAbstractTableModel>
#include <memory>
#include <optional>
#include <vector>

#include "core/compare/ListCompare.h"
#include "core/i18n/LanguageTables.h"

namespace kavoro {

// The groups of a compare's result, in the order of the language tables' compareGroups.
enum class CompareGroup { Added, Missing, Changed, Moved, Unreadable };
inline constexpr int kCompareGroups = 5;

// The entries of a compare's result, one group or all of them: the group, the name, the size
// and date the list has, the size and date the folder has now, and where a moved entry is now.
class CompareResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CompareResultModel(QObject* parent = nullptr);

  // Shows `result` (nothing for none), all groups.
  void SetResult(std::shared_ptr<const CompareResult> result);
  // Shows one group alone, or all for nothing.
  void ShowGroup(std::optional<CompareGroup> group);
  std::optional<CompareGroup> Shown() const { return shown_; }
  void SetLanguage(UiLanguage language);
  // How many entries the group holds.
  std::size_t Count(CompareGroup group) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Row {
    CompareGroup group;
    std::size_t index;  // in the group's entries
  };
  void Fill();

  std::shared_ptr<const CompareResult> result_;
  std::optional<CompareGroup> shown_;
  std::vector<Row> rows_;
  UiLanguage language_ = UiLanguage::German;
};

}  // namespace kavoro

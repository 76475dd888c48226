#pragma once

#include <QObject>

#include "core/search/TextSearch.h"

class QListView;
class QModelIndex;

namespace kavoro {

// The caret and selection of a line view (`Memo1`, `Memo2`). The view shows whole lines; this
// keeps the character position the find window starts from and paints the selected
// characters. A click on a line puts the caret at its start.
class MemoSelection : public QObject {
  Q_OBJECT

 public:
  explicit MemoSelection(QListView* view);

  // The selection object of a view made with this class, or nullptr.
  static MemoSelection* Of(const QListView* view);

  QListView* View() const { return view_; }
  const TextSelection& Get() const { return selection_; }
  // Shows the line of `selection` and marks its characters.
  void Set(const TextSelection& selection);

 private:
  void OnCurrentChanged(const QModelIndex& current);

  QListView* view_;
  TextSelection selection_;
  bool setting_ = false;
};

}  // namespace kavoro

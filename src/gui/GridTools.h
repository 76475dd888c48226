#pragma once

#include <QObject>
#include <QRadioButton>

#include "core/listing/DateKey.h"

class QLineEdit;
class QPushButton;
class QTableView;

namespace kavoro {

class AppState;
class Prompts;

// A sort button under the grid: it sorts when the mouse is released over it and it is then
// the selected one. Selecting it with the keyboard does not sort.
class SortButton : public QRadioButton {
  Q_OBJECT

 public:
  using QRadioButton::QRadioButton;

 signals:
  void Released();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The tools under the grid: the five sort buttons with their hints, "Neu nummerieren" and
// the five width fields.
class GridToolsController : public QObject {
  Q_OBJECT

 public:
  GridToolsController(AppState& state, Prompts& prompts, QTableView* grid,
                      QLineEdit* const (&width_fields)[5], SortButton* const (&sort_buttons)[5],
                      QPushButton* renumber, QObject* parent);

 private:
  void SortClick(int button);
  void RenumberClick();
  void WidthChange(int column, const QString& text);
  void ShowHints();

  AppState& state_;
  Prompts& prompts_;
  QTableView* grid_;
  SortButton* sort_buttons_[5];
  DateReader dates_;
};

}  // namespace kavoro

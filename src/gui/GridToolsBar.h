#pragma once

#include <QObject>
#include <QRadioButton>

#include "core/listing/DateKey.h"
#include "core/listing/ListingDocument.h"

class QGroupBox;
class QLineEdit;
class QTableView;

namespace kavoro {

class AppState;
class Prompts;
struct MainWindowGeometry;

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

// The tools under the grid: "Breite :" with the five width fields (GroupBox2) and "Ordnen
// nach :" with the five sort buttons and "Neu nummerieren", under them the six sort buttons of
// the media columns, and the buttons' hints (GroupBox4).
class GridToolsBar : public QObject {
  Q_OBJECT

 public:
  GridToolsBar(AppState& state, Prompts& prompts, QTableView* grid, QWidget* grid_page);

  // The widths, the sort choice and which tools can be used, as the state holds them.
  void ShowTools();
  void PlaceGroups(const MainWindowGeometry& g);

 private:
  void BuildWidthFields(QWidget* grid_page);
  void BuildSortButtons(QWidget* grid_page);
  void SortClick(int button);
  void RenumberClick();
  void WidthChange(int column, const QString& text);
  void ShowHints();

  AppState& state_;
  Prompts& prompts_;
  QTableView* grid_;
  QGroupBox* width_group_ = nullptr;
  QGroupBox* sort_group_ = nullptr;
  QLineEdit* width_fields_[5] = {};
  SortButton* sort_buttons_[ListingData::kMaxColumns] = {};
  DateReader dates_;
};

}  // namespace kavoro

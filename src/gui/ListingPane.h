#pragma once

#include "gui/FittingTabs.h"

class QListView;
class QPushButton;
class QTableView;

namespace kavoro {

class AppState;
class GridToolsBar;
class Prompts;
struct MainWindowGeometry;

// The listing's side of the main window (TabbedNotebook1): the text view (Memo1), the grid
// (StringGrid1) with its tools, and the HTML source (Memo2) with "Quelltext bearbeiten" and
// "Aktualisieren".
class ListingPane : public FittingTabWidget {
  Q_OBJECT

 public:
  ListingPane(AppState& state, Prompts& prompts, QWidget* parent);

  QListView* TextView() const { return text_view_; }
  QTableView* Grid() const { return grid_view_; }
  QListView* HtmlView() const { return html_view_; }
  GridToolsBar* GridTools() const { return grid_tools_; }
  // The grid's column widths as the listing holds them.
  void ShowGridLayout();
  // Shows the grid with row `row` chosen and in view.
  void ShowGridRow(qint64 row);
  // Places the controls of the three pages; the pane itself is placed by the window.
  void PlaceControls(const MainWindowGeometry& g);

 signals:
  void EditHtmlStyleClicked();
  void PreviewClicked();

 private:
  const AppState& state_;
  QListView* text_view_ = nullptr;
  QTableView* grid_view_ = nullptr;
  QListView* html_view_ = nullptr;
  GridToolsBar* grid_tools_ = nullptr;
  QPushButton* edit_source_ = nullptr;
  QPushButton* refresh_preview_ = nullptr;
};

}  // namespace kavoro

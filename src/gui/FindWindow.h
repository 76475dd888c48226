#pragma once

#include <QWidget>

#include "core/search/FindSession.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListView;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace kavoro {

class AppState;
class MemoSelection;
class Prompts;

// TForm8, the find window: a small borderless window over the main window with the start
// question (`GroupBox1`) and the search panel (`GroupBox3`). While it is open the main
// window is disabled, except while a search runs and after a hit in the grid; so it is a
// window of its own, not a child that would be disabled with it.
class FindWindow : public QWidget {
  Q_OBJECT

 public:
  struct Views {
    QTabWidget* tabs;      // TabbedNotebook1
    QListView* text;       // Memo1
    QTableView* grid;      // StringGrid1
    QListView* html;       // Memo2
    QWidget* folder_tabs;  // TabbedNotebook2, for placing the window
  };

  FindWindow(QMainWindow* main_window, AppState& state, Prompts& prompts, const Views& views);

  // "Text suchen".
  void Open();

  const FindSession& Session() const { return session_; }

 signals:
  // Line 24 of optionen.ini and the options panel's tick changed.
  void SearchStartStored();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildStartPanel();
  void BuildSearchPanel();
  void StartOkClick();
  void StartCancelClick();
  void SearchClick();
  void CloseClick();
  void StoreStartQuestion();
  void TurnClick(bool upward);
  void Find();
  void SetMainEnabled(bool enabled);
  // The tab of the listing that is shown; nothing for a page index that is no view.
  std::optional<FindTab> ActiveTab() const;
  // The selection of the memo view of `tab`; nullptr for the grid.
  MemoSelection* MemoOf(FindTab tab) const;

  QMainWindow* main_;
  AppState& state_;
  Prompts& prompts_;
  Views views_;
  FindSession session_;

  QGroupBox* start_panel_ = nullptr;
  QRadioButton* from_beginning_ = nullptr;
  QRadioButton* from_selection_ = nullptr;
  QRadioButton* from_end_ = nullptr;
  QCheckBox* dont_ask_ = nullptr;
  QGroupBox* search_panel_ = nullptr;
  QLineEdit* search_text_ = nullptr;
  QPushButton* search_ = nullptr;
  QRadioButton* upward_ = nullptr;
  QRadioButton* downward_ = nullptr;
  QCheckBox* match_case_ = nullptr;
  QWidget* match_case_label_ = nullptr;
};

}  // namespace kavoro

#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

#include "core/app/AppState.h"

class QAction;
class QCheckBox;
class QFileSystemModel;
class QGroupBox;
class QLineEdit;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableView;
class QTreeView;

namespace kavoro {

class ExitQuestion;
class FindWindow;
class OptionsPanel;
class Prompts;
class SortButton;

// TForm1: the folder side, the three views of the listing, the menus and the panels.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `prompts` answers every question; without one, real dialogs are used.
  MainWindow(const QString& program_dir, Prompts* prompts = nullptr);
  ~MainWindow() override;

  // False when a configuration file is missing or unusable (the user has been told).
  bool StartupOk() const { return startup_ok_; }
  // Applies optionen.ini, saves it padded and places the window; call before the first show.
  void ApplyOptions();

  AppState& State() { return state_; }
  ExitQuestion* ExitDialog() const { return exit_question_; }
  FindWindow* FindDialog() const { return find_window_.get(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Construction.
  void BuildFolderSide(QWidget* central);
  void BuildViews(QWidget* central);
  void BuildGridTools(QWidget* grid_page);
  void BuildMenus();
  void BuildCatalogMenus();
  void BuildTimers();
  QAction* NewAction(QMenu* menu, const char* name, const QString& text = QString());
  QAction* AddAction(QMenu* menu, const char* name, void (MainWindow::*slot)());
  QAction* AddUnbuilt(QMenu* menu, const char* name, const QString& text = QString());

  // Commands.
  void Neu1Click();
  void ffnen1Click();
  void Speichern2Click();
  void Speichern1Click();
  void Optionen1Click();
  void Suchen1Click();
  void OptionsSaveClick();
  void OptionsCancelClick();
  void Deutsch1Click();
  void English1Click();
  void ExitSave();
  void ExitDiscard();
  void ExitCancel();

  // Timers.
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();

  // Showing the state.
  void ShowLanguage();
  void ShowGridLayout();
  void ShowGridTools();
  void ShowFirstTabs();
  void SetMainMenuEnabled(bool enabled);
  void LayoutControls();
  void ResizeOuter(int width, int height);
  void ReportError(const QString& error);

  AppState state_;
  std::unique_ptr<Prompts> own_prompts_;
  Prompts* prompts_;
  bool startup_ok_ = false;
  bool options_read_ = false;
  bool confirm_on_exit_ = true;

  QTabWidget* folder_tabs_ = nullptr;
  QTreeView* folder_tree_ = nullptr;
  QFileSystemModel* folder_model_ = nullptr;
  QTableView* contents_view_ = nullptr;
  QFileSystemModel* contents_model_ = nullptr;
  QCheckBox* subfolders_ = nullptr;
  QPushButton* folder_enter_ = nullptr;
  QPushButton* folder_export_ = nullptr;
  QPushButton* contents_enter_ = nullptr;
  QPushButton* contents_export_ = nullptr;
  QTabWidget* view_tabs_ = nullptr;
  QListView* text_view_ = nullptr;
  QTableView* grid_view_ = nullptr;
  QListView* html_view_ = nullptr;
  QGroupBox* width_group_ = nullptr;
  QGroupBox* sort_group_ = nullptr;
  QLineEdit* width_fields_[5] = {};
  SortButton* sort_choices_[5] = {};
  QPushButton* edit_source_ = nullptr;
  QPushButton* refresh_preview_ = nullptr;
  QProgressBar* progress_ = nullptr;
  OptionsPanel* options_panel_ = nullptr;
  ExitQuestion* exit_question_ = nullptr;
  std::unique_ptr<FindWindow> find_window_;

  QMenu* file_menu_ = nullptr;
  QAction* options_action_ = nullptr;
  QMenu* types_menu_ = nullptr;
  QAction* search_action_ = nullptr;
  QMenu* language_menu_ = nullptr;
  QMenu* help_menu_ = nullptr;
  QAction* german_ = nullptr;
  QAction* english_ = nullptr;

  QTimer timer1_;
  QTimer timer2_;
  QTimer timer3_;
  QTimer timer4_;
};

}  // namespace kavoro

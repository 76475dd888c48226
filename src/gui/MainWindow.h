#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

#include "core/app/AppState.h"
#include "core/settings/CatalogEditing.h"
#include "gui/EnteringJob.h"
#include "gui/SearchPanels.h"

class QAction;
class QListView;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;

namespace kavoro {

class AboutBox;
class CatalogEditor;
class ExitQuestion;
class EnteringProgressBar;
class ExportDialog;
class FindWindow;
class FolderPane;
class GridToolsBar;
class OptionsPanel;
class Prompts;
class Shell;
class StyleDialog;
class VersionWindow;

// TForm1: the folder side, the three views of the listing, the menus and the panels.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `prompts` answers every question and `shell` opens pages; without them, real dialogs and
  // the desktop are used.
  MainWindow(const QString& program_dir, Prompts* prompts = nullptr, Shell* shell = nullptr);
  ~MainWindow() override;

  // False when a configuration file is missing or unusable (the user has been told).
  bool StartupOk() const { return startup_ok_; }
  // Applies optionen.ini, saves it padded and places the window; call before the first show.
  void ApplyOptions();

  AppState& State() { return state_; }
  ExitQuestion* ExitDialog() const { return exit_question_.get(); }
  CatalogEditor* Editor() const { return catalog_editor_.get(); }
  bool Entering() const { return job_.Running(); }

  // "Eintragen" under the folder tree and under the folder contents view.
  void Button1Click();
  void Button5Click();
  ExportDialog* ExportWindow() const { return export_dialog_.get(); }
  StyleDialog* StyleWindow() const { return style_dialog_.get(); }

  // "Als *.txt, *.xls oder *.htm speichern" from the buttons and the context menus.
  void OpenExportDialog();
  FindWindow* FindDialog() const { return find_window_.get(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Construction.
  void BuildViews(QWidget* central);
  void BuildMenus();
  void BuildCatalogMenus();
  void AddCatalogEntries(QMenu* menu);
  void BuildTimers();
  QAction* NewAction(QMenu* menu, const char* name, const QString& text = QString());
  QAction* AddAction(QMenu* menu, const char* name, void (MainWindow::*slot)());

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
  void OpenCatalogEditor(bool extensions);
  void OnCatalogProposal(const CatalogResult& result);
  void CloseCatalogEditor();
  void OpenSeveralTypes();
  void OpenSeveralFolders();
  void EnterSeveralFolders(const SeveralFoldersPanel::Folders& folders);
  void ClosePanel(QWidget* panel);
  void Hilfe1Click();
  void Info2Click();
  void InfoszudenVersionen1Click();

  // Entering, as the job reports it.
  void ShowEnteringStarted(const EnteringRequest& request);
  void ShowEntered(const EnteringResult& result);
  void ExportSaveClick();
  void CloseExportDialog();
  void Button3Click();
  void CloseStyleDialog();
  void Button4Click();

  // Timers.
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();
  // Neither maximised, minimised nor full screen.
  bool IsNormal() const;
  // Lines 16 to 18 of both copies of optionen.ini as the window is now.
  void RecordWindowState();

  // Showing the state.
  void ShowLanguage();
  void ShowGridLayout();
  void ShowCaptions();
  void SetBusy(bool busy);
  void PlacePanel(QWidget* panel, int top);
  void ShowFirstTabs();
  void SetMainMenuEnabled(bool enabled);
  void LayoutControls();
  // The outer size the layout is computed for (see kClassicFrameWidth).
  QSize LayoutSize() const;
  void ResizeOuter(QSize outer);
  bool FitOuterSize();
  // What the window manager's frame adds to the window's size (nothing until it is known).
  QSize FrameSize() const;
  void ReportError(const QString& error);
  void ReportFailure(const std::optional<QString>& error);
  // Disables the main window and shows a dialog of its own centred over it.
  void ShowOver(QWidget* dialog);
  void TakeOverFrom(QWidget* dialog);

  AppState state_;
  std::unique_ptr<Prompts> own_prompts_;
  Prompts* prompts_;
  std::unique_ptr<Shell> own_shell_;
  Shell* shell_;
  bool startup_ok_ = false;
  bool options_read_ = false;
  // The stored outer size until the window manager has framed the normal window.
  std::optional<QSize> wanted_outer_;
  bool confirm_on_exit_ = true;

  FolderPane* folder_pane_ = nullptr;
  QTabWidget* view_tabs_ = nullptr;
  QListView* text_view_ = nullptr;
  QTableView* grid_view_ = nullptr;
  QListView* html_view_ = nullptr;
  GridToolsBar* grid_tools_ = nullptr;
  QPushButton* edit_source_ = nullptr;
  QPushButton* refresh_preview_ = nullptr;
  EnteringProgressBar* progress_ = nullptr;
  OptionsPanel* options_panel_ = nullptr;
  SeveralTypesPanel* several_types_ = nullptr;
  SeveralFoldersPanel* several_folders_ = nullptr;
  QList<QAction*> catalog_actions_;

  EnteringJob job_{state_.doc};
  // Windows of their own, so that disabling the main window leaves them usable.
  std::unique_ptr<ExitQuestion> exit_question_;
  std::unique_ptr<CatalogEditor> catalog_editor_;
  std::unique_ptr<ExportDialog> export_dialog_;
  std::unique_ptr<StyleDialog> style_dialog_;
  std::unique_ptr<FindWindow> find_window_;
  std::unique_ptr<AboutBox> about_box_;
  std::unique_ptr<VersionWindow> version_window_;

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

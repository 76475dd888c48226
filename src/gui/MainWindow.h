#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>
#include <optional>

#include "core/app/AppState.h"
#include "gui/CatalogMenus.h"
#include "gui/EnteringJob.h"
#include "gui/SearchPanels.h"
#include "gui/SecondaryWindows.h"

namespace kavoro {

class CatalogEditor;
class CatalogWindow;
class CompareWindow;
class EnteringProgressBar;
class ExitQuestion;
class ExportDialog;
class FolderPane;
class ListingPane;
class OptionsPanel;
class PrintCommands;
class TotalsLine;
class Prompts;
class Shell;
class StyleDialog;
class WindowSizeKeeper;

// TForm1: the folder side, the three views of the listing, the menus and the panels, and the
// windows it opens over itself. It puts its parts together and carries out the menu commands.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `prompts` answers every question and `shell` opens pages; without them, real dialogs and
  // the desktop are used.
  // The help pages come from `data_dir`, by default the program folder.
  MainWindow(const QString& program_dir, Prompts* prompts = nullptr, Shell* shell = nullptr,
             const QString& data_dir = QString());
  ~MainWindow() override;

  // False when a configuration file is missing or unusable (the user has been told).
  bool StartupOk() const { return startup_ok_; }
  // Applies optionen.ini, saves it padded and places the window; call before the first show.
  void ApplyOptions();

  AppState& State() { return state_; }
  bool Entering() const { return job_.Running(); }
  ExitQuestion* ExitDialog() const { return windows_->Exit(); }
  CatalogEditor* Editor() const { return catalog_->Editor(); }
  ExportDialog* ExportWindow() const { return windows_->Export(); }
  StyleDialog* StyleWindow() const { return windows_->Style(); }
  FindWindow* FindDialog() const { return windows_->Find(); }
  // "Als *.txt, *.xls oder *.htm speichern" from the buttons and the context menus.
  void OpenExportDialog();
  // A folder given at the start is chosen in the folder tree; a file, the folder that holds it.
  // A path that is not there is named in a message.
  void ShowStartFolder(const QString& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildPanels(QWidget* central);
  void BuildMenus();

  // The menu commands.
  void NewList();
  void OpenListFile();
  void OpenOptions();
  void SaveOptions();
  void CloseOptions();
  void SwitchLanguageTo(UiLanguage language);
  void OpenSeveralTypes();
  void OpenSeveralFolders();
  void ClosePanel(QWidget* panel);
  // A result chosen in "Katalog durchsuchen ...": its list opened at its entry.
  void OpenFromCatalogue(const QString& base, qint64 number);

  // Entering: the window starts the job and shows what it reports.
  void EnterFolder();
  void EnterSelectedFiles();
  void EnterSeveralFolders(const SeveralFoldersPanel::Folders& folders);
  void ShowEnteringStarted(const EnteringRequest& request);
  void ShowEntered(const EnteringResult& result);

  void ExitSave();
  void ExitDiscard();

  // Showing the state.
  void ShowLanguage();
  void ShowCaptions();
  void SetBusy(bool busy);
  void SetViewsEnabled(bool enabled);
  void SetMainMenuEnabled(bool enabled);
  void ShowFirstTabs();
  void LayoutControls();
  // The outer size the layout is computed for (see kClassicFrameWidth).
  QSize LayoutSize() const;
  void ReportFailure(const std::optional<QString>& error);

  AppState state_;
  std::unique_ptr<Prompts> own_prompts_;
  Prompts* prompts_;
  std::unique_ptr<Shell> own_shell_;
  Shell* shell_;
  bool startup_ok_ = false;
  bool confirm_on_exit_ = true;
  EnteringJob job_{state_.doc};

  FolderPane* folder_pane_ = nullptr;
  ListingPane* listing_pane_ = nullptr;
  EnteringProgressBar* progress_ = nullptr;
  TotalsLine* totals_ = nullptr;
  OptionsPanel* options_panel_ = nullptr;
  SeveralTypesPanel* several_types_ = nullptr;
  SeveralFoldersPanel* several_folders_ = nullptr;
  WindowSizeKeeper* size_keeper_ = nullptr;
  CatalogMenus* catalog_ = nullptr;
  SecondaryWindows* windows_ = nullptr;
  std::unique_ptr<PrintCommands> printing_;
  std::unique_ptr<CatalogWindow> catalogue_;
  std::unique_ptr<CompareWindow> compare_;
  bool busy_ = false;
  QAction* german_ = nullptr;
  QAction* english_ = nullptr;
  // Timer1 gives the views back after a scan, Timer2 after the start.
  QTimer timer1_;
  QTimer timer2_;
};

}  // namespace kavoro

#include "gui/MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>

#include "core/app/HelpLinks.h"
#include "core/app/ListCommands.h"
#include "gui/CaptionFit.h"
#include "gui/CatalogWindow.h"
#include "gui/CompareWindow.h"
#include "gui/DesktopShell.h"
#include "gui/DialogPrompts.h"
#include "gui/EnteringProgressBar.h"
#include "gui/ExitQuestion.h"
#include "gui/FindWindow.h"
#include "gui/FolderPane.h"
#include "gui/GridToolsBar.h"
#include "gui/HelpMenu.h"
#include "gui/LanguageApplier.h"
#include "gui/ListingPane.h"
#include "gui/NamedWidget.h"
#include "gui/OptionsPanel.h"
#include "gui/PrintCommands.h"
#include "gui/QtTranslations.h"
#include "gui/ShownText.h"
#include "gui/TotalsLine.h"
#include "gui/WindowSizeKeeper.h"

namespace kavoro {

MainWindow::MainWindow(const QString& program_dir, Prompts* prompts, Shell* shell,
                       const QString& data_dir)
    : state_(program_dir, data_dir), prompts_(prompts), shell_(shell) {
  if (!prompts_) {
    own_prompts_ = std::make_unique<DialogPrompts>(this);
    prompts_ = own_prompts_.get();
  }
  if (!shell_) {
    own_shell_ = std::make_unique<DesktopShell>();
    shell_ = own_shell_.get();
  }
  setObjectName(u"TForm1"_qs);
  setMinimumSize(kMinWindowWidth, kMinWindowHeight);

  auto* central = new QWidget(this);
  setCentralWidget(central);
  folder_pane_ = new FolderPane(state_, *prompts_, *shell_, central);
  connect(folder_pane_, &FolderPane::EnterFolderClicked, this, &MainWindow::EnterFolder);
  connect(folder_pane_, &FolderPane::EnterFilesClicked, this, &MainWindow::EnterSelectedFiles);
  connect(folder_pane_, &FolderPane::ExportClicked, this, &MainWindow::OpenExportDialog);
  connect(folder_pane_, &FolderPane::SeveralFoldersClicked, this, &MainWindow::OpenSeveralFolders);
  listing_pane_ = new ListingPane(state_, *prompts_, central);
  connect(listing_pane_, &ListingPane::EditHtmlStyleClicked, this,
          [this] { windows_->EditHtmlStyle(); });
  connect(listing_pane_, &ListingPane::PreviewClicked, this, [this] {
    ShowPreview(state_.program_dir, state_.doc.Html().ToStringList(), *shell_, *prompts_,
                state_.ViewBrowsing());
  });
  progress_ = new EnteringProgressBar(job_, state_, central);
  // The totals go under the progress bar; the controls keep the area above it.
  Named(statusBar(), "StatusBar1");
  totals_ = new TotalsLine(state_, statusBar());
  statusBar()->addWidget(totals_, 1);
  connect(&job_, &EnteringJob::Started, this, &MainWindow::ShowEnteringStarted);
  connect(&job_, &EnteringJob::Entered, this, &MainWindow::ShowEntered);
  connect(&job_, &EnteringJob::Cancelled, this, [this] { SetBusy(false); });
  BuildPanels(central);
  connect(&state_.events, &StateEvents::CaptionsChanged, this, &MainWindow::ShowCaptions);
  windows_ = new SecondaryWindows(this, state_, *prompts_, *shell_,
                                  {listing_pane_, listing_pane_->TextView(), listing_pane_->Grid(),
                                   listing_pane_->HtmlView(), folder_pane_});
  connect(windows_->Exit(), &ExitQuestion::SaveChosen, this, &MainWindow::ExitSave);
  connect(windows_->Exit(), &ExitQuestion::DiscardChosen, this, &MainWindow::ExitDiscard);
  connect(windows_->Find(), &FindWindow::SearchStartStored, this,
          [this] { options_panel_->SetFlags(state_.flags); });
  size_keeper_ = new WindowSizeKeeper(this, state_, *prompts_);
  printing_ = std::make_unique<PrintCommands>(state_, *prompts_, this);
  catalogue_ = std::make_unique<CatalogWindow>(this, state_, *prompts_, *shell_);
  connect(catalogue_.get(), &CatalogWindow::OpenRequested, this, &MainWindow::OpenFromCatalogue);
  compare_ = std::make_unique<CompareWindow>(this, state_, *prompts_);
  timer1_.setObjectName(u"Timer1"_qs);
  timer2_.setObjectName(u"Timer2"_qs);
  for (QTimer* timer : {&timer1_, &timer2_}) {
    timer->setInterval(1000);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this] { SetViewsEnabled(true); });
  }
  connect(&timer1_, &QTimer::timeout, size_keeper_, &WindowSizeKeeper::MaximiseSoon);

  const StartupCheck check = CheckConfiguration(state_);
  startup_ok_ = check == StartupCheck::Ok;
  BuildMenus();
  if (!startup_ok_) {
    // Any way of leaving the message counts as OK: the program ends.
    prompts_->Inform(StartupMessage(check));
    return;
  }
  resize(kMinWindowWidth, kMinWindowHeight);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildPanels(QWidget* central) {
  options_panel_ = new OptionsPanel(central);
  connect(options_panel_, &OptionsPanel::SaveClicked, this, &MainWindow::SaveOptions);
  connect(options_panel_, &OptionsPanel::CancelClicked, this, &MainWindow::CloseOptions);
  several_types_ = new SeveralTypesPanel(central);
  connect(several_types_, &SeveralTypesPanel::Confirmed, this, [this](const QStringList& exts) {
    ChooseSeveralExtensions(state_, exts);
    ClosePanel(several_types_);
  });
  connect(several_types_, &SeveralTypesPanel::Cancelled, this,
          [this] { ClosePanel(several_types_); });
  several_folders_ = new SeveralFoldersPanel(central);
  connect(several_folders_, &SeveralFoldersPanel::EnterClicked, this,
          [this](const SeveralFoldersPanel::Folders& folders) {
            ClosePanel(several_folders_);
            EnterSeveralFolders(folders);
          });
  connect(several_folders_, &SeveralFoldersPanel::Cancelled, this,
          [this] { ClosePanel(several_folders_); });
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = Named(menuBar(), "MainMenu1");
  auto add = [this](QWidget* menu, const char* name, auto command) {
    auto* action = Named(new QAction(this), name);
    menu->addAction(action);
    connect(action, &QAction::triggered, this, command);
    return action;
  };
  QMenu* file = Named(bar->addMenu(QString()), "Datei1");
  add(file, "Neu1", &MainWindow::NewList);
  file->addSeparator();
  add(file, "ffnen1", &MainWindow::OpenListFile);
  file->addSeparator();
  add(file, "Speichern2", [this] { SaveList(state_, *prompts_); });
  add(file, "Speichern1", [this] { SaveListAs(state_, *prompts_); });
  file->addSeparator();
  add(file, "Drucken1", [this] { printing_->Print(); });
  add(file, "Druckvorschau1", [this] { printing_->Preview(); });
  add(file, "AlsPDFspeichern1", [this] { printing_->SavePdf(); });
  file->addSeparator();
  add(file, "Katalogdurchsuchen1", [this] { catalogue_->Open(); });
  add(file, "MitOrdnervergleichen1", [this] { compare_->Open(); });
  file->addSeparator();
  add(file, "Exit1", &QWidget::close);

  add(bar, "Optionen1", &MainWindow::OpenOptions);

  QMenu* types = Named(bar->addMenu(QString()), "Dateiarten1");
  add(types, "NachallenDateiensuchen1", [this] { catalog_->SearchAllFiles(); });
  types->addSeparator();
  add(types, "NachmehrerenDateiartensuchen1", &MainWindow::OpenSeveralTypes);
  add(types, "MehrereOrdnerdurchsuchen2", &MainWindow::OpenSeveralFolders);
  types->addSeparator();
  add(types, "Oberverzeichnishinzufgenlschen1", [this] { catalog_->OpenEditor(false); });
  add(types, "Dateiartenhinzufgenlschen1", [this] { catalog_->OpenEditor(true); });
  types->addSeparator();
  catalog_ = new CatalogMenus(state_, *prompts_, types, folder_pane_->SearchMenus(), this);

  add(bar, "Suchen1", [this] { windows_->Find()->Open(); });

  QMenu* language =
      Named(bar->addMenu(QString::fromUtf16(kLanguageMenuCaption)), "SpracheLanguage1");
  german_ = add(language, "Deutsch1", [this] { SwitchLanguageTo(UiLanguage::German); });
  german_->setText(u"Deutsch"_qs);
  english_ = add(language, "English1", [this] { SwitchLanguageTo(UiLanguage::English); });
  english_->setText(u"English"_qs);
  for (QAction* a : {german_, english_}) a->setCheckable(true);

  QMenu* help = Named(bar->addMenu(QString()), "Info1");
  add(help, "Hilfe1", [this] { shell_->OpenUrl(HelpTarget(state_.data_dir, state_.language)); });
  help->addSeparator();
  add(help, "Info2", [this] { windows_->ShowAbout(); });
  add(help, "InfoszudenVersionen1", [this] { windows_->ShowVersions(); });
  help->addSeparator();
  AddWebLinks(help, *shell_, this);
}

void MainWindow::ApplyOptions() {
  const std::optional<QString> failed = ApplyOptionsAtStart(state_);
  options_panel_->SetFlags(state_.flags);
  ShowLanguage();
  listing_pane_->ShowGridLayout();
  listing_pane_->GridTools()->ShowTools();
  ShowFirstTabs();
  size_keeper_->PlaceAtStart();
  timer1_.start();
  timer2_.start();
  size_keeper_->MaximiseSoon();
  ReportFailure(failed);
}

// --- Commands -------------------------------------------------------------------------------

// "Neu" (Neu1Click).
void MainWindow::NewList() {
  if (!prompts_->Ask(DiscardQuestion(state_))) return;
  if (const auto error = NewListing(state_)) return ReportFailure(error);
  options_panel_->SetFlags(state_.flags);
  ShowLanguage();
  listing_pane_->GridTools()->ShowTools();
  ShowFirstTabs();
}

void MainWindow::OpenListFile() {
  if (!OpenList(state_, *prompts_)) return;
  listing_pane_->GridTools()->ShowTools();
  ShowFirstTabs();
}

// "Optionen" (Optionen1Click): the panel has the window until it is saved or cancelled.
void MainWindow::OpenOptions() {
  SetBusy(true);
  options_panel_->Open(centralWidget()->size());
}

void MainWindow::SaveOptions() {
  size_keeper_->Record();  // the panel writes the window lines too
  const std::optional<QString> failed = SaveOptionsPanel(state_, options_panel_->Flags());
  listing_pane_->GridTools()->ShowTools();
  CloseOptions();
  ReportFailure(failed);
}

void MainWindow::CloseOptions() {
  // Ticks changed on the panel stay in force even when they are not saved.
  state_.flags = options_panel_->Flags();
  ClosePanel(options_panel_);
}

// "Deutsch" and "English" (Deutsch1Click, English1Click).
void MainWindow::SwitchLanguageTo(UiLanguage language) {
  size_keeper_->Record();  // the switch writes the window lines too
  const std::optional<QString> failed = SwitchLanguage(state_, language);
  ShowLanguage();
  listing_pane_->GridTools()->ShowTools();
  ReportFailure(failed);
}

void MainWindow::OpenSeveralTypes() {
  QString error;
  // The catalog is read anew, so that the tree shows the file as it is now.
  if (!state_.catalog.Load(state_.ProgramFile(u"endungen.ini"_qs), &error)) {
    return prompts_->Error(error);
  }
  SetBusy(true);
  several_types_->Open(state_.catalog.Lines(), state_.language, LayoutSize());
}

void MainWindow::OpenSeveralFolders() {
  SetBusy(true);
  several_folders_->Open(state_.language, folder_pane_->SelectedFolder(), LayoutSize());
}

void MainWindow::ClosePanel(QWidget* panel) {
  panel->hide();
  SetBusy(false);
}

void MainWindow::OpenExportDialog() { windows_->OpenExport(); }

void MainWindow::OpenFromCatalogue(const QString& base, qint64 number) {
  // While a run or a panel has the window, a list cannot be opened, as with "Öffnen".
  if (busy_) return;
  if (state_.doc.ListingModified() && !prompts_->Ask(DiscardQuestion(state_))) return;
  if (!LoadList(state_, *prompts_, base)) return;
  listing_pane_->GridTools()->ShowTools();
  ShowFirstTabs();
  listing_pane_->ShowGridRow(number);
  raise();
  activateWindow();
}

void MainWindow::ShowStartFolder(const QString& path) {
  const QFileInfo given(path);
  if (!given.exists()) return prompts_->Inform(state_.Slots().msgStartFolderMissing + path);
  folder_pane_->ChooseFolder(given.isDir() ? given.absoluteFilePath() : given.absolutePath());
}

void MainWindow::closeEvent(QCloseEvent* event) {
  job_.CancelNow();
  if (!confirm_on_exit_ || !state_.doc.ListingModified()) {
    catalogue_->close();
    compare_->close();
    event->accept();
    return;
  }
  event->ignore();
  windows_->AskBeforeExit();
}

void MainWindow::ExitSave() {
  // The program ends only when the listing is really saved; a cancelled or failed save
  // keeps the window and the listing.
  if (!SaveList(state_, *prompts_)) return;
  ExitDiscard();
}

void MainWindow::ExitDiscard() {
  confirm_on_exit_ = false;
  close();
}

// --- Entering -------------------------------------------------------------------------------

// "Eintragen" of the folder tree (Button1Click).
void MainWindow::EnterFolder() {
  if (job_.Running()) return;
  const QString folder = folder_pane_->SelectedFolder();
  if (folder.isEmpty()) return prompts_->Inform(state_.Slots().msgNoFolder);
  job_.Start({EnteringRequest::ForFolder(folder, folder_pane_->Subfolders(), state_.selection,
                                         EntryOptionsOf(state_.flags))});
}

// "Eintragen" of the folder contents (Button5Click).
void MainWindow::EnterSelectedFiles() {
  if (job_.Running()) return;
  const QString folder = folder_pane_->SelectedFolder();
  if (folder.isEmpty()) return prompts_->Inform(state_.Slots().msgNoFolder);
  job_.Start({EnteringRequest::ForFiles(folder, folder_pane_->TakeSelectedFiles(), state_.selection,
                                        EntryOptionsOf(state_.flags))});
}

// Several folders are entered one after the other, each as it would be chosen in the folder
// tree with or without its subfolders.
void MainWindow::EnterSeveralFolders(const SeveralFoldersPanel::Folders& folders) {
  std::vector<EnteringRequest> requests;
  for (const auto& [path, subfolders] : folders) {
    requests.push_back(EnteringRequest::ForFolder(path, subfolders, state_.selection,
                                                  EntryOptionsOf(state_.flags)));
  }
  job_.Start(std::move(requests));
}

void MainWindow::ShowEnteringStarted(const EnteringRequest& request) {
  if (!state_.listing_folders.contains(request.folder))
    state_.listing_folders.append(request.folder);
  // The tick says how the folder being entered is searched, also for one of several folders.
  if (request.way != EnterWay::Selected) {
    folder_pane_->ShowSubfolders(request.way == EnterWay::Scanner);
  }
  SetBusy(true);
}

void MainWindow::ShowEntered(const EnteringResult& result) {
  state_.selection.current_extension = RunExtensionText(result.selection);
  SetBusy(false);
  if (result.way == EnterWay::Scanner) {
    // The views come back with the next tick of the timer, as after every scan.
    SetViewsEnabled(false);
    timer1_.start();
  }
  if (result.found == 0 && state_.flags.info_no_files) {
    prompts_->Inform(NothingFoundMessage(state_.Slots(), result.way, result.selection));
  }
  if (state_.flags.info_count_time) {
    prompts_->Inform(TimeAndCountMessage(state_.Slots(), result.elapsed_ms, result.found));
  }
}

// --- Showing the state ----------------------------------------------------------------------

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  size_keeper_->Resized();
  LayoutControls();
}

QSize MainWindow::LayoutSize() const {
  return centralWidget()->size() + QSize(kClassicFrameWidth, kClassicFrameHeight);
}

void MainWindow::LayoutControls() {
  const QSize size = LayoutSize();
  const MainWindowGeometry g = LayoutMainWindow(size.width(), size.height());
  Place(listing_pane_, g.views_notebook);
  Place(folder_pane_, g.folder_notebook);
  Place(progress_, g.progress_bar);
  listing_pane_->PlaceControls(g);
  folder_pane_->PlaceControls(g);
  // The pages have their sizes now: the room a caption may take.
  FitCaptions(centralWidget());
}

void MainWindow::ShowLanguage() {
  const UiLanguage language = state_.language;
  UseQtTranslations(language);
  ApplyWindowTexts(this, language);
  totals_->Refresh();
  several_types_->SetLanguage(language);
  several_folders_->SetLanguage(language);
  catalog_->ShowLanguage();
  windows_->ShowLanguage();
  catalogue_->ShowLanguage();
  compare_->ShowLanguage();
  FitCaptions(this);
  folder_pane_->ShowLanguage();
  german_->setChecked(language == UiLanguage::German);
  english_->setChecked(language == UiLanguage::English);
}

void MainWindow::ShowCaptions() {
  setWindowTitle(TitleOf(state_.window_caption));
  options_panel_->SetInfoCaption(state_.info_caption);
}

// While a run or a panel has the window, only it can be used.
void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  SetMainMenuEnabled(!busy);
  SetViewsEnabled(!busy);
}

void MainWindow::SetViewsEnabled(bool enabled) {
  folder_pane_->setEnabled(enabled);
  listing_pane_->setEnabled(enabled);
}

void MainWindow::SetMainMenuEnabled(bool enabled) {
  for (QAction* a : menuBar()->actions()) a->setEnabled(enabled);
}

void MainWindow::ShowFirstTabs() {
  folder_pane_->setCurrentIndex(0);
  listing_pane_->setCurrentIndex(0);
}

void MainWindow::ReportFailure(const std::optional<QString>& error) {
  if (error) prompts_->Error(*error);
}

}  // namespace kavoro

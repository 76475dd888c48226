#include "gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHeaderView>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QWindow>

#include "core/app/HelpLinks.h"
#include "core/app/ListCommands.h"
#include "core/app/MainWindowGeometry.h"
#include "core/output/Export.h"
#include "gui/CaptionFit.h"
#include "gui/CatalogEditor.h"
#include "gui/DesktopShell.h"
#include "gui/DialogPrompts.h"
#include "gui/EnteringProgressBar.h"
#include "gui/ExitQuestion.h"
#include "gui/ExportDialog.h"
#include "gui/FindWindow.h"
#include "gui/FittingTabs.h"
#include "gui/FolderPane.h"
#include "gui/GridToolsBar.h"
#include "gui/InfoWindows.h"
#include "gui/LanguageApplier.h"
#include "gui/ListingModels.h"
#include "gui/MemoSelection.h"
#include "gui/NamedWidget.h"
#include "gui/OptionsPanel.h"
#include "gui/OwnedWindow.h"
#include "gui/QtTranslations.h"
#include "gui/SearchPanels.h"
#include "gui/ShownText.h"
#include "gui/StyleDialog.h"

namespace kavoro {
namespace {

QListView* MakeLineView(QWidget* parent, const char* name, QAbstractItemModel* model) {
  auto* view = Named(new QListView(parent), name);
  view->setModel(model);
  view->setUniformItemSizes(true);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return view;
}

}  // namespace

MainWindow::MainWindow(const QString& program_dir, Prompts* prompts, Shell* shell)
    : state_(program_dir), prompts_(prompts), shell_(shell) {
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
  connect(folder_pane_, &FolderPane::EnterFolderClicked, this, &MainWindow::Button1Click);
  connect(folder_pane_, &FolderPane::EnterFilesClicked, this, &MainWindow::Button5Click);
  connect(folder_pane_, &FolderPane::ExportClicked, this, &MainWindow::OpenExportDialog);
  connect(folder_pane_, &FolderPane::SeveralFoldersClicked, this, &MainWindow::OpenSeveralFolders);
  BuildViews(central);
  progress_ = new EnteringProgressBar(job_, state_, central);
  connect(&job_, &EnteringJob::Started, this, &MainWindow::ShowEnteringStarted);
  connect(&job_, &EnteringJob::Entered, this, &MainWindow::ShowEntered);
  connect(&job_, &EnteringJob::Cancelled, this, [this] { SetBusy(false); });
  options_panel_ = new OptionsPanel(central);
  connect(options_panel_, &OptionsPanel::SaveClicked, this, &MainWindow::OptionsSaveClick);
  connect(options_panel_, &OptionsPanel::CancelClicked, this, &MainWindow::OptionsCancelClick);
  several_types_ = new SeveralTypesPanel(central);
  connect(several_types_, &SeveralTypesPanel::Confirmed, this, [this](const QStringList& exts) {
    ChooseSeveralExtensions(state_, exts);
    ShowCaptions();
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
  catalog_editor_ = std::make_unique<CatalogEditor>();
  connect(catalog_editor_.get(), &CatalogEditor::Proposed, this, &MainWindow::OnCatalogProposal);
  connect(catalog_editor_.get(), &CatalogEditor::Cancelled, this, &MainWindow::CloseCatalogEditor);
  exit_question_ = std::make_unique<ExitQuestion>();
  connect(exit_question_.get(), &ExitQuestion::SaveChosen, this, &MainWindow::ExitSave);
  connect(exit_question_.get(), &ExitQuestion::DiscardChosen, this, &MainWindow::ExitDiscard);
  connect(exit_question_.get(), &ExitQuestion::CancelChosen, this, &MainWindow::ExitCancel);
  export_dialog_ = std::make_unique<ExportDialog>();
  connect(export_dialog_.get(), &ExportDialog::SaveClicked, this, &MainWindow::ExportSaveClick);
  connect(export_dialog_.get(), &ExportDialog::CancelClicked, this, &MainWindow::CloseExportDialog);
  style_dialog_ = std::make_unique<StyleDialog>(state_, *prompts_, *shell_);
  connect(style_dialog_.get(), &StyleDialog::Finished, this, &MainWindow::CloseStyleDialog);
  find_window_ = std::make_unique<FindWindow>(
      this, state_, *prompts_,
      FindWindow::Views{view_tabs_, text_view_, grid_view_, html_view_, folder_pane_});
  connect(find_window_.get(), &FindWindow::SearchStartStored, this,
          [this] { options_panel_->SetFlags(state_.flags); });
  about_box_ = std::make_unique<AboutBox>(*shell_);
  connect(about_box_.get(), &AboutBox::OkClicked, this, [this] { TakeOverFrom(about_box_.get()); });
  version_window_ = std::make_unique<VersionWindow>(*shell_);
  connect(version_window_.get(), &VersionWindow::OkClicked, this,
          [this] { TakeOverFrom(version_window_.get()); });
  BuildTimers();

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

void MainWindow::BuildViews(QWidget* central) {
  view_tabs_ = Named(new FittingTabWidget(central), "TabbedNotebook1");
  auto* text_page = new QWidget;
  auto* grid_page = new QWidget;
  auto* html_page = new QWidget;
  view_tabs_->addTab(text_page, QString());
  view_tabs_->addTab(grid_page, QString());
  view_tabs_->addTab(html_page, QString());

  ListingDocument& doc = state_.doc;
  text_view_ = MakeLineView(text_page, "Memo1",
                            new ListingViewModel(doc, ListingDocument::View::Text, this));
  html_view_ = MakeLineView(html_page, "Memo2",
                            new ListingViewModel(doc, ListingDocument::View::Html, this));
  new MemoSelection(text_view_);
  new MemoSelection(html_view_);
  grid_view_ = Named(new QTableView(grid_page), "StringGrid1");
  grid_view_->setModel(new ListingViewModel(doc, ListingDocument::View::Grid, this));
  grid_view_->horizontalHeader()->hide();
  grid_view_->verticalHeader()->hide();
  grid_view_->verticalHeader()->setDefaultSectionSize(grid_view_->fontMetrics().height() + 6);
  grid_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_view_->setWordWrap(false);
  connect(grid_view_->model(), &QAbstractItemModel::modelReset, this, &MainWindow::ShowGridLayout);
  connect(&doc, &ListingDocument::GridLayoutChanged, this, &MainWindow::ShowGridLayout);
  grid_tools_ = new GridToolsBar(state_, *prompts_, grid_view_, grid_page);

  edit_source_ = Named(new QPushButton(html_page), "Button3");
  refresh_preview_ = Named(new QPushButton(html_page), "Button4");
  connect(edit_source_, &QPushButton::clicked, this, &MainWindow::Button3Click);
  connect(refresh_preview_, &QPushButton::clicked, this, &MainWindow::Button4Click);
}

void MainWindow::BuildTimers() {
  const std::pair<QTimer*, int> timers[] = {
      {&timer1_, 1000}, {&timer2_, 1000}, {&timer3_, 500}, {&timer4_, 10}};
  int n = 1;
  for (auto [timer, interval] : timers) {
    timer->setObjectName(u"Timer"_qs + QString::number(n++));
    timer->setInterval(interval);
  }
  connect(&timer1_, &QTimer::timeout, this, &MainWindow::Timer1Timer);
  connect(&timer2_, &QTimer::timeout, this, &MainWindow::Timer2Timer);
  connect(&timer3_, &QTimer::timeout, this, &MainWindow::Timer3Timer);
  connect(&timer4_, &QTimer::timeout, this, &MainWindow::Timer4Timer);
}

void MainWindow::ApplyOptions() {
  const std::optional<QString> failed = ApplyOptionsAtStart(state_);
  options_read_ = true;
  options_panel_->SetFlags(state_.flags);
  ShowLanguage();
  ShowGridLayout();
  grid_tools_->ShowTools();
  ShowFirstTabs();
  // The stored size fits the screen, whatever optionen.ini says.
  const QRect area = screen()->availableGeometry();
  const Box start = StartWindowBox(state_.window.width, state_.window.height,
                                   {area.x(), area.y(), area.width(), area.height()});
  ResizeOuter(QSize(start.width, start.height));
  move(start.left, start.top);
  timer1_.start();
  timer2_.start();
  timer4_.start();
  ReportFailure(failed);
}

// --- Commands -------------------------------------------------------------------------------

void MainWindow::Neu1Click() {
  if (!prompts_->Ask(DiscardQuestion(state_))) return;
  if (const auto error = NewListing(state_)) return ReportError(*error);
  options_panel_->SetFlags(state_.flags);
  ShowLanguage();
  grid_tools_->ShowTools();
  ShowFirstTabs();
}

void MainWindow::ffnen1Click() {
  if (!OpenList(state_, *prompts_)) return;
  grid_tools_->ShowTools();
  ShowFirstTabs();
}

void MainWindow::Speichern2Click() { SaveList(state_, *prompts_); }

void MainWindow::Speichern1Click() { SaveListAs(state_, *prompts_); }

void MainWindow::Optionen1Click() {
  SetMainMenuEnabled(false);
  folder_pane_->setEnabled(false);
  view_tabs_->setEnabled(false);
  const QWidget* area = centralWidget();
  options_panel_->move(area->width() / 2 - options_panel_->width() / 2,
                       area->height() / 2 - options_panel_->height() / 2 - 50);
  options_panel_->show();
  options_panel_->raise();
}

void MainWindow::Suchen1Click() { find_window_->Open(); }

void MainWindow::OptionsSaveClick() {
  RecordWindowState();  // the panel writes the window lines too
  const std::optional<QString> failed = SaveOptionsPanel(state_, options_panel_->Flags());
  grid_tools_->ShowTools();
  OptionsCancelClick();
  ReportFailure(failed);
}

void MainWindow::OptionsCancelClick() {
  // Ticks changed on the panel stay in force even when they are not saved.
  state_.flags = options_panel_->Flags();
  options_panel_->hide();
  folder_pane_->setEnabled(true);
  view_tabs_->setEnabled(true);
  SetMainMenuEnabled(true);
}

void MainWindow::Deutsch1Click() {
  RecordWindowState();  // the switch writes the window lines too
  const std::optional<QString> failed = SwitchLanguage(state_, UiLanguage::German);
  ShowLanguage();
  grid_tools_->ShowTools();
  ReportFailure(failed);
}

void MainWindow::English1Click() {
  RecordWindowState();  // the switch writes the window lines too
  const std::optional<QString> failed = SwitchLanguage(state_, UiLanguage::English);
  ShowLanguage();
  grid_tools_->ShowTools();
  ReportFailure(failed);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  job_.CancelNow();
  if (!confirm_on_exit_ || !state_.doc.ListingModified()) {
    event->accept();
    return;
  }
  event->ignore();
  ShowOwned(exit_question_.get(), this, CentredOver(exit_question_.get(), this));
}

void MainWindow::ExitSave() {
  // The program ends only when the listing is really saved; a cancelled or failed save
  // keeps the window and the listing.
  if (!SaveList(state_, *prompts_)) return;
  confirm_on_exit_ = false;
  close();
}

void MainWindow::ExitDiscard() {
  confirm_on_exit_ = false;
  close();
}

void MainWindow::ExitCancel() { activateWindow(); }

void MainWindow::OpenExportDialog() { ShowOver(export_dialog_.get()); }

void MainWindow::ExportSaveClick() {
  // After a failure the dialog stays open, so another name can be chosen or the export ended.
  if (RunExport(state_.doc, export_dialog_->Choice(), *prompts_, state_.Slots(),
                state_.export_folders)) {
    CloseExportDialog();
  }
}

void MainWindow::CloseExportDialog() { TakeOverFrom(export_dialog_.get()); }

void MainWindow::Button3Click() {
  state_.style_page = state_.doc.Html().ToStringList();
  QString error;
  // The dialog works without the preview file; a failed write is only reported.
  if (!WritePreview(state_.program_dir, state_.style_page, &error)) ReportError(error);
  style_dialog_->ShowChoices();
  ShowOver(style_dialog_.get());
}

void MainWindow::CloseStyleDialog() { TakeOverFrom(style_dialog_.get()); }

void MainWindow::Hilfe1Click() { shell_->OpenUrl(HelpTarget(state_.program_dir, state_.language)); }

void MainWindow::Info2Click() { ShowOver(about_box_.get()); }

void MainWindow::InfoszudenVersionen1Click() { ShowOver(version_window_.get()); }

void MainWindow::Button4Click() {
  ShowPreview(state_.program_dir, state_.doc.Html().ToStringList(), *shell_, *prompts_);
}

// --- Timers ---------------------------------------------------------------------------------

void MainWindow::Timer1Timer() {
  folder_pane_->setEnabled(true);
  view_tabs_->setEnabled(true);
  timer1_.stop();
  timer4_.start();
}

void MainWindow::Timer2Timer() {
  folder_pane_->setEnabled(true);
  view_tabs_->setEnabled(true);
  timer2_.stop();
}

void MainWindow::Timer3Timer() {
  timer3_.stop();
  // At the first record of the normal window the window manager's frame is known: the stored
  // outer size is set again with it, and that resize records it.
  if (wanted_outer_ && IsNormal()) {
    if (FitOuterSize()) return;
    wanted_outer_.reset();
  }
  RecordWindowState();
  ReportFailure(state_.options.SaveWorking());
}

bool MainWindow::IsNormal() const {
  return (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0;
}

void MainWindow::RecordWindowState() {
  kavoro::RecordWindowState(state_, IsNormal(), frameGeometry().width(), frameGeometry().height());
}

void MainWindow::Timer4Timer() {
  // Maximise once at start; a window the user restored afterwards stays restored.
  if (state_.window.start_maximized) {
    state_.window.start_maximized = false;
    showMaximized();
  }
  timer4_.stop();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // A size given by the user wins over the stored one still waiting for the frame. The stored
  // size as set before the frame was known comes back when the window manager restores the
  // window it maximised at start.
  if (wanted_outer_ && IsNormal() && size() != *wanted_outer_ &&
      size() != *wanted_outer_ - FrameSize()) {
    wanted_outer_.reset();
  }
  if (options_read_) ReportFailure(state_.options.SaveWorking());
  LayoutControls();
  if (options_read_ && !timer3_.isActive()) timer3_.start();
}

// --- Showing the state ----------------------------------------------------------------------

QSize MainWindow::LayoutSize() const {
  return centralWidget()->size() + QSize(kClassicFrameWidth, kClassicFrameHeight);
}

void MainWindow::LayoutControls() {
  const QSize size = LayoutSize();
  const MainWindowGeometry g = LayoutMainWindow(size.width(), size.height());
  Place(view_tabs_, g.views_notebook);
  Place(folder_pane_, g.folder_notebook);
  Place(progress_, g.progress_bar);
  Place(text_view_, g.text_view);
  Place(grid_view_, g.grid_view);
  Place(html_view_, g.html_view);
  grid_tools_->PlaceGroups(g);
  Place(edit_source_, g.edit_source);
  Place(refresh_preview_, g.refresh_preview);
  folder_pane_->PlaceControls(g);
  // The pages have their sizes now: the room a caption may take.
  FitCaptions(centralWidget());
}

void MainWindow::ShowLanguage() {
  UseQtTranslations(state_.language);
  ApplyWindowTexts(this, state_.language);
  ApplyWindowTexts(exit_question_.get(), state_.language);
  ApplyWindowTexts(catalog_editor_.get(), state_.language);
  several_types_->SetLanguage(state_.language);
  several_folders_->SetLanguage(state_.language);
  BuildCatalogMenus();
  ShowCaptions();
  ApplyWindowTexts(export_dialog_.get(), state_.language);
  ApplyWindowTexts(style_dialog_.get(), state_.language);
  ApplyWindowTexts(find_window_.get(), state_.language);
  ApplyWindowTexts(about_box_.get(), state_.language);
  about_box_->PlaceAddressLabels();
  ApplyWindowTexts(version_window_.get(), state_.language);
  const std::initializer_list<QWidget*> windows = {this,
                                                   exit_question_.get(),
                                                   catalog_editor_.get(),
                                                   export_dialog_.get(),
                                                   style_dialog_.get(),
                                                   find_window_.get(),
                                                   about_box_.get(),
                                                   version_window_.get()};
  for (QWidget* window : windows) {
    FitCaptions(window);
  }
  folder_pane_->ShowLanguage();
  german_->setChecked(state_.language == UiLanguage::German);
  english_->setChecked(state_.language == UiLanguage::English);
}

void MainWindow::ShowCaptions() {
  setWindowTitle(TitleOf(state_.window_caption));
  options_panel_->SetInfoCaption(state_.info_caption);
}

// While a run or a panel has the window, only it can be used.
void MainWindow::SetBusy(bool busy) {
  SetMainMenuEnabled(!busy);
  folder_pane_->setEnabled(!busy);
  view_tabs_->setEnabled(!busy);
}

// Panels are centred across the window; `top` is their own top offset.
void MainWindow::PlacePanel(QWidget* panel, int top) {
  panel->move(LayoutSize().width() / 2 - panel->width() / 2, top);
  panel->show();
  panel->raise();
}

void MainWindow::ClosePanel(QWidget* panel) {
  panel->hide();
  SetBusy(false);
}

void MainWindow::OpenSeveralTypes() {
  QString error;
  // The catalog is read anew, so that the tree shows the file as it is now.
  if (!state_.catalog.Load(state_.ProgramFile(u"endungen.ini"_qs), &error)) {
    return ReportError(error);
  }
  SetBusy(true);
  several_types_->Open(state_.catalog.Lines(), state_.language);
  const int h = LayoutSize().height();
  PlacePanel(several_types_, h / 2 - several_types_->height() / 2 - 50);
}

void MainWindow::OpenSeveralFolders() {
  SetBusy(true);
  several_folders_->Open(state_.language, folder_pane_->SelectedFolder());
  PlacePanel(several_folders_, LayoutSize().height() / 2 - several_folders_->height() + 120);
}

void MainWindow::OpenCatalogEditor(bool extensions) {
  if (extensions) {
    catalog_editor_->OpenForExtensions(state_.catalog.Lines());
  } else {
    catalog_editor_->OpenForCategories(state_.catalog.Lines());
  }
  ShowOwned(catalog_editor_.get(), this, CentredOver(catalog_editor_.get(), this));
}

void MainWindow::OnCatalogProposal(const CatalogResult& result) {
  if (!result.edit) {
    const MessageSlots& m = state_.Slots();
    if (result.refusal == CatalogRefusal::CategoryIsExtension) {
      prompts_->Inform(m.msgCategoryIsExtension);
    } else if (result.refusal == CatalogRefusal::WouldBeUnusable) {
      prompts_->Inform(m.msgCatalogUnusable);
    }
    return;  // the editor stays open
  }
  const std::optional<QString> failed =
      CommitCatalogChange(state_, result.edit->lines, result.edit->deleted_extensions);
  BuildCatalogMenus();
  ShowCaptions();
  CloseCatalogEditor();
  ReportFailure(failed);
}

void MainWindow::CloseCatalogEditor() {
  catalog_editor_->hide();
  activateWindow();
}

void MainWindow::ShowGridLayout() {
  for (int c = 0; c < state_.doc.ColumnCount(); ++c) {
    grid_view_->setColumnWidth(c, state_.doc.ColumnWidth(c));
  }
}

void MainWindow::ShowFirstTabs() {
  folder_pane_->setCurrentIndex(0);
  view_tabs_->setCurrentIndex(0);
}

void MainWindow::SetMainMenuEnabled(bool enabled) {
  for (QAction* a : {file_menu_->menuAction(), options_action_, types_menu_->menuAction(),
                     search_action_, language_menu_->menuAction(), help_menu_->menuAction()}) {
    a->setEnabled(enabled);
  }
}

QSize MainWindow::FrameSize() const {
  const QMargins m = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  return QSize(m.left() + m.right(), m.top() + m.bottom());
}

// Stored sizes are outer sizes, frame included. The window manager's frame is known only once
// it has framed the shown window, so Timer3Timer sets the size again then.
void MainWindow::ResizeOuter(QSize outer) {
  winId();  // some platforms know the frame once the platform window exists
  wanted_outer_ = outer;
  FitOuterSize();
}

// Gives the window the wanted outer size with the frame as known now; false when it has it.
bool MainWindow::FitOuterSize() {
  const QSize frame = FrameSize();
  setMinimumSize(QSize(kMinWindowWidth, kMinWindowHeight) - frame);
  const QSize inner = *wanted_outer_ - frame;
  if (size() == inner) return false;
  resize(inner);
  return true;
}

void MainWindow::ReportError(const QString& error) { prompts_->Error(error); }

void MainWindow::ReportFailure(const std::optional<QString>& error) {
  if (error) ReportError(*error);
}

void MainWindow::ShowOver(QWidget* dialog) {
  setEnabled(false);
  ShowOwned(dialog, this, CentredOver(dialog, this));
}

void MainWindow::TakeOverFrom(QWidget* dialog) {
  setEnabled(true);
  dialog->hide();
  activateWindow();
}

}  // namespace kavoro

#include <QCheckBox>
#include <QFileSystemModel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <set>
#include <string>

#include "core/ports/Prompts.h"
#include "gui/EnteringRun.h"
#include "gui/FolderContentsModel.h"

namespace kavoro {

QString MainWindow::SelectedFolder() const {
  const QModelIndex index = folder_tree_->currentIndex();
  return index.isValid() ? folder_model_->filePath(index) : QString();
}

void MainWindow::Button1Click() {
  if (run_) return;
  const QString folder = SelectedFolder();
  if (folder.isEmpty()) {
    prompts_->Inform(state_.Slots().msgNoFolder);
    return;
  }
  auto run = std::make_unique<Run>();
  run->recurse = subfolders_->isChecked();
  run->way = run->recurse ? EnterWay::Scanner : EnterWay::Folder;
  run->folder = folder;
  StartRun(std::move(run));
}

void MainWindow::Button5Click() {
  if (run_) return;
  const QString folder = SelectedFolder();
  if (folder.isEmpty()) {
    prompts_->Inform(state_.Slots().msgNoFolder);
    return;
  }
  // The names' bytes, which tell apart also names that are shown alike.
  std::set<std::string, std::less<>> chosen;
  for (const QModelIndex& index : contents_view_->selectionModel()->selectedRows()) {
    chosen.emplace(contents_model_->Files().Name(std::size_t(index.row())));
  }
  contents_view_->clearSelection();
  auto run = std::make_unique<Run>();
  run->way = EnterWay::Selected;
  run->folder = folder;
  // The folder's own listing gives the view's order and the files' details as they are now.
  const FoundFiles files = Scanner::ListFolder(folder, state_.flags.details);
  for (std::size_t i = 0; i < files.Count(); ++i) {
    if (chosen.contains(files.Name(i))) run->selected.AddFrom(files, i);
  }
  StartRun(std::move(run));
}

void MainWindow::StartRun(std::unique_ptr<Run> run) {
  run->clock.start();
  run->selection = state_.selection;
  run->options = EntryOptionsOf(state_.flags);
  run->was_modified = state_.doc.ListingModified();
  run->had_first_entry = state_.doc.FirstEntry();
  if (run->options.details && run->way != EnterWay::Selected) state_.doc.RaiseFirstEntry();
  state_.doc.SetListingModified(true);
  SetBusy(true);
  progress_->setValue(0);
  ShowProgressText(state_.Slots().progressEscape);
  cancel_ = false;
  escape_->setEnabled(true);
  folders_visited_ = 0;

  Run* r = run.get();
  r->last_number = state_.doc.EntryCounter();
  r->texts = std::make_unique<EntryTexts>();
  r->worker.reset(QThread::create([this, r] {
    if (r->way == EnterWay::Selected) {
      r->entries = CollectFolderEntries(r->selected, r->selection);
      r->completed = true;
    } else {
      r->completed =
          CollectEntries(r->folder, r->recurse, r->selection, r->options, r->entries, &cancel_,
                         [this](std::uint64_t folders) { folders_visited_ = folders; });
    }
    if (!r->completed) return;
    // The entries' lines are made here too; the UI thread only takes them over.
    r->staged = std::make_unique<ListingData>();
    r->staged->PrepareStaging(r->last_number);
    AppendEntries(*r->staged, r->entries, r->options, *r->texts);
  }));
  connect(r->worker.get(), &QThread::finished, this, &MainWindow::FinishRun);
  run_ = std::move(run);
  progress_timer_.start();
  r->worker->start();
}

void MainWindow::FinishRun() {
  // Closing the window finishes a run at once; the worker's own signal then finds none.
  if (!run_) return;
  std::unique_ptr<Run> run = std::move(run_);
  escape_->setEnabled(false);
  progress_timer_.stop();
  run->worker->wait();
  if (!run->completed) {
    // Cancelled: the listing stays exactly as it was.
    state_.doc.SetListingModified(run->was_modified);
    state_.doc.SetFirstEntry(run->had_first_entry);
    progress_->setValue(0);
    ShowProgressText(state_.Slots().progressStopped);
    // The folders still queued are dropped; the run of several folders then ends as a finished
    // one does, with the folder tree's root put back.
    queued_folders_.clear();
    SetBusy(false);
    EnterNextQueuedFolder();
    return;
  }
  ShowProgressText(QString());
  state_.doc.AbsorbEntries(*run->staged);
  state_.selection.current_extension = RunExtensionText(run->selection);
  progress_->setValue(100);
  QTimer::singleShot(200, progress_, [this] { progress_->setValue(0); });
  SetBusy(false);
  if (run->way == EnterWay::Scanner) {
    // The views come back with the next tick of the timer, as after every scan.
    folder_tabs_->setEnabled(false);
    view_tabs_->setEnabled(false);
    timer1_.start();
  }
  if (run->entries.Empty() && state_.flags.info_no_files) {
    prompts_->Inform(NothingFoundMessage(state_.Slots(), run->way, run->selection));
  }
  if (state_.flags.info_count_time) {
    prompts_->Inform(
        TimeAndCountMessage(state_.Slots(), run->clock.elapsed(), qsizetype(run->entries.Count())));
  }
  EnterNextQueuedFolder();
}

void MainWindow::EnterSeveralFolders(const std::vector<std::pair<QString, bool>>& folders) {
  queued_folders_ = folders;
  entering_several_ = true;
  EnterNextQueuedFolder();
}

// Several folders are entered one after the other, each as if chosen in the folder tree.
void MainWindow::EnterNextQueuedFolder() {
  while (!queued_folders_.empty() && !run_) {
    const auto [path, recurse] = queued_folders_.front();
    queued_folders_.erase(queued_folders_.begin());
    const QModelIndex index = folder_model_->index(path);
    folder_tree_->setRootIndex(index);
    folder_tree_->setCurrentIndex(index);
    subfolders_->setChecked(recurse);
    Button1Click();
  }
  if (entering_several_ && !run_) {
    entering_several_ = false;
    folder_tree_->setRootIndex(folder_model_->index(u"/"_qs));
  }
}

void MainWindow::ShowProgressText(const QString& text) {
  // The bar itself has no room for a percentage; it says what the user can do, or did.
  progress_->setFormat(text);
  progress_->setTextVisible(!text.isEmpty());
}

void MainWindow::ShowScanProgress() {
  // A step of ten every 20 folders, starting again from 0 past the end.
  progress_->setValue(int((folders_visited_.load() / 20) % 11) * 10);
}

}  // namespace kavoro

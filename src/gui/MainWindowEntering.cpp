#include <QCheckBox>
#include <QFileSystemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <set>
#include <string>

#include "core/ports/Prompts.h"
#include "gui/EnteringJob.h"
#include "gui/FolderContentsModel.h"
#include "gui/MainWindow.h"

namespace kavoro {

QString MainWindow::SelectedFolder() const {
  const QModelIndex index = folder_tree_->currentIndex();
  return index.isValid() ? folder_model_->filePath(index) : QString();
}

void MainWindow::Button1Click() {
  if (job_.Running()) return;
  const QString folder = SelectedFolder();
  if (folder.isEmpty()) {
    prompts_->Inform(state_.Slots().msgNoFolder);
    return;
  }
  job_.Start({EnteringRequest::ForFolder(folder, subfolders_->isChecked(), state_.selection,
                                         EntryOptionsOf(state_.flags))});
}

void MainWindow::Button5Click() {
  if (job_.Running()) return;
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
  job_.Start(
      {EnteringRequest::ForFiles(folder, chosen, state_.selection, EntryOptionsOf(state_.flags))});
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
  // The tick says how the folder being entered is searched, also for one of several folders.
  if (request.way != EnterWay::Selected) subfolders_->setChecked(request.way == EnterWay::Scanner);
  SetBusy(true);
}

void MainWindow::ShowEntered(const EnteringResult& result) {
  state_.selection.current_extension = RunExtensionText(result.selection);
  SetBusy(false);
  if (result.way == EnterWay::Scanner) {
    // The views come back with the next tick of the timer, as after every scan.
    folder_tabs_->setEnabled(false);
    view_tabs_->setEnabled(false);
    timer1_.start();
  }
  if (result.found == 0 && state_.flags.info_no_files) {
    prompts_->Inform(NothingFoundMessage(state_.Slots(), result.way, result.selection));
  }
  if (state_.flags.info_count_time) {
    prompts_->Inform(TimeAndCountMessage(state_.Slots(), result.elapsed_ms, result.found));
  }
}

}  // namespace kavoro

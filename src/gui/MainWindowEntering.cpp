#include <QTabWidget>

#include "core/ports/Prompts.h"
#include "gui/EnteringJob.h"
#include "gui/FolderPane.h"
#include "gui/MainWindow.h"

namespace kavoro {

void MainWindow::Button1Click() {
  if (job_.Running()) return;
  const QString folder = folder_pane_->SelectedFolder();
  if (folder.isEmpty()) {
    prompts_->Inform(state_.Slots().msgNoFolder);
    return;
  }
  job_.Start({EnteringRequest::ForFolder(folder, folder_pane_->Subfolders(), state_.selection,
                                         EntryOptionsOf(state_.flags))});
}

void MainWindow::Button5Click() {
  if (job_.Running()) return;
  const QString folder = folder_pane_->SelectedFolder();
  if (folder.isEmpty()) {
    prompts_->Inform(state_.Slots().msgNoFolder);
    return;
  }
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
  // The tick says how the folder being entered is searched, also for one of several folders.
  if (request.way != EnterWay::Selected)
    folder_pane_->ShowSubfolders(request.way == EnterWay::Scanner);
  SetBusy(true);
}

void MainWindow::ShowEntered(const EnteringResult& result) {
  state_.selection.current_extension = RunExtensionText(result.selection);
  SetBusy(false);
  if (result.way == EnterWay::Scanner) {
    // The views come back with the next tick of the timer, as after every scan.
    folder_pane_->setEnabled(false);
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

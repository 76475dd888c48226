#include "gui/SecondaryWindows.h"

#include <QMainWindow>

#include "core/app/AppState.h"
#include "core/app/ListCommands.h"
#include "core/output/DataExport.h"
#include "core/output/Export.h"
#include "core/ports/Prompts.h"
#include "gui/CaptionFit.h"
#include "gui/ExitQuestion.h"
#include "gui/ExportDialog.h"
#include "gui/InfoWindows.h"
#include "gui/LanguageApplier.h"
#include "gui/OwnedWindow.h"
#include "gui/StyleDialog.h"

namespace kavoro {

SecondaryWindows::SecondaryWindows(QMainWindow* main, AppState& state, Prompts& prompts,
                                   Shell& shell, const FindWindow::Views& views)
    : QObject(main),
      main_(main),
      state_(state),
      prompts_(prompts),
      exit_question_(std::make_unique<ExitQuestion>()),
      export_dialog_(std::make_unique<ExportDialog>()),
      style_dialog_(std::make_unique<StyleDialog>(state, prompts, shell)),
      find_window_(std::make_unique<FindWindow>(main, state, prompts, views)),
      about_box_(std::make_unique<AboutBox>(shell)),
      version_window_(std::make_unique<VersionWindow>(shell)) {
  connect(exit_question_.get(), &ExitQuestion::CancelChosen, main,
          [main] { main->activateWindow(); });
  connect(export_dialog_.get(), &ExportDialog::SaveClicked, this, [this] {
    // After a failure the dialog stays open, so another name can be chosen or the export ended.
    const JsonListing listing{state_.language, EntryOptionsOf(state_.flags)};
    if (RunExport(state_.doc, export_dialog_->Choice(), listing, prompts_, state_.Slots(),
                  state_.export_folders, state_.ViewBrowsing())) {
      TakeOverFrom(export_dialog_.get());
    }
  });
  connect(export_dialog_.get(), &ExportDialog::CancelClicked, this,
          [this] { TakeOverFrom(export_dialog_.get()); });
  connect(style_dialog_.get(), &StyleDialog::Finished, this,
          [this] { TakeOverFrom(style_dialog_.get()); });
  connect(about_box_.get(), &AboutBox::OkClicked, this, [this] { TakeOverFrom(about_box_.get()); });
  connect(version_window_.get(), &VersionWindow::OkClicked, this,
          [this] { TakeOverFrom(version_window_.get()); });
}

SecondaryWindows::~SecondaryWindows() = default;

void SecondaryWindows::AskBeforeExit() {
  ShowOwned(exit_question_.get(), main_, CentredOver(exit_question_.get(), main_));
}

void SecondaryWindows::OpenExport() { ShowOver(export_dialog_.get()); }

void SecondaryWindows::EditHtmlStyle() {
  state_.style_page = state_.doc.Html().ToStringList();
  QString error;
  // The dialog works without the preview file; a failed write is only reported.
  if (!WritePreview(state_.program_dir, state_.style_page, &error, state_.DialogBrowsing())) {
    prompts_.Error(error);
  }
  style_dialog_->ShowChoices();
  ShowOver(style_dialog_.get());
}

void SecondaryWindows::ShowAbout() { ShowOver(about_box_.get()); }

void SecondaryWindows::ShowVersions() { ShowOver(version_window_.get()); }

void SecondaryWindows::ShowLanguage() {
  const std::initializer_list<QWidget*> windows = {exit_question_.get(), export_dialog_.get(),
                                                   style_dialog_.get(),  find_window_.get(),
                                                   about_box_.get(),     version_window_.get()};
  for (QWidget* window : windows) ApplyWindowTexts(window, state_.language);
  about_box_->PlaceAddressLabels();
  for (QWidget* window : windows) FitCaptions(window);
}

void SecondaryWindows::ShowOver(QWidget* window) {
  main_->setEnabled(false);
  ShowOwned(window, main_, CentredOver(window, main_));
}

void SecondaryWindows::TakeOverFrom(QWidget* window) {
  main_->setEnabled(true);
  window->hide();
  main_->activateWindow();
}

}  // namespace kavoro

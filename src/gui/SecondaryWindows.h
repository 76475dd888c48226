#pragma once

#include <QObject>
#include <memory>

#include "gui/FindWindow.h"

class QMainWindow;

namespace kavoro {

class AboutBox;
class AppState;
class ExitQuestion;
class ExportDialog;
class Prompts;
class Shell;
class StyleDialog;
class VersionWindow;

// The windows the main window opens over itself: the exit question, the export and style
// dialogs, the find window, the about box and the version history. They are windows of their
// own, so that disabling the main window leaves them usable; the export and style dialogs and
// the two info windows disable it while they are open.
class SecondaryWindows : public QObject {
 public:
  SecondaryWindows(QMainWindow* main, AppState& state, Prompts& prompts, Shell& shell,
                   const FindWindow::Views& views);
  ~SecondaryWindows() override;

  ExitQuestion* Exit() const { return exit_question_.get(); }
  ExportDialog* Export() const { return export_dialog_.get(); }
  StyleDialog* Style() const { return style_dialog_.get(); }
  FindWindow* Find() const { return find_window_.get(); }

  void AskBeforeExit();
  void OpenExport();
  // "Quelltext bearbeiten": the style dialog over the HTML view as it is now.
  void EditHtmlStyle();
  void ShowAbout();
  void ShowVersions();
  // Every window's texts in the language now chosen, fitted to its controls.
  void ShowLanguage();

 private:
  // Disables the main window and shows a window of its own centred over it.
  void ShowOver(QWidget* window);
  void TakeOverFrom(QWidget* window);

  QMainWindow* main_;
  AppState& state_;
  Prompts& prompts_;
  std::unique_ptr<ExitQuestion> exit_question_;
  std::unique_ptr<ExportDialog> export_dialog_;
  std::unique_ptr<StyleDialog> style_dialog_;
  std::unique_ptr<FindWindow> find_window_;
  std::unique_ptr<AboutBox> about_box_;
  std::unique_ptr<VersionWindow> version_window_;
};

}  // namespace kavoro

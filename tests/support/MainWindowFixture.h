#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <memory>

#include "gui/MainWindow.h"
#include "support/FindNamed.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro::test {

// The main window over a temporary program folder, with scripted answers to every prompt and a
// shell that records what would be opened. Open() starts it as the program does.
class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindow& Open() {
    window_ = std::make_unique<MainWindow>(dir_.Path(), &prompts_, &shell_);
    EXPECT_TRUE(window_->StartupOk());
    window_->ApplyOptions();
    window_->show();
    return *window_;
  }
  // A control, action or menu of the main window by its objectName; a missing one fails.
  template <typename T = QObject>
  T* Find(const char* name) {
    return FindNamed<T>(window_.get(), name);
  }
  QAction* Action(const char* name) { return Find<QAction>(name); }
  // The shown top-level window of that objectName, or nullptr.
  static QWidget* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QLatin1String(name) && w->isVisible()) return w;
    }
    return nullptr;
  }
  QList<QByteArray> OptionLines() const { return dir_.Options().split('\n'); }

  ProgramDir dir_;
  ScriptedPrompts prompts_;
  RecordingShell shell_;
  std::unique_ptr<MainWindow> window_;  // last, so that it goes first
};

}  // namespace kavoro::test

#pragma once

#include <QProgressBar>

namespace kavoro {

class AppState;
class EnteringJob;

// The bar under the window while files are entered: it moves on with the folders searched and
// says that Escape stops the search, then that it was stopped. While the media columns of the
// files found are read, it counts the files read. Escape stops a search only
// while one runs, so that the other windows get their Escape.
class EnteringProgressBar : public QProgressBar {
 public:
  EnteringProgressBar(EnteringJob& job, const AppState& state, QWidget* parent);

 private:
  // The bar has no room for a percentage; it says what the user can do, or did.
  void ShowText(const QString& text);
};

}  // namespace kavoro

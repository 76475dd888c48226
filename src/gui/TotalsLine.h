#pragma once

#include <QLabel>
#include <QTimer>

namespace kavoro {

class AppState;

// The line under the progress bar: how many entries the listing has and, with details, how
// much space they take. It follows every change of the listing (a run, a sort, "Öffnen",
// "Neu") and the language.
class TotalsLine : public QLabel {
 public:
  TotalsLine(const AppState& state, QWidget* parent);
  void Refresh();

 private:
  const AppState& state_;
  QTimer soon_;  // many changes in a row count once
};

}  // namespace kavoro

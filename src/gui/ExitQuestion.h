#pragma once

#include <QDialog>

namespace kavoro {

// The question whether to save before the program ends: "Ja", "Nein", "Abbrechen".
// Closed any other way, it counts as "Abbrechen".
class ExitQuestion : public QDialog {
  Q_OBJECT

 public:
  ExitQuestion();

 signals:
  void SaveChosen();
  void DiscardChosen();
  void CancelChosen();
};

}  // namespace kavoro

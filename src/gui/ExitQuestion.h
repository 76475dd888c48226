#pragma once

#include <QDialog>

namespace kavoro {

// The question whether to save before the program ends: "Ja", "Nein", "Abbrechen".
// Only its buttons end it; Escape counts as "Abbrechen".
class ExitQuestion : public QDialog {
  Q_OBJECT

 public:
  explicit ExitQuestion(QWidget* parent);
  void reject() override;

 signals:
  void SaveChosen();
  void DiscardChosen();
  void CancelChosen();
};

}  // namespace kavoro

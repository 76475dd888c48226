#pragma once

#include <QWidget>

#include "core/output/Export.h"

class QCheckBox;

namespace kavoro {

// TForm2: which formats "Speichern" writes. The ticks stay from one use to the next.
class ExportDialog : public QWidget {
  Q_OBJECT

 public:
  ExportDialog();
  ExportChoice Choice() const;

 signals:
  void SaveClicked();
  void CancelClicked();

 private:
  QCheckBox* text_ = nullptr;
  QCheckBox* spreadsheet_ = nullptr;
  QCheckBox* html_ = nullptr;
  QCheckBox* totals_ = nullptr;  // "Summe anhängen", for every format ticked
};

}  // namespace kavoro

#pragma once

#include <QWidget>

#include "core/output/Export.h"
#include "core/output/PageLinks.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kavoro {

// TForm2: which formats "Speichern" writes. The ticks stay from one use to the next.
class ExportDialog : public QWidget {
  Q_OBJECT

 public:
  ExportDialog();
  ExportChoice Choice() const;
  // The link form chosen; nothing when the base address typed is not one.
  std::optional<LinkForm> Links() const;

 signals:
  void SaveClicked();
  void CancelClicked();

 private:
  QCheckBox* text_ = nullptr;
  QCheckBox* spreadsheet_ = nullptr;
  QCheckBox* html_ = nullptr;
  QCheckBox* totals_ = nullptr;  // "Summe anhängen", for every format ticked
  QComboBox* links_ = nullptr;   // in the order of LinkForm::Kind
  QLineEdit* link_base_ = nullptr;
};

}  // namespace kavoro

#include "gui/ExportDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"

namespace kavoro {

ExportDialog::ExportDialog() : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(u"TForm2"_qs);
  setFixedSize(232, 200);
  auto* group = AddNamed<QGroupBox>(this, "GroupBox1", 4, 0, 224, 196);
  AddNamed<QLabel>(group, "Label1", 16, 16, 190, 18);
  text_ = AddNamed<QCheckBox>(group, "CheckBox1", 24, 42, 180, 20);
  spreadsheet_ = AddNamed<QCheckBox>(group, "CheckBox2", 24, 66, 180, 20);
  html_ = AddNamed<QCheckBox>(group, "CheckBox3", 24, 90, 180, 20);
  totals_ = AddNamed<QCheckBox>(group, "CheckBoxTotals", 24, 120, 180, 20);
  connect(AddNamed<QPushButton>(group, "Button1", 16, 152, 90, 27), &QPushButton::clicked, this,
          &ExportDialog::SaveClicked);
  connect(AddNamed<QPushButton>(group, "Button2", 118, 152, 90, 27), &QPushButton::clicked, this,
          &ExportDialog::CancelClicked);
  LeaveThrough(this, [this] { emit CancelClicked(); });
}

ExportChoice ExportDialog::Choice() const {
  return {text_->isChecked(), spreadsheet_->isChecked(), html_->isChecked(), totals_->isChecked()};
}

}  // namespace kavoro

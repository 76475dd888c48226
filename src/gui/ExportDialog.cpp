#include "gui/ExportDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"

namespace kavoro {

ExportDialog::ExportDialog() : QWidget(nullptr, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(u"TForm2"_qs);
  setFixedSize(232, 252);
  auto* group = AddNamed<QGroupBox>(this, "GroupBox1", 4, 0, 224, 248);
  AddNamed<QLabel>(group, "Label1", 16, 16, 190, 18);
  text_ = AddNamed<QCheckBox>(group, "CheckBox1", 24, 42, 180, 20);
  spreadsheet_ = AddNamed<QCheckBox>(group, "CheckBox2", 24, 66, 180, 20);
  html_ = AddNamed<QCheckBox>(group, "CheckBox3", 24, 90, 180, 20);
  totals_ = AddNamed<QCheckBox>(group, "CheckBoxTotals", 24, 120, 180, 20);
  // Where the links of a page with links point.
  AddNamed<QLabel>(group, "LabelLinks", 16, 146, 190, 18);
  links_ = AddNamed<QComboBox>(group, "ComboBoxLinks", 24, 164, 184, 22);
  links_->addItems({QString(), QString(), QString()});
  link_base_ = AddNamed<QLineEdit>(group, "EditLinkBase", 24, 190, 184, 22);
  link_base_->setPlaceholderText(u"https://example.org/musik/"_qs);
  link_base_->setEnabled(false);
  connect(links_, &QComboBox::currentIndexChanged, this,
          [this](int index) { link_base_->setEnabled(index == int(LinkForm::Kind::Base)); });
  connect(AddNamed<QPushButton>(group, "Button1", 16, 216, 90, 27), &QPushButton::clicked, this,
          &ExportDialog::SaveClicked);
  connect(AddNamed<QPushButton>(group, "Button2", 118, 216, 90, 27), &QPushButton::clicked, this,
          &ExportDialog::CancelClicked);
  LeaveThrough(this, [this] { emit CancelClicked(); });
}

ExportChoice ExportDialog::Choice() const {
  return {text_->isChecked(), spreadsheet_->isChecked(), html_->isChecked(), totals_->isChecked(),
          Links()};
}

std::optional<LinkForm> ExportDialog::Links() const {
  const auto kind = LinkForm::Kind(links_->currentIndex());
  if (kind != LinkForm::Kind::Base) return LinkForm{kind, {}};
  const auto form = ReadLinkForm(link_base_->text().trimmed());
  if (!form || form->kind != LinkForm::Kind::Base) return std::nullopt;
  return form;
}

}  // namespace kavoro

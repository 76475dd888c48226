#include "gui/OptionsPanel.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "gui/NamedWidget.h"
#include "gui/ShownText.h"

namespace kavoro {

OptionsPanel::OptionsPanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName(u"GroupBox1"_qs);
  setAutoFillBackground(true);
  resize(420, 364);
  AddNamed<QLabel>(this, "Label1", 12, 24, 380, 18);
  info_no_files_ =
      AddNamed<QCheckBox>(this, "InfozeigefalskeineMp3DateinenimOrdnersind1", 24, 44, 380, 20);
  info_count_time_ =
      AddNamed<QCheckBox>(this, "InfozeigenwievieleDateiengefundenwurden1", 24, 66, 390, 20);
  AddNamed<QLabel>(this, "Label2", 12, 94, 380, 18);
  hide_extensions_ = AddNamed<QCheckBox>(this, "Dateiendungenmitanzeigen1", 24, 114, 380, 20);
  whole_path_ = AddNamed<QCheckBox>(this, "GanzenDateifahrtanzeigen1", 24, 136, 380, 20);
  link_files_ = AddNamed<QCheckBox>(this, "LinkzudenDateienbeiHTML1", 40, 158, 220, 20);
  link_note_ = AddNamed<QLabel>(this, "Label3", 264, 158, 140, 20);
  details_ = AddNamed<QCheckBox>(this, "versuch1", 24, 180, 380, 20);
  media_ = AddNamed<QCheckBox>(this, "CheckBoxMedien", 24, 204, 18, 20);
  media_caption_ = AddNamed<QLabel>(this, "LabelMedien", 44, 203, 366, 36);
  media_caption_->setWordWrap(true);
  media_caption_->installEventFilter(this);
  AddNamed<QLabel>(this, "Label4", 12, 242, 380, 18);
  ask_search_start_ = AddNamed<QCheckBox>(this, "CheckBox2", 24, 262, 380, 20);
  auto* save = AddNamed<QPushButton>(this, "Button7", 40, 318, 160, 28);
  auto* cancel = AddNamed<QPushButton>(this, "Button12", 220, 318, 160, 28);
  connect(whole_path_, &QCheckBox::toggled, this, &OptionsPanel::UpdateLinkEnabled);
  connect(save, &QPushButton::clicked, this, &OptionsPanel::SaveClicked);
  connect(cancel, &QPushButton::clicked, this, &OptionsPanel::CancelClicked);
  hide();
}

void OptionsPanel::Open(QSize area) {
  move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2 - 50);
  show();
  raise();
}

OptionFlags OptionsPanel::Flags() const {
  OptionFlags f;
  f.info_no_files = info_no_files_->isChecked();
  f.info_count_time = info_count_time_->isChecked();
  f.hide_extensions = hide_extensions_->isChecked();
  f.whole_path = whole_path_->isChecked();
  f.link_files = link_files_->isChecked();
  f.details = details_->isChecked();
  f.media = media_->isChecked();
  f.ask_search_start = ask_search_start_->isChecked();
  return f;
}

void OptionsPanel::SetFlags(const OptionFlags& f) {
  info_no_files_->setChecked(f.info_no_files);
  info_count_time_->setChecked(f.info_count_time);
  hide_extensions_->setChecked(f.hide_extensions);
  whole_path_->setChecked(f.whole_path);
  link_files_->setChecked(f.link_files);
  details_->setChecked(f.details);
  media_->setChecked(f.media);
  ask_search_start_->setChecked(f.ask_search_start);
  UpdateLinkEnabled();
}

bool OptionsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == media_caption_ && event->type() == QEvent::MouseButtonRelease) {
    media_->toggle();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

void OptionsPanel::SetInfoCaption(const QString& caption) {
  info_no_files_->setText(CaptionOf(caption));
}

// The link option only means something with whole paths; it keeps its tick while disabled.
void OptionsPanel::UpdateLinkEnabled() {
  link_files_->setEnabled(whole_path_->isChecked());
  link_note_->setEnabled(whole_path_->isChecked());
}

}  // namespace kavoro

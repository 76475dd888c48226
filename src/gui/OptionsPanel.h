#pragma once

#include <QGroupBox>

#include "core/app/AppState.h"

class QCheckBox;
class QLabel;

namespace kavoro {

// The in-window "Optionen" panel: the option ticks, "Einstellungen speichern", "Abbrechen".
class OptionsPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit OptionsPanel(QWidget* parent);

  // Shows the panel centred across `area`, a little above the middle.
  void Open(QSize area);
  OptionFlags Flags() const;
  void SetFlags(const OptionFlags& flags);
  // The caption of the tick for the message when nothing is found; it names what is searched.
  void SetInfoCaption(const QString& caption);

 signals:
  void SaveClicked();
  void CancelClicked();

 private:
  void UpdateLinkEnabled();
  // The media caption is a label beside its box (it takes two lines); a click on it ticks.
  bool eventFilter(QObject* watched, QEvent* event) override;

  QCheckBox* info_no_files_;
  QCheckBox* info_count_time_;
  QCheckBox* hide_extensions_;
  QCheckBox* whole_path_;
  QCheckBox* link_files_;
  QLabel* link_note_;
  QCheckBox* details_;
  QCheckBox* media_;
  QLabel* media_caption_;
  QCheckBox* ask_search_start_;
};

}  // namespace kavoro

#include "gui/EnteringProgressBar.h"

#include <QShortcut>
#include <QTimer>

#include "core/app/AppState.h"
#include "core/listing/ListingTotals.h"
#include "gui/EnteringJob.h"

namespace kavoro {

EnteringProgressBar::EnteringProgressBar(EnteringJob& job, const AppState& state, QWidget* parent)
    : QProgressBar(parent) {
  setObjectName(u"ProgressBar1"_qs);
  setTextVisible(false);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), parent->window());
  escape->setContext(Qt::ApplicationShortcut);
  escape->setEnabled(false);
  connect(escape, &QShortcut::activated, &job, &EnteringJob::Cancel);
  connect(&job, &EnteringJob::Started, this, [this, escape, &state] {
    setValue(0);
    ShowText(state.Slots().progressEscape);
    escape->setEnabled(true);
  });
  connect(&job, &EnteringJob::Progress, this, [this](quint64 folders) {
    // A step of ten every 20 folders, starting again from 0 past the end.
    setValue(int((folders / 20) % 11) * 10);
  });
  connect(&job, &EnteringJob::MediaProgress, this,
          [this, &state](quint64 files_done, quint64 files) {
            setValue(int(files_done * 100 / files));
            ShowText(state.Slots().progressMedia.arg(CountText(qint64(files_done), state.language),
                                                     CountText(qint64(files), state.language)));
          });
  connect(&job, &EnteringJob::Entered, this, [this, escape] {
    escape->setEnabled(false);
    ShowText(QString());
    setValue(100);
    QTimer::singleShot(200, this, [this] { setValue(0); });
  });
  connect(&job, &EnteringJob::Cancelled, this, [this, escape, &state] {
    escape->setEnabled(false);
    setValue(0);
    ShowText(state.Slots().progressStopped);
  });
}

void EnteringProgressBar::ShowText(const QString& text) {
  setFormat(text);
  setTextVisible(!text.isEmpty());
}

}  // namespace kavoro

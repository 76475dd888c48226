#include "gui/ProgressWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <limits>

namespace kavoro {
namespace {

constexpr qint64 kProgressAfterMs = 400;
constexpr int kProgressSteps = 1000;
constexpr int kProgressLabelWidth = 420;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* owner, const char* object_name, const QString& title,
                               const QString& stop_caption)
    : dialog_(owner), label_(new QLabel(&dialog_)) {
  dialog_.setObjectName(QLatin1String(object_name));
  dialog_.setWindowTitle(title);
  dialog_.setCancelButtonText(stop_caption);
  dialog_.setWindowModality(Qt::ApplicationModal);
  dialog_.setMinimumDuration(std::numeric_limits<int>::max());  // shown by the clock below
  dialog_.setAutoClose(false);
  dialog_.setAutoReset(false);
  dialog_.setRange(0, kProgressSteps);
  label_->setTextFormat(Qt::PlainText);
  label_->setMinimumWidth(kProgressLabelWidth);
  dialog_.setLabel(label_);
  clock_.start();
}

bool ProgressWindow::Report(std::uint64_t done, std::uint64_t total, const QString& item) {
  if (!dialog_.isVisible()) {
    if (clock_.elapsed() < kProgressAfterMs) return true;
    dialog_.show();
  }
  label_->setText(label_->fontMetrics().elidedText(item, Qt::ElideMiddle, kProgressLabelWidth));
  dialog_.setValue(total == 0 ? 0 : int(done * kProgressSteps / total));
  QCoreApplication::processEvents();
  return !dialog_.wasCanceled();
}

}  // namespace kavoro

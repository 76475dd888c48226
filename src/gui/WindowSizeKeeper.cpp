#include "gui/WindowSizeKeeper.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "core/app/AppState.h"
#include "core/app/MainWindowGeometry.h"
#include "core/ports/Prompts.h"

namespace kavoro {

WindowSizeKeeper::WindowSizeKeeper(QWidget* window, AppState& state, Prompts& prompts)
    : QObject(window), window_(window), state_(state), prompts_(prompts) {
  record_timer_.setObjectName(u"Timer3"_qs);
  record_timer_.setInterval(500);
  connect(&record_timer_, &QTimer::timeout, this, &WindowSizeKeeper::RecordAfterResize);
  maximise_timer_.setObjectName(u"Timer4"_qs);
  maximise_timer_.setInterval(10);
  connect(&maximise_timer_, &QTimer::timeout, this, [this] {
    // Maximise once at start; a window the user restored afterwards stays restored.
    if (state_.window.start_maximized) {
      state_.window.start_maximized = false;
      window_->showMaximized();
    }
    maximise_timer_.stop();
  });
}

void WindowSizeKeeper::PlaceAtStart() {
  placed_ = true;
  const QRect area = window_->screen()->availableGeometry();
  const Box start = StartWindowBox(state_.window.width, state_.window.height,
                                   {area.x(), area.y(), area.width(), area.height()});
  ResizeOuter(QSize(start.width, start.height));
  window_->move(start.left, start.top);
}

void WindowSizeKeeper::MaximiseSoon() { maximise_timer_.start(); }

void WindowSizeKeeper::Record() {
  const QRect frame = window_->frameGeometry();
  RecordWindowState(state_, IsNormal(), frame.width(), frame.height());
}

void WindowSizeKeeper::Resized() {
  // A size given by the user wins over the stored one still waiting for the frame. The stored
  // size as set before the frame was known comes back when the window manager restores the
  // window it maximised at start.
  const QSize size = window_->size();
  if (wanted_outer_ && IsNormal() && size != *wanted_outer_ &&
      size != *wanted_outer_ - FrameSize()) {
    wanted_outer_.reset();
  }
  if (!placed_) return;
  if (const auto error = state_.options.SaveWorking()) prompts_.Error(*error);
  if (!record_timer_.isActive()) record_timer_.start();
}

void WindowSizeKeeper::RecordAfterResize() {
  record_timer_.stop();
  // At the first record of the normal window the window manager's frame is known: the stored
  // outer size is set again with it, and that resize records it.
  if (wanted_outer_ && IsNormal()) {
    if (FitOuterSize()) return;
    wanted_outer_.reset();
  }
  Record();
  if (const auto error = state_.options.SaveWorking()) prompts_.Error(*error);
}

bool WindowSizeKeeper::IsNormal() const {
  return (window_->windowState() &
          (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)) == 0;
}

// The window manager's frame is known only once it has framed the shown window, so the size
// is set again half a second after the next resize.
void WindowSizeKeeper::ResizeOuter(QSize outer) {
  window_->winId();  // some platforms know the frame once the platform window exists
  wanted_outer_ = outer;
  FitOuterSize();
}

// Gives the window the wanted outer size with the frame as known now; false when it has it.
bool WindowSizeKeeper::FitOuterSize() {
  const QSize frame = FrameSize();
  window_->setMinimumSize(QSize(kMinWindowWidth, kMinWindowHeight) - frame);
  const QSize inner = *wanted_outer_ - frame;
  if (window_->size() == inner) return false;
  window_->resize(inner);
  return true;
}

QSize WindowSizeKeeper::FrameSize() const {
  const QWindow* handle = window_->windowHandle();
  const QMargins m = handle ? handle->frameMargins() : QMargins();
  return QSize(m.left() + m.right(), m.top() + m.bottom());
}

}  // namespace kavoro

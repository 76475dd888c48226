#include "gui/OwnedWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "core/app/MainWindowGeometry.h"

namespace kavoro {
namespace {

class LeaveFilter : public QObject {
 public:
  LeaveFilter(QWidget* window, std::function<void()> leave)
      : QObject(window), window_(window), leave_(std::move(leave)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_) return false;
    if (event->type() == QEvent::Close) {
      // The leave action may itself close the window; that close goes through as it is.
      if (leaving_ || !window_->isVisible()) return false;
      Leave();
      if (!window_->isVisible()) return false;
      event->ignore();  // the action kept the window open
      return true;
    }
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && !leaving_) {
        Leave();
        return true;
      }
    }
    return false;
  }

 private:
  void Leave() {
    leaving_ = true;
    leave_();
    leaving_ = false;
  }

  QWidget* window_;
  std::function<void()> leave_;
  bool leaving_ = false;
};

}  // namespace

void LeaveThrough(QWidget* window, std::function<void()> leave) {
  // A secondary window left open must not keep the program running once the main window is
  // closed.
  window->setAttribute(Qt::WA_QuitOnClose, false);
  window->installEventFilter(new LeaveFilter(window, std::move(leave)));
}

void ShowOwned(QWidget* window, QWidget* owner, QPoint top_left) {
  window->winId();  // the platform window and its frame exist from here on
  window->windowHandle()->setTransientParent(owner->window()->windowHandle());
  // Wholly on the screen that shows the main window, frame included.
  const QMargins frame = window->windowHandle()->frameMargins();
  const QSize outer = window->size().grownBy(frame);
  const QRect area = owner->screen()->availableGeometry();
  const Box kept = KeptOnScreen({top_left.x(), top_left.y(), outer.width(), outer.height()},
                                {area.x(), area.y(), area.width(), area.height()});
  window->move(kept.left, kept.top);
  window->show();
  window->raise();
  window->activateWindow();
}

void ShowOwnedCentred(QWidget* window, QWidget* owner) {
  const QSize room = owner->screen()->availableGeometry().size() - QSize(16, 40);
  window->resize(window->size().boundedTo(room).expandedTo(window->minimumSizeHint()));
  ShowOwned(window, owner, CentredOver(window, owner));
}

bool EscapeStopsOrCloses(QWidget* window, const QKeyEvent* event, bool running,
                         std::atomic<bool>& stop) {
  if (event->key() != Qt::Key_Escape) return false;
  if (running) {
    stop = true;
  } else {
    window->close();
  }
  return true;
}

QPoint CentredOver(const QWidget* window, const QWidget* owner) {
  return {CentredOffset(owner->x(), owner->width(), window->width()),
          CentredOffset(owner->y(), owner->height(), window->height())};
}

}  // namespace kavoro

#include "gui/OwnedWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

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
  window->move(top_left);
  window->winId();  // the platform window exists from here on
  window->windowHandle()->setTransientParent(owner->window()->windowHandle());
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace kavoro

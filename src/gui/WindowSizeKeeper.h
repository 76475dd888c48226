#pragma once

#include <QObject>
#include <QSize>
#include <QTimer>
#include <optional>

class QWidget;

namespace kavoro {

class AppState;
class Prompts;

// The main window's size and state in lines 16 to 18 of optionen.ini. The stored sizes are
// outer sizes, the window manager's frame included: the window starts at the stored size
// (within the screen), is maximised once when it was stored so, and half a second after a
// resize its state is stored.
class WindowSizeKeeper : public QObject {
 public:
  WindowSizeKeeper(QWidget* window, AppState& state, Prompts& prompts);

  // The stored size fitted to the screen and centred on it; from now on resizes are stored.
  void PlaceAtStart();
  // Maximises the window in a moment, once, when it was stored maximised (Timer4).
  void MaximiseSoon();
  // Lines 16 to 18 of both copies of optionen.ini as the window is now.
  void Record();
  // Call from the window's resizeEvent.
  void Resized();

 private:
  // Timer3: stores the window's state half a second after a resize.
  void RecordAfterResize();
  // Neither maximised, minimised nor full screen.
  bool IsNormal() const;
  void ResizeOuter(QSize outer);
  bool FitOuterSize();
  // What the window manager's frame adds to the window's size (nothing until it is known).
  QSize FrameSize() const;

  QWidget* window_;
  AppState& state_;
  Prompts& prompts_;
  bool placed_ = false;
  // The stored outer size until the window manager has framed the normal window.
  std::optional<QSize> wanted_outer_;
  QTimer record_timer_;
  QTimer maximise_timer_;
};

}  // namespace kavoro

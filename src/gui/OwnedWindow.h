#pragma once

#include <QPoint>
#include <atomic>
#include <functional>

class QKeyEvent;
class QWidget;

namespace kavoro {

// The secondary windows of the main window (about box, version history, export and style
// dialogs, find window, catalog editor, exit question) are left one way only: however one is
// closed (its own buttons, the window manager's close button, Alt+F4, Escape), `leave` runs,
// the action of its own "OK", "Abbrechen" or "Nein". That action hides the window and gives
// the main window back, so the main window can never stay disabled behind a vanished window.
void LeaveThrough(QWidget* window, std::function<void()> leave);

// Shows a secondary window at `top_left`, owned by the main window `owner`: transient for it,
// so that the window manager keeps it above the main window (which is disabled meanwhile and
// would otherwise be raised over it by a click).
void ShowOwned(QWidget* window, QWidget* owner, QPoint top_left);

// ShowOwned for a window that keeps its size between showings: as large as it was made, but on
// the screen with its frame, centred over `owner`.
void ShowOwnedCentred(QWidget* window, QWidget* owner);

// Escape in a window that runs a job of its own: while the job runs it sets `stop`, else it
// closes the window. False, doing nothing, for any other key.
bool EscapeStopsOrCloses(QWidget* window, const QKeyEvent* event, bool running,
                         std::atomic<bool>& stop);

// The top-left corner of `window` centred over `owner` (truncating integer division).
QPoint CentredOver(const QWidget* window, const QWidget* owner);

}  // namespace kavoro

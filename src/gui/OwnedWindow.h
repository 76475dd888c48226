#pragma once

#include <QPoint>
#include <functional>

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

// The top-left corner of `window` centred over `owner` (truncating integer division).
QPoint CentredOver(const QWidget* window, const QWidget* owner);

}  // namespace kavoro

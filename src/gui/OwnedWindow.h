#pragma once

#include <functional>

class QWidget;

namespace kavoro {

// The secondary windows of the main window (about box, version history, export and style
// dialogs, find window, catalog editor, exit question) are left one way only: however one is
// closed (its own buttons, the window manager's close button, Alt+F4, Escape), `leave` runs,
// the action of its own "OK", "Abbrechen" or "Nein". That action hides the window and gives
// the main window back, so the main window can never stay disabled behind a vanished window.
void LeaveThrough(QWidget* window, std::function<void()> leave);

}  // namespace kavoro

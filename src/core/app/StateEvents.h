#pragma once

#include <QObject>

namespace kavoro {

// What the application state tells whoever shows it; a window connects once instead of
// refreshing itself after every command.
class StateEvents : public QObject {
  Q_OBJECT

 signals:
  // The window caption or the caption of the "nothing found" option changed.
  void CaptionsChanged();
};

}  // namespace kavoro

#pragma once

#include "core/ports/Shell.h"

namespace kavoro {

// The desktop's "open" action through Qt's desktop services (xdg-open here).
class DesktopShell : public Shell {
 public:
  void OpenUrl(const QUrl& url) override;
};

}  // namespace kavoro

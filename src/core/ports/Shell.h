#pragma once

#include <QUrl>

namespace kavoro {

// The desktop's "open" action: files, folders, web and mail addresses open in the program the
// desktop associates with them. The window implements it with the desktop services; tests
// record the calls.
class Shell {
 public:
  virtual ~Shell() = default;
  // Whatever opens the target is the desktop's business; nothing comes back.
  virtual void OpenUrl(const QUrl& url) = 0;
};

}  // namespace kavoro

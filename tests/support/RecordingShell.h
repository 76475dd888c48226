#pragma once

#include <QList>
#include <QUrl>

#include "core/ports/Shell.h"

namespace kavoro::test {

// Records what would have been opened; never starts a program.
class RecordingShell : public Shell {
 public:
  void OpenUrl(const QUrl& url) override { opened.append(url); }
  QList<QUrl> opened;
};

}  // namespace kavoro::test

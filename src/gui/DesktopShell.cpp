#include "gui/DesktopShell.h"

#include <QDesktopServices>

namespace kavoro {

void DesktopShell::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace kavoro

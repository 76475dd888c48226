#include "gui/ProgramIcon.h"

namespace kavoro {

QIcon ProgramIcon() {
  return QIcon::fromTheme(u"org.kavoro.Kavoro"_qs, QIcon(u":/org.kavoro.Kavoro.svg"_qs));
}

}  // namespace kavoro

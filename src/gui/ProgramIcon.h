#pragma once

#include <QIcon>

namespace kavoro {

// The program's icon: the desktop theme's when it has one (an installed program puts its icon
// there), else the one built into the program.
QIcon ProgramIcon();

}  // namespace kavoro

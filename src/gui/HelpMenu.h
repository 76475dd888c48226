#pragma once

class QMenu;
class QObject;

namespace kavoro {

class Shell;

// The web entries at the end of the menu "Info": the homepage, the guest book, and the
// submenus of download portals and link sites. Their actions belong to `owner`, the window
// whose language tables name them.
void AddWebLinks(QMenu* help_menu, Shell& shell, QObject* owner);

}  // namespace kavoro

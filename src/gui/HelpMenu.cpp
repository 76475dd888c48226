#include "gui/HelpMenu.h"

#include <QAction>
#include <QMenu>
#include <QUrl>
#include <span>
#include <tuple>

#include "core/app/HelpLinks.h"
#include "core/ports/Shell.h"
#include "gui/NamedWidget.h"

namespace kavoro {

void AddWebLinks(QMenu* help_menu, Shell& shell, QObject* owner) {
  auto add = [owner](QMenu* menu, const char* name, const QString& text) {
    auto* action = Named(new QAction(text, owner), name);
    menu->addAction(action);
    return action;
  };
  auto add_link = [&](QMenu* menu, const char* name, const char* url, const QString& text) {
    QObject::connect(add(menu, name, text), &QAction::triggered, owner,
                     [&shell, url] { shell.OpenUrl(QUrl(QLatin1String(url))); });
  };
  add_link(help_menu, "LinkzurHomepage1", address::kProductHomepage, u"Link zur Homepage"_qs);
  add_link(help_menu, "Gstebuch1", address::kGuestBook, QString());
  // Site names are not translated; a menu without sites says so in a disabled entry.
  const std::tuple<const char*, std::span<const MenuLink>, const char*> link_menus[] = {
      {"DasProgrammgibtesbei1", DownloadPortals(), "KeineEintraege1"},
      {"MeineInternetseiten1", LinkSites(), "KeineEintraege2"}};
  for (auto [menu_name, links, empty_name] : link_menus) {
    help_menu->addSeparator();
    QMenu* menu = Named(help_menu->addMenu(QString()), menu_name);
    for (const MenuLink& link : links) add_link(menu, "", link.url, QLatin1String(link.caption));
    if (links.empty()) add(menu, empty_name, QString())->setEnabled(false);
  }
}

}  // namespace kavoro

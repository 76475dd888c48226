#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <span>

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Every web and mail address the program opens. Addresses under example.org are placeholders
// until the product has real ones (the README lists them).
namespace address {
inline constexpr char kProductHomepage[] = "https://kavoro.example.org/";
inline constexpr char kGuestBook[] = "https://kavoro.example.org/gaestebuch.htm";
inline constexpr char kEnglishHelp[] = "https://kavoro.example.org/help.htm";
inline constexpr char kAuthorHomepage[] = "https://tolvar.example.org/";
inline constexpr char kLinkSite[] = "https://tolvar.example.org/links.htm";
inline constexpr char kMail[] = "mailto:kavoro@example.org";
}  // namespace address

// One entry of the link submenus: the site's name and its address.
struct MenuLink {
  const char* caption;
  const char* url;
};

// The download portals of "Das Programm gibt es bei :" and the sites of "Verschiedene Links :".
std::span<const MenuLink> DownloadPortals();
std::span<const MenuLink> LinkSites();

// "Hilfe": the help page next to the program in the language, or its web page when the file
// is missing.
QUrl HelpTarget(const QString& data_dir, UiLanguage language);

// The version history, newest version first, line by line.
const QStringList& VersionHistory();

}  // namespace kavoro

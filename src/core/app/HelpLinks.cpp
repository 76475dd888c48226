#include "core/app/HelpLinks.h"

#include <QFileInfo>

namespace kavoro {

// No portal lists the program yet, and no site is chosen; the menus say so.
std::span<const MenuLink> DownloadPortals() { return {}; }
std::span<const MenuLink> LinkSites() { return {}; }

QUrl HelpTarget(const QString& data_dir, UiLanguage language) {
  const bool german = language == UiLanguage::German;
  const QString page = data_dir + (german ? u"hilfe.htm"_qs : u"help.htm"_qs);
  if (QFileInfo(page).isFile()) return QUrl::fromLocalFile(page);
  return QUrl(QLatin1String(german ? address::kProductHomepage : address::kEnglishHelp));
}

const QStringList& VersionHistory() {
  static const QStringList kLines = {
      u"Version 2.2 erschien am 14.05.2004"_qs,
      u" - Es können jetzt mehrere einzelne Ordner "_qs,
      u"   durchsucht werden (besonders praktisch "_qs,
      u"   für Suche im Netzwerk)"_qs,
      u" - Ordner können jetzt auch aktualisiert, kopiert, "_qs,
      u"   umbenannt, gelöscht.... werden"_qs,
      u" - Neue Links"_qs,
      u"        "_qs,
      u"Version 2.1 fertig am 19.04.2004 aber nie erschienen"_qs,
      u" - Textsuche im Tabellenblatt"_qs,
      u" - Das Tabellenblatt kann nach jeder Spalte "_qs,
      u"   sortiert werden"_qs,
      u" "_qs,
      u"Version 2.0 erschien am 15.03.2004 "_qs,
      u" - Eine Ausgabe mit Installationsprogramm"_qs,
      u" - Ein Gästebuch"_qs,
      QString(),
      u"Version 1.6 erschien am 16.02.2004 "_qs,
      u" - Es kann nach mehreren Dateiarten zugleich "_qs,
      u"   gesucht werden"_qs,
      u" - Textsuche"_qs,
      u" - Die Internetseite des Programms : "_qs + QLatin1String(address::kProductHomepage),
      QString(),
      u"Version 1.5.1 erschien am 05.01.2004"_qs,
      u" - Kleine Fehler behoben"_qs,
      QString(),
      u"Version 1.5 erschien am 07.12.2003"_qs,
      u" - Kleine Verbesserungen der Menüs"_qs,
      QString(),
      u"Version 1.4 erschien am 12.11.2003"_qs,
      u" - Die Fenstergröße und die Spaltenbreiten des "_qs,
      u"   Tabellenblatts werden gespeichert"_qs,
      QString(),
      u"Version 1.3 erschien am 18.10.2003"_qs,
      u" - Neue Spalten : Größe, Typ und Änderungsdatum "_qs,
      u"   der Dateien"_qs,
      u" - Statistik der gefundenen Dateien"_qs,
      QString(),
      u"Version 1.2 erschien am 12.09.2003"_qs,
      u" - Kleine Fehler behoben"_qs,
      QString(),
      u"Version 1.1 erschien am 14.08.2003"_qs,
      u" - Englische Sprache"_qs,
      QString(),
      u"Version 1.0 erschien am 30.07.2003"_qs,
  };
  return kLines;
}

}  // namespace kavoro

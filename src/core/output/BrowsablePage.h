#pragma once

#include <QString>
#include <QStringList>

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Whether a written page gets the search box and sortable columns, and the language of the
// texts that come with them ("N von M Einträgen").
struct PageBrowsing {
  bool on = false;
  UiLanguage language = UiLanguage::German;
  // The page has the media columns: durations and picture sizes sort by value too.
  bool media = false;
};

// The page with the browsing parts added to its head: a charset declaration naming `charset`
// after "<head>", one inline style and one inline script before "</head>". Everything added
// is ASCII, so the page keeps the encoding it would have had without them. The script builds
// its box and count line with DOM calls and reads cells only as text; with `media` it also
// reads durations and picture sizes as values.
QStringList BrowsableLines(const QStringList& page, UiLanguage language, bool media = false,
                           const QString& charset = u"windows-1252"_qs);

// Writes a page the way LineFile::Write does; with `browsing.on` as a browsable page whose
// charset declaration names the encoding actually written (windows-1252, or utf-8 when the
// file gets a byte order mark). Off, the bytes are exactly those of LineFile::Write.
bool WriteHtmlPage(const QString& path, const QStringList& page, const PageBrowsing& browsing,
                   QString* error);

}  // namespace kavoro

#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/i18n/LanguageTables.h"
#include "core/listing/StringPool.h"

namespace kavoro {

class ListingDocument;

// A stored listing: base + ".mpl" (the grid's name column), ".mpl2" (the text view) and
// ".mpl3" (the HTML view).
struct ListFileContents {
  LineList names;
  LineList text;
  LineList html;
};

// The base of a chosen path: a trailing ".mpl", ".mpl2" or ".mpl3" (exact case) is dropped,
// anything else is kept as it is.
QString ListFileBaseOf(const QString& chosen);

// Writes the three files to temporary files first and replaces the old ones only when all
// three are complete; on failure the old files stay as they were.
bool SaveListFiles(const ListingDocument& doc, const QString& base, QString* error);

// Reads all three files or none; the error names the file that could not be read.
std::optional<ListFileContents> ReadListFiles(const QString& base, QString* error);

// Replaces the listing by stored contents and rebuilds the grid: numbers 1, 2, 3 ... in file
// order, and with five columns the size, type and date from each entry's own HTML block.
void LoadListing(ListingDocument& doc, ListFileContents contents, UiLanguage language);

}  // namespace kavoro

#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/i18n/LanguageTables.h"
#include "core/text/StringPool.h"

namespace kavoro {

class ListingDocument;

// One entry's block of lines in the HTML view: the index of its first line and whether it
// holds size, type and date (12 lines) or not (6 lines).
struct EntryBlock {
  qsizetype first;
  bool details;
  qsizetype NameLine() const { return first + 3; }
  qsizetype DetailLine(int i) const { return first + 5 + 2 * i; }
};

// A stored listing: base + ".mpl" (the grid's name column), ".mpl2" (the text view) and
// ".mpl3" (the HTML view), with what reading found in the HTML view.
struct ListFileContents {
  LineList names;
  LineList text;
  LineList html;
  std::vector<EntryBlock> blocks;
  bool five_columns = false;
};

// The base of a chosen path: a trailing ".mpl", ".mpl2" or ".mpl3" (exact case) is dropped,
// anything else is kept as it is.
QString ListFileBaseOf(const QString& chosen);

// Writes the three files to temporary files first and replaces the old ones only when all
// three are complete; on failure the old files stay as they were.
bool SaveListFiles(const ListingDocument& doc, const QString& base, QString* error);

// Reads all three files and checks that they belong together: the page template and the
// header row are there, every entry block is whole, and the three files hold the same number
// of entries. Nothing when a file cannot be read or the set does not fit; the error then
// names the file and the problem. Without `keep_text_view` the text view is only counted
// and its header line kept.
std::optional<ListFileContents> ReadListFiles(const QString& base, const MessageSlots& messages,
                                              QString* error, bool keep_text_view = true);

// Each name row of stored contents (row 1 on) with the size, type and date texts opening the
// list gives it: those of the first entry block not taken yet that carries its name (written
// escaped, or plain as older lists hold it); empty for a row without one, and in the
// two-column form.
using ListedEntry =
    std::function<void(qsizetype row, std::string_view name, const std::string* details)>;
void ForEachListedEntry(const ListFileContents& contents, const ListedEntry& entry);

// Replaces the listing by stored contents and rebuilds the grid: numbers 1, 2, 3 ... in file
// order, and with five columns the size, type and date from each entry's own HTML block.
void LoadListing(ListingDocument& doc, ListFileContents contents, UiLanguage language);

}  // namespace kavoro

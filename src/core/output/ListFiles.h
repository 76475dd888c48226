#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"
#include "core/text/StringPool.h"

namespace kavoro {

// One entry's block of lines in the HTML view: the index of its first line and the cells it
// holds after the name, by their form: size, type and date with the details, then the six
// media cells with the media columns (6 lines, and 2 more per cell).
struct EntryBlock {
  qsizetype first;
  ColumnForm form;
  qsizetype NameLine() const { return first + 3; }
  // Detail cell i (0 size, 1 type, 2 date) and media cell j, in a block of a form with them.
  qsizetype DetailLine(int i) const { return first + 5 + 2 * i; }
  qsizetype MediaLine(int j) const { return DetailLine((form.details ? 3 : 0) + j); }
};

// A stored listing: base + ".mpl" (the grid's name column), ".mpl2" (the text view) and
// ".mpl3" (the HTML view), with what reading found in the HTML view.
struct ListFileContents {
  LineList names;
  LineList text;
  LineList html;
  std::vector<EntryBlock> blocks;
  // The columns of the header row, or without one those of the first entry's block.
  ColumnForm form;
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

// Each name row of stored contents (row 1 on) with the size, type and date texts and the media
// texts opening the list gives it: those of the first entry block not taken yet that carries
// its name (written escaped, or plain as older lists hold it). Texts of columns the list does
// not have, or the row's block does not hold (it was entered before they were shown), are
// empty, and so are all of a row without a block.
using DetailTexts = std::span<const std::string, 3>;
using MediaTexts = std::span<const std::string, ListingData::kMediaColumns>;
using ListedEntry = std::function<void(qsizetype row, std::string_view name, DetailTexts details,
                                       MediaTexts media)>;
void ForEachListedEntry(const ListFileContents& contents, const ListedEntry& entry);

// Replaces the listing by stored contents and rebuilds the grid: numbers 1, 2, 3 ... in file
// order, and the list's detail and media cells from each entry's own HTML block.
void LoadListing(ListingDocument& doc, ListFileContents contents, UiLanguage language);

}  // namespace kavoro

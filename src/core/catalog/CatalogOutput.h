#pragma once

#include <QByteArray>
#include <QStringList>
#include <atomic>
#include <vector>

#include "core/catalog/Catalog.h"
#include "core/output/WorkbookWriter.h"

namespace kavoro {

// What kavoro-list prints of the catalogue, UTF-8 with LF after every line.

// One line per entry, tab-separated: list, number, name, and with details size, type, date.
QByteArray EntryLines(const std::vector<CatalogEntry>& entries);

// The entries as a JSON array, one entry a line:
//   [{"list":"..","number":1,"name":"..","size":"..","type":"..","date":".."}, ...]
// size, type and date only for entries of lists with details.
QByteArray EntriesJson(const std::vector<CatalogEntry>& entries);

// One block per group, an empty line between blocks: first "NAME<TAB>N copies<TAB>X KB more"
// (X the space of all copies but one), then the copies as EntryLines gives them.
QByteArray DuplicateLines(const std::vector<DuplicateGroup>& groups);

// The groups as a JSON array: {"name":..,"size":..,"copies":N,"extraKB":X,"entries":[...]}
// with the entries as in EntriesJson; "size" is null for entries without details.
QByteArray DuplicatesJson(const std::vector<DuplicateGroup>& groups);

// The entries as a table: a header row of the six column names in `language`, then one row
// an entry (list, number, name, size, type, date).
CellTable EntriesTable(const std::vector<CatalogEntry>& entries, UiLanguage language);

// Writes the entries, or the groups of duplicates, in the form the path's extension names:
// ".csv" (the table, RFC 4180), ".json" (EntriesJson, DuplicatesJson), ".xls" (the table, as
// many workbooks as it needs; `written` gets their names), else the lines of EntryLines or
// DuplicateLines. The copies of the groups make the rows of the table.
bool ExportEntries(const std::vector<CatalogEntry>& entries, const QString& path,
                   UiLanguage language, QStringList* written, QString* error);
bool ExportDuplicates(const std::vector<DuplicateGroup>& groups, const QString& path,
                      UiLanguage language, QStringList* written, QString* error);

// The whole catalogue as one page to search and sort in a browser: a table with the list of
// each entry (its file name) in the first column, UTF-8. The file is replaced only when it was
// written whole; false when it was stopped or could not be written (`error` then says why,
// and is empty when it was stopped).
bool WriteCatalogPage(Catalog& catalog, const QString& path, UiLanguage language,
                      const std::atomic<bool>* cancel, QString* error);

}  // namespace kavoro

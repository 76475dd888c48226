#pragma once

#include <QByteArray>
#include <vector>

#include "core/catalog/Catalog.h"

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

}  // namespace kavoro

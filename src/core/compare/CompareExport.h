#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/compare/ListCompare.h"

namespace kavoro {

// The result one line per entry, the groups in this order: "+ NAME" new, "- NAME" missing,
// "~ NAME (SIZE DATE -> SIZE DATE)" changed, "> OLD -> NEW" moved, "? NAME" not readable.
QStringList CompareLines(const CompareResult& result);
// "2 new, 1 missing, 0 changed, 1 moved, 0 unreadable, 17 unchanged", and how it matched.
QString CompareSummary(const CompareResult& result);
// One record per entry: change, name, new name (moved), old size, new size, old date, new
// date; a header record first. UTF-8, CR LF, as the listing's CSV.
QByteArray CompareCsv(const CompareResult& result);
// {"folder":..,"form":{..},"counts":{..},"new":[..],"missing":[..],"changed":[..],
//  "moved":[..],"unreadable":[..],"unreadableFolders":[..]}
QByteArray CompareJson(const CompareResult& result);

// Writes the result by the file's extension: ".csv", ".json", else as text (the lines, an
// empty line and the summary, in the program's text file form).
bool ExportCompare(const CompareResult& result, const QString& path, QString* error);

}  // namespace kavoro

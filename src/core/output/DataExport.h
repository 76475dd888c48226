#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "core/i18n/LanguageTables.h"
#include "core/listing/Entering.h"
#include "core/output/WorkbookWriter.h"

namespace kavoro {

class ListingData;
class ListingDocument;

// What a JSON listing says of itself besides its entries: the language of its header texts
// and the options the entries are being made with.
struct JsonListing {
  UiLanguage language = UiLanguage::German;
  EntryOptions options;
};

// One CSV field (RFC 4180), quoted when it holds a comma, a quote (doubled), CR or LF, or
// begins or ends with a blank; appended to `out`.
void AppendCsvField(std::string_view field, std::string& out);

// The grid as CSV (RFC 4180): the header row first, then the rows in their order, the shown
// columns only; UTF-8 without a byte order mark, CR LF after every record. A field is quoted
// when it holds a comma, a quote (doubled), CR or LF, or begins or ends with a blank.
// With a language in `totals`, one more record holds the listing's totals.
QByteArray CsvBytes(const ListingData& doc, std::optional<UiLanguage> totals = std::nullopt);
// Any table so, every row of it.
QByteArray CsvBytes(const CellTable& table);

// The listing as one JSON document (UTF-8, one entry a line):
//   {"language":"de","options":{"details":..,"wholePath":..,"hideExtensions":..,"link":..},
//    "entries":[{"number":1,"name":"..","path":".." or null}, ...]}
// in the grid's order. "number" is the number cell, a JSON number when it reads as one; the
// path is the file's, known for entries the program made (a listing read from list files
// knows it only where the name cell is a whole path). With the detail columns an entry also
// has "size" (bytes, or null when not known), "sizeText", "type", "modified" (ISO 8601 with
// the offset of local time then, or null when the date cell does not read as a date) and
// "modifiedText". With the media columns "options" also has "media", and an entry has
// "duration" (seconds, or null when the duration cell does not read as one), "durationText",
// "artist", "title", "album" (texts; "" when the file says none), "width" and "height" (pixels,
// or null when the pixels cell does not read as a size), "pixelsText", "taken" (as "modified")
// and "takenText". Texts are as the views show them: bytes that are not UTF-8 are U+FFFD.
QByteArray JsonBytes(const ListingData& doc, const JsonListing& info);

// The files, through a temporary file, as the other exports write theirs.
bool ExportCsv(const ListingDocument& doc, const QString& path, QString* error,
               std::optional<UiLanguage> totals = std::nullopt);
bool ExportJson(const ListingDocument& doc, const JsonListing& info, const QString& path,
                QString* error);

}  // namespace kavoro

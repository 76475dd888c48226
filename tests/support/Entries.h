#pragma once

#include <QString>

#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/text/Utf8.h"

namespace kavoro::test {

// The empty listing with its header lines, as start-up leaves it.
inline void StartListing(ListingDocument& doc, bool details,
                         UiLanguage language = UiLanguage::German) {
  BuildEmptyListing(doc);
  ApplyListingHeaders(doc, details, language, nullptr);
}

// Appends one entry with these texts through the writer entering uses, with details when the
// grid shows five columns. The texts need not be ones entering would make (a list file edited
// by hand holds any).
inline void AddEntry(ListingDocument& doc, const QString& name, const QString& size = {},
                     const QString& type = {}, const QString& date = {}) {
  const std::string n = utf8::FromQString(name), s = utf8::FromQString(size),
                    t = utf8::FromQString(type), d = utf8::FromQString(date);
  EntryCells cells;
  cells.details = doc.ColumnCount() == 5;
  cells.name = n;
  cells.size = s;
  cells.type = t;
  cells.date = d;
  AppendEntry(doc, cells);
}

}  // namespace kavoro::test

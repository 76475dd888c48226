#pragma once

#include <QString>

#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"

namespace kavoro::test {

// The empty listing with its header lines, as start-up leaves it.
inline void StartListing(ListingDocument& doc, bool details,
                         UiLanguage language = UiLanguage::German) {
  BuildEmptyListing(doc);
  ApplyListingHeaders(doc, details, language, nullptr);
}

// Appends one entry to all three views in the stored layout (text line, grid row, HTML block
// of 6 or 12 lines), the way entering leaves it.
inline void AddEntry(ListingDocument& doc, const QString& name, const QString& size = {},
                     const QString& type = {}, const QString& date = {}) {
  const bool five = doc.ColumnCount() == 5;
  const int n = doc.EntryCounter() + 1;
  doc.SetEntryCounter(n);
  const QString number = QString::number(n);
  doc.PutTextLine(n, number.rightJustified(6) + u"  "_qs + name +
                         (five ? u"  "_qs + size + u"  "_qs + type + u"  "_qs + date : QString()));
  doc.AppendRow({number, name, size, type, date});
  for (const QString& line : {u"<tr><td align=\"right\">"_qs, number, u"</td><td>"_qs, name}) {
    doc.AppendHtmlLine(line);
  }
  if (!five) {
    doc.AppendHtmlLine(u"</td>");
  } else {
    for (const QString& line :
         {u"</td><td>"_qs, size, u"</td><td>"_qs, type, u"</td><td>"_qs, date, u"</td>"_qs}) {
      doc.AppendHtmlLine(line);
    }
  }
  doc.AppendHtmlLine(u"</tr>");
}

}  // namespace kavoro::test

#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/text/Utf8.h"

namespace kavoro::test {

// The empty listing with its header lines, as start-up leaves it.
inline void StartListing(ListingDocument& doc, ColumnForm form,
                         UiLanguage language = UiLanguage::German) {
  BuildEmptyListing(doc);
  ApplyListingHeaders(doc, form, language, nullptr);
}

// What entering knew of an entry's file: its folder (with a trailing "/") and file name as
// utf8::NameFromBytes holds them (no folder: nothing known; no name: the name cell shows it),
// and its size in bytes.
struct FileFacts {
  QString folder;
  QString file_name;
  std::optional<std::uint64_t> bytes;
};

// The texts of the media columns: duration, artist, title, album, pixels, date taken.
using MediaTexts = QStringList;

// Appends one entry with these texts through the writer entering uses, with details when the
// grid shows them, and with the media texts (duration, artist, title, album, pixels, taken;
// missing ones empty) when it shows the media columns. The texts need not be ones entering
// would make (a list file edited by hand holds any).
inline void AddEntry(ListingDocument& doc, const QString& name, const QString& size = {},
                     const QString& type = {}, const QString& date = {},
                     const FileFacts& facts = {}, const MediaTexts& media = {}) {
  const std::string n = utf8::FromQString(name), s = utf8::FromQString(size),
                    t = utf8::FromQString(type), d = utf8::FromQString(date);
  const std::string folder = utf8::NameToBytes(facts.folder);
  const std::string file_name = utf8::NameToBytes(facts.file_name);
  std::array<std::string, ListingData::kMediaColumns> media_texts;
  for (int i = 0; i < media.size() && i < ListingData::kMediaColumns; ++i) {
    media_texts[std::size_t(i)] = utf8::FromQString(media[i]);
  }
  EntryCells cells;
  cells.details = doc.HasDetails();
  cells.media = doc.HasMedia();
  std::copy(media_texts.begin(), media_texts.end(), cells.media_cells.begin());
  cells.name = n;
  cells.size = s;
  cells.type = t;
  cells.date = d;
  cells.folder = folder;
  cells.file_name = file_name;
  cells.bytes = facts.bytes;
  AppendEntry(doc, cells);
}

}  // namespace kavoro::test

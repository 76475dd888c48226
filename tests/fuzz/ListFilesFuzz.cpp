// Opening a set of list files: any three files, and what is opened and saved again keeps
// every line it read. The input holds the .mpl, .mpl2 and .mpl3 files, cut at NUL bytes.
#include "FuzzSupport.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/ListFiles.h"
#include "core/text/LineFile.h"

using namespace kavoro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char16_t* const kExtensions[] = {u".mpl", u".mpl2", u".mpl3"};
  const QList<QByteArray> parts = fuzz::Parts(fuzz::Bytes(data, size), 3);
  for (int i = 0; i < 3; ++i)
    fuzz::WriteFile(u"in"_qs + QString::fromUtf16(kExtensions[i]), parts[i]);

  const QString in = fuzz::Dir() + u"in"_qs;
  const QString out = fuzz::Dir() + u"out"_qs;
  QString error;
  auto contents = ReadListFiles(in, MessageSlotsFor(UiLanguage::German), &error);
  if (!contents) return 0;  // refused with a message: the listing stays as it was
  ListingDocument doc;
  BuildEmptyListing(doc);
  LoadListing(doc, std::move(*contents), UiLanguage::German);
  fuzz::Check(SaveListFiles(doc, out, &error), "saving an opened list failed", error);

  for (const char16_t* ext : kExtensions) {
    const QString name = QString::fromUtf16(ext);
    const auto read = LineFile::Read(in + name);
    const auto saved = LineFile::Read(out + name);
    fuzz::Check(read && saved, "a list file could not be read back", name);
    // Line 0 of the .mpl is the grid's header cell, which follows the window's language.
    const qsizetype first = name == u".mpl" ? 1 : 0;
    fuzz::Check(saved->mid(first) == read->mid(first), "opening and saving lost lines", name);
  }
  return 0;
}

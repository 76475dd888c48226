#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/i18n/LanguageTables.h"

class QPagedPaintDevice;
class QPageSize;

namespace kavoro {

class ListingData;

// What a printed listing says besides its grid, in the listing's language.
struct PrintTexts {
  QString title;        // the program's name, at the top left of every page
  QString printed;      // the date of printing, at the top right
  QStringList folders;  // where the listing came from, when known
  QString page_of;      // "Seite %1 von %2"
};

// The texts of a listing printed now in `language`, from the given folders.
PrintTexts PrintTextsNow(UiLanguage language, const QStringList& folders);

// Tells how far the job is (pages done, pages in all); false stops it.
using PrintProgress = std::function<bool(int done, int pages)>;

// Puts the grid on paper (a printer or a PDF writer), in its current order: a table whose
// columns share the page width as the grid's column widths do (columns of values widened to
// their widest text at the cost of the names and tags), with the header row on every page,
// names and tags wrapped inside their cell, number, size and duration right-aligned, a page
// header and "Seite N von M" at the foot. Pages are laid out and painted one at a time, so a
// long listing costs the memory of one page. False when `progress` stopped it or the device
// failed.
bool PrintListing(const ListingData& doc, const PrintTexts& texts, QPagedPaintDevice& device,
                  const PrintProgress& progress = {});

// The paper of the user's country: Letter where inches are used, A4 elsewhere.
QPageSize DefaultPageSize();
// Upright paper, or lying on its side for the width of the media columns.
QPageLayout::Orientation DefaultOrientation(const ListingData& doc);

// The same as a PDF file on the default paper, lying on its side with the media columns;
// written under a temporary name that replaces `path` only when the whole file is done (a
// stopped or failed job leaves nothing behind). False with the reason in `error`, which is
// empty when `progress` stopped it.
bool WritePdf(const ListingData& doc, const PrintTexts& texts, const QString& path, QString* error,
              const PrintProgress& progress = {});

}  // namespace kavoro

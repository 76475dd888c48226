#pragma once

#include <QString>
#include <QStringList>

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"

namespace kavoro {

class OptionsFile;

// Line numbers of the HTML view that later code addresses directly.
namespace html_line {
constexpr int kTextColor = 8;
constexpr int kFontSize = 9;
constexpr int kFontFamily = 10;
constexpr int kBody = 19;
constexpr int kTable = 20;
constexpr int kHeaderRow = 21;
constexpr int kTemplateLines = 21;
}  // namespace html_line

// The HTML page template, lines 0..20, before any style is applied.
const QStringList& PageTemplate();

enum class UmlautForm { Entities, Plain };

struct HeaderTexts {
  QString text_line;       // line 0 of the text view
  QString html_row;        // line 21 of the HTML view
  QStringList grid_cells;  // row 0 of the grid
};

// The headers of a column form; the media columns follow the detail columns, each header
// line growing by the rule of the detail columns.
HeaderTexts HeadersFor(UiLanguage language, ColumnForm form, UmlautForm umlauts);

// The header layout for the column form and language. When `snapshot` is given, line 14 of
// its snapshot records the detail state (every pass but the final one of start-up).
void ApplyListingHeaders(ListingDocument& doc, ColumnForm form, UiLanguage language,
                         OptionsFile* snapshot);

// The header part of the language routines. Neither language shrinks a grid to two columns
// once files were entered with the detail columns, nor drops the media columns of entries
// made with them; only the English routine records the detail state in the snapshot.
void ApplyLanguageHeaders(ListingDocument& doc, ColumnForm form, UiLanguage language,
                          OptionsFile& options);

// The widths 80, 190, 120 of the size, type and date columns.
void SetDetailColumnWidths(ListingDocument& doc);
// The widths of the media columns as a new listing shows them.
void SetMediaColumnWidths(ListingDocument& doc);

// Fills the empty listing's views: clears them, resets the grid to its header row, the
// entry counter to 0, the first-entry flag and column 1 to width 600, and puts the page template
// into the HTML view.
void BuildEmptyListing(ListingDocument& doc);

}  // namespace kavoro

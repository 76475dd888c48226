#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/i18n/LanguageTables.h"
#include "core/output/BrowsablePage.h"
#include "core/output/PageLinks.h"

namespace kavoro {

class ListingDocument;
class Prompts;
class Shell;
struct JsonListing;
struct MessageSlots;

// The sheet names of exported workbooks are this followed by 1, 2, ...
inline const QString kExportSheetName = QStringLiteral("Stringgrid Print");

// Each writer replaces the file without asking, through a temporary file, so a failure leaves
// no half-written file under the name; false with a readable reason otherwise. Given a
// language in `totals`, the file ends with the listing's totals in it (ListingTotals.h): one
// more line, table row or grid row; the listing itself is not changed.
using TotalsIn = std::optional<UiLanguage>;

// The text view, cp1252 (UTF-8 with a byte order mark when a line needs it), CR LF.
bool ExportText(const ListingDocument& doc, const QString& path, QString* error,
                TotalsIn totals = std::nullopt);

// The grid: a path ending in ".xlsx" (any case) gives one Office Open XML workbook, any other
// one or more .xls workbooks of at most 65536 rows. `written` gets every file name written.
bool ExportSpreadsheet(const ListingDocument& doc, const QString& path, QStringList* written,
                       QString* error, TotalsIn totals = std::nullopt);

// The HTML view followed by "</table>", "</body>", "</html>"; the totals as a "<tfoot>" row;
// browsable when `browsing.on`.
// `links` says where the page's file links point.
bool ExportHtml(const ListingDocument& doc, const QString& path, QString* error,
                TotalsIn totals = std::nullopt, const PageBrowsing& browsing = {},
                const LinkForm& links = {});

// The preview page: the given page lines as ProgramDir + "vorschau.htm", without closing tags;
// browsable when `browsing.on`.
QString PreviewPath(const QString& program_dir);
bool WritePreview(const QString& program_dir, const QStringList& page, QString* error,
                  const PageBrowsing& browsing = {});
// Writes the preview and opens it in the browser; a write failure is reported and nothing opens.
bool ShowPreview(const QString& program_dir, const QStringList& page, Shell& shell,
                 Prompts& prompts, const PageBrowsing& browsing = {});

// The chosen name with `extension` (".txt") added when its file name has none.
QString WithDefaultExtension(const QString& chosen, const QString& extension);

// The extension a save dialog gives a name typed without one when `filter` was chosen in it:
// ".csv" and ".json" for the text export's data formats, ".xls" for the workbook. Other
// filters add none; the export gives such a name the first extension of its kind (".xls"
// also when "*.xlsx" was chosen).
QString ChosenFilterExtension(const QString& filter);

// The filter of a save dialog for text, CSV or JSON.
QString TextExportFilter();
// The filter of a save dialog for a table in one file of any form: text, CSV, JSON, .xls.
QString TableExportFilter();
// ... and for a page.
QString PageExportFilter();

// The text export's file: CSV or JSON for a name ending in ".csv" or ".json" (any case), else
// the text view.
bool ExportTextOrData(const ListingDocument& doc, const JsonListing& listing, const QString& path,
                      QString* error, TotalsIn totals = std::nullopt);

// The folders the export's file dialogs last used, one per kind of file; empty until used.
struct ExportFolders {
  QString text;
  QString spreadsheet;
  QString html;
  QString pdf;
};

// The formats the export dialog has ticked.
struct ExportChoice {
  bool text = false;
  bool spreadsheet = false;
  bool html = false;
  bool totals = false;  // "Summe anhängen"
  // Where the page's links point; nothing when the base address typed is not one.
  std::optional<LinkForm> links = LinkForm{};
};

// The export dialog's "Speichern": each ticked format gets its save dialog (a cancelled one
// skips only that format) and is written. The first failure is reported and ends the export;
// the result is then false and the dialog stays open. When the grid filled several workbooks,
// the user is told their names. Each dialog opens in the folder last used for its kind of
// file, which `folders` keeps. The text format's dialog also offers CSV and JSON; `listing`
// is what a JSON file says of the listing, `browsing` whether the page is browsable.
bool RunExport(const ListingDocument& doc, const ExportChoice& choice, const JsonListing& listing,
               Prompts& prompts, const MessageSlots& messages, ExportFolders& folders,
               const PageBrowsing& browsing = {});

}  // namespace kavoro

#include "core/output/Export.h"

#include <QFileInfo>

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingTotals.h"
#include "core/output/DataExport.h"
#include "core/output/WorkbookWriter.h"
#include "core/ports/Prompts.h"
#include "core/ports/Shell.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

// The dialogs' filters do not change with the language.
const QString kCsvFilter = u"CSV (*.csv)"_qs;
const QString kJsonFilter = u"JSON (*.json)"_qs;
const QString kTextFilter = u"Text-Datei (*.txt);;"_qs + kCsvFilter + u";;"_qs + kJsonFilter;
const QString kXlsFilter = u"Excel-Datei (*.xls)"_qs;
const QString kSpreadsheetFilter = kXlsFilter + u";;Excel-Datei (*.xlsx)"_qs;
const QString kHtmlFilter = u"HTML-Datei (*.htm)"_qs;

const QStringList& ClosingTags() {
  static const QStringList kTags = {u"</table>"_qs, u"</body>"_qs, u"</html>"_qs};
  return kTags;
}

}  // namespace

bool ExportText(const ListingDocument& doc, const QString& path, QString* error, TotalsIn totals) {
  if (!totals) return LineFile::Write(path, doc.Text(), error);
  QByteArray bytes = LineFile::EncodeLines(doc.Text(), LineFile::IsUtf8File(path));
  const ListingTotals sums = TotalsOf(doc);
  LineFile::AppendLine(bytes, TotalsRow(sums, *totals)[0] + u" : "_qs + TotalsText(sums, *totals));
  return LineFile::WriteBytes(path, bytes, error);
}

bool ExportSpreadsheet(const ListingDocument& doc, const QString& path, QStringList* written,
                       QString* error, TotalsIn totals) {
  std::array<QString, ListingData::kMaxColumns> last;
  if (totals) last = TotalsRow(TotalsOf(doc), *totals);
  const qsizetype rows = doc.RowCount();
  const CellTable grid{rows + (totals ? 1 : 0), doc.ColumnCount(), [&](int column, qsizetype row) {
                         return row < rows ? doc.Cell(column, row) : last[std::size_t(column)];
                       }};
  if (path.endsWith(u".xlsx"_qs, Qt::CaseInsensitive)) {
    if (!WriteXlsxWorkbook(grid, path, kExportSheetName, error)) return false;
    if (written) written->append(path);
    return true;
  }
  return WriteXlsWorkbooks(grid, path, kExportSheetName, written, error);
}

bool ExportHtml(const ListingDocument& doc, const QString& path, QString* error, TotalsIn totals,
                const PageBrowsing& browsing, const LinkForm& links) {
  QStringList lines = WithLinks(doc.Html().ToStringList(), links, path);
  if (totals) {
    const auto row = TotalsRow(TotalsOf(doc), *totals);
    // Aligned as the entries' cells are: the number column right, the others left.
    QString cells = u"<tfoot><tr><td align=\"right\">"_qs + row[0] + u"</td>"_qs;
    for (int column = 1; column < doc.ColumnCount(); ++column) {
      cells += u"<td>"_qs + row[std::size_t(column)] + u"</td>"_qs;
    }
    lines.append(cells + u"</tr></tfoot>"_qs);
  }
  return WriteHtmlPage(path, lines + ClosingTags(), browsing, error);
}

QString PreviewPath(const QString& program_dir) { return program_dir + u"vorschau.htm"_qs; }

bool WritePreview(const QString& program_dir, const QStringList& page, QString* error,
                  const PageBrowsing& browsing) {
  return WriteHtmlPage(PreviewPath(program_dir), page, browsing, error);
}

bool ShowPreview(const QString& program_dir, const QStringList& page, Shell& shell,
                 Prompts& prompts, const PageBrowsing& browsing) {
  QString error;
  if (!WritePreview(program_dir, page, &error, browsing)) {
    prompts.Error(error);
    return false;
  }
  shell.OpenUrl(QUrl::fromLocalFile(PreviewPath(program_dir)));
  return true;
}

QString WithDefaultExtension(const QString& chosen, const QString& extension) {
  return ExtensionStart(chosen) == chosen.size() ? chosen + extension : chosen;
}

QString TextExportFilter() { return kTextFilter; }
QString TableExportFilter() { return kTextFilter + u";;"_qs + kXlsFilter; }
QString PageExportFilter() { return kHtmlFilter; }

QString ChosenFilterExtension(const QString& filter) {
  if (filter == kCsvFilter) return u".csv"_qs;
  if (filter == kJsonFilter) return u".json"_qs;
  if (filter == kXlsFilter) return u".xls"_qs;
  return QString();
}

bool ExportTextOrData(const ListingDocument& doc, const JsonListing& listing, const QString& path,
                      QString* error, TotalsIn totals) {
  if (path.endsWith(u".csv"_qs, Qt::CaseInsensitive)) return ExportCsv(doc, path, error, totals);
  if (path.endsWith(u".json"_qs, Qt::CaseInsensitive)) {
    return ExportJson(doc, listing, path, error);
  }
  return ExportText(doc, path, error, totals);
}

bool RunExport(const ListingDocument& doc, const ExportChoice& choice, const JsonListing& listing,
               Prompts& prompts, const MessageSlots& messages, ExportFolders& folders,
               const PageBrowsing& browsing) {
  if (choice.html && !choice.links) {
    prompts.Error(messages.msgBadLinkBase);
    return false;
  }
  QString error;
  auto chosen = [&](bool ticked, const QString& filter, const QString& extension, QString& folder) {
    std::optional<QString> name;
    if (ticked) name = prompts.SaveFileName(filter, folder);
    if (!name) return name;
    folder = QFileInfo(*name).absolutePath();
    return std::optional<QString>(WithDefaultExtension(*name, extension));
  };
  auto failed = [&] {
    prompts.Error(error);
    return false;
  };
  const TotalsIn totals = choice.totals ? TotalsIn(listing.language) : std::nullopt;
  if (const auto path = chosen(choice.text, kTextFilter, u".txt"_qs, folders.text)) {
    if (!ExportTextOrData(doc, listing, *path, &error, totals)) return failed();
  }
  if (const auto path =
          chosen(choice.spreadsheet, kSpreadsheetFilter, u".xls"_qs, folders.spreadsheet)) {
    QStringList written;
    const bool ok = ExportSpreadsheet(doc, *path, &written, &error, totals);
    if (written.size() > 1) prompts.Inform(messages.msgWorkbooks + u'\n' + written.join(u'\n'));
    if (!ok) return failed();
  }
  if (const auto path = chosen(choice.html, kHtmlFilter, u".htm"_qs, folders.html)) {
    if (!ExportHtml(doc, *path, &error, totals, browsing, *choice.links)) return failed();
  }
  return true;
}

}  // namespace kavoro

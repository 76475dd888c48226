#include "core/listing/ListingHeaders.h"

#include "core/listing/ListingDocument.h"
#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

constexpr int kDetailWidths[3] = {80, 190, 120};

void PutGridHeader(ListingDocument& doc, const QStringList& cells) {
  for (int c = 0; c < cells.size(); ++c) doc.SetCell(c, 0, cells[c]);
}

// The header cells of the columns the grid has: a grid that keeps the detail columns of the
// entries made with them gets all five in the language, never a mix of two languages.
void PutGridHeaderForItsColumns(ListingDocument& doc, UiLanguage language) {
  PutGridHeader(doc, HeadersFor(language, doc.ColumnCount() == 5, UmlautForm::Plain).grid_cells);
}

void PutViewHeaders(ListingDocument& doc, const HeaderTexts& headers) {
  doc.PutTextLine(0, headers.text_line);
  doc.PutHtmlLine(html_line::kHeaderRow, headers.html_row);
}

// The five-column layout; the same in every writer but for the form of the HTML umlauts.
void PutFiveColumnHeaders(ListingDocument& doc, const HeaderTexts& headers) {
  doc.SetColumnCount(5);
  PutGridHeader(doc, headers.grid_cells);
  SetDetailColumnWidths(doc);
  PutViewHeaders(doc, headers);
}

void RecordDetails(OptionsFile* options, bool details) {
  if (options) options->SetSnapshotLine(opt::kDetailColumns, details ? u"1"_qs : u"0"_qs);
}

}  // namespace

void SetDetailColumnWidths(ListingDocument& doc) {
  for (int i = 0; i < 3; ++i) doc.SetColumnWidth(2 + i, kDetailWidths[i]);
}

const QStringList& PageTemplate() {
  static const QStringList kTemplate = {
      u"<html>"_qs,
      u"<head>"_qs,
      u"<title>Kavoro</title> "_qs,
      u"<meta name=\"generator\" content=\"Kavoro 2.2 von Tolvar\">"_qs,
      u"<style type=\"text/css\">"_qs,
      u"<!--"_qs,
      u"  td"_qs,
      u"  {"_qs,
      u"    color : black;"_qs,
      u"    font-size: 12pt;"_qs,
      u"    font-family: arial;"_qs,
      u"    vertical-align:top;"_qs,
      u"    padding-bottom:4pt;"_qs,
      u"    padding-left:8pt;"_qs,
      u"    padding-right:8pt;"_qs,
      u"  }"_qs,
      u"//-->"_qs,
      u"</style>"_qs,
      u"</head>"_qs,
      u"<body bgcolor=\"#ffffff\" alink=\"#000000\" link=\"#000000\" vlink=\"#000000\">"_qs,
      u"<table border=\"1\" align=\"center\" bgcolor=\"#ffffff\" cellspacing=\"0\">"_qs,
  };
  return kTemplate;
}

HeaderTexts HeadersFor(UiLanguage language, bool five_columns, UmlautForm form) {
  const bool german = language == UiLanguage::German;
  const QString file = german ? u"Datei"_qs : u"File"_qs;
  HeaderTexts h;
  if (!five_columns) {
    h.text_line = u"Nr.        "_qs + file;
    h.html_row = u"<tr><td align=\"right\">Nr.</td><td>"_qs + file + u"</td></tr>"_qs;
    h.grid_cells = {u"Nr."_qs, file};
    return h;
  }
  const QStringList words = german ? QStringList{u"Größe"_qs, u"Typ"_qs, u"Geändert"_qs}
                                   : QStringList{u"Size"_qs, u"Type"_qs, u"Date"_qs};
  const QString sep = QString(13, u' ') + u'-' + QString(13, u' ');
  h.text_line = u"Nr.        "_qs + file;
  for (const QString& w : words) h.text_line += sep + w;
  h.text_line += QString(13, u' ');
  h.html_row = u"<tr><td align=\"right\">Nr.</td><td>"_qs + file;
  for (QString w : words) {
    if (form == UmlautForm::Entities) {
      w.replace(u"ö"_qs, u"&ouml;"_qs).replace(u"ä"_qs, u"&auml;"_qs);
    }
    h.html_row += u"</td><td>"_qs + w;
  }
  h.html_row += u"</td></tr>"_qs;
  h.grid_cells = QStringList{u"Nr."_qs, file} + words;
  return h;
}

void ApplyListingHeaders(ListingDocument& doc, bool details, UiLanguage language,
                         OptionsFile* snapshot) {
  doc.BeginUpdate();
  RecordDetails(snapshot, details);
  const HeaderTexts headers = HeadersFor(language, details, UmlautForm::Entities);
  if (!details) {
    if (!doc.FirstEntry()) {
      doc.SetColumnCount(2);
      PutViewHeaders(doc, headers);
    }
    PutGridHeaderForItsColumns(doc, language);
  } else {
    PutFiveColumnHeaders(doc, headers);
  }
  doc.EndUpdate();
}

void ApplyLanguageHeaders(ListingDocument& doc, bool details, UiLanguage language,
                          OptionsFile& options) {
  doc.BeginUpdate();
  if (language == UiLanguage::English) RecordDetails(&options, details);
  const HeaderTexts headers = HeadersFor(language, details, UmlautForm::Plain);
  if (!details) {
    if (!doc.FirstEntry()) doc.SetColumnCount(2);
    PutGridHeaderForItsColumns(doc, language);
    if (!doc.FirstEntry()) PutViewHeaders(doc, headers);
  } else {
    PutFiveColumnHeaders(doc, headers);
  }
  doc.EndUpdate();
}

void BuildEmptyListing(ListingDocument& doc) {
  doc.BeginUpdate();
  doc.ClearText();
  doc.ClearHtml();
  doc.ClearGridBody();
  doc.SetCell(0, 0, u"");
  doc.SetCell(1, 0, u"");
  doc.SetEntryCounter(0);
  // A new listing holds no entries a narrower grid could cut, so its header lines follow the
  // detail state as at start.
  doc.SetFirstEntry(false);
  doc.SetColumnWidth(1, 600);
  doc.SetHtmlLines(PageTemplate());
  doc.EndUpdate();
}

}  // namespace kavoro

#include "core/listing/ListingHeaders.h"

#include "core/listing/ListingDocument.h"
#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

constexpr int kDetailWidths[3] = {80, 190, 120};
constexpr int kMediaWidths[ListingData::kMediaColumns] = {60, 160, 200, 160, 100, 120};

void PutGridHeader(ListingDocument& doc, const QStringList& cells) {
  for (int c = 0; c < cells.size(); ++c) doc.SetCell(c, 0, cells[c]);
}

void PutViewHeaders(ListingDocument& doc, const HeaderTexts& headers) {
  doc.PutTextLine(0, headers.text_line);
  doc.PutHtmlLine(html_line::kHeaderRow, headers.html_row);
}

void RecordDetails(OptionsFile* options, bool details) {
  if (options) options->SetSnapshotLine(opt::kDetailColumns, details ? u"1"_qs : u"0"_qs);
}

// Both header routines: a grid that holds entries made with the detail columns keeps them (and
// then its text and HTML header lines, and only its grid header follows the language), and
// one that holds entries made with the media columns keeps those. Every header is in one
// language, never a mix of two.
void ApplyHeaders(ListingDocument& doc, ColumnForm form, UiLanguage language, UmlautForm umlauts) {
  doc.BeginUpdate();
  form.media = form.media || (doc.HasMedia() && doc.RowCount() > 1);
  const bool keep_details = !form.details && doc.FirstEntry();
  if (keep_details) form.details = doc.HasDetails();
  if (keep_details && form.media == doc.HasMedia()) {
    PutGridHeader(doc, HeadersFor(language, doc.Form(), UmlautForm::Plain).grid_cells);
  } else {
    const bool new_media = form.media && !doc.HasMedia();
    doc.SetColumns(form);
    const HeaderTexts headers = HeadersFor(language, form, umlauts);
    PutGridHeader(doc, headers.grid_cells);
    if (form.details) SetDetailColumnWidths(doc);
    if (new_media) SetMediaColumnWidths(doc);
    PutViewHeaders(doc, headers);
  }
  doc.EndUpdate();
}

}  // namespace

void SetDetailColumnWidths(ListingDocument& doc) {
  for (int i = 0; i < 3; ++i) doc.SetWidthOf(ListingData::ColumnId(2 + i), kDetailWidths[i]);
}

void SetMediaColumnWidths(ListingDocument& doc) {
  for (int i = 0; i < ListingData::kMediaColumns; ++i) {
    doc.SetWidthOf(ListingData::ColumnId(ListingData::kFirstMediaColumn + i), kMediaWidths[i]);
  }
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

HeaderTexts HeadersFor(UiLanguage language, ColumnForm form, UmlautForm umlauts) {
  const bool german = language == UiLanguage::German;
  const QString file = german ? u"Datei"_qs : u"File"_qs;
  HeaderTexts h;
  h.text_line = u"Nr.        "_qs + file;
  h.html_row = u"<tr><td align=\"right\">Nr.</td><td>"_qs + file;
  h.grid_cells = {u"Nr."_qs, file};
  QStringList words;
  if (form.details) {
    words << (german ? QStringList{u"Größe"_qs, u"Typ"_qs, u"Geändert"_qs}
                     : QStringList{u"Size"_qs, u"Type"_qs, u"Date"_qs});
  }
  if (form.media) {
    words << (german ? QStringList{u"Dauer"_qs, u"Interpret"_qs, u"Titel"_qs, u"Album"_qs,
                                   u"Pixel"_qs, u"Aufnahme"_qs}
                     : QStringList{u"Duration"_qs, u"Artist"_qs, u"Title"_qs, u"Album"_qs,
                                   u"Pixels"_qs, u"Taken"_qs});
  }
  if (words.isEmpty()) {
    h.html_row += u"</td></tr>"_qs;
    return h;
  }
  const QString sep = QString(13, u' ') + u'-' + QString(13, u' ');
  for (const QString& w : words) h.text_line += sep + w;
  h.text_line += QString(13, u' ');
  for (QString w : words) {
    if (umlauts == UmlautForm::Entities) {
      w.replace(u"ö"_qs, u"&ouml;"_qs).replace(u"ä"_qs, u"&auml;"_qs);
    }
    h.html_row += u"</td><td>"_qs + w;
  }
  h.html_row += u"</td></tr>"_qs;
  h.grid_cells += words;
  return h;
}

void ApplyListingHeaders(ListingDocument& doc, ColumnForm form, UiLanguage language,
                         OptionsFile* snapshot) {
  RecordDetails(snapshot, form.details);
  ApplyHeaders(doc, form, language, UmlautForm::Entities);
}

void ApplyLanguageHeaders(ListingDocument& doc, ColumnForm form, UiLanguage language,
                          OptionsFile& options) {
  if (language == UiLanguage::English) RecordDetails(&options, form.details);
  ApplyHeaders(doc, form, language, UmlautForm::Plain);
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
  doc.SetWidthOf(ListingData::kName, 600);
  doc.SetHtmlLines(PageTemplate());
  doc.EndUpdate();
}

}  // namespace kavoro

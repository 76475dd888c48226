#include <gtest/gtest.h>

#include <QSignalSpy>

#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "support/Entries.h"

namespace kavoro {
namespace {

using View = ListingDocument::View;

TEST(ListingDocumentTest, MillionEntriesStayCompact) {
  ListingDocument doc;
  BuildEmptyListing(doc);
  ApplyListingHeaders(doc, true, UiLanguage::German, nullptr);
  doc.BeginUpdate();
  for (int i = 0; i < 1'000'000; ++i) {
    test::AddEntry(doc, u"Lied %1.mp3"_qs.arg(i), u"4.321 KB"_qs, u"MP3-Audio"_qs,
                   u"05.12.2004 14:35"_qs);
  }
  doc.EndUpdate();
  EXPECT_EQ(doc.Text().Count(), 1'000'001);
  EXPECT_EQ(doc.RowCount(), 1'000'001);
  EXPECT_EQ(doc.Html().Count(), 22 + 12'000'000);
  EXPECT_EQ(doc.Cell(1, 1'000'000), u"Lied 999999.mp3"_qs);
  EXPECT_EQ(doc.Html().At(22 + 12 * 999'999 + 3), u"Lied 999999.mp3"_qs);
  EXPECT_EQ(doc.Html().At(22 + 12 * 999'999 + 10), u"</td>"_qs);
  // Well under a kilobyte per entry for all three views together.
  EXPECT_LT(doc.BytesUsed() / 1'000'000, 600u);
}

TEST(ListingDocumentTest, PuttingALineReplacesOrAppends) {
  ListingDocument doc;
  doc.PutTextLine(0, u"a");
  doc.PutTextLine(1, u"b");  // exactly one line: becomes the new last line
  doc.PutTextLine(0, u"A");
  doc.PutTextLine(3, u"d");  // further out pads with empty lines
  EXPECT_EQ(doc.Text().ToStringList(), (QStringList{"A", "b", "", "d"}));
}

TEST(ListingDocumentTest, HiddenColumnsKeepTheirCells) {
  ListingDocument doc;
  doc.SetColumnCount(5);
  doc.AppendRow({u"1", u"a.mp3", u"1 KB", u"Audio", u"01.01.2020 10:00"});
  doc.SetColumnCount(2);
  doc.SetColumnCount(5);
  EXPECT_EQ(doc.Column(4), (QStringList{"", "01.01.2020 10:00"}));
  doc.SetRowCount(1);
  doc.SetRowCount(2);
  EXPECT_EQ(doc.Cell(1, 1), QString());  // rows cut away are gone for good
}

TEST(ListingDocumentTest, ViewsHearOfAppendsAndRewritesOncePerUpdate) {
  ListingDocument doc;
  QSignalSpy spy(&doc, &ListingDocument::ViewChanged);
  doc.BeginUpdate();
  doc.AppendTextLine(u"x");
  doc.AppendTextLine(u"y");
  doc.AppendHtmlLine(u"h");
  doc.EndUpdate();
  ASSERT_EQ(spy.count(), 2);
  EXPECT_EQ(spy[0][0].value<View>(), View::Text);
  EXPECT_TRUE(spy[0][1].toBool());
  spy.clear();
  doc.PutTextLine(0, u"header");
  ASSERT_EQ(spy.count(), 1);
  EXPECT_FALSE(spy[0][1].toBool());
}

TEST(ListingDocumentTest, HeaderTextsOfBothLanguagesAndForms) {
  const HeaderTexts de5 = HeadersFor(UiLanguage::German, true, UmlautForm::Entities);
  EXPECT_EQ(de5.text_line,
            u"Nr.        Datei             -             Größe             -             Typ"
            u"             -             Geändert             "_qs);
  EXPECT_EQ(de5.html_row,
            u"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Gr&ouml;ße</td><td>Typ</td>"
            u"<td>Ge&auml;ndert</td></tr>"_qs);
  EXPECT_EQ(HeadersFor(UiLanguage::German, true, UmlautForm::Plain).html_row,
            u"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Größe</td><td>Typ</td>"
            u"<td>Geändert</td></tr>"_qs);
  const HeaderTexts en5 = HeadersFor(UiLanguage::English, true, UmlautForm::Entities);
  EXPECT_EQ(en5.text_line,
            u"Nr.        File             -             Size             -             Type"
            u"             -             Date             "_qs);
  EXPECT_EQ(en5.grid_cells, (QStringList{"Nr.", "File", "Size", "Type", "Date"}));
  const HeaderTexts de2 = HeadersFor(UiLanguage::German, false, UmlautForm::Entities);
  EXPECT_EQ(de2.text_line, u"Nr.        Datei"_qs);
  EXPECT_EQ(de2.html_row, u"<tr><td align=\"right\">Nr.</td><td>Datei</td></tr>"_qs);
  EXPECT_EQ(HeadersFor(UiLanguage::English, false, UmlautForm::Plain).text_line,
            u"Nr.        File"_qs);
}

TEST(ListingDocumentTest, HeaderLayoutKeepsFiveColumnsOnceDetailsWereEntered) {
  ListingDocument doc;
  BuildEmptyListing(doc);
  ApplyListingHeaders(doc, true, UiLanguage::German, nullptr);
  EXPECT_EQ(doc.ColumnCount(), 5);
  EXPECT_EQ(doc.ColumnWidth(3), 190);
  doc.RaiseFirstEntry();
  test::AddEntry(doc, u"a.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"x"_qs);
  ApplyListingHeaders(doc, false, UiLanguage::English, nullptr);
  EXPECT_EQ(doc.ColumnCount(), 5);
  EXPECT_EQ(doc.Cell(1, 0), u"File"_qs);
  EXPECT_EQ(doc.Cell(2, 0), u"Size"_qs);  // every header cell in one language
  EXPECT_EQ(doc.Text().At(0).left(16), u"Nr.        Datei"_qs);
  EXPECT_EQ(doc.Cell(4, 1), u"x"_qs);
}

}  // namespace
}  // namespace kavoro

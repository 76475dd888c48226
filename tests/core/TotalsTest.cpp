#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/listing/ListingTotals.h"
#include "core/output/DataExport.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/text/LineFile.h"
#include "support/Entries.h"
#include "support/TestFiles.h"
#include "support/XlsReader.h"

namespace kavoro {
namespace {

// Three files of known sizes: 1 byte, 1 KB + 1 byte and 2 MB.
void AddKnownFiles(ListingDocument& doc) {
  test::AddEntry(doc, u"a.mp3"_qs, u"1 KB"_qs, u"MP3"_qs, u"01.01.2020 10:00"_qs,
                 {u"/m/"_qs, {}, 1});
  test::AddEntry(doc, u"b.mp3"_qs, u"2 KB"_qs, u"MP3"_qs, u"01.01.2020 10:00"_qs,
                 {u"/m/"_qs, {}, 1025});
  test::AddEntry(doc, u"c.mp3"_qs, u"2.048 KB"_qs, u"MP3"_qs, u"01.01.2020 10:00"_qs,
                 {u"/m/"_qs, {}, 2 * 1024 * 1024});
}

// The sum is of the files' own sizes where they are known (rounded once, not per file), and of
// the shown sizes of a listing read back from list files.
TEST(TotalsTest, TheSizesOfTheFilesAddUp) {
  ListingDocument doc;
  test::StartListing(doc, true);
  EXPECT_EQ(TotalsText(TotalsOf(doc), UiLanguage::German), u"0 Einträge, zusammen 0 KB"_qs);
  AddKnownFiles(doc);
  const ListingTotals totals = TotalsOf(doc);
  EXPECT_EQ(totals.entries, 3);
  EXPECT_EQ(totals.bytes, 1u + 1025u + 2u * 1024 * 1024);
  EXPECT_EQ(TotalsText(totals, UiLanguage::German), u"3 Einträge, zusammen 2.050 KB"_qs);
  EXPECT_EQ(TotalsText(totals, UiLanguage::English), u"3 entries, 2.050 KB in all"_qs);

  QTemporaryDir dir;
  QString error;
  ASSERT_TRUE(SaveListFiles(doc, dir.filePath(u"l"_qs), &error)) << error.toStdString();
  auto contents = ReadListFiles(dir.filePath(u"l"_qs), MessageSlotsFor(UiLanguage::German), &error);
  ASSERT_TRUE(contents) << error.toStdString();
  ListingDocument opened;
  LoadListing(opened, std::move(*contents), UiLanguage::German);
  EXPECT_EQ(TotalsOf(opened).bytes, (1u + 2u + 2048u) * 1024);

  ListingDocument names;
  test::StartListing(names, false, UiLanguage::English);
  test::AddEntry(names, u"x"_qs);
  EXPECT_EQ(TotalsText(TotalsOf(names), UiLanguage::English), u"1 entry"_qs);
}

// "Summe anhängen" ends each format with the totals; the listing keeps its views.
TEST(TotalsTest, EveryExportCanEndWithTheTotals) {
  ListingDocument doc;
  test::StartListing(doc, true);
  AddKnownFiles(doc);
  const QByteArray text_before = LineFile::EncodeLines(doc.Text());
  QTemporaryDir dir;
  const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
  QString error;
  const TotalsIn german = UiLanguage::German;
  ASSERT_TRUE(ExportText(doc, path("t.txt"), &error, german));
  ASSERT_TRUE(ExportHtml(doc, path("t.htm"), &error, german));
  ASSERT_TRUE(ExportSpreadsheet(doc, path("t.xls"), nullptr, &error, german));
  ASSERT_TRUE(ExportCsv(doc, path("t.csv"), &error, UiLanguage::English));

  EXPECT_EQ(test::ReadBytes(path("t.txt")),
            text_before + "Summe : 3 Eintr\xe4ge, zusammen 2.050 KB\r\n");
  EXPECT_TRUE(test::ReadBytes(path("t.htm"))
                  .endsWith("<tfoot><tr><td align=\"right\">Summe</td><td>3 Eintr\xe4ge</td>"
                            "<td>2.050 KB</td><td></td><td></td></tr></tfoot>\r\n"
                            "</table>\r\n</body>\r\n</html>\r\n"));
  EXPECT_TRUE(test::ReadBytes(path("t.csv"))
                  .endsWith("c.mp3,2.048 KB,MP3,01.01.2020 10:00\r\n"
                            "Total,3 entries,2.050 KB,,\r\n"));
  const auto book = test::ReadXls(path("t.xls"));
  ASSERT_TRUE(book);
  const auto& last = book->sheets.at(0).cells.back();
  EXPECT_EQ(last.at(0).text, u"Summe"_qs);
  EXPECT_EQ(last.at(2).text, u"2.050 KB"_qs);
  EXPECT_EQ(book->sheets.at(0).rows, 5u);
  EXPECT_EQ(LineFile::EncodeLines(doc.Text()), text_before);
  EXPECT_EQ(doc.RowCount(), 4);
}

// With the media columns every grid export holds them in the grid's order, and the totals row
// has one cell per column, the size under the sizes when the grid shows them.
TEST(TotalsTest, GridExportsHoldTheMediaColumnsAndTheirTotalsRow) {
  const test::MediaTexts song{u"3:07"_qs, u"Artist"_qs, u"Title, Part 1"_qs, u"Album"_qs};
  const test::MediaTexts picture{QString(), {}, {}, {}, u"4000 × 3000"_qs, u"01.01.2020 10:00"_qs};
  for (const bool details : {true, false}) {
    SCOPED_TRACE(details ? "11 columns" : "8 columns");
    const int columns = details ? 11 : 8;
    ListingDocument doc;
    test::StartListing(doc, {details, true});
    test::AddEntry(doc, u"a.mp3"_qs, u"2 KB"_qs, u"MP3"_qs, u"01.01.2020 10:00"_qs,
                   {u"/m/"_qs, {}, 2048}, song);
    test::AddEntry(doc, u"b.jpg"_qs, u"1 KB"_qs, u"JPG"_qs, u"01.01.2020 10:00"_qs,
                   {u"/m/"_qs, {}, 1024}, picture);
    ASSERT_EQ(doc.ColumnCount(), columns);
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    QString error;
    const TotalsIn german = UiLanguage::German;
    ASSERT_TRUE(ExportHtml(doc, path("t.htm"), &error, german));
    ASSERT_TRUE(ExportSpreadsheet(doc, path("t.xls"), nullptr, &error, german));

    const QString sizes = details ? u"3 KB"_qs : QString();
    const QByteArray media_fields = "3:07,Artist,\"Title, Part 1\",Album,,";
    EXPECT_EQ(CsvBytes(doc, german).split('\n').mid(1),
              (QList<QByteArray>{
                  "1,a.mp3," + QByteArray(details ? "2 KB,MP3,01.01.2020 10:00," : "") +
                      media_fields + "\r",
                  "2,b.jpg," + QByteArray(details ? "1 KB,JPG,01.01.2020 10:00," : "") +
                      ",,,,4000 \xC3\x97 3000,01.01.2020 10:00\r",
                  "Summe,2 Eintr\xC3\xA4ge," + sizes.toUtf8() + QByteArray(columns - 3, ',') + "\r",
                  ""}));

    const QByteArray page = test::ReadBytes(path("t.htm"));
    const qsizetype foot = page.indexOf("<tfoot>");
    ASSERT_GE(foot, 0);
    const QByteArray totals = page.mid(foot, page.indexOf("</tfoot>") - foot);
    EXPECT_EQ(totals.count("<td"), columns) << totals.toStdString();
    EXPECT_EQ(totals.contains("<td>2 Eintr\xe4ge</td><td>3 KB</td>"), details);

    const auto book = test::ReadXls(path("t.xls"));
    ASSERT_TRUE(book);
    const test::XlsSheet& sheet = book->sheets.at(0);
    ASSERT_EQ(sheet.columns, unsigned(columns));
    ASSERT_EQ(sheet.rows, 4u);
    for (int c = 0; c < columns; ++c) {
      for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(sheet.cells[std::size_t(row)][std::size_t(c)].text, doc.Cell(c, row))
            << row << "," << c;
      }
    }
    EXPECT_EQ(sheet.cells[1][std::size_t(doc.ShownColumn(ListingData::kTitle))].text,
              u"Title, Part 1"_qs);
    EXPECT_EQ(sheet.cells[3][2].text, sizes);
  }
}

}  // namespace
}  // namespace kavoro

#include <freexl.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "core/listing/ListingDocument.h"
#include "core/output/CompoundFile.h"
#include "core/output/Export.h"
#include "core/output/WorkbookWriter.h"
#include "support/Entries.h"
#include "support/TestFiles.h"
#include "support/XlsReader.h"

namespace kavoro {
namespace {

CellTable Table(qsizetype rows, int columns) {
  return {rows, columns,
          [](int c, qsizetype r) { return QString::number(r) + u'/' + QString::number(c); }};
}

// Every cell of every sheet, as the reader sees it, row by row across the sheets.
void ExpectCells(const test::XlsBook& book, const CellTable& table, qsizetype first_row) {
  for (std::size_t s = 0; s < book.sheets.size(); ++s) {
    const test::XlsSheet& sheet = book.sheets[s];
    for (unsigned r = 0; r < sheet.rows; ++r) {
      for (unsigned c = 0; c < sheet.columns; ++c) {
        const QString want = table.cell(int(s * kXlsSheetColumns + c), first_row + r);
        const test::XlsCell& got = sheet.cells[r][c];
        if (want.isEmpty()) {
          ASSERT_EQ(got.type, FREEXL_CELL_NULL) << r << "," << c;
        } else {
          ASSERT_TRUE(test::IsTextCell(got)) << r << "," << c << " type " << got.type;
          ASSERT_EQ(got.text, want) << r << "," << c;
        }
      }
    }
  }
}

TEST(CellReferenceTest, ColumnLettersAndRowNumber) {
  EXPECT_EQ(CellReference(1, 1), u"A1");
  EXPECT_EQ(CellReference(100, 5), u"E100");
  EXPECT_EQ(CellReference(7, 27), u"AA7");
  EXPECT_EQ(CellReference(3, 52), u"AZ3");
  EXPECT_EQ(CellReference(3, 53), u"BA3");
  EXPECT_EQ(CellReference(65536, 256), u"IV65536");
  EXPECT_EQ(CellReference(1, 702), u"ZZ1");
  EXPECT_EQ(CellReference(1, 703), u"AAA1");
}

TEST(WorkbookFileNameTest, LaterWorkbooksGetTheirNumberBeforeTheExtension) {
  EXPECT_EQ(WorkbookFileName(u"/a/liste.xls"_qs, 1), u"/a/liste.xls");
  EXPECT_EQ(WorkbookFileName(u"/a/liste.xls"_qs, 2), u"/a/liste (2).xls");
  EXPECT_EQ(WorkbookFileName(u"/a.b/liste.v1.xls"_qs, 3), u"/a.b/liste.v1 (3).xls");
  EXPECT_EQ(WorkbookFileName(u"/a.b/liste"_qs, 2), u"/a.b/liste (2)");
  EXPECT_EQ(WorkbookFileName(u"/a/.liste"_qs, 2), u"/a/.liste (2)");
}

TEST(WorkbookWriterTest, TwoColumnListingIsOneSheetOfTextCellsWithTheHeaderInRowOne) {
  ListingDocument doc;
  test::StartListing(doc, false);
  for (int i = 0; i < 10; ++i) test::AddEntry(doc, u"Lied <%1> & Größe €.mp3"_qs.arg(i));
  QTemporaryDir dir;
  const QString path = dir.filePath(u"liste.xls"_qs);
  QStringList written;
  QString error;
  ASSERT_TRUE(ExportSpreadsheet(doc, path, &written, &error)) << error.toStdString();
  EXPECT_EQ(written, QStringList{path});

  int code = 0;
  const auto book = test::ReadXls(path, &code);
  ASSERT_TRUE(book) << "FreeXL error " << code;
  ASSERT_EQ(book->sheets.size(), 1u);
  const test::XlsSheet& sheet = book->sheets[0];
  EXPECT_EQ(sheet.name, u"Stringgrid Print1");
  ASSERT_EQ(sheet.rows, 11u);
  ASSERT_EQ(sheet.columns, 2u);
  EXPECT_EQ(sheet.cells[0][0].text, u"Nr.");
  EXPECT_EQ(sheet.cells[0][1].text, u"Datei");
  EXPECT_EQ(sheet.cells[10][0].text, u"10");
  EXPECT_EQ(sheet.cells[10][1].text, u"Lied <9> & Größe €.mp3");
  // Numbers stay text, as every cell is a text cell.
  EXPECT_TRUE(test::IsTextCell(sheet.cells[10][0]));
  ExpectCells(*book, {doc.RowCount(), 2, [&](int c, qsizetype r) { return doc.Cell(c, r); }}, 0);
}

TEST(WorkbookWriterTest, FiveColumnsKeepEmptyCellsEmptyAndAnyCharacter) {
  ListingDocument doc;
  test::StartListing(doc, true);
  test::AddEntry(doc, u"東京 ☃ Ärger.txt"_qs, u"1 KB"_qs, u"Textdatei"_qs, u"05.12.2004 14:35"_qs);
  test::AddEntry(doc, u"leer"_qs);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"liste.xls"_qs);
  QString error;
  ASSERT_TRUE(ExportSpreadsheet(doc, path, nullptr, &error)) << error.toStdString();
  const auto book = test::ReadXls(path);
  ASSERT_TRUE(book);
  ASSERT_EQ(book->sheets.size(), 1u);
  ASSERT_EQ(book->sheets[0].rows, 3u);
  ASSERT_EQ(book->sheets[0].columns, 5u);
  EXPECT_EQ(book->sheets[0].cells[0][2].text, u"Größe");
  EXPECT_EQ(book->sheets[0].cells[1][1].text, u"東京 ☃ Ärger.txt");
  EXPECT_EQ(book->sheets[0].cells[2][3].type, FREEXL_CELL_NULL);
  ExpectCells(*book, {doc.RowCount(), 5, [&](int c, qsizetype r) { return doc.Cell(c, r); }}, 0);
}

TEST(WorkbookWriterTest, MoreThan256ColumnsGoOnFurtherSheets) {
  const CellTable table = Table(3, 300);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"wide.xls"_qs);
  ASSERT_TRUE(WriteXlsWorkbooks(table, path, kExportSheetName, nullptr, nullptr));
  const auto book = test::ReadXls(path);
  ASSERT_TRUE(book);
  ASSERT_EQ(book->sheets.size(), 2u);
  EXPECT_EQ(book->sheets[1].name, u"Stringgrid Print2");
  EXPECT_EQ(book->sheets[0].columns, 256u);
  EXPECT_EQ(book->sheets[1].columns, 44u);
  ExpectCells(*book, table, 0);
}

TEST(WorkbookWriterTest, TextsThatCrossRecordBoundariesSurviveTheSplit) {
  // Texts of several thousand characters, longer than any path, in the one-byte and the
  // two-byte form: the shared string table breaks inside them at ever other places.
  const CellTable table{40, 2, [](int c, qsizetype r) {
                          return c == 0
                                     ? QString(int(7000 + 11 * r), QChar(char16_t(u'a' + r % 26)))
                                     : QString(int(3000 + 27 * r), QChar(char16_t(0x4E00 + r)));
                        }};
  QTemporaryDir dir;
  const QString path = dir.filePath(u"long.xls"_qs);
  QString error;
  ASSERT_TRUE(WriteXlsWorkbooks(table, path, kExportSheetName, nullptr, &error));
  const auto book = test::ReadXls(path);
  ASSERT_TRUE(book);
  ExpectCells(*book, table, 0);
}

TEST(WorkbookWriterTest, AFullWorkbookOf65536RowsIsOneFile) {
  // Distinct two-byte texts in every cell make the file large enough to need more FAT
  // sectors than the container's header can list.
  const CellTable table{kXlsWorkbookRows, 5, [](int c, qsizetype r) {
                          return u"Ü東京 %1 %2 ........"_qs.arg(r).arg(c);
                        }};
  QTemporaryDir dir;
  const QString path = dir.filePath(u"full.xls"_qs);
  QStringList written;
  ASSERT_TRUE(WriteXlsWorkbooks(table, path, kExportSheetName, &written, nullptr));
  EXPECT_EQ(written, QStringList{path});
  EXPECT_FALSE(QFile::exists(WorkbookFileName(path, 2)));
  EXPECT_GT(QFileInfo(path).size(), 109 * 128 * 512);
  int code = 0;
  const auto book = test::ReadXls(path, &code);
  ASSERT_TRUE(book) << "FreeXL error " << code;
  ASSERT_EQ(book->sheets.size(), 1u);
  EXPECT_EQ(book->sheets[0].rows, 65536u);
  ExpectCells(*book, table, 0);
}

TEST(WorkbookWriterTest, A65537RowGridGivesTwoWorkbooksThatAreBothKept) {
  ListingDocument doc;
  test::StartListing(doc, false, UiLanguage::English);
  for (int i = 1; i <= 65536; ++i) test::AddEntry(doc, u"f"_qs + QString::number(i));
  ASSERT_EQ(doc.RowCount(), 65537);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"liste.xls"_qs);
  QStringList written;
  ASSERT_TRUE(ExportSpreadsheet(doc, path, &written, nullptr));
  const QString second = dir.filePath(u"liste (2).xls"_qs);
  EXPECT_EQ(written, (QStringList{path, second}));

  const auto first_book = test::ReadXls(path);
  ASSERT_TRUE(first_book);
  EXPECT_EQ(first_book->sheets[0].rows, 65536u);
  EXPECT_EQ(first_book->sheets[0].cells[0][1].text, u"File");
  EXPECT_EQ(first_book->sheets[0].cells[65535][1].text, u"f65535");
  const auto second_book = test::ReadXls(second);
  ASSERT_TRUE(second_book);
  ASSERT_EQ(second_book->sheets.size(), 1u);
  EXPECT_EQ(second_book->sheets[0].name, u"Stringgrid Print1");
  ASSERT_EQ(second_book->sheets[0].rows, 1u);
  EXPECT_EQ(second_book->sheets[0].cells[0][0].text, u"65536");
  EXPECT_EQ(second_book->sheets[0].cells[0][1].text, u"f65536");
}

TEST(WorkbookWriterTest, FailuresAreReportedAndLeaveNoFile) {
  QTemporaryDir dir;
  QString error;
  // A folder cannot be replaced by a workbook.
  EXPECT_FALSE(WriteXlsWorkbooks(Table(2, 2), dir.path(), kExportSheetName, nullptr, &error));
  EXPECT_TRUE(error.startsWith(u"Cannot create file "_qs + dir.path())) << error.toStdString();

  const QString path = dir.filePath(u"too-long.xls"_qs);
  const CellTable too_long{3, 2, [](int c, qsizetype r) {
                             return QString(c == 1 && r == 2 ? kMaxCellText + 1 : 1, u'x');
                           }};
  for (const QString& name : {path, dir.filePath(u"too-long.xlsx"_qs)}) {
    error.clear();
    const bool ok = name.endsWith(u"x")
                        ? WriteXlsxWorkbook(too_long, name, kExportSheetName, &error)
                        : WriteXlsWorkbooks(too_long, name, kExportSheetName, nullptr, &error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, u"Cell B3 holds 32768 characters; a spreadsheet cell takes at most 32767.");
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The text of one part of an .xlsx file, read with unzip.
QString XlsxPart(const QString& path, const QString& part) {
  QProcess unzip;
  unzip.start(u"unzip"_qs, {u"-p"_qs, path, part});
  if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) return u"<unreadable>"_qs;
  return QString::fromUtf8(unzip.readAllStandardOutput());
}

TEST(WorkbookWriterTest, XlsxIsOneSheetOfTextCells) {
  ListingDocument doc;
  test::StartListing(doc, false);
  test::AddEntry(doc, u"a <b> & Größe.mp3"_qs);
  QTemporaryDir dir;
  const QString path = dir.filePath(u"liste.XLSX"_qs);
  QStringList written;
  QString error;
  ASSERT_TRUE(ExportSpreadsheet(doc, path, &written, &error)) << error.toStdString();
  EXPECT_EQ(written, QStringList{path});
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"liste.XLSX"_qs});
  const QString workbook = XlsxPart(path, u"xl/workbook.xml"_qs);
  EXPECT_TRUE(workbook.contains(u"<sheet name=\"Stringgrid Print1\""_qs)) << workbook.toStdString();
  EXPECT_FALSE(workbook.contains(u"Stringgrid Print2"_qs));
  const QString sheet = XlsxPart(path, u"xl/worksheets/sheet1.xml"_qs);
  EXPECT_TRUE(sheet.contains(u"<dimension ref=\"A1:B2\"/>"_qs)) << sheet.toStdString();
  for (const QString& text : {u"Nr."_qs, u"Datei"_qs, u"1"_qs, u"a &lt;b&gt; &amp; Größe.mp3"_qs}) {
    EXPECT_TRUE(sheet.contains(u"<is><t>"_qs + text + u"</t></is>"_qs)) << text.toStdString();
  }
  EXPECT_EQ(sheet.count(u"t=\"inlineStr\""_qs), 4);
  EXPECT_FALSE(sheet.contains(u"<v>"_qs));
  EXPECT_TRUE(XlsxPart(path, u"xl/styles.xml"_qs).contains(u"numFmtId=\"49\""_qs));
}

}  // namespace
}  // namespace kavoro

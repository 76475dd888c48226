#include <gtest/gtest.h>

#include <QAction>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/output/ListFiles.h"
#include "print/ListingPrint.h"
#include "support/Entries.h"
#include "support/MainWindowFixture.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using PrintTest = test::MainWindowFixture;

// Everything but the first line, which holds the minute of printing.
QString WithoutPrintingDate(const QString& text) { return text.section(u'\n', 1); }

// "Als PDF speichern ..." writes what the command line writes of the same listing.
TEST_F(PrintTest, TheWindowsPdfIsTheCommandLinesPdf) {
  MainWindow& w = Open();
  for (const char* name : {"Ärger.mp3", "Привет.mp3",
                           "a long name that takes more than one line "
                           "of the page in the name column, surely.mp3"}) {
    test::AddEntry(w.State().doc, QString::fromUtf8(name));
  }
  QTemporaryDir out;
  const QString base = out.filePath(u"liste"_qs);
  QString error;
  ASSERT_TRUE(SaveListFiles(w.State().doc, base, &error)) << error.toStdString();
  QProcess cli;
  cli.start(QStringLiteral(KAVORO_LIST),
            {u"--open"_qs, base, u"--pdf"_qs, out.filePath(u"cli.pdf"_qs)});
  ASSERT_TRUE(cli.waitForFinished(60000));
  ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

  prompts_.files = {out.filePath(u"fenster"_qs)};
  Action("AlsPDFspeichern1")->trigger();
  EXPECT_EQ(prompts_.save_filters, QStringList{u"PDF (*.pdf)"_qs});
  const QString window_text = test::PdfText(out.filePath(u"fenster.pdf"_qs));
  EXPECT_TRUE(window_text.contains(u"Привет.mp3"_qs)) << window_text.toStdString();
  EXPECT_TRUE(window_text.contains(u"Seite 1 von 1"_qs));
  EXPECT_EQ(WithoutPrintingDate(window_text),
            WithoutPrintingDate(test::PdfText(out.filePath(u"cli.pdf"_qs))));
  EXPECT_TRUE(prompts_.shown.isEmpty()) << prompts_.shown.join(u'\n').toStdString();
}

// A PDF that is stopped, or that cannot be written, leaves the file there before as it was.
TEST(PrintJobTest, AStoppedPdfLeavesNothingBehind) {
  ListingDocument doc;
  test::StartListing(doc, false);
  for (int i = 0; i < 400; ++i) test::AddEntry(doc, u"Lied %1.mp3"_qs.arg(i));
  QTemporaryDir out;
  const QString path = out.filePath(u"l.pdf"_qs);
  test::WriteBytes(path, "old");
  const PrintTexts texts = PrintTextsNow(UiLanguage::German, {});

  QString error = u"unset"_qs;
  int reports = 0;
  EXPECT_FALSE(WritePdf(doc, texts, path, &error, [&](int done, int pages) {
    ++reports;
    EXPECT_GT(pages, 3);
    return done < 2;
  }));
  EXPECT_EQ(reports, 3);
  EXPECT_EQ(error, QString());
  EXPECT_EQ(test::ReadBytes(path), "old");
  EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{u"l.pdf"_qs});

  EXPECT_FALSE(WritePdf(doc, texts, out.filePath(u"no/such/l.pdf"_qs), &error));
  EXPECT_TRUE(error.startsWith(u"Cannot create file"_qs)) << error.toStdString();

  ASSERT_TRUE(WritePdf(doc, texts, path, &error)) << error.toStdString();
  EXPECT_TRUE(test::ReadBytes(path).startsWith("%PDF"));
}

// The words of a PDF's first page and where each stands, as pdftotext finds them.
struct PdfWord {
  QString text;
  QRectF box;
};
std::vector<PdfWord> PdfWords(const QString& path) {
  static const QRegularExpression kWord(
      u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)"_qs);
  const QString page = QString::fromUtf8(
      test::RunTool(u"pdftotext"_qs, {u"-bbox"_qs, u"-l"_qs, u"1"_qs, path, u"-"_qs}));
  std::vector<PdfWord> words;
  for (const QRegularExpressionMatch& m : kWord.globalMatch(page)) {
    const QPointF from(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QPointF to(m.captured(3).toDouble(), m.captured(4).toDouble());
    words.push_back({m.captured(5), QRectF(from, to)});
  }
  return words;
}

// Eleven or eight columns lie on their side on the page; values keep to one line, and no
// text runs into another.
TEST(PrintJobTest, TheMediaColumnsFitThePageReadably) {
  for (const bool details : {true, false}) {
    SCOPED_TRACE(details ? "11 columns" : "8 columns");
    ListingDocument doc;
    test::StartListing(doc, {details, true});
    test::AddEntry(doc, u"Schrei nach Liebe.mp3"_qs, u"12.345 KB"_qs, u"MP3-Audiodatei"_qs,
                   u"05.12.2004 14:35"_qs, {},
                   {u"1:02:03"_qs, u"Die Ärzte"_qs, u"Schrei nach Liebe"_qs,
                    u"Die Bestie in Menschengestalt"_qs});
    test::AddEntry(doc, u"Urlaub am Meer mit der ganzen Familie und dem Hund im Sommer.jpg"_qs,
                   u"1.234 KB"_qs, u"JPEG-Bild"_qs, u"05.12.2004 14:35"_qs, {},
                   {QString(), {}, {}, {}, u"4000 × 3000"_qs, u"05.12.2004 14:35"_qs});
    QTemporaryDir out;
    const QString path = out.filePath(u"m.pdf"_qs);
    QString error;
    ASSERT_TRUE(WritePdf(doc, PrintTextsNow(UiLanguage::German, {u"/musik"_qs}), path, &error))
        << error.toStdString();

    const QStringList size = test::PdfInfo(path, u"Page size"_qs).split(u' ');
    ASSERT_GE(size.size(), 3);
    EXPECT_GT(size[0].toDouble(), size[2].toDouble()) << size.join(u' ').toStdString();
    const QString text = test::PdfText(path);
    for (int c = 0; c < doc.ColumnCount(); ++c) {
      EXPECT_TRUE(text.contains(doc.Cell(c, 0))) << doc.Cell(c, 0).toStdString();
    }
    EXPECT_EQ(text.count(u"05.12.2004 14:35"_qs), details ? 3 : 1) << text.toStdString();
    for (const QString& value : {u"1:02:03"_qs, u"4000 × 3000"_qs}) {
      EXPECT_TRUE(text.contains(value)) << value.toStdString() << "\n" << text.toStdString();
    }
    EXPECT_EQ(text.contains(u"12.345 KB"_qs), details) << text.toStdString();

    const std::vector<PdfWord> words = PdfWords(path);
    ASSERT_GT(words.size(), 20u);
    for (std::size_t i = 0; i < words.size(); ++i) {
      for (std::size_t j = i + 1; j < words.size(); ++j) {
        const QRectF both = words[i].box.intersected(words[j].box);
        EXPECT_FALSE(both.width() > 0.5 && both.height() > 0.5)
            << words[i].text.toStdString() << " / " << words[j].text.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <QAction>
#include <QProcess>
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

}  // namespace
}  // namespace kavoro

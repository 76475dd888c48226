#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"
#include "core/output/DataExport.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/text/LineFile.h"
#include "support/Entries.h"
#include "support/RecordingShell.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/XlsReader.h"

namespace kavoro {
namespace {

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::StartListing(doc, false);
    test::AddEntry(doc, u"Größe & <Lied>.mp3"_qs);
  }
  QString File(const QString& name) const { return dir.filePath(name); }
  QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
  bool Run(const ExportChoice& choice) {
    return RunExport(doc, choice, JsonListing{}, prompts, MessageSlotsFor(UiLanguage::German),
                     folders);
  }

  ListingDocument doc;
  QTemporaryDir dir;
  test::ScriptedPrompts prompts;
  ExportFolders folders;
};

// Each kind of file's dialog opens in the folder last used for that kind.
TEST_F(ExportTest, EachDialogOpensWhereItsKindWasLastSaved) {
  ASSERT_TRUE(QDir(dir.path()).mkpath(u"texte"_qs));
  ASSERT_TRUE(QDir(dir.path()).mkpath(u"seiten"_qs));
  prompts.files = {File(u"texte/a.txt"_qs), File(u"seiten/a"_qs)};
  ASSERT_TRUE(Run({.text = true, .html = true}));
  prompts.files = {u""_qs, u""_qs, u""_qs};
  ASSERT_TRUE(Run({.text = true, .spreadsheet = true, .html = true}));
  EXPECT_EQ(prompts.dialog_starts,
            (QStringList{QString(), QString(), File(u"texte"_qs), QString(), File(u"seiten"_qs)}));
  EXPECT_TRUE(QFile::exists(File(u"seiten/a.htm"_qs)));
}

TEST_F(ExportTest, TextIsTheTextViewInCp1252WithCrLf) {
  QString error;
  ASSERT_TRUE(ExportText(doc, File(u"a.txt"_qs), &error));
  EXPECT_EQ(test::ReadBytes(File(u"a.txt"_qs)), test::CrLf({"Nr.        Datei",
                                                            "        1  Gr\xF6\xDF"
                                                            "e & <Lied>.mp3"}));
}

TEST_F(ExportTest, HtmlIsTheViewWithTheClosingTagsAndLeavesTheViewAlone) {
  const QStringList view = doc.Html().ToStringList();
  ASSERT_TRUE(ExportHtml(doc, File(u"a.htm"_qs), nullptr));
  const QByteArray bytes = test::ReadBytes(File(u"a.htm"_qs));
  EXPECT_TRUE(bytes.startsWith("<html>\r\n<head>\r\n<title>Kavoro</title> \r\n"));
  EXPECT_TRUE(
      bytes.endsWith("Gr\xF6\xDF"
                     "e &amp; &lt;Lied&gt;.mp3\r\n</td>\r\n</tr>\r\n</table>\r\n</body>\r\n"
                     "</html>\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), view.size() + 3);
  EXPECT_EQ(doc.Html().ToStringList(), view);
}

TEST_F(ExportTest, NoBoxTickedAsksNothingAndWritesNothing) {
  prompts.files = {File(u"a.txt"_qs)};
  EXPECT_TRUE(Run({}));
  EXPECT_EQ(prompts.files.size(), 1u);
  EXPECT_TRUE(prompts.shown.isEmpty());
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ExportTest, ACancelledDialogSkipsOnlyItsFormatAndNamesGetTheirExtension) {
  prompts.files = {QString(), File(u"liste"_qs), File(u"seite.html"_qs)};
  EXPECT_TRUE(Run({true, true, true}));
  EXPECT_EQ(Files(), (QStringList{u"liste.xls"_qs, u"seite.html"_qs}));
  EXPECT_TRUE(test::ReadXls(File(u"liste.xls"_qs)));
  EXPECT_TRUE(test::ReadBytes(File(u"seite.html"_qs)).endsWith("</html>\r\n"));
  EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ExportTest, ExistingFilesAreReplacedWithoutAQuestion) {
  test::WriteBytes(File(u"a.txt"_qs), "old contents that are longer than the new ones\r\n");
  prompts.files = {File(u"a.txt"_qs)};
  EXPECT_TRUE(Run({true, false, false}));
  EXPECT_EQ(test::ReadBytes(File(u"a.txt"_qs)).left(5), "Nr.  ");
  EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(ExportTest, AFailureIsReportedAndEndsTheExport) {
  // The text goes into a folder that does not exist; the later formats are not asked for.
  prompts.files = {File(u"missing/a.txt"_qs), File(u"a.xls"_qs), File(u"a.htm"_qs)};
  EXPECT_FALSE(Run({true, true, true}));
  ASSERT_EQ(prompts.shown.size(), 1);
  EXPECT_TRUE(
      prompts.shown[0].startsWith(u"error: Cannot create file "_qs + File(u"missing/a.txt"_qs)))
      << prompts.shown[0].toStdString();
  EXPECT_EQ(prompts.files.size(), 2u);
  EXPECT_TRUE(Files().isEmpty());

  // A spreadsheet that cannot be written is reported too, not swallowed.
  prompts.shown.clear();
  ASSERT_TRUE(QDir(dir.path()).mkdir(u"folder.xls"_qs));
  prompts.files = {File(u"folder.xls"_qs), File(u"a.htm"_qs)};
  EXPECT_FALSE(Run({false, true, true}));
  ASSERT_EQ(prompts.shown.size(), 1);
  EXPECT_TRUE(prompts.shown[0].startsWith(u"error: Cannot create file "_qs));
  EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ExportTest, SeveralWorkbooksAreNamedToTheUser) {
  for (int i = 0; i < 65536; ++i) test::AddEntry(doc, u"x"_qs);
  prompts.files = {File(u"liste.xls"_qs)};
  EXPECT_TRUE(Run({false, true, false}));
  EXPECT_EQ(prompts.shown,
            QStringList{u"inform: Die Einträge wurden auf mehrere Arbeitsmappen verteilt :\n"_qs +
                        File(u"liste.xls"_qs) + u'\n' + File(u"liste (2).xls"_qs)});
}

TEST_F(ExportTest, AListOpenedFromListFilesExportsTheSameFiles) {
  ListingDocument details;
  test::StartListing(details, true);
  test::AddEntry(details, u"Ärger.mp3"_qs, u"3.412 KB"_qs, u"MP3-Datei"_qs, u"05.12.2004 14:35"_qs);
  test::AddEntry(details, u"b.txt"_qs, u"1 KB"_qs, u"Textdatei"_qs, u"06.12.2004 09:00"_qs);
  for (ListingDocument* saved : {&doc, &details}) {
    const QString base = File(u"liste"_qs);
    ASSERT_TRUE(SaveListFiles(*saved, base, nullptr));
    const auto contents = ReadListFiles(base, MessageSlotsFor(UiLanguage::German), nullptr);
    ASSERT_TRUE(contents);
    // Opened into a running program, whose grid has its header row.
    ListingDocument opened;
    test::StartListing(opened, saved->ColumnCount() == 5);
    LoadListing(opened, *contents, UiLanguage::German);
    for (const QString& ext : {u".txt"_qs, u".xls"_qs, u".htm"_qs}) {
      const QString a = File(u"saved"_qs + ext);
      const QString b = File(u"opened"_qs + ext);
      ASSERT_TRUE(ext == u".txt" ? ExportText(*saved, a, nullptr) && ExportText(opened, b, nullptr)
                  : ext == u".htm"
                      ? ExportHtml(*saved, a, nullptr) && ExportHtml(opened, b, nullptr)
                      : ExportSpreadsheet(*saved, a, nullptr, nullptr) &&
                            ExportSpreadsheet(opened, b, nullptr, nullptr));
      EXPECT_EQ(test::ReadBytes(a), test::ReadBytes(b)) << ext.toStdString();
    }
  }
  const auto book = test::ReadXls(File(u"opened.xls"_qs));
  ASSERT_TRUE(book);
  EXPECT_EQ(book->sheets[0].columns, 5u);
  EXPECT_EQ(book->sheets[0].cells[1][4].text, u"05.12.2004 14:35");
}

// The text format's dialog also offers CSV and JSON, chosen by the name's ending; the other
// formats' dialogs are as they were.
TEST_F(ExportTest, TheTextDialogWritesCsvAndJsonByTheNamesEnding) {
  prompts.files = {File(u"a.CSV"_qs), File(u"b.json"_qs), File(u"c"_qs), File(u"x.xlsx"_qs),
                   File(u"x.htm"_qs)};
  for (int run = 0; run < 3; ++run) ASSERT_TRUE(Run({.text = true}));
  ASSERT_TRUE(Run({.spreadsheet = true, .html = true}));
  EXPECT_EQ(Files(),
            (QStringList{u"a.CSV"_qs, u"b.json"_qs, u"c.txt"_qs, u"x.htm"_qs, u"x.xlsx"_qs}));
  EXPECT_EQ(test::ReadBytes(File(u"a.CSV"_qs)),
            "Nr.,Datei\r\n1,Gr\xC3\xB6\xC3\x9F"
            "e & <Lied>.mp3\r\n");
  EXPECT_EQ(test::ReadBytes(File(u"b.json"_qs)), JsonBytes(doc, {}));
  EXPECT_TRUE(test::ReadBytes(File(u"c.txt"_qs)).startsWith("Nr.        Datei\r\n"));
  const QString text_filter = u"Text-Datei (*.txt);;CSV (*.csv);;JSON (*.json)"_qs;
  EXPECT_EQ(prompts.save_filters, (QStringList{text_filter, text_filter, text_filter,
                                               u"Excel-Datei (*.xls);;Excel-Datei (*.xlsx)"_qs,
                                               u"HTML-Datei (*.htm)"_qs}));
}

// The browsable page adds its lines to the head and changes nothing else; its charset is the
// encoding written. Off, page and preview are the bytes they always were.
TEST_F(ExportTest, ABrowsablePageAddsOnlyItsHeadLinesAndNamesItsEncoding) {
  const QStringList plain =
      doc.Html().ToStringList() + QStringList{u"</table>"_qs, u"</body>"_qs, u"</html>"_qs};
  const QString program_dir = dir.path() + u'/';
  ASSERT_TRUE(
      ExportHtml(doc, File(u"off.htm"_qs), nullptr, std::nullopt, {false, UiLanguage::English}));
  ASSERT_TRUE(WritePreview(program_dir, plain.mid(0, 3), nullptr, {false, UiLanguage::English}));
  EXPECT_EQ(test::ReadBytes(File(u"off.htm"_qs)), LineFile::EncodeLines(plain));
  EXPECT_EQ(test::ReadBytes(File(u"vorschau.htm"_qs)), LineFile::EncodeLines(plain.mid(0, 3)));

  ASSERT_TRUE(
      ExportHtml(doc, File(u"on.htm"_qs), nullptr, std::nullopt, {true, UiLanguage::German}));
  const QByteArray on = test::ReadBytes(File(u"on.htm"_qs));
  EXPECT_TRUE(on.startsWith("<html>\r\n<head>\r\n<meta charset=\"windows-1252\">\r\n"));
  EXPECT_TRUE(
      on.contains("Gr\xF6\xDF"
                  "e &amp; &lt;Lied&gt;.mp3"));  // still cp1252
  EXPECT_TRUE(on.contains("Eintr\\u00e4gen"));
  QStringList lines = LineFile::DecodeText(on);
  const qsizetype script_end = lines.indexOf(u"</script>"_qs);
  const qsizetype style = lines.lastIndexOf(u"<style type=\"text/css\">"_qs, script_end);
  ASSERT_GT(style, 5);
  ASSERT_GT(script_end, style);
  EXPECT_EQ(lines[script_end + 1], u"</head>");
  lines.remove(style, script_end + 1 - style);
  lines.removeAt(2);
  EXPECT_EQ(LineFile::EncodeLines(lines), test::ReadBytes(File(u"off.htm"_qs)));

  // A page that is UTF-8 says so.
  test::WriteBytes(File(u"utf8.htm"_qs), "\xEF\xBB\xBFold\r\n");
  ASSERT_TRUE(
      ExportHtml(doc, File(u"utf8.htm"_qs), nullptr, std::nullopt, {true, UiLanguage::English}));
  const QByteArray utf8 = test::ReadBytes(File(u"utf8.htm"_qs));
  EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"));
  EXPECT_TRUE(utf8.contains("Größe &amp; &lt;Lied&gt;.mp3"));
  EXPECT_TRUE(utf8.contains("entries"));
  EXPECT_FALSE(utf8.contains("windows-1252"));

  // The preview takes the same lines, without closing tags.
  ASSERT_TRUE(WritePreview(program_dir, plain.mid(0, 22), nullptr, {true, UiLanguage::German}));
  EXPECT_EQ(test::ReadBytes(File(u"vorschau.htm"_qs)),
            LineFile::EncodeLines(BrowsableLines(plain.mid(0, 22), UiLanguage::German)));
}

TEST_F(ExportTest, PreviewIsWrittenWithoutClosingTagsAndOpened) {
  test::RecordingShell shell;
  const QString program_dir = dir.path() + u'/';
  EXPECT_TRUE(ShowPreview(program_dir, {u"<html>"_qs, u"Größe"_qs}, shell, prompts));
  EXPECT_EQ(test::ReadBytes(File(u"vorschau.htm"_qs)), test::CrLf({"<html>",
                                                                   "Gr\xF6\xDF"
                                                                   "e"}));
  EXPECT_EQ(shell.opened, QList<QUrl>{QUrl::fromLocalFile(File(u"vorschau.htm"_qs))});

  // A preview that cannot be written is reported, and nothing is opened.
  EXPECT_FALSE(ShowPreview(File(u"missing/"_qs), {u"x"_qs}, shell, prompts));
  EXPECT_EQ(shell.opened.size(), 1);
  ASSERT_EQ(prompts.shown.size(), 1);
  EXPECT_TRUE(prompts.shown[0].startsWith(u"error: Cannot create file "_qs));
}

}  // namespace
}  // namespace kavoro

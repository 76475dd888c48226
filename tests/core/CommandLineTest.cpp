#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/app/AppState.h"
#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/output/StyleChoices.h"
#include "core/settings/OptionsFile.h"
#include "core/text/LineFile.h"
#include "support/Entries.h"
#include "support/TestFiles.h"
#include "support/XlsReader.h"

namespace kavoro {
namespace {

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    for (const char* name : {"b.mp3", "a.MP3", "c.txt", "sub/d.mp3", "sub/<&>.mp3"}) {
      const QString path = tree_.filePath(QLatin1String(name));
      QDir().mkpath(QFileInfo(path).path());
      test::WriteBytes(path, "12345");
    }
  }
  int Run(QStringList args) {
    QProcess p;
    p.start(QStringLiteral(KAVORO_LIST), args);
    return Finish(p);
  }
  // Runs a shell command line with $L standing for kavoro-list.
  int RunShell(const QString& command) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"L"_qs, QStringLiteral(KAVORO_LIST));
    p.setProcessEnvironment(env);
    p.start(u"bash"_qs, {u"-c"_qs, u"set -o pipefail; "_qs + command});
    return Finish(p);
  }
  // Runs with a cache folder of its own, where the catalogue of lists is kept.
  int RunWithCache(QStringList args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_CACHE_HOME"_qs, out_.filePath(u"cache"_qs));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KAVORO_LIST), args);
    return Finish(p);
  }
  int Finish(QProcess& p) {
    p.waitForFinished(60000);
    err_ = p.readAllStandardError();
    std_out_ = p.readAllStandardOutput();
    return p.exitCode();
  }
  QString Out(const char* name) const { return out_.filePath(QLatin1String(name)); }

  QTemporaryDir tree_;
  QTemporaryDir out_;
  QByteArray err_;
  QByteArray std_out_;
};

TEST_F(CommandLineTest, WritesWhatTheWindowWouldWrite) {
  ASSERT_EQ(Run({u"-r"_qs, u"-e"_qs, u"mp3"_qs, u"-p"_qs, u"-l"_qs, tree_.path(), u"--txt"_qs,
                 Out("l.txt"), u"--htm"_qs, Out("l.htm"), u"--save"_qs, Out("l")}),
            0)
      << err_.toStdString();
  // The same listing made in-process, as the window makes it.
  ListingDocument doc;
  OptionsFile options(QStringLiteral(KAVORO_BUILD_DIR "/optionen.ini"));
  ASSERT_EQ(options.LoadWorking(), std::nullopt);
  StyleDialogState style;
  QStringList page;
  BuildStartListing(doc, options, style, page, false, UiLanguage::German);
  EntryOptions entry{false, false, true, true};
  EntryTexts texts;
  FoundFiles entries;
  ASSERT_TRUE(
      CollectEntries(tree_.path(), true, {{u".mp3"_qs}, false, {}, {}, false}, entry, entries));
  AppendEntries(doc, entries, entry, texts);
  ASSERT_TRUE(ExportHtml(doc, Out("gui.htm"), nullptr));
  ASSERT_TRUE(ExportText(doc, Out("gui.txt"), nullptr));
  EXPECT_EQ(test::ReadBytes(Out("l.htm")), test::ReadBytes(Out("gui.htm")));
  EXPECT_EQ(test::ReadBytes(Out("l.txt")), test::ReadBytes(Out("gui.txt")));
  EXPECT_EQ(test::ReadBytes(Out("l.mpl2")), test::ReadBytes(Out("l.txt")));
  EXPECT_EQ(test::ReadBytes(Out("l.txt")).count("\r\n"), 5);
  // The browsable page, also in English.
  ASSERT_EQ(Run({u"-r"_qs, u"-e"_qs, u"mp3"_qs, u"-p"_qs, u"-l"_qs, tree_.path(), u"--lang"_qs,
                 u"en"_qs, u"--browsable"_qs, u"--htm"_qs, Out("b.htm")}),
            0);
  ApplyListingHeaders(doc, false, UiLanguage::English, nullptr);
  ASSERT_TRUE(
      ExportHtml(doc, Out("gui-b.htm"), nullptr, std::nullopt, {true, UiLanguage::English}));
  EXPECT_EQ(test::ReadBytes(Out("b.htm")), test::ReadBytes(Out("gui-b.htm")));
  EXPECT_TRUE(test::ReadBytes(Out("b.htm")).contains("entries: \"entries\""));

  // Appending to the stored list goes on with the numbers.
  ASSERT_EQ(Run({u"--open"_qs, Out("l.mpl"), tree_.path(), u"--save"_qs, Out("l")}), 0);
  const QByteArray text = test::ReadBytes(Out("l.mpl2"));
  EXPECT_TRUE(text.contains("        5  a.MP3\r\n        6  b.mp3\r\n        7  c.txt\r\n"));
}

TEST_F(CommandLineTest, HiddenExtensionsKeepTheNamesOfDotFiles) {
  QTemporaryDir dots;
  for (const char* name : {".bashrc", ".config.bak", "x.y"}) {
    test::WriteBytes(dots.filePath(QLatin1String(name)), "1");
  }
  ASSERT_EQ(Run({u"-x"_qs, dots.path(), u"--save"_qs, Out("d")}), 0) << err_.toStdString();
  EXPECT_EQ(test::ReadBytes(Out("d.mpl")), test::CrLf({"Datei", ".bashrc", ".config", "x"}));
}

TEST_F(CommandLineTest, SortsAndRenumbersLikeTheButtons) {
  ASSERT_EQ(Run({u"-e"_qs, u".mp3"_qs, tree_.path(), u"--sort"_qs, u"name:reverse"_qs,
                 u"--renumber"_qs, u"--save"_qs, Out("s")}),
            0)
      << err_.toStdString();
  EXPECT_EQ(test::ReadBytes(Out("s.mpl")), test::CrLf({"Datei", "b.mp3", "a.MP3"}));
  ASSERT_EQ(
      Run({u"-e"_qs, u".mp3"_qs, tree_.path(), u"--sort"_qs, u"nr"_qs, u"--save"_qs, Out("n")}), 0);
  EXPECT_EQ(test::ReadBytes(Out("n.mpl")), test::CrLf({"Datei", "b.mp3", "a.MP3"}));
  EXPECT_EQ(Run({tree_.path(), u"--sort"_qs, u"size"_qs}), 1);  // no size column without -d
  EXPECT_EQ(Run({tree_.path(), u"--sort"_qs, u"colour"_qs}), 2);
}

TEST_F(CommandLineTest, ErrorsAndUsage) {
  EXPECT_EQ(Run({}), 2);
  EXPECT_TRUE(err_.contains("no folder given"));
  EXPECT_EQ(Run({u"--bogus"_qs, tree_.path()}), 2);
  EXPECT_EQ(Run({u"-l"_qs, tree_.path()}), 2);
  EXPECT_EQ(Run({tree_.filePath(u"missing"_qs)}), 1);
  EXPECT_TRUE(err_.contains("is not a folder"));
  EXPECT_EQ(Run({tree_.path(), u"--txt"_qs, tree_.filePath(u"no/such/x.txt"_qs)}), 1);
  EXPECT_TRUE(err_.startsWith("kavoro-list: Cannot create file"));
  EXPECT_EQ(Run({u"--help"_qs}), 0);
  EXPECT_TRUE(std_out_.contains("--version"));
  EXPECT_EQ(Run({u"--version"_qs}), 0);
  EXPECT_EQ(std_out_, "kavoro-list 2.2\n");
  // Standard output takes one output, and no list files.
  EXPECT_EQ(Run({tree_.path(), u"--save"_qs, u"-"_qs}), 2);
  EXPECT_EQ(Run({tree_.path(), u"--txt"_qs, u"-"_qs, u"--htm"_qs, u"-"_qs}), 2);
  EXPECT_EQ(Run({tree_.path(), u"--txt"_qs}), 2);
  EXPECT_TRUE(err_.contains("--txt")) << err_.toStdString();
}

// Every output can go to standard output with the bytes its file gets; without an output the
// text view goes there as UTF-8 with LF, for terminals and pipes.
TEST_F(CommandLineTest, StandardOutputGetsWhatTheFileGets) {
  test::WriteBytes(tree_.filePath(u"Ärger.mp3"_qs), "1");
  const QStringList listing = {u"-r"_qs, u"-d"_qs, tree_.path()};
  ASSERT_EQ(Run(listing + QStringList{u"--txt"_qs, Out("l.txt"), u"--htm"_qs, Out("l.htm"),
                                      u"--xls"_qs, Out("l.xls"), u"--csv"_qs, Out("l.csv"),
                                      u"--json"_qs, Out("l.json")}),
            0)
      << err_.toStdString();
  for (const char* kind : {"txt", "htm", "xls", "csv", "json"}) {
    const QString option = u"--"_qs + QLatin1String(kind);
    ASSERT_EQ(Run(listing + QStringList{option, u"-"_qs}), 0) << kind << err_.toStdString();
    EXPECT_EQ(std_out_, test::ReadBytes(Out("l.") + QLatin1String(kind))) << kind;
  }
  // A name for standard output that the system gives is written to, not replaced.
  ASSERT_EQ(Run(listing + QStringList{u"--txt"_qs, u"/dev/stdout"_qs}), 0) << err_.toStdString();
  EXPECT_EQ(std_out_, test::ReadBytes(Out("l.txt")));

  ASSERT_EQ(Run(listing), 0);
  const QStringList lines = LineFile::DecodeText(test::ReadBytes(Out("l.txt")));
  EXPECT_EQ(std_out_, (lines.join(u'\n') + u'\n').toUtf8());
  EXPECT_TRUE(std_out_.contains("Ärger.mp3"));

  // A reader that stops early ends the listing quietly, with success.
  for (int i = 0; i < 3000; ++i) {
    test::WriteBytes(tree_.filePath(u"sub/many %1.mp3"_qs.arg(i)), "");
  }
  EXPECT_EQ(RunShell(u"\"$L\" -r '%1' | head -n 1"_qs.arg(tree_.path())), 0);
  EXPECT_EQ(std_out_, "Nr.        Datei\n");
  EXPECT_EQ(err_, "");
}

// A saved list on its own is a listing: converted, sorted and renumbered without a folder.
TEST_F(CommandLineTest, ASavedListConvertsWithoutAFolder) {
  ASSERT_EQ(Run({u"-e"_qs, u".mp3"_qs, tree_.path(), u"--save"_qs, Out("l")}), 0);
  ASSERT_EQ(Run({u"--open"_qs, Out("l"), u"--sort"_qs, u"name:reverse"_qs, u"--renumber"_qs,
                 u"--xls"_qs, Out("l.xls"), u"--txt"_qs, Out("l.txt"), u"--csv"_qs, Out("l.csv"),
                 u"--json"_qs, u"-"_qs}),
            0)
      << err_.toStdString();
  EXPECT_EQ(test::ReadBytes(Out("l.csv")), test::CrLf({"Nr.,Datei", "1,b.mp3", "2,a.MP3"}));
  // A saved list knows no folders: the names have no path.
  EXPECT_TRUE(std_out_.contains(R"({"number":1,"name":"b.mp3","path":null})"))
      << std_out_.toStdString();
  const auto book = test::ReadXls(Out("l.xls"));
  ASSERT_TRUE(book);
  const auto& cells = book->sheets.at(0).cells;
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[1][0].text, u"1"_qs);
  EXPECT_EQ(cells[1][1].text, u"b.mp3"_qs);
  EXPECT_EQ(cells[2][1].text, u"a.MP3"_qs);
  // The text view is converted as it was saved: the grid's order is the grid's own.
  EXPECT_EQ(test::ReadBytes(Out("l.txt")),
            test::CrLf({"Nr.        Datei", "        1  a.MP3", "        2  b.mp3"}));
}

// --exclude leaves out files and whole folders by name; --hidden enters hidden folders.
TEST_F(CommandLineTest, ExcludedNamesAndHiddenFolders) {
  for (const char* name : {".cache/x.mp3", "sub/tmp/y.mp3", "sub/e.tmp", "-folder/z.mp3"}) {
    const QString path = tree_.filePath(QLatin1String(name));
    QDir().mkpath(QFileInfo(path).path());
    test::WriteBytes(path, "1");
  }
  auto names = [&](QStringList options) {
    EXPECT_EQ(Run(options << u"-r"_qs << u"--save"_qs << Out("n") << tree_.path()), 0)
        << err_.toStdString();
    QStringList lines = LineFile::DecodeText(test::ReadBytes(Out("n.mpl")));
    lines.removeFirst();
    lines.sort();
    return lines;
  };
  EXPECT_EQ(names({}), (QStringList{u"<&>.mp3"_qs, u"a.MP3"_qs, u"b.mp3"_qs, u"c.txt"_qs,
                                    u"d.mp3"_qs, u"e.tmp"_qs, u"y.mp3"_qs, u"z.mp3"_qs}));
  EXPECT_EQ(names({u"--exclude"_qs, u"*.tmp"_qs, u"--exclude"_qs, u"tmp"_qs, u"--exclude"_qs,
                   u"[ab].*"_qs}),
            (QStringList{u"<&>.mp3"_qs, u"c.txt"_qs, u"d.mp3"_qs, u"z.mp3"_qs}));
  EXPECT_EQ(names({u"--hidden"_qs, u"-e"_qs, u".mp3"_qs, u"--exclude"_qs, u"sub"_qs}),
            (QStringList{u"a.MP3"_qs, u"b.mp3"_qs, u"x.mp3"_qs, u"z.mp3"_qs}));
  // Without subfolders the names are left out as well; "--" ends the options.
  EXPECT_EQ(Run({u"--exclude"_qs, u"*.mp3"_qs, u"--"_qs, tree_.path()}), 0);
  EXPECT_EQ(std_out_, "Nr.        Datei\n        1  c.txt\n");
  EXPECT_EQ(Run({u"--"_qs, u"-folder"_qs}), 1);  // taken as a folder, which is not there here
  EXPECT_TRUE(err_.contains("-folder is not a folder")) << err_.toStdString();
}

// --totals ends each output with the count and the sum of the files' sizes.
TEST_F(CommandLineTest, TotalsEndTheOutputs) {
  test::WriteBytes(tree_.filePath(u"big.bin"_qs), QByteArray(5000, 'x'));
  ASSERT_EQ(Run({u"-r"_qs, u"-d"_qs, u"--totals"_qs, tree_.path(), u"--txt"_qs, u"-"_qs}), 0)
      << err_.toStdString();
  // Five files of 5 bytes and one of 5000: 5025 bytes, 5 KB rounded up.
  EXPECT_TRUE(std_out_.endsWith("Summe : 6 Eintr\xe4ge, zusammen 5 KB\r\n"))
      << std_out_.right(80).toStdString();
  ASSERT_EQ(Run({u"--lang"_qs, u"en"_qs, u"--totals"_qs, tree_.path(), u"--csv"_qs, u"-"_qs}), 0);
  EXPECT_TRUE(std_out_.endsWith("\r\nTotal,4 entries\r\n")) << std_out_.toStdString();
}

// The PDF: every name in the listing's order, whatever its script, on numbered pages that each
// begin with the header row; on the paper of the user's country.
TEST_F(CommandLineTest, PdfHoldsEveryNameOnNumberedPages) {
  QTemporaryDir files;
  const QStringList scripts = {u"Ärger über Öl.mp3"_qs, u"Καλημέρα.mp3"_qs, u"Привет.mp3"_qs,
                               u"日本語の歌.mp3"_qs};
  for (const QString& name : scripts) test::WriteBytes(files.filePath(name), "1");
  for (int i = 0; i < 1000; ++i) {
    test::WriteBytes(files.filePath(u"Lied %1 fine.mp3"_qs.arg(i, 4, 10, QChar(u'0'))), "1");
  }
  ASSERT_EQ(RunShell(u"LC_ALL=C \"$L\" '%1' --pdf '%2'"_qs.arg(files.path(), Out("l.pdf"))), 0)
      << err_.toStdString();
  ASSERT_EQ(Run({files.path()}), 0);
  QStringList order = QString::fromUtf8(std_out_).split(u'\n', Qt::SkipEmptyParts);
  order.removeFirst();

  const QString text = test::PdfText(Out("l.pdf"));
  qsizetype at = 0;
  for (const QString& line : order) {
    const QString name = line.trimmed().section(u"  "_qs, 1);  // after the number
    const qsizetype found = text.indexOf(name, at);
    ASSERT_GE(found, 0) << name.toStdString() << " missing or out of order";
    at = found + name.size();
  }
  const int pages = test::PdfInfo(Out("l.pdf"), u"Pages"_qs).toInt();
  EXPECT_GE(pages, 15);
  EXPECT_LE(pages, 40);
  EXPECT_TRUE(test::PdfInfo(Out("l.pdf"), u"Page size"_qs).contains(u"(A4)"_qs));
  for (int page : {1, 2, pages}) {
    const QString shown = test::PdfText(Out("l.pdf"), page);
    EXPECT_TRUE(shown.contains(u"Kavoro 2.2"_qs)) << page;
    EXPECT_TRUE(shown.contains(files.path())) << page;
    EXPECT_TRUE(QRegularExpression(u"Nr\\. +Datei"_qs).match(shown).hasMatch()) << page;
    EXPECT_TRUE(shown.contains(u"Seite %1 von %2"_qs.arg(page).arg(pages))) << page;
  }

  // In English on Letter paper where inches are used.
  ASSERT_EQ(RunShell(u"LC_ALL=en_US.UTF-8 \"$L\" --lang en -d '%1' --pdf '%2'"_qs.arg(
                files.path(), Out("e.pdf"))),
            0)
      << err_.toStdString();
  EXPECT_TRUE(test::PdfInfo(Out("e.pdf"), u"Page size"_qs).contains(u"letter"_qs));
  const QString english = test::PdfText(Out("e.pdf"), 1);
  EXPECT_TRUE(QRegularExpression(u"Nr\\. +File +Size +Type +Date"_qs).match(english).hasMatch())
      << english.left(400).toStdString();
  EXPECT_TRUE(english.contains(u"Page 1 of "_qs));
}

// --find and --duplicates search the saved lists of the --catalog folders.
TEST_F(CommandLineTest, FindsAndDoublesInTheSavedLists) {
  QTemporaryDir lists;
  const QString musik = lists.filePath(u"musik"_qs), alt = lists.filePath(u"alt 'n' \"neu\""_qs);
  ListingDocument doc;
  test::StartListing(doc, true);
  test::AddEntry(doc, u"Ärger.mp3"_qs, u"2.048 KB"_qs, u"MP3"_qs, u"01.02.2020 10:00"_qs);
  test::AddEntry(doc, u"Tab\there.mp3"_qs, u"1 KB"_qs, u"MP3"_qs, u"02.02.2020 10:00"_qs);
  ASSERT_TRUE(SaveListFiles(doc, musik, nullptr));
  ASSERT_TRUE(SaveListFiles(doc, alt, nullptr));
  test::StartListing(doc, false);
  test::AddEntry(doc, u"aerger \"zitat\" 50%.txt"_qs);
  ASSERT_TRUE(SaveListFiles(doc, lists.filePath(u"zwei"_qs), nullptr));

  ASSERT_EQ(RunWithCache({u"--find"_qs, u"arger"_qs, u"--catalog"_qs, lists.path()}), 0)
      << err_.toStdString();
  EXPECT_EQ(std_out_, (alt + u"\t1\tÄrger.mp3\t2.048 KB\tMP3\t01.02.2020 10:00\n"_qs + musik +
                       u"\t1\tÄrger.mp3\t2.048 KB\tMP3\t01.02.2020 10:00\n"_qs +
                       lists.filePath(u"zwei"_qs) + u"\t1\taerger \"zitat\" 50%.txt\n"_qs)
                          .toUtf8());
  EXPECT_TRUE(err_.isEmpty()) << err_.toStdString();
  EXPECT_TRUE(QFileInfo::exists(out_.filePath(u"cache/kavoro/catalog.sqlite"_qs)));

  ASSERT_EQ(RunWithCache(
                {u"--find"_qs, u"ÄRGER"_qs, u"--catalog"_qs, lists.path(), u"--json"_qs, u"-"_qs}),
            0);
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(std_out_, &error);
  ASSERT_TRUE(json.isArray()) << error.errorString().toStdString();
  ASSERT_EQ(json.array().size(), 3);
  EXPECT_EQ(json.array()[0][u"list"_qs].toString(), alt);
  EXPECT_EQ(json.array()[0][u"size"_qs].toString(), u"2.048 KB"_qs);
  EXPECT_EQ(json.array()[2][u"name"_qs].toString(), u"aerger \"zitat\" 50%.txt"_qs);
  ASSERT_EQ(RunWithCache({u"--find"_qs, u"here"_qs, u"--catalog"_qs, lists.path(), u"--json"_qs,
                          Out("hits.json")}),
            0);
  EXPECT_EQ(
      QJsonDocument::fromJson(test::ReadBytes(Out("hits.json"))).array()[0][u"name"_qs].toString(),
      u"Tab\there.mp3"_qs);

  EXPECT_EQ(RunWithCache({u"--find"_qs, u"nirgends"_qs, u"--catalog"_qs, lists.path()}), 1);
  EXPECT_TRUE(std_out_.isEmpty());
  EXPECT_EQ(RunWithCache({u"--find"_qs, u"nirgends"_qs, u"--catalog"_qs, lists.path(), u"--json"_qs,
                          u"-"_qs}),
            1);
  EXPECT_EQ(std_out_, "[\n]\n");

  // Each double once per block: the two lists hold the same two entries.
  ASSERT_EQ(RunWithCache({u"--duplicates"_qs, u"--catalog"_qs, lists.path()}), 0);
  EXPECT_TRUE(std_out_.startsWith(
      (u"Ärger.mp3\t2 copies\t2.048 KB more\n"_qs + alt + u"\t1\tÄrger.mp3\t"_qs).toUtf8()))
      << std_out_.toStdString();
  EXPECT_EQ(std_out_.count("copies"), 2);
  ASSERT_EQ(
      RunWithCache({u"--duplicates"_qs, u"--catalog"_qs, lists.path(), u"--json"_qs, u"-"_qs}), 0);
  EXPECT_EQ(QJsonDocument::fromJson(std_out_).array().size(), 2);

  // A broken set is named with its reason; the others are still searched.
  test::WriteBytes(lists.filePath(u"kaputt.mpl"_qs), test::CrLf({"Datei", "Ärger 2.mp3"}));
  ASSERT_EQ(RunWithCache({u"--find"_qs, u"arger"_qs, u"--catalog"_qs, lists.path()}), 0);
  EXPECT_EQ(std_out_.count('\n'), 3);
  EXPECT_TRUE(
      err_.startsWith((u"kavoro-list: skipped "_qs + lists.filePath(u"kaputt"_qs)).toUtf8()))
      << err_.toStdString();
  EXPECT_TRUE(err_.contains("kaputt.mpl2")) << err_.toStdString();

  // Errors: exit status 2.
  EXPECT_EQ(RunWithCache({u"--find"_qs, u"arger"_qs}), 2);
  EXPECT_TRUE(err_.contains("--find needs --catalog DIR")) << err_.toStdString();
  EXPECT_EQ(RunWithCache({u"--duplicates"_qs}), 2);
  EXPECT_EQ(RunWithCache({u"--find"_qs, u"a"_qs, u"--catalog"_qs, lists.filePath(u"nicht"_qs)}), 2);
  EXPECT_TRUE(err_.contains("is not a folder"));
  EXPECT_EQ(RunWithCache({u"--find"_qs, u"a"_qs, u"--catalog"_qs, lists.path(), tree_.path()}), 2);
  EXPECT_EQ(RunWithCache({u"--catalog"_qs, lists.path(), tree_.path()}), 2);
  EXPECT_EQ(
      RunWithCache({u"--find"_qs, u"a"_qs, u"--duplicates"_qs, u"--catalog"_qs, lists.path()}), 2);
  // A damaged index is made anew.
  test::WriteBytes(out_.filePath(u"cache/kavoro/catalog.sqlite"_qs), QByteArray(5000, '?'));
  EXPECT_EQ(RunWithCache({u"--find"_qs, u"ärg"_qs, u"--catalog"_qs, lists.path()}), 0);
  EXPECT_EQ(std_out_.count('\n'), 3);
}

}  // namespace
}  // namespace kavoro

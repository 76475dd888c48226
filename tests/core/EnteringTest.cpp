#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include "core/listing/Entering.h"
#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class EnteringTest : public ::testing::Test {
 protected:
  EnteringTest() {
    BuildEmptyListing(doc_);
    ApplyListingHeaders(doc_, false, UiLanguage::German, nullptr);
  }
  ~EnteringTest() override { test::RemoveTree(dir_.path()); }
  void Make(const QString& relative) {
    const QString path = dir_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  void Enter(bool recurse) {
    FoundFiles entries;
    ASSERT_TRUE(CollectEntries(dir_.path(), recurse, selection_, options_, entries));
    AppendEntries(doc_, entries, options_, texts_);
  }
  QString Folder() const { return dir_.path() + u'/'; }

  QTemporaryDir dir_;
  ListingDocument doc_;
  SearchSelection selection_{{u".mp3"_qs}, false, {}, {}, false};
  EntryOptions options_;
  EntryTexts texts_{DateTextFormat(QLocale(QLocale::German, QLocale::Germany)), {}};
};

TEST_F(EnteringTest, FolderContentsWayGivesNumberedEntriesInAllThreeViews) {
  Make(u"b.mp3"_qs);
  Make(u"a.MP3"_qs);
  Make(u"c.txt"_qs);
  Make(u"sub/d.mp3"_qs);
  Enter(false);
  EXPECT_EQ(doc_.Text().ToStringList(),
            (QStringList{"Nr.        Datei", "        1  a.MP3", "        2  b.mp3"}));
  EXPECT_EQ(doc_.Column(1), (QStringList{"Datei", "a.MP3", "b.mp3"}));
  const QStringList html = doc_.Html().ToStringList();
  ASSERT_EQ(html.size(), 34);
  EXPECT_EQ(html.mid(22, 6),
            (QStringList{"<tr><td align=\"right\">", "1", "</td><td>", "a.MP3", "</td>", "</tr>"}));
  EXPECT_EQ(doc_.EntryCounter(), 2);

  options_.hide_extensions = true;
  Enter(false);  // numbering goes on
  EXPECT_EQ(doc_.Text().At(3), u"        3  a"_qs);
  EXPECT_EQ(doc_.Cell(1, 4), u"b"_qs);
}

TEST_F(EnteringTest, ScannerWaySortsNamesFromAllFoldersTogether) {
  Make(u"a.mp3"_qs);
  Make(u"B.mp3"_qs);
  Make(u"x/c.mp3"_qs);
  Make(u"x/A.mp3"_qs);
  Make(u".hidden/h.mp3"_qs);
  Enter(true);
  QStringList folded = doc_.Column(1).mid(1);
  for (QString& name : folded) name = name.toLower();
  EXPECT_EQ(folded, (QStringList{"a.mp3", "a.mp3", "b.mp3", "c.mp3"}));

  selection_.search_all_files = true;
  options_.whole_path = true;
  options_.link = true;
  Enter(true);
  const QStringList html = doc_.Html().ToStringList();
  EXPECT_EQ(html[22 + 4 * 6 + 2],
            u"</td><td><a href=\"file://"_qs + Folder() + u"a.mp3\" target=\"_blank\">"_qs);
  EXPECT_EQ(html[22 + 4 * 6 + 3], Folder() + u"a.mp3"_qs);
  EXPECT_EQ(html[22 + 4 * 6 + 4], u"</a></td>"_qs);
}

TEST_F(EnteringTest, DetailColumnsAndPadding) {
  ApplyListingHeaders(doc_, true, UiLanguage::German, nullptr);
  options_.details = true;
  selection_.search_all_files = true;
  doc_.SetEntryCounter(8);
  Make(u"a.txt"_qs);
  Make(u"b.txt"_qs);
  Enter(false);
  EXPECT_TRUE(doc_.Text().At(9).startsWith(u"        9  a.txt  -  0 KB  -  "_qs));
  EXPECT_TRUE(doc_.Text().At(10).startsWith(u"      10  b.txt  -  0 KB  -  "_qs));
  EXPECT_TRUE(QRegularExpression(u"  -  \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$"_qs)
                  .match(doc_.Text().At(10))
                  .hasMatch());
  EXPECT_EQ(doc_.Html().Count(), 22 + 24);
  EXPECT_EQ(doc_.Html().At(22 + 12 + 11), u"</tr>"_qs);
  EXPECT_EQ(doc_.Cell(2, 2), u"0 KB"_qs);

  FoundFiles entries;
  entries.Add(Folder(), u"x"_qs);
  options_.details = false;
  for (int n : {99, 999, 9999}) {
    doc_.SetEntryCounter(n - 1);
    AppendEntries(doc_, entries, options_, texts_);
    doc_.SetEntryCounter(n);
    AppendEntries(doc_, entries, options_, texts_);
  }
  EXPECT_EQ(doc_.Text().At(99), u"      99  x"_qs);
  EXPECT_EQ(doc_.Text().At(100), u"    100  x"_qs);
  EXPECT_EQ(doc_.Text().At(999), u"    999  x"_qs);
  EXPECT_EQ(doc_.Text().At(1000), u"  1000  x"_qs);
  EXPECT_EQ(doc_.Text().At(9999), u"  9999  x"_qs);
  EXPECT_EQ(doc_.Text().At(10000), u"10000  x"_qs);
}

TEST_F(EnteringTest, MarkupAndLineBreaksInNamesStayData) {
  selection_.search_all_files = true;
  Make(u"a<b>&c#d.txt"_qs);
  Make(u"line\nbreak.txt"_qs);
  Enter(false);
  EXPECT_EQ(doc_.Cell(1, 1), u"a<b>&c#d.txt"_qs);
  EXPECT_EQ(doc_.Html().At(22 + 3), u"a&lt;b&gt;&amp;c#d.txt"_qs);
  EXPECT_EQ(doc_.Text().At(2), u"        2  line\u240Abreak.txt"_qs);
  EXPECT_EQ(doc_.Text().Count(), 3);
  EXPECT_EQ(doc_.Html().Count(), 34);
}

TEST_F(EnteringTest, ScannerWayKeepsOddNamesAndSortsThemByFoldedUnits) {
  // Names are stored as the bytes the file system gives; a malformed byte shows as U+FFFD,
  // a leading byte order mark stays part of the name.
  selection_.search_all_files = true;
  const QByteArray folder = QFile::encodeName(dir_.path()) + '/';
  for (const QByteArray& name : {QByteArray("z.txt"), QByteArray("b.txt"),
                                 QByteArray("bad\xFF.txt"), QByteArray("\xEF\xBC\xBA.txt"),
                                 QByteArray("\xC3\x84.txt"), QByteArray("\xF0\x9F\x98\x80.txt"),
                                 QByteArray("\xEF\xBB\xBF"
                                            "bom.txt")}) {
    const int fd = ::open((folder + name).constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0) << name.constData();
    ::close(fd);
  }
  Enter(true);
  const QStringList expected{u"b.txt"_qs,      u"bad\uFFFD.txt"_qs,  u"z.txt"_qs,
                             u"\u00C4.txt"_qs, u"\U0001F600.txt"_qs, u"\uFEFFbom.txt"_qs,
                             u"\uFF3A.txt"_qs};
  EXPECT_EQ(doc_.Column(1).mid(1), expected);
  EXPECT_EQ(doc_.Text().At(2), u"        2  bad\uFFFD.txt"_qs);
  EXPECT_EQ(doc_.Html().At(22 + 6 + 3), u"bad&#65533;.txt"_qs);

  options_.whole_path = true;
  Enter(false);  // the folder contents way reads the same names
  EXPECT_EQ(doc_.Column(1).mid(8).size(), 7);
  EXPECT_TRUE(doc_.Column(1).mid(8).contains(Folder() + u"\uFEFFbom.txt"_qs));
}

TEST_F(EnteringTest, LinksOfNamesThatAreNotUtf8NameTheirRealBytes) {
  selection_.search_all_files = true;
  options_.whole_path = true;
  options_.link = true;
  const QByteArray folder = QFile::encodeName(dir_.path()) + "/d\xFE";
  ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
  ::close(::open((folder + "/bad\xFF.txt").constData(), O_CREAT | O_WRONLY, 0644));
  Enter(true);
  const QString shown = Folder() + u"d\uFFFD/bad\uFFFD.txt"_qs;
  EXPECT_EQ(doc_.Column(1).mid(1), QStringList{shown});
  const QString href =
      QUrl::fromLocalFile(Folder()).toString(QUrl::FullyEncoded) + u"d%FE/bad%FF.txt"_qs;
  EXPECT_EQ(doc_.Html().At(22 + 2), u"</td><td><a href=\""_qs + href + u"\" target=\"_blank\">"_qs);
  EXPECT_EQ(doc_.Html().At(22 + 3), HtmlEscape(shown));
}

TEST_F(EnteringTest, ScannerWayWithDetailsSortsByFullPathOrShownPath) {
  Make(u"b.mp3"_qs);
  Make(u"x/a.mp3"_qs);
  Make(u"Y/c.mp3"_qs);
  options_.details = true;
  Enter(true);  // by the full path: .../b.mp3, .../x/a.mp3, .../Y/c.mp3 (case folded)
  EXPECT_EQ(doc_.Column(1).mid(1), (QStringList{"b.mp3", "a.mp3", "c.mp3"}));
  options_.details = false;
  Enter(true);  // without details by the name alone
  EXPECT_EQ(doc_.Column(1).mid(4), (QStringList{"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(EnteringTest, EntriesBuiltAsideJoinTheListingUnchanged) {
  Make(u"a<1>.mp3"_qs);
  Make(u"b.mp3"_qs);
  Make(u"sub/c.mp3"_qs);
  options_.details = true;
  ApplyListingHeaders(doc_, true, UiLanguage::German, nullptr);
  Enter(false);  // some entries first, so numbers go on
  ListingDocument direct;
  BuildEmptyListing(direct);
  ApplyListingHeaders(direct, true, UiLanguage::German, nullptr);
  Enter(false);
  FoundFiles entries;
  ASSERT_TRUE(CollectEntries(dir_.path(), true, selection_, options_, entries));
  for (ListingDocument* doc : {&direct}) {
    doc->SetTextLines(doc_.Text().ToStringList());
    doc->SetHtmlLines(doc_.Html().ToStringList());
    doc->SetEntryCounter(doc_.EntryCounter());
    for (qsizetype r = 1; r < doc_.RowCount(); ++r) {
      doc->AppendRow(
          {doc_.Cell(0, r), doc_.Cell(1, r), doc_.Cell(2, r), doc_.Cell(3, r), doc_.Cell(4, r)});
    }
  }
  AppendEntries(direct, entries, options_, texts_);
  ListingDocument staged;
  staged.PrepareStaging(doc_.EntryCounter());
  AppendEntries(staged, entries, options_, texts_);
  doc_.AbsorbEntries(staged);
  EXPECT_EQ(doc_.EntryCounter(), 7);
  EXPECT_EQ(doc_.Text().ToStringList(), direct.Text().ToStringList());
  EXPECT_EQ(doc_.Html().ToStringList(), direct.Html().ToStringList());
  for (int c = 0; c < 5; ++c) EXPECT_EQ(doc_.Column(c), direct.Column(c));
  EXPECT_EQ(staged.Html().Count(), 0);
}

TEST_F(EnteringTest, CancelledRunReportsItself) {
  Make(u"a.mp3"_qs);
  std::atomic<bool> cancel{true};
  FoundFiles entries;
  EXPECT_FALSE(CollectEntries(dir_.path(), true, selection_, options_, entries, &cancel));
  cancel = false;
  EXPECT_TRUE(CollectEntries(dir_.path(), true, selection_, options_, entries, &cancel));
  EXPECT_EQ(entries.Count(), 1u);
}

TEST(EnteringMessagesTest, NothingFoundAndTimeTexts) {
  SearchSelection mp3{{u".mp3"_qs}, false, {}, {}, false};
  SearchSelection all;
  const MessageSlots& de = MessageSlotsFor(UiLanguage::German);
  const MessageSlots& en = MessageSlotsFor(UiLanguage::English);
  EXPECT_EQ(NothingFoundMessage(de, EnterWay::Folder, mp3),
            u"Es wurden keine * .mp3 - Dateien in diesem Ordner gefunden"_qs);
  EXPECT_EQ(NothingFoundMessage(en, EnterWay::Scanner, mp3),
            u"There are no * .mp3-files in this folder"_qs);
  EXPECT_EQ(NothingFoundMessage(de, EnterWay::Folder, all),
            u"Es wurden keine Dateien in diesem Ordner gefunden"_qs);
  EXPECT_EQ(NothingFoundMessage(de, EnterWay::Selected, mp3),
            u"Unter den gewählten Dateien befinden sich keine * .mp3 - Dateien"_qs);
  EXPECT_EQ(NothingFoundMessage(en, EnterWay::Selected, all),
            u"Ther are no files selected in this folder"_qs);
  EXPECT_EQ(TimeAndCountMessage(de, 7'400, 12),
            u"Benötigte Zeit : 0.07 Minuten\nGefundene Dateien : 12"_qs);
  EXPECT_EQ(TimeAndCountMessage(de, 65'000, 1).left(23), u"Benötigte Zeit : 1.05 M"_qs);
  EXPECT_EQ(TimeAndCountMessage(en, 3'723'000, 1).left(16), u"Used time : 2.03"_qs);
}

}  // namespace
}  // namespace kavoro

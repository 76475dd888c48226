#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/grid/GridColumns.h"
#include "core/listing/DateKey.h"
#include "core/listing/Entering.h"
#include "core/listing/GridSort.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/listing/MediaCells.h"
#include "core/media/MediaFacts.h"
#include "core/text/Utf8.h"
#include "support/MediaFiles.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

// A folder of a two-second tone, a 30 × 20 picture, a picture that is no picture, a text file
// and a pipe named like a song (which the walk leaves out: it is no file to list).
class MediaEntriesTest : public ::testing::Test {
 protected:
  MediaEntriesTest() {
    test::Tone(dir_.filePath(u"a Ton.wav"_qs), 2);
    test::RunTool(u"convert"_qs,
                  {u"-size"_qs, u"30x20"_qs, u"xc:red"_qs, dir_.filePath(u"b Bild.png"_qs)});
    Write(u"c kaputt.jpg"_qs, "\xFF\xD8\xFF garbage");
    Write(u"d notiz.txt"_qs, "text");
    mkfifo(QFile::encodeName(dir_.filePath(u"e Rohr.mp3"_qs)).constData(), 0600);
    options_.media = true;
  }
  ~MediaEntriesTest() override { test::RemoveTree(dir_.path()); }

  void Write(const QString& name, const QByteArray& bytes) {
    QFile f(dir_.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  // Enters the folder with the options as they are.
  void Enter() {
    BuildEmptyListing(doc_);
    ApplyListingHeaders(doc_, ColumnForm{options_.details, options_.media}, UiLanguage::German,
                        nullptr);
    FoundFiles entries;
    ASSERT_TRUE(CollectEntries(dir_.path(), false, all_files_, options_, entries));
    const auto media = ReadMediaCells(entries, kGerman);
    ASSERT_TRUE(media);
    AppendEntries(doc_, entries, options_, texts_, kAllViews, &*media);
  }

  QTemporaryDir dir_;
  ListingDocument doc_;
  SearchSelection all_files_{{}, true, {}, {}, false};
  EntryOptions options_;
  EntryTexts texts_{DateTextFormat(kGerman), {}};
};

TEST_F(MediaEntriesTest, MediaColumnsFollowTheNameInEveryView) {
  Enter();  // number, name and the six media columns
  ASSERT_EQ(doc_.ColumnCount(), 8);
  EXPECT_EQ(doc_.Column(2), (QStringList{"Dauer", "0:02", "", "", ""}));
  EXPECT_EQ(doc_.Column(6), (QStringList{"Pixel", "", u"30 × 20"_qs, "", ""}));
  EXPECT_EQ(doc_.Text().At(0),
            u"Nr.        Datei             -             Dauer             -             "
            u"Interpret             -             Titel             -             Album"
            u"             -             Pixel             -             Aufnahme             "_qs);
  EXPECT_EQ(doc_.Text().At(2), u"        2  b Bild.png  -    -    -    -    -  30 × 20  -  "_qs);
  const QStringList html = doc_.Html().ToStringList();
  ASSERT_EQ(html.size(), 22 + 4 * 18);
  EXPECT_EQ(html.mid(22, 18),
            (QStringList{"<tr><td align=\"right\">", "1", "</td><td>", "a Ton.wav", "</td><td>",
                         "0:02", "</td><td>", "", "</td><td>", "", "</td><td>", "", "</td><td>", "",
                         "</td><td>", "", "</td>", "</tr>"}));

  // With the details the media columns come after the date of change.
  options_.details = true;
  Enter();
  ASSERT_EQ(doc_.ColumnCount(), 11);
  EXPECT_EQ(doc_.Cell(5, 0), u"Dauer"_qs);
  EXPECT_EQ(doc_.Cell(5, 1), u"0:02"_qs);
  EXPECT_EQ(doc_.Cell(9, 2), u"30 × 20"_qs);
  EXPECT_EQ(doc_.Html().Count(), 22 + 4 * 24);
  EXPECT_TRUE(doc_.Text().At(2).endsWith(u"  -    -    -    -    -  30 × 20  -  "_qs));
}

TEST_F(MediaEntriesTest, ReadingStopsWhenCancelled) {
  FoundFiles entries;
  ASSERT_TRUE(CollectEntries(dir_.path(), false, all_files_, options_, entries));
  const std::atomic<bool> cancel{true};
  EXPECT_EQ(ReadMediaCells(entries, kGerman, &cancel), std::nullopt);
  std::uint64_t reported = 0;
  const auto cells = ReadMediaCells(entries, kGerman, nullptr,
                                    [&](std::uint64_t n) { reported = std::max(reported, n); });
  ASSERT_TRUE(cells);
  EXPECT_EQ(cells->Count(), entries.Count());
  EXPECT_EQ(reported, entries.Count());
}

TEST_F(MediaEntriesTest, EachFileKeepsItsCellsWhateverThreadReadIt) {
  // More files than one thread's run, songs and pictures in a pattern the runs do not repeat.
  FoundFiles files;
  const std::uint32_t folder = files.AddFolder(utf8::NameToBytes(dir_.path() + u'/'));
  for (int i = 0; i < 300; ++i) {
    const QString name = QString::number(i) + (i % 3 == 0 ? u".wav"_qs : u".png"_qs);
    ASSERT_TRUE(QFile::copy(dir_.filePath(i % 3 == 0 ? u"a Ton.wav"_qs : u"b Bild.png"_qs),
                            dir_.filePath(name)));
    files.Add(folder, name.toStdString());
  }
  const auto cells = ReadMediaCells(files, kGerman);
  ASSERT_TRUE(cells);
  ASSERT_EQ(cells->Count(), 300u);
  for (std::size_t i = 0; i < cells->Count(); ++i) {
    EXPECT_EQ(cells->Get(i)[0], i % 3 == 0 ? "0:02" : "") << i;
    EXPECT_EQ(cells->Get(i)[4], i % 3 == 0 ? "" : "30 \xC3\x97 20") << i;
  }
}

TEST(MediaCellsTest, EachFileKeepsItsSixTexts) {
  MediaFacts facts;
  facts.duration_s = 3723;
  facts.artist = u"Tab\there"_qs;
  facts.title = u"Ärger"_qs;
  facts.width = 4000;
  facts.height = 3000;
  facts.taken = QDateTime(QDate(2004, 12, 5), QTime(14, 35, 10));
  MediaCells made;
  DateTextFormat dates(kGerman);
  made.Append(nullptr, dates);
  made.Append(&facts, dates);
  const MediaCellTexts texts = made.Get(1);
  EXPECT_EQ(texts[0], "1:02:03");
  EXPECT_EQ(texts[1], "Tab\xE2\x90\x89here");  // a tab cannot split the cells or a line
  EXPECT_EQ(texts[2], "\xC3\x84rger");
  EXPECT_EQ(texts[3], "");
  EXPECT_EQ(texts[4], "4000 \xC3\x97 3000");
  EXPECT_EQ(texts[5], "05.12.2004 14:35");
  EXPECT_EQ(made.Get(0)[1], "");
}

TEST_F(MediaEntriesTest, ShowingMoreColumnsKeepsEachCellUnderItsOwn) {
  Enter();  // number, name, media
  // Switched on with entries in the grid: the details join in front of the media columns, whose
  // cells stay theirs; the entries made before have empty detail cells.
  ApplyListingHeaders(doc_, true, UiLanguage::English, nullptr);
  ASSERT_EQ(doc_.ColumnCount(), 11);
  EXPECT_EQ(doc_.Cell(2, 0), u"Size"_qs);
  EXPECT_EQ(doc_.Cell(5, 0), u"Duration"_qs);
  EXPECT_EQ(doc_.Cell(2, 1), QString());
  EXPECT_EQ(doc_.Cell(5, 1), u"0:02"_qs);
  EXPECT_EQ(doc_.Cell(9, 2), u"30 × 20"_qs);
  // Turning the media choice off does not take the columns from entries that have them.
  ApplyListingHeaders(doc_, ColumnForm{true, false}, UiLanguage::German, nullptr);
  EXPECT_EQ(doc_.ColumnCount(), 11);

  // A grid without media cells gets room for them only when they come.
  ListingData plain;
  plain.SetColumns(true);
  plain.AppendRow({u"1", u"a", u"1 KB", u"Typ", u"01.01.2020 10:00", u"dropped"});
  plain.SetColumns({true, true});
  plain.AppendRow({u"2", u"b", u"", u"", u"", u"0:05"});
  EXPECT_EQ(plain.Column(5), (QStringList{"", "", "0:05"}));
  EXPECT_EQ(plain.Column(4), (QStringList{"", "01.01.2020 10:00", ""}));
  plain.SetColumns(false);
  EXPECT_EQ(plain.ColumnCount(), 2);
  EXPECT_EQ(plain.Cell(2, 2), QString());
}

TEST_F(MediaEntriesTest, DurationSortsByLength) {
  Enter();
  doc_.SetCell(2, 3, u"1:00:00");  // a value the grid did not get from a file: still a duration
  doc_.SetCell(2, 4, u"9:59");
  GridToolState tools;
  ClickSortColumn(doc_, tools, ListingData::kDuration, DateReader());
  EXPECT_EQ(doc_.Column(2).mid(1, 3), (QStringList{"1:00:00", "9:59", "0:02"}));
  ClickSortColumn(doc_, tools, ListingData::kDuration, DateReader());
  EXPECT_EQ(doc_.Column(2).last(3), (QStringList{"0:02", "9:59", "1:00:00"}));
  EXPECT_EQ(doc_.Cell(2, 0), u"Dauer"_qs);
}

TEST(MediaSortKeysTest, DurationsAndPixelsReadBackAsWritten) {
  EXPECT_EQ(ReadDuration("0:07"), 7);
  EXPECT_EQ(ReadDuration("12:34"), 754);
  EXPECT_EQ(ReadDuration("1:02:03"), 3723);
  EXPECT_EQ(ReadDuration(utf8::FromQString(DurationText(100000))), 100000);
  for (const char* bad : {"", "7", "1:7", "1:60", "1:02:3", ":07", "1:02:03:04", "a:00", "1:00 "})
    EXPECT_EQ(ReadDuration(bad), std::nullopt) << bad;
  const auto pixels = ReadPixels("4000 \xC3\x97 3000");
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->width, 4000);
  EXPECT_EQ(pixels->height, 3000);
  for (const char* bad : {"", "4000 x 3000", "4000 \xC3\x97 ", "\xC3\x97 3000", "40 \xC3\x97 30 "})
    EXPECT_EQ(ReadPixels(bad), std::nullopt) << bad;
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/grid/GridColumns.h"
#include "core/listing/DateKey.h"
#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/RowFacts.h"
#include "support/Entries.h"
#include "support/Printers.h"

namespace kavoro {
namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

std::optional<std::string> PathOf(const ListingData& doc, qsizetype row) {
  std::string path;
  if (!doc.AppendFilePath(row, path)) return std::nullopt;
  return path;
}

class RowFactsTest : public ::testing::Test {
 protected:
  void EnterFound(ListingData& doc, const FoundFiles& found, const EntryOptions& options) {
    AppendEntries(doc, found, options, texts_);
  }

  ListingDocument doc_;
  EntryTexts texts_{DateTextFormat(kGerman), {}};
};

TEST_F(RowFactsTest, FactsFollowTheirRowsThroughSortingAndGoWithTheRows) {
  test::StartListing(doc_, true);
  const QString date = u"05.12.2004 14:35"_qs;
  test::AddEntry(doc_, u"b.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, date, {u"/x/"_qs, {}, 2500});
  test::AddEntry(doc_, u"a.mp3"_qs, u"1 KB"_qs, u"MP3"_qs, date, {u"/y/"_qs, {}, 10});
  test::AddEntry(doc_, u"c.mp3"_qs, u"2 KB"_qs, u"MP3"_qs, date);  // nothing known
  test::AddEntry(doc_, u"d.mp3"_qs, u"5 KB"_qs, u"MP3"_qs, date, {u"/x/"_qs, {}, 4800});
  doc_.SetCell(1, doc_.RowCount(), u"e.mp3"_qs);  // a row the grid grew by knows nothing
  const std::map<QString, std::pair<std::optional<std::string>, std::optional<std::uint64_t>>>
      facts = {{u"a.mp3"_qs, {"/y/a.mp3", 10}},
               {u"b.mp3"_qs, {"/x/b.mp3", 2500}},
               {u"c.mp3"_qs, {}},
               {u"d.mp3"_qs, {"/x/d.mp3", 4800}},
               {u"e.mp3"_qs, {}}};
  GridToolState tools;
  const DateReader dates(kGerman);
  for (const int column : {2, 1, 1, 0}) {
    ClickSortColumn(doc_, tools, ListingData::ColumnId(column), dates);
    ASSERT_EQ(doc_.RowCount(), 6);
    for (qsizetype row = 1; row < doc_.RowCount(); ++row) {
      const auto& [path, bytes] = facts.at(doc_.Cell(1, row));
      EXPECT_EQ(PathOf(doc_, row), path) << column << ' ' << row;
      EXPECT_EQ(doc_.SizeBytes(row), bytes) << column << ' ' << row;
    }
  }
  EXPECT_EQ(PathOf(doc_, 0), std::nullopt);

  // A new listing's rows have none of the old rows' facts.
  test::StartListing(doc_, true);
  doc_.SetRowCount(3);
  test::AddEntry(doc_, u"f.mp3"_qs, u"1 KB"_qs);
  for (qsizetype row = 0; row < 4; ++row) {
    EXPECT_EQ(PathOf(doc_, row), std::nullopt) << row;
    EXPECT_EQ(doc_.SizeBytes(row), std::nullopt) << row;
  }
}

TEST_F(RowFactsTest, EntriesBuiltAsideBringTheirFacts) {
  test::StartListing(doc_, true);
  test::AddEntry(doc_, u"alt.mp3"_qs, u"1 KB"_qs);  // as from list files: nothing known
  FoundFiles found;
  found.Add(u"/musik/rock/"_qs, u"b.mp3"_qs, 2048, 1102253700);
  found.Add(u"/musik/pop/"_qs, u"a.mp3"_qs, 5, 1102253700);
  ListingData staged;
  staged.PrepareStaging(doc_.EntryCounter());
  EnterFound(staged, found, {.details = true});
  doc_.AbsorbEntries(staged);
  // A run without details knows folders but no sizes.
  FoundFiles more;
  more.Add(u"/musik/pop/"_qs, u"c.mp3"_qs);
  staged.PrepareStaging(doc_.EntryCounter());
  EnterFound(staged, more, {});
  doc_.AbsorbEntries(staged);

  ASSERT_EQ(doc_.RowCount(), 5);
  const std::optional<std::string> paths[] = {std::nullopt, "/musik/rock/b.mp3", "/musik/pop/a.mp3",
                                              "/musik/pop/c.mp3"};
  const std::optional<std::uint64_t> sizes[] = {std::nullopt, 2048, 5, std::nullopt};
  for (qsizetype row = 1; row < 5; ++row) {
    EXPECT_EQ(PathOf(doc_, row), paths[row - 1]) << row;
    EXPECT_EQ(doc_.SizeBytes(row), sizes[row - 1]) << row;
  }
  EXPECT_EQ(staged.RowCount(), 1);
}

// The path is the file's even where the name cell shows it otherwise: hidden extensions, line
// breaks shown as symbols, bytes that are no UTF-8 (those as U+FFFD, as everywhere).
TEST_F(RowFactsTest, PathsAreTheFilesWhateverTheNameCellsShow) {
  test::StartListing(doc_, false);
  FoundFiles found;
  const std::uint32_t folder = found.AddFolder("/m/Alt\xFF/");
  const std::string names[] = {"Lied.MP3",       "a.mp3.mp3",   "x.mp3_y.mp3",
                               "zeile\nneu.mp3", "roh\xFE.mp3", ".versteckt"};
  for (const std::string& name : names) found.Add(folder, name);
  for (const bool whole_path : {false, true}) {
    EnterFound(doc_, found, {.hide_extensions = true, .whole_path = whole_path});
  }
  ASSERT_EQ(doc_.RowCount(), 13);
  EXPECT_EQ(doc_.Cell(1, 2), u"a"_qs);
  EXPECT_EQ(doc_.Cell(1, 10), u"/m/Alt\uFFFD/zeile\u240Aneu"_qs);
  for (qsizetype row = 1; row < doc_.RowCount(); ++row) {
    std::string scratch;
    const std::string name(utf8::Sanitized(names[(row - 1) % 6], scratch));
    EXPECT_EQ(PathOf(doc_, row), "/m/Alt\xEF\xBF\xBD/" + name) << row;
  }
}

TEST(RowFactsMemoryTest, AtMostSixteenBytesAnEntryAndNothingWhileUnknown) {
  constexpr std::size_t kRows = 100000;
  RowFacts unknown;
  for (std::size_t row = 0; row < kRows; ++row) unknown.Append(row, {}, "lied.mp3");
  EXPECT_LT(unknown.BytesUsed(), 64u);

  // Every kind of fact, as entering with details and hidden extensions leaves them.
  RowFacts known;
  known.Reserve(kRows, true, true);
  std::string folder, name;
  for (std::size_t row = 0; row < kRows; ++row) {
    folder = "/home/nutzer/Musik/Ordner " + std::to_string(row % 100) + '/';
    name = "Lied " + std::to_string(row);
    known.Append(row, {folder, name + ".mp3", row}, name);
  }
  EXPECT_LE(known.BytesUsed(), kRows * 16 + 100 * 128);
  std::string path;
  ASSERT_TRUE(known.AppendPath(kRows - 1, name, path));
  EXPECT_EQ(path, "/home/nutzer/Musik/Ordner 99/Lied 99999.mp3");
  EXPECT_EQ(known.Bytes(kRows - 1), kRows - 1);
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>
#include <array>
#include <vector>

#include "core/app/AppState.h"
#include "core/grid/GridColumns.h"
#include "core/listing/DateKey.h"
#include "core/listing/GridSort.h"
#include "core/listing/ListingDocument.h"
#include "core/text/Cp1252.h"
#include "support/Entries.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using Row = std::array<QString, 5>;
const Row kHeader = {u"Nr."_qs, u"Datei"_qs, u"Größe"_qs, u"Typ"_qs, u"Geändert"_qs};
const QLocale kGerman(QLocale::German, QLocale::Germany);

void Fill(ListingDocument& doc, const std::vector<Row>& entries) {
  doc.SetColumnCount(5);
  for (int c = 0; c < 5; ++c) doc.SetCell(c, 0, kHeader[c]);
  for (const Row& r : entries) doc.AppendRow({r[0], r[1], r[2], r[3], r[4]});
}

std::vector<Row> Rows(const ListingDocument& doc) {
  std::vector<Row> rows;
  for (qsizetype r = 0; r < doc.RowCount(); ++r) {
    Row row;
    for (int c = 0; c < 5; ++c) row[c] = doc.Cell(c, r);
    rows.push_back(row);
  }
  return rows;
}

// The column handler and quicksort exactly as the original program ran them: markers in the
// header cell, sizes converted in place, keys read from the cells at every comparison, rows
// exchanged in place. Only for data that does not collide with the markers.
class ReferenceGrid {
 public:
  explicit ReferenceGrid(std::vector<Row> rows) : rows_(std::move(rows)) {}
  const std::vector<Row>& Rows() const { return rows_; }

  void Click(int column) {
    for (int c = 0; c < 5; ++c) {
      if (c != column) forward_[c] = true;
    }
    const QString header = rows_[0][column];
    if (column == 2) {
      for (std::size_t r = 1; r < rows_.size(); ++r) rows_[r][2] = Plain(rows_[r][2]);
    }
    static const std::array<std::array<const char16_t*, 2>, 5> kMarkers = {{
        {u"99999999", u"0"},
        {u"", u"zzzzzzzzzzzzzzzzzzzzzz"},
        {u"99999999", u"-1"},
        {u"", u"zzzzzzzzzzzzzzzzzzzzzz"},
        {u"31.12.2300 00:00", u"01.01.1900 00:00"},
    }};
    rows_[0][column] = QString::fromUtf16(kMarkers[column][forward_[column] ? 0 : 1]);
    Sort(0, static_cast<int>(rows_.size()) - 1, column);
    if (!forward_[column]) std::reverse(rows_.begin(), rows_.end());
    rows_[0][column] = header;
    if (column == 2) {
      for (std::size_t r = 1; r < rows_.size(); ++r) rows_[r][2] = Display(rows_[r][2].toInt());
    }
    forward_[column] = !forward_[column];
  }

 private:
  static QString Plain(QString size) {
    size.chop(3);
    if (size.size() > 3) size.remove(size.size() - 4, 1);
    if (size.size() > 6) size.remove(size.size() - 7, 1);
    return size;
  }
  static QString Display(int n) {
    QStringList groups;
    for (; n > 999; n /= 1000) groups.prepend(QString::number(n % 1000).rightJustified(3, u'0'));
    groups.prepend(QString::number(n));
    return groups.join(u'.') + u" KB"_qs;
  }

 public:
  static QString Size(int n) { return Display(n); }

 private:
  // < 0 when a comes before b in the column's natural order.
  static int Compare(int column, const QString& a, const QString& b) {
    if (column == 1 || column == 3) {
      const QByteArray x = Cp(a), y = Cp(b);
      const int n = std::min(x.size(), y.size());
      for (int i = 0; i < n; ++i) {
        const auto cx = static_cast<unsigned char>(x[i]), cy = static_cast<unsigned char>(y[i]);
        if (cx != cy) return cx < cy ? -1 : 1;
      }
      return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    }
    qint64 va = 0, vb = 0;
    if (column == 4) {
      va = QDateTime::fromString(a, u"dd.MM.yyyy HH:mm"_qs).toSecsSinceEpoch();
      vb = QDateTime::fromString(b, u"dd.MM.yyyy HH:mm"_qs).toSecsSinceEpoch();
    } else {
      va = a.toInt();
      vb = b.toInt();
    }
    return va == vb ? 0 : (va > vb ? -1 : 1);
  }
  static QByteArray Cp(const QString& s) {
    QByteArray out;
    for (QChar c : s) {
      const char16_t u = c.unicode();
      out.append(static_cast<char>(u >= 'A' && u <= 'Z' ? u + 32 : cp1252::ByteFor(u)));
    }
    return out;
  }
  void Sort(int l, int r, int column) {
    for (;;) {
      int i = l, j = r;
      const QString p = rows_[(l + r) / 2][column];
      do {
        while (Compare(column, rows_[i][column], p) < 0) ++i;
        while (Compare(column, rows_[j][column], p) > 0) --j;
        if (i <= j) {
          if (i != j) std::swap(rows_[i], rows_[j]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (l < j) Sort(l, j, column);
      l = i;
      if (i >= r) return;
    }
  }

  std::vector<Row> rows_;
  std::array<bool, 5> forward_ = {true, true, true, true, true};
};

class GridSortTest : public ::testing::Test {
 protected:
  void Click(int column) { ClickSortColumn(doc_, tools_, ListingData::ColumnId(column), dates_); }
  QStringList Col(int c) const { return doc_.Column(c); }

  ListingDocument doc_;
  GridToolState tools_;
  DateReader dates_{kGerman};
};

TEST_F(GridSortTest, NamesSortByCodePageBytesWithTiesWhereTheQuicksortLeavesThem) {
  Fill(doc_, {{u"1"_qs, u"b.txt"_qs},
              {u"2"_qs, u"A.txt"_qs},
              {u"3"_qs, u"Äpfel.txt"_qs},
              {u"4"_qs, u"a.txt"_qs}});
  Click(1);
  EXPECT_EQ(Col(1),
            (QStringList{u"Datei"_qs, u"a.txt"_qs, u"A.txt"_qs, u"b.txt"_qs, u"Äpfel.txt"_qs}));
  EXPECT_EQ(Col(0), (QStringList{u"Nr."_qs, u"4"_qs, u"2"_qs, u"1"_qs, u"3"_qs}));
  Click(1);
  EXPECT_EQ(Col(1),
            (QStringList{u"Datei"_qs, u"Äpfel.txt"_qs, u"b.txt"_qs, u"a.txt"_qs, u"A.txt"_qs}));
  Click(3);  // another column: "Datei" starts afresh
  Click(1);
  EXPECT_EQ(Col(1).mid(1, 2), (QStringList{u"A.txt"_qs, u"a.txt"_qs}));
}

std::string TextSortKey(std::string_view utf8) {
  std::string key;
  AppendTextKey(utf8, key);
  return key;
}

TEST_F(GridSortTest, CharactersOutsideTheCodePageComeAfterAllOfIt) {
  EXPECT_LT(TextSortKey("\xE2\x82\xAC"), TextSortKey("\xC3\xBF"));  // € (0x80) < ÿ (0xFF)
  EXPECT_LT(TextSortKey("\xC3\xBF"), TextSortKey("\xC4\x80"));      // ÿ < Ā (no cp1252)
  EXPECT_LT(TextSortKey("\xC3\xBFz"), TextSortKey("\xC4\x80"));
  EXPECT_LT(TextSortKey("\xC4\x80"), TextSortKey("\xF0\x9F\x98\x80"));  // by code point
  EXPECT_LT(TextSortKey("Z"), TextSortKey("\xC3\x84"));                 // Z (as z) < Ä
  EXPECT_LT(TextSortKey("\xC3\x84"), TextSortKey("\xC3\xA4"));          // Ä < ä
  EXPECT_EQ(TextSortKey("ABC"), TextSortKey("abc"));
  EXPECT_LT(TextSortKey("ab"), TextSortKey("abc"));
}

TEST_F(GridSortTest, SizesLargestFirstThenReversedAndCellsUntouched) {
  Fill(doc_, {{u"1"_qs, u"a"_qs, u"999 KB"_qs},
              {u"2"_qs, u"b"_qs, u"1.000 KB"_qs},
              {u"3"_qs, u"c"_qs, u"12 KB"_qs}});
  Click(2);
  EXPECT_EQ(Col(2), (QStringList{u"Größe"_qs, u"1.000 KB"_qs, u"999 KB"_qs, u"12 KB"_qs}));
  Click(2);
  EXPECT_EQ(Col(2), (QStringList{u"Größe"_qs, u"12 KB"_qs, u"999 KB"_qs, u"1.000 KB"_qs}));
}

TEST_F(GridSortTest, SizesOfAThousandMillionKBAndMoreReadWithEveryGroup) {
  EXPECT_EQ(ReadSizeKB("1.000.000.000 KB"), 1000000000);
  EXPECT_EQ(ReadSizeKB("1000.000.000 KB"), 1000000000);
  EXPECT_EQ(ReadSizeKB("12.345.678.901 KB"), 12345678901);
  EXPECT_EQ(ReadSizeKB("0 KB"), 0);
  // Sizes too large for any file (twenty digits and more) count as no size, never as a
  // number that ran over.
  for (const char* bad : {"", " KB", "12", "1,5 KB", "x KB", "-1 KB", "11000000000000000000 KB",
                          "1.136721.2.05.6373256767 KB", "99999999999999999999999 KB"}) {
    EXPECT_FALSE(ReadSizeKB(bad)) << bad;
  }
  Fill(doc_, {{u"1"_qs, u"a"_qs, u"999.999.999 KB"_qs},
              {u"2"_qs, u"b"_qs, u"2.000.000.000 KB"_qs},
              {u"3"_qs, u"c"_qs, u"1.500.000.000 KB"_qs}});
  Click(2);
  EXPECT_EQ(Col(0), (QStringList{u"Nr."_qs, u"2"_qs, u"3"_qs, u"1"_qs}));
}

TEST_F(GridSortTest, CellsThatDoNotConvertSortAsTheSmallestValues) {
  EXPECT_EQ(ReadInteger("-2147483648"), -2147483648LL);
  EXPECT_FALSE(ReadInteger("2147483648"));
  EXPECT_FALSE(ReadInteger("1 2"));
  EXPECT_FALSE(ReadInteger(""));
  Fill(doc_, {{u"5"_qs, u"a"_qs, u"kaputt"_qs, u""_qs, u"gestern"_qs},
              {u""_qs, u"b"_qs, u"3 KB"_qs, u""_qs, u"01.02.2003 04:05"_qs},
              {u"x"_qs, u"c"_qs, u""_qs, u""_qs, u""_qs},
              {u"7"_qs, u"d"_qs, u"1 KB"_qs, u""_qs, u"31.12.1999 23:59"_qs}});
  Click(0);
  EXPECT_EQ(Col(1), (QStringList{u"Datei"_qs, u"d"_qs, u"a"_qs, u"c"_qs, u"b"_qs}));
  Click(0);  // smallest first: the two that do not convert lead
  EXPECT_EQ(Col(1), (QStringList{u"Datei"_qs, u"c"_qs, u"b"_qs, u"a"_qs, u"d"_qs}));
  Click(2);
  EXPECT_EQ(Col(1).mid(1, 2), (QStringList{u"b"_qs, u"d"_qs}));
  Click(4);
  EXPECT_EQ(Col(1).mid(1, 2), (QStringList{u"b"_qs, u"d"_qs}));
  EXPECT_EQ(Col(4).mid(3), (QStringList{u""_qs, u"gestern"_qs}));
}

TEST_F(GridSortTest, HeaderRowStaysOnTopWhateverTheEntriesHold) {
  Fill(doc_, {{u"1"_qs, u"zzzzzzzzzzzzzzzzzzzzzzzzzzzz.txt"_qs, u"99999999 KB"_qs, u"üTyp"_qs,
               u"01.01.2400 00:00"_qs},
              {u"99999999"_qs, u""_qs, u"0 KB"_qs, u""_qs, u"01.01.1800 00:00"_qs},
              {u"0"_qs, u"ü.txt"_qs, u"5 KB"_qs, u"zzzzzzzzzzzzzzzzzzzzzzzzz"_qs,
               u"31.12.2300 00:00"_qs}});
  for (int column : {0, 1, 2, 3, 4}) {
    for (int click = 0; click < 2; ++click) {
      Click(column);
      EXPECT_EQ(Rows(doc_)[0], kHeader) << column << " " << click;
      EXPECT_EQ(doc_.RowCount(), 4);
    }
  }
  Click(4);
  EXPECT_EQ(Col(4).mid(1),
            (QStringList{u"01.01.2400 00:00"_qs, u"31.12.2300 00:00"_qs, u"01.01.1800 00:00"_qs}));
}

TEST_F(GridSortTest, NumberClicksTurnAFreshListingUpsideDownAndBack) {
  doc_.SetColumnCount(5);
  for (int i = 0; i < 12; ++i) test::AddEntry(doc_, u"f%1"_qs.arg(i));
  const QStringList text = doc_.Text().ToStringList();
  const QStringList html = doc_.Html().ToStringList();
  const std::vector<Row> entered = Rows(doc_);
  Click(0);
  EXPECT_EQ(Col(0).mid(1, 3), (QStringList{u"12"_qs, u"11"_qs, u"10"_qs}));
  EXPECT_EQ(Col(1)[1], u"f11"_qs);  // the numbers travel with their rows
  EXPECT_EQ(doc_.Text().ToStringList(), text);
  EXPECT_EQ(doc_.Html().ToStringList(), html);
  Click(0);
  EXPECT_EQ(Rows(doc_), entered);
  EXPECT_TRUE(doc_.ListingModified());
}

TEST_F(GridSortTest, OnlyTheHeaderRowStaysAsItIsButTheDirectionTurns) {
  Fill(doc_, {});
  Click(1);
  EXPECT_EQ(Rows(doc_), std::vector<Row>{kHeader});
  EXPECT_FALSE(tools_.sort_forward[1]);
  EXPECT_FALSE(doc_.ListingModified());
}

TEST_F(GridSortTest, EqualsTheInPlaceSortTiesIncluded) {
  QRandomGenerator random(20041205);
  for (int round = 0; round < 20; ++round) {
    std::vector<Row> rows;
    const int n = static_cast<int>(random.bounded(1, 60));
    for (int i = 0; i < n; ++i) {
      auto pick = [&random](const char* letters, int length) {
        QString s;
        for (int k = 0; k < length; ++k) s += QChar(letters[random.bounded(int(strlen(letters)))]);
        return s;
      };
      static const int kSizes[] = {0, 12, 999, 1000, 1500, 2000, 1234567};
      rows.push_back({QString::number(random.bounded(1, 9)), pick("aAbBc", random.bounded(1, 3)),
                      ReferenceGrid::Size(kSizes[random.bounded(7)]), pick("xXy", 1),
                      u"0%1.0%2.20%3 1%4:00"_qs.arg(random.bounded(1, 4))
                          .arg(random.bounded(1, 4))
                          .arg(random.bounded(10, 13))
                          .arg(random.bounded(3))});
    }
    std::vector<Row> with_header = {kHeader};
    with_header.insert(with_header.end(), rows.begin(), rows.end());
    ReferenceGrid reference(with_header);
    ListingDocument doc;
    Fill(doc, rows);
    GridToolState tools;
    for (int click = 0; click < 6; ++click) {
      const int column = static_cast<int>(random.bounded(5));
      reference.Click(column);
      ClickSortColumn(doc, tools, ListingData::ColumnId(column), dates_);
      ASSERT_EQ(Rows(doc), reference.Rows()) << "round " << round << " click " << click;
    }
  }
}

TEST_F(GridSortTest, PlainTablesSortWithTheSameRoutine) {
  ByteKeys cells;
  for (const char* cell : {"b", "B", "a", "\xC3\x84", ""}) {
    AppendTextKey(cell, cells.Buffer());
    cells.EndKey();
  }
  EXPECT_EQ(TextSortOrder(cells, true), (std::vector<std::uint32_t>{4, 2, 0, 1, 3}));
  EXPECT_EQ(TextSortOrder(cells, false), (std::vector<std::uint32_t>{3, 1, 0, 2, 4}));
}

TEST_F(GridSortTest, ACommandLineClickActsAsInAFreshProgram) {
  Fill(doc_, {{u"1"_qs, u"b"_qs}, {u"2"_qs, u"c"_qs}, {u"3"_qs, u"a"_qs}});
  tools_.sort_forward.fill(false);  // what a window did before does not matter
  SortAsAfterClicks(doc_, ListingData::kName, 1, dates_);
  EXPECT_EQ(Col(1), (QStringList{u"Datei"_qs, u"a"_qs, u"b"_qs, u"c"_qs}));
  SortAsAfterClicks(doc_, ListingData::kNumber, 1, dates_);
  EXPECT_EQ(Col(0), (QStringList{u"Nr."_qs, u"3"_qs, u"2"_qs, u"1"_qs}));
  SortAsAfterClicks(doc_, ListingData::kName, 2, dates_);
  EXPECT_EQ(Col(1), (QStringList{u"Datei"_qs, u"c"_qs, u"b"_qs, u"a"_qs}));
}

TEST_F(GridSortTest, RenumberingAfterASortCountsFromTheTop) {
  Fill(doc_, {{u"1"_qs, u"b"_qs, u"1 KB"_qs},
              {u"2"_qs, u"c"_qs, u"2 KB"_qs},
              {u"3"_qs, u"a"_qs, u"3 KB"_qs}});
  Click(1);
  Click(0);
  EXPECT_TRUE(tools_.sort_forward[1]);
  EXPECT_FALSE(tools_.sort_forward[0]);
  RenumberGrid(doc_, tools_);
  EXPECT_EQ(Col(0), (QStringList{u"Nr."_qs, u"1"_qs, u"2"_qs, u"3"_qs}));
  EXPECT_EQ(Col(1), (QStringList{u"Datei"_qs, u"a"_qs, u"c"_qs, u"b"_qs}));
  EXPECT_EQ(Col(2), (QStringList{u"Größe"_qs, u"3 KB"_qs, u"2 KB"_qs, u"1 KB"_qs}));
  EXPECT_TRUE(tools_.sort_forward[0]);
}

TEST_F(GridSortTest, HintsNameTheDirectionOfTheNextClick) {
  const QString up = u"Aufsteigend sortieren"_qs, down = u"Absteigend sortieren"_qs;
  EXPECT_EQ(SortHint(tools_, ListingData::kNumber), down);
  EXPECT_EQ(SortHint(tools_, ListingData::kName), up);
  EXPECT_EQ(SortHint(tools_, ListingData::kSize), down);
  EXPECT_EQ(SortHint(tools_, ListingData::kType), up);
  EXPECT_EQ(SortHint(tools_, ListingData::kDate), down);
  Fill(doc_, {});
  Click(1);
  Click(2);
  EXPECT_EQ(SortHint(tools_, ListingData::kName), up);  // another column's click started it afresh
  EXPECT_EQ(SortHint(tools_, ListingData::kSize), up);
}

TEST(DateKeyTest, TheListingFormDerivesFromTheLocale) {
  EXPECT_EQ(ListingDateFormat(kGerman), u"dd.MM.yyyy HH:mm"_qs);
  EXPECT_EQ(ListingDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)),
            u"M/d/yyyy h:mm AP"_qs);
  const DateReader german(kGerman);
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const DateReader english(us);
  const QDateTime when(QDate(2004, 12, 5), QTime(14, 35));
  for (const QLocale& locale : {kGerman, us, QLocale::c(), QLocale(QLocale::Japanese)}) {
    const DateReader reader(locale);
    const QString text = locale.toString(when, ListingDateFormat(locale));
    EXPECT_FALSE(text.contains(u":00"_qs)) << text.toStdString();  // no seconds
    EXPECT_EQ(reader.Seconds(text.toStdString()),
              QDateTime(when.date(), when.time(), Qt::UTC).toSecsSinceEpoch())
        << text.toStdString();
  }
  EXPECT_EQ(german.Seconds("05.12.2004 14:35"), english.Seconds("12/5/2004 2:35 PM"));
  EXPECT_EQ(english.Seconds("05.12.2004 14:35"), german.Seconds("05.12.2004 14:35"));
  EXPECT_LT(*english.Seconds("12/5/2004 12:10 AM"), *english.Seconds("12/5/2004 1:10 AM"));
  for (const char* bad :
       {"", "31.02.2004 10:00", "05.12.2004 24:00", "05.12.2004", "gestern", "05.12.2004 14:35 "}) {
    EXPECT_FALSE(german.Seconds(bad)) << bad;
  }
}

}  // namespace
}  // namespace kavoro

namespace kavoro {
namespace {

TEST(ReorderRowsTest, OnlyAPermutationOfAllRowsMovesThem) {
  ListingDocument doc;
  Fill(doc, {{u"1"_qs, u"a"_qs}, {u"2"_qs, u"b"_qs}});
  const std::vector<std::uint32_t> bad[] = {{0, 1}, {0, 1, 1}, {0, 1, 3}};
  for (const auto& order : bad) EXPECT_FALSE(doc.ReorderRows(order));
  EXPECT_EQ(doc.Column(1), (QStringList{u"Datei"_qs, u"a"_qs, u"b"_qs}));
  const std::vector<std::uint32_t> good = {0, 2, 1};
  EXPECT_TRUE(doc.ReorderRows(good));
  EXPECT_EQ(doc.Column(1), (QStringList{u"Datei"_qs, u"b"_qs, u"a"_qs}));
  EXPECT_EQ(doc.Column(0), (QStringList{u"Nr."_qs, u"2"_qs, u"1"_qs}));
}

TEST(ColumnWidthTest, EachChangeStoresOnlyItsLineAtOnce) {
  test::ProgramDir dir;
  AppState state(dir.Path());
  ASSERT_EQ(ApplyOptionsAtStart(state), std::nullopt);
  dir.SetOptionLine(3, "7");  // changed on disk meanwhile: written back as it is now
  ASSERT_EQ(StoreColumnWidth(state.options, state.doc, state.grid_tools, 1, u"1"_qs), std::nullopt);
  ASSERT_EQ(StoreColumnWidth(state.options, state.doc, state.grid_tools, 1, u"12"_qs),
            std::nullopt);
  EXPECT_EQ(state.doc.ColumnWidth(1), 12);
  QList<QByteArray> lines = dir.Options().split('\n');
  EXPECT_EQ(lines[20], "12\r");
  EXPECT_EQ(lines[3], "7\r");
  EXPECT_EQ(lines[19], "40\r");

  const QByteArray before = dir.Options();
  for (const QString& ignored : {u""_qs, u"1a"_qs, u"-5"_qs}) {
    ASSERT_EQ(StoreColumnWidth(state.options, state.doc, state.grid_tools, 1, ignored),
              std::nullopt);
    EXPECT_EQ(state.doc.ColumnWidth(1), 12);
    EXPECT_EQ(dir.Options(), before);
  }
  ASSERT_EQ(StoreColumnWidth(state.options, state.doc, state.grid_tools, 4, u"0"_qs), std::nullopt);
  EXPECT_EQ(state.doc.WidthOf(ListingData::kDate), 0);
  EXPECT_EQ(dir.Options().split('\n')[23], "0\r");

  QFile::remove(dir.File(u"optionen.ini"_qs));
  const auto failed = StoreColumnWidth(state.options, state.doc, state.grid_tools, 0, u"5"_qs);
  ASSERT_TRUE(failed);
  EXPECT_FALSE(failed->isEmpty());
}

}  // namespace
}  // namespace kavoro

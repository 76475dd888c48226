#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <initializer_list>
#include <thread>

#include "core/catalog/Catalog.h"
#include "core/catalog/CatalogOutput.h"
#include "core/output/ListFiles.h"
#include "support/Entries.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

struct Row {
  Row(const QString& n, const QString& s = {}, const QString& t = {}, const QString& d = {})
      : name(n), size(s), type(t), date(d) {}
  QString name;
  QString size;
  QString type;
  QString date;
};

class CatalogTest : public ::testing::Test {
 protected:
  // Saves the rows as the list BASE.mpl/.mpl2/.mpl3 in the lists' folder, with the detail
  // columns when `details`; returns the base.
  QString SaveList(const QString& name, bool details, std::initializer_list<Row> rows) {
    ListingDocument doc;
    test::StartListing(doc, details);
    for (const Row& row : rows) test::AddEntry(doc, row.name, row.size, row.type, row.date);
    const QString base = Base(name);
    QString error;
    EXPECT_TRUE(SaveListFiles(doc, base, &error)) << error.toStdString();
    return base;
  }
  QString Base(const QString& name) const { return lists_.path() + u'/' + name; }
  QString IndexPath() const { return cache_.path() + u"/kavoro/catalog.sqlite"_qs; }
  QStringList Folders() const { return {lists_.path()}; }

  // The names of the hits, in their order.
  static QStringList Names(const std::vector<CatalogEntry>& hits) {
    QStringList names;
    for (const CatalogEntry& hit : hits) names.append(hit.name);
    return names;
  }

  // A list without details that holds names hard to search for, and one with details.
  void SaveTwoLists() {
    SaveList(u"pfade"_qs, false,
             {{u"/home/anna/Lied \"eins\".mp3"_qs},
              {u"50% _rabatt_.txt"_qs},
              {u"Ärger im Büro.doc"_qs},
              {u"東京タワー.jpg"_qs},
              {u"it's 100_percent.txt"_qs}});
    SaveList(u"musik"_qs, true,
             {{u"Straße.mp3"_qs, u"1.234 KB"_qs, u"MP3-Datei"_qs, u"01.02.2020 10:00"_qs},
              {u"Lied.mp3"_qs, u"3 KB"_qs, u"MP3-Datei"_qs, u"02.02.2020 11:00"_qs},
              {u"AERGER.wav"_qs, u"10 KB"_qs, u"WAV-Datei"_qs, u"03.02.2020 12:00"_qs}});
  }

  QTemporaryDir lists_;
  QTemporaryDir cache_;
};

TEST(FoldForSearchTest, FoldsAsAGermanReaderSearches) {
  const std::pair<QString, QString> cases[] = {
      {u"Ärger"_qs, u"arger"_qs},
      {u"AERGER"_qs, u"arger"_qs},
      {u"Öl und Übel"_qs, u"ol und ubel"_qs},
      {u"Straße"_qs, u"strasse"_qs},
      {u"STRASSE"_qs, u"strasse"_qs},
      {u"Café crème"_qs, u"cafe creme"_qs},
      // As the page's script: each "e" after a vowel goes once, and the folded pair is not
      // looked at again.
      {u"aee"_qs, u"ae"_qs},
      {u"Queue"_qs, u"quu"_qs},
      {u"東京 한국"_qs, u"東京 한국"_qs},
  };
  for (const auto& [text, folded] : cases) {
    EXPECT_EQ(FoldForSearch(text), folded) << text.toStdString();
  }
}

TEST_F(CatalogTest, FindsKnownTextsWithTheirListsAndDetails) {
  SaveTwoLists();
  Catalog catalog(IndexPath());
  EXPECT_TRUE(catalog.Warning().isEmpty());
  const CatalogUpdate update = catalog.Update(Folders());
  EXPECT_EQ(update.indexed, 2);
  for (const SkippedList& list : update.skipped) ADD_FAILURE() << list.reason.toStdString();

  const auto lied = catalog.Find(u"lied"_qs);
  ASSERT_EQ(lied.size(), 2u);
  // By list, then number: "musik" before "pfade".
  EXPECT_EQ(lied[0].list, Base(u"musik"_qs));
  EXPECT_EQ(lied[0].number, 2);
  EXPECT_EQ(lied[0].name, u"Lied.mp3"_qs);
  EXPECT_EQ(lied[0].size, u"3 KB"_qs);
  EXPECT_EQ(lied[0].type, u"MP3-Datei"_qs);
  EXPECT_EQ(lied[0].date, u"02.02.2020 11:00"_qs);
  EXPECT_TRUE(lied[0].details);
  EXPECT_EQ(lied[1].list, Base(u"pfade"_qs));
  EXPECT_EQ(lied[1].number, 1);
  EXPECT_EQ(lied[1].name, u"/home/anna/Lied \"eins\".mp3"_qs);
  EXPECT_FALSE(lied[1].details);
  EXPECT_TRUE(lied[1].size.isEmpty());

  // Quotes, % and _ are plain characters, in the trigram search and the short one alike.
  EXPECT_EQ(Names(catalog.Find(u"\"eins\""_qs)), QStringList{u"/home/anna/Lied \"eins\".mp3"_qs});
  EXPECT_EQ(Names(catalog.Find(u"50%"_qs)), QStringList{u"50% _rabatt_.txt"_qs});
  EXPECT_EQ(Names(catalog.Find(u"%"_qs)), QStringList{u"50% _rabatt_.txt"_qs});
  EXPECT_EQ(Names(catalog.Find(u"0_"_qs)), QStringList{u"it's 100_percent.txt"_qs});
  EXPECT_EQ(Names(catalog.Find(u"'s 1"_qs)), QStringList{u"it's 100_percent.txt"_qs});
  EXPECT_EQ(Names(catalog.Find(u"東京"_qs)), QStringList{u"東京タワー.jpg"_qs});
  EXPECT_EQ(Names(catalog.Find(u"京タワ"_qs)), QStringList{u"東京タワー.jpg"_qs});
  EXPECT_TRUE(catalog.Find(u"zzz"_qs).empty());
  EXPECT_TRUE(catalog.Find(u"q"_qs).empty());
}

TEST_F(CatalogTest, FiltersNarrowTheHitsAndTheCountNamesHitsAndLists) {
  SaveTwoLists();
  Catalog catalog(IndexPath());
  catalog.Update(Folders());
  const auto check = [&](const CatalogQuery& query, const QStringList& names) {
    EXPECT_EQ(Names(catalog.Find(query)), names);
    QSet<QString> lists;
    for (const CatalogEntry& hit : catalog.Find(query)) lists.insert(hit.list);
    const auto count = catalog.Count(query);
    ASSERT_TRUE(count);
    EXPECT_EQ(count->hits, names.size());
    EXPECT_EQ(count->lists, lists.size());
  };
  CatalogQuery query;
  check(query, {u"Straße.mp3"_qs, u"Lied.mp3"_qs, u"AERGER.wav"_qs,
                u"/home/anna/Lied \"eins\".mp3"_qs, u"50% _rabatt_.txt"_qs, u"Ärger im Büro.doc"_qs,
                u"東京タワー.jpg"_qs, u"it's 100_percent.txt"_qs});
  query.extension = u" .MP3"_qs;
  check(query, {u"Straße.mp3"_qs, u"Lied.mp3"_qs, u"/home/anna/Lied \"eins\".mp3"_qs});
  // Sizes are KB as the list writes them ("1.234 KB"); entries without one drop out.
  query.min_kb = 3;
  check(query, {u"Straße.mp3"_qs, u"Lied.mp3"_qs});
  query.min_kb = 4;
  query.max_kb = 1234;
  check(query, {u"Straße.mp3"_qs});
  query = {};
  query.list_name = u"PFA"_qs;
  query.text = u"er"_qs;
  check(query, {u"Ärger im Büro.doc"_qs, u"it's 100_percent.txt"_qs});
  query.text = u"erc"_qs;
  check(query, {u"it's 100_percent.txt"_qs});
  query.list_name = u"%"_qs;
  check(query, {});

  // With a limit, only that many come; a search already stopped finds nothing.
  EXPECT_EQ(catalog.Find(CatalogQuery{}, 3).size(), 3u);
  std::atomic<bool> stopped = true;
  EXPECT_TRUE(catalog.Find(CatalogQuery{}, -1, &stopped).empty());
  EXPECT_FALSE(catalog.Count(CatalogQuery{}, &stopped));
  EXPECT_TRUE(catalog.Duplicates(-1, &stopped).empty());
}

TEST_F(CatalogTest, UmlautsAndSharpSFoldOnBothSides) {
  SaveTwoLists();
  Catalog catalog(IndexPath());
  catalog.Update(Folders());
  const QStringList both = {u"AERGER.wav"_qs, u"Ärger im Büro.doc"_qs};
  for (const QString& asked : {u"arger"_qs, u"aerger"_qs, u"ÄRGER"_qs, u"Ärger"_qs}) {
    EXPECT_EQ(Names(catalog.Find(asked)), both) << asked.toStdString();
  }
  EXPECT_EQ(Names(catalog.Find(u"buro"_qs)), QStringList{u"Ärger im Büro.doc"_qs});
  EXPECT_EQ(Names(catalog.Find(u"BUERO"_qs)), QStringList{u"Ärger im Büro.doc"_qs});
  for (const QString& asked : {u"strasse"_qs, u"STRASSE"_qs, u"straße"_qs, u"ße"_qs}) {
    EXPECT_EQ(Names(catalog.Find(asked)), QStringList{u"Straße.mp3"_qs}) << asked.toStdString();
  }
}

TEST_F(CatalogTest, DuplicatesAreGroupedWithTheSpaceOfTheExtraCopies) {
  SaveList(u"a"_qs, true,
           {{u"Film.mkv"_qs, u"10.000 KB"_qs, u"MKV"_qs, u"01.01.2020"_qs},
            {u"Lied.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"01.01.2020"_qs},
            {u"Einmal.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"01.01.2020"_qs}});
  SaveList(u"b"_qs, true,
           {{u"Lied.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"05.05.2021"_qs},
            {u"Film.mkv"_qs, u"10.000 KB"_qs, u"MKV"_qs, u"02.01.2020"_qs},
            {u"Film.mkv"_qs, u"9.999 KB"_qs, u"MKV"_qs, u"03.01.2020"_qs}});
  SaveList(u"c"_qs, true, {{u"Film.mkv"_qs, u"10.000 KB"_qs, u"MKV"_qs, u"04.01.2020"_qs}});
  SaveList(u"d"_qs, false, {{u"Notiz.txt"_qs}, {u"Notiz.txt"_qs}, {u"Lied.mp3"_qs}});
  // A whole path counts by its file name: the same film on another disc.
  SaveList(u"e"_qs, true,
           {{u"/media/disc2/Filme/Film.mkv"_qs, u"10.000 KB"_qs, u"MKV"_qs, u"04.01.2020"_qs}});
  Catalog catalog(IndexPath());
  catalog.Update(Folders());
  const std::vector<DuplicateGroup> groups = catalog.Duplicates();
  ASSERT_EQ(groups.size(), 3u);
  // The most space first: three extra copies of 10.000 KB.
  EXPECT_EQ(groups[0].copies.size(), 4u);
  EXPECT_EQ(groups[0].extra_kb, 30000);
  for (const CatalogEntry& copy : groups[0].copies) {
    EXPECT_EQ(FileNameOf(copy), u"Film.mkv"_qs);
    EXPECT_EQ(copy.size, u"10.000 KB"_qs);
  }
  EXPECT_EQ(groups[0].copies[3].name, u"/media/disc2/Filme/Film.mkv"_qs);
  EXPECT_EQ(groups[0].copies[1].list, Base(u"b"_qs));
  EXPECT_EQ(groups[0].copies[1].number, 2);
  EXPECT_EQ(groups[1].copies.size(), 2u);
  EXPECT_EQ(groups[1].copies[0].name, u"Lied.mp3"_qs);
  EXPECT_EQ(groups[1].extra_kb, 3);
  // Without details the name alone counts, and no space is known.
  EXPECT_EQ(groups[2].copies.size(), 2u);
  EXPECT_EQ(groups[2].copies[0].name, u"Notiz.txt"_qs);
  EXPECT_EQ(groups[2].extra_kb, 0);

  const QByteArray lines = DuplicateLines(groups);
  EXPECT_TRUE(lines.startsWith("Film.mkv\t4 copies\t30.000 KB more\n" + Base(u"a"_qs).toUtf8() +
                               "\t1\tFilm.mkv\t10.000 KB\tMKV\t01.01.2020\n"))
      << lines.toStdString();
  EXPECT_EQ(lines.count("\n\n"), 2);
  const QJsonDocument json = QJsonDocument::fromJson(DuplicatesJson(groups));
  ASSERT_TRUE(json.isArray());
  EXPECT_EQ(json.array()[0][u"extraKB"_qs].toInt(), 30000);
  EXPECT_EQ(json.array()[0][u"name"_qs].toString(), u"Film.mkv"_qs);
  EXPECT_EQ(json.array()[0][u"entries"_qs].toArray().size(), 4);
  EXPECT_TRUE(json.array()[2][u"size"_qs].isNull());
}

TEST_F(CatalogTest, ASetThatDoesNotFitIsSkippedAndNamed) {
  SaveTwoLists();
  const QString broken = SaveList(u"kaputt"_qs, false, {{u"Lied zwei.mp3"_qs}});
  QFile text(broken + u".mpl2"_qs);
  ASSERT_TRUE(text.open(QIODevice::Append));
  text.write("        2  noch eine Zeile\r\n");
  text.close();
  const QString lonely = Base(u"allein"_qs);
  test::WriteBytes(lonely + u".mpl"_qs, test::CrLf({"Datei", "Lied drei.mp3"}));

  Catalog catalog(IndexPath(), UiLanguage::English);
  const CatalogUpdate update = catalog.Update(Folders());
  EXPECT_EQ(update.indexed, 2);
  ASSERT_EQ(update.skipped.size(), 2u);
  EXPECT_EQ(update.skipped[0].list, lonely);
  EXPECT_TRUE(update.skipped[0].reason.contains(u"allein.mpl2"_qs))
      << update.skipped[0].reason.toStdString();
  EXPECT_EQ(update.skipped[1].list, broken);
  EXPECT_TRUE(update.skipped[1].reason.contains(broken + u".mpl2"_qs));
  EXPECT_TRUE(update.skipped[1].reason.contains(u"2 entries"_qs))
      << update.skipped[1].reason.toStdString();
  EXPECT_FALSE(update.skipped[1].reason.contains(u'\n'));
  EXPECT_EQ(catalog.Find(u"lied"_qs).size(), 2u);  // the others are searched
  // The list files stay as they were.
  EXPECT_EQ(test::ReadBytes(lonely + u".mpl"_qs), test::CrLf({"Datei", "Lied drei.mp3"}));
}

TEST_F(CatalogTest, OnlyChangedListsAreReadAgainAndGoneOnesDropped) {
  SaveTwoLists();
  {
    Catalog catalog(IndexPath());
    EXPECT_EQ(catalog.Update(Folders()).indexed, 2);
  }
  Catalog catalog(IndexPath());  // the index is kept between runs
  CatalogUpdate update = catalog.Update(Folders());
  EXPECT_EQ(update.indexed, 0);
  EXPECT_EQ(update.unchanged, 2);

  SaveList(u"musik"_qs, true,
           {{u"Neues Lied.mp3"_qs, u"1 KB"_qs, u"MP3-Datei"_qs, u"04.02.2020 10:00"_qs}});
  update = catalog.Update(Folders());
  EXPECT_EQ(update.indexed, 1);
  EXPECT_EQ(update.unchanged, 1);
  EXPECT_EQ(Names(catalog.Find(u"lied"_qs)),
            (QStringList{u"Neues Lied.mp3"_qs, u"/home/anna/Lied \"eins\".mp3"_qs}));
  EXPECT_TRUE(catalog.Find(u"strasse"_qs).empty());

  for (const char* ext : {".mpl", ".mpl2", ".mpl3"}) {
    ASSERT_TRUE(QFile::remove(Base(u"pfade"_qs) + QLatin1String(ext)));
  }
  update = catalog.Update(Folders());
  EXPECT_EQ(update.dropped, 1);
  EXPECT_EQ(update.unchanged, 1);
  EXPECT_EQ(Names(catalog.Find(u"lied"_qs)), QStringList{u"Neues Lied.mp3"_qs});

  // The lists of folders no longer asked for go too.
  QTemporaryDir other;
  update = catalog.Update({other.path()});
  EXPECT_EQ(update.dropped, 1);
  EXPECT_TRUE(catalog.Find(u"lied"_qs).empty());
}

TEST_F(CatalogTest, AMissingOrDamagedIndexIsMadeAnew) {
  SaveTwoLists();
  {
    Catalog catalog(IndexPath());
    catalog.Update(Folders());
  }
  // Not a database; a database's header and then garbage; its first page and then garbage.
  const QByteArray made = test::ReadBytes(IndexPath());
  ASSERT_GT(made.size(), 8192);
  for (const QByteArray& garbage :
       {QByteArray(4096, 'x'), QByteArray("SQLite format 3", 16) + QByteArray(8000, '\1'),
        made.left(4096) + QByteArray(made.size() - 4096, '\xff')}) {
    test::WriteBytes(IndexPath(), garbage);
    QFile::remove(IndexPath() + u"-wal"_qs);
    Catalog catalog(IndexPath());
    EXPECT_TRUE(catalog.Warning().isEmpty()) << catalog.Warning().toStdString();
    EXPECT_EQ(catalog.Update(Folders()).indexed, 2);
    EXPECT_EQ(catalog.Find(u"lied"_qs).size(), 2u);
  }
  ASSERT_TRUE(QFile::remove(IndexPath()));
  Catalog catalog(IndexPath());
  EXPECT_EQ(catalog.Update(Folders()).indexed, 2);
  EXPECT_TRUE(QFileInfo::exists(IndexPath()));

  // An index that cannot be written at all: this run works on one in memory.
  Catalog nowhere(u"/dev/null/kavoro/catalog.sqlite"_qs);
  EXPECT_FALSE(nowhere.Warning().isEmpty());
  EXPECT_EQ(nowhere.Update(Folders()).indexed, 2);
  EXPECT_EQ(nowhere.Find(u"aerger"_qs).size(), 2u);
}

TEST_F(CatalogTest, ManyNewListsAreIndexedAtOnceAndAnUnfinishedIndexIsFinished) {
  SaveTwoLists();
  SaveList(u"c"_qs, true, {{u"Lied.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"01.01.2020"_qs}});
  SaveList(u"d"_qs, false, {{u"Noch ein Lied.txt"_qs}});
  {
    Catalog catalog(IndexPath());
    EXPECT_EQ(catalog.Update(Folders()).indexed, 4);
    EXPECT_EQ(catalog.Find(u"lied"_qs).size(), 4u);
    ASSERT_EQ(catalog.Duplicates().size(), 1u);  // Lied.mp3 of 3 KB in "c" and "musik"
  }
  // A run killed while it wrote many lists: its full-text index was never made.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(IndexPath()).constData(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE building(x); "
                         "INSERT INTO entries_fts(entries_fts) VALUES('delete-all')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  Catalog catalog(IndexPath());
  EXPECT_TRUE(catalog.Find(u"lied"_qs).empty());
  const CatalogUpdate update = catalog.Update(Folders());
  EXPECT_EQ(update.unchanged, 4);
  EXPECT_EQ(catalog.Find(u"lied"_qs).size(), 4u);
}

TEST_F(CatalogTest, AnIndexAnotherRunWritesIsWaitedFor) {
  SaveTwoLists();
  { Catalog made(IndexPath()); }
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(IndexPath()).constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread writer([other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });
  QElapsedTimer clock;
  clock.start();
  Catalog catalog(IndexPath());
  const CatalogUpdate update = catalog.Update(Folders());
  writer.join();
  sqlite3_close(other);
  EXPECT_GE(clock.elapsed(), 250);
  EXPECT_TRUE(catalog.Warning().isEmpty()) << catalog.Warning().toStdString();
  EXPECT_EQ(update.indexed, 2);
  EXPECT_EQ(catalog.Find(u"lied"_qs).size(), 2u);
}

TEST_F(CatalogTest, ProgressAndCancel) {
  SaveTwoLists();
  Catalog catalog(IndexPath());
  std::atomic<bool> cancel = true;
  CatalogUpdate update = catalog.Update(Folders(), {}, &cancel);
  EXPECT_TRUE(update.cancelled);
  EXPECT_EQ(update.indexed, 0);
  cancel = false;
  std::vector<std::pair<qsizetype, qsizetype>> heard;
  update = catalog.Update(
      Folders(), [&](qsizetype done, qsizetype all) { heard.emplace_back(done, all); }, &cancel);
  EXPECT_FALSE(update.cancelled);
  EXPECT_EQ(update.indexed, 2);
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), std::make_pair(qsizetype(2), qsizetype(2)));
}

TEST_F(CatalogTest, EntriesAsLinesAndJson) {
  SaveTwoLists();
  Catalog catalog(IndexPath());
  catalog.Update(Folders());
  const auto hits = catalog.Find(u"lied"_qs);
  EXPECT_EQ(EntryLines(hits),
            Base(u"musik"_qs).toUtf8() + "\t2\tLied.mp3\t3 KB\tMP3-Datei\t02.02.2020 11:00\n" +
                Base(u"pfade"_qs).toUtf8() + "\t1\t/home/anna/Lied \"eins\".mp3\n");
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(EntriesJson(hits), &error);
  ASSERT_TRUE(json.isArray()) << error.errorString().toStdString();
  ASSERT_EQ(json.array().size(), 2);
  const QJsonObject second = json.array()[1].toObject();
  EXPECT_EQ(second[u"name"_qs].toString(), u"/home/anna/Lied \"eins\".mp3"_qs);
  EXPECT_EQ(second[u"number"_qs].toInt(), 1);
  EXPECT_FALSE(second.contains(u"size"_qs));
  EXPECT_EQ(json.array()[0][u"date"_qs].toString(), u"02.02.2020 11:00"_qs);
  EXPECT_EQ(EntriesJson({}), "[\n]\n");
}

}  // namespace
}  // namespace kavoro

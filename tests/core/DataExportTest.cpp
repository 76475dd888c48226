#include <gtest/gtest.h>
#include <time.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "core/output/DataExport.h"
#include "core/output/ListFiles.h"
#include "support/Entries.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

// Local time is Berlin's while the object lives, so dates have known offsets.
class BerlinTime {
 public:
  BerlinTime() : old_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
    qputenv("TZ", "Europe/Berlin");
    tzset();
  }
  ~BerlinTime() {
    if (had_) {
      qputenv("TZ", old_);
    } else {
      qunsetenv("TZ");
    }
    tzset();
  }

 private:
  QByteArray old_;
  bool had_;
};

class DataExportTest : public ::testing::Test {
 protected:
  QString File(const QString& name) const { return dir_.filePath(name); }
  // What python3 makes of `file` with `script` (which gets the file's name as its argument and
  // prints JSON).
  QJsonArray Python(const char* script, const QString& file) {
    QProcess python;
    python.start(u"python3"_qs, {u"-c"_qs, QString::fromUtf8(script), file});
    EXPECT_TRUE(python.waitForFinished(30000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
  }
  QJsonArray Entries(const ListingData& doc, const JsonListing& info = {}) {
    const QJsonDocument json = QJsonDocument::fromJson(JsonBytes(doc, info));
    EXPECT_TRUE(json.isObject());
    return json.object()[u"entries"_qs].toArray();
  }
  void EnterFound(ListingData& doc, const FoundFiles& found, const EntryOptions& options) {
    AppendEntries(doc, found, options, texts_);
  }

  QTemporaryDir dir_;
  ListingDocument doc_;
  EntryTexts texts_{DateTextFormat(kGerman), {}};
};

TEST_F(DataExportTest, CsvQuotesWhatNeedsItAndHoldsTheShownColumnsOnly) {
  test::StartListing(doc_, true);
  for (const QString& name : {u"plain.mp3"_qs, u"a,b.mp3"_qs, u"say \"hi\".mp3"_qs, u" lead.mp3"_qs,
                              u"trail.mp3\t"_qs, u"Größe.mp3"_qs}) {
    test::AddEntry(doc_, name, u"1 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs);
  }
  const QByteArray rows =
      "1,plain.mp3\r\n2,\"a,b.mp3\"\r\n3,\"say \"\"hi\"\".mp3\"\r\n4,\" lead.mp3\"\r\n"
      "5,\"trail.mp3\t\"\r\n6,Gr\xC3\xB6\xC3\x9F"
      "e.mp3\r\n";
  // A grid narrowed to two columns keeps its detail cells, but shows only two.
  doc_.SetColumnCount(2);
  EXPECT_EQ(CsvBytes(doc_), "Nr.,Datei\r\n" + rows);
  doc_.SetColumnCount(5);
  EXPECT_TRUE(
      CsvBytes(doc_).startsWith("Nr.,Datei,Gr\xC3\xB6\xC3\x9F"
                                "e,Typ,Ge\xC3\xA4ndert\r\n1,plain.mp3,1 KB,MP3,"));
}

TEST_F(DataExportTest, CsvReadsBackAsTheGridsCellsWhateverTheNames) {
  test::StartListing(doc_, true);
  for (const QString& name :
       {u"a,b"_qs, u"\"zitiert\""_qs, u"zeile\r\numbruch"_qs, u"nur\rcr"_qs, u"nur\nlf"_qs,
        u"  zwei Leerzeichen"_qs, u"Ümläut ßtraße 🎵"_qs, u"\"\""_qs, u""_qs}) {
    test::AddEntry(doc_, name, u"1.234 KB"_qs, u"MP3, \"Audio\""_qs, u"05.12.2004 14:35"_qs);
  }
  FoundFiles found;
  found.Add(found.AddFolder("/m/"), "roh\xFE.mp3");
  EnterFound(doc_, found, {.details = true});
  // A list file kept in UTF-8 may hold bytes that are not.
  doc_.AppendRowUtf8({"11", "kaputt\xC3", "", "", ""});
  const QString file = File(u"liste.csv"_qs);
  ASSERT_TRUE(ExportCsv(doc_, file, nullptr));
  const QJsonArray rows = Python(
      "import csv, json, sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
      "    print(json.dumps(list(csv.reader(f, strict=True))))\n",
      file);
  ASSERT_EQ(rows.size(), doc_.RowCount());
  for (qsizetype row = 0; row < doc_.RowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < 5; ++column) cells.append(doc_.Cell(column, row));
    EXPECT_EQ(rows[row].toVariant().toStringList(), cells) << row;
  }
}

TEST_F(DataExportTest, JsonIsOneDocumentInGridOrder) {
  const JsonListing info{UiLanguage::English, {.hide_extensions = true}};
  test::StartListing(doc_, false);
  EXPECT_EQ(JsonBytes(doc_, info),
            "{\"language\":\"en\",\"options\":{\"details\":false,\"wholePath\":false,"
            "\"hideExtensions\":true,\"link\":false},\"entries\":[]}\n");
  test::AddEntry(doc_, u"b"_qs, {}, {}, {}, {u"/m/"_qs, u"b.mp3"_qs, {}});
  test::AddEntry(doc_, u"a\\\u0001\r\n\t\""_qs);
  EXPECT_EQ(JsonBytes(doc_, {}),
            "{\"language\":\"de\",\"options\":{\"details\":false,\"wholePath\":false,"
            "\"hideExtensions\":false,\"link\":false},\"entries\":[\n"
            "{\"number\":1,\"name\":\"b\",\"path\":\"/m/b.mp3\"},\n"
            "{\"number\":2,\"name\":\"a\\\\\\u0001\\r\\n\\t\\\"\",\"path\":null}\n]}\n");
}

TEST_F(DataExportTest, JsonGivesNamesPathsSizesAndDatesInLocalTime) {
  const BerlinTime berlin;
  test::StartListing(doc_, true);
  test::AddEntry(doc_, u"Größe \"1\".mp3"_qs, u"3 KB"_qs, u"MP3-Datei"_qs, u"05.12.2004 14:35"_qs,
                 {u"/musik/"_qs, {}, 2500});
  test::AddEntry(doc_, u"sommer.mp3"_qs, u"0 KB"_qs, u"MP3-Datei"_qs, u"05.07.2004 09:05"_qs,
                 {u"/musik/"_qs, {}, 0});
  test::AddEntry(doc_, u"steuer\u0001zeichen"_qs, {}, {}, u"gestern"_qs);
  test::AddEntry(doc_, u"/ganz/pfad.mp3"_qs);
  FoundFiles found;
  found.Add(found.AddFolder("/musik/"), "roh\xFE.mp3", 1 << 20, 1102253700);
  EnterFound(doc_, found, {.details = true});
  // The day clocks were put forward, before and after.
  test::AddEntry(doc_, u"früh.mp3"_qs, {}, {}, u"28.03.2004 01:30"_qs);
  test::AddEntry(doc_, u"spät.mp3"_qs, {}, {}, u"28.03.2004 03:30"_qs);
  doc_.SetCell(0, 4, u"x7"_qs);
  doc_.SetCell(0, 5, u"007"_qs);  // JSON numbers have no leading zeros
  const JsonListing info{UiLanguage::German, {.details = true, .whole_path = true, .link = true}};
  const QJsonObject json = QJsonDocument::fromJson(JsonBytes(doc_, info)).object();
  const QJsonArray entries = json[u"entries"_qs].toArray();
  ASSERT_EQ(entries.size(), 7);
  EXPECT_EQ(entries[0].toObject(), (QJsonObject{{u"number"_qs, 1},
                                                {u"name"_qs, u"Größe \"1\".mp3"_qs},
                                                {u"path"_qs, u"/musik/Größe \"1\".mp3"_qs},
                                                {u"size"_qs, 2500},
                                                {u"sizeText"_qs, u"3 KB"_qs},
                                                {u"type"_qs, u"MP3-Datei"_qs},
                                                {u"modified"_qs, u"2004-12-05T14:35:00+01:00"_qs},
                                                {u"modifiedText"_qs, u"05.12.2004 14:35"_qs}}));
  EXPECT_EQ(entries[1][u"size"_qs], 0);
  EXPECT_EQ(entries[1][u"modified"_qs], u"2004-07-05T09:05:00+02:00"_qs);
  const QJsonObject unknown = entries[2].toObject();
  EXPECT_EQ(unknown[u"name"_qs], u"steuer\u0001zeichen"_qs);
  for (const QString& key : {u"path"_qs, u"size"_qs, u"modified"_qs}) {
    EXPECT_TRUE(unknown[key].isNull()) << key.toStdString();
  }
  EXPECT_EQ(unknown[u"modifiedText"_qs], u"gestern"_qs);
  EXPECT_EQ(entries[3][u"number"_qs], u"x7"_qs);
  EXPECT_EQ(entries[3][u"path"_qs], u"/ganz/pfad.mp3"_qs);
  EXPECT_EQ(entries[4][u"number"_qs], u"007"_qs);
  EXPECT_EQ(entries[4][u"name"_qs], u"roh\uFFFD.mp3"_qs);
  EXPECT_EQ(entries[4][u"path"_qs], u"/musik/roh\uFFFD.mp3"_qs);
  EXPECT_EQ(entries[4][u"size"_qs], 1 << 20);
  EXPECT_EQ(entries[5][u"modified"_qs], u"2004-03-28T01:30:00+01:00"_qs);
  EXPECT_EQ(entries[6][u"modified"_qs], u"2004-03-28T03:30:00+02:00"_qs);

  // Strict UTF-8 and JSON for another reader too.
  const QString file = File(u"liste.json"_qs);
  ASSERT_TRUE(ExportJson(doc_, info, file, nullptr));
  const QJsonArray names = Python(
      "import json, sys\n"
      "with open(sys.argv[1], encoding='utf-8') as f:\n"
      "    print(json.dumps([e['name'] for e in json.load(f)['entries']]))\n",
      file);
  QStringList read;
  for (const QJsonValue name : names) read.append(name.toString());
  EXPECT_EQ(read, doc_.Column(1).mid(1));
}

// The media cells are found by their column wherever the grid shows it: after the detail
// columns, or right after the name.
TEST_F(DataExportTest, JsonGivesTheMediaColumnsAsValuesAndAsShown) {
  const BerlinTime berlin;
  const test::MediaTexts song{u"1:02:03"_qs, u"Die Ärzte"_qs, u"Schrei nach Liebe"_qs,
                              u"Die Bestie in Menschengestalt"_qs};
  const test::MediaTexts picture{QString(), {}, {}, {}, u"4000 × 3000"_qs, u"05.07.2004 09:05"_qs};
  const test::MediaTexts unread{u"3:7"_qs, {}, {}, {}, u"4000x3000"_qs, u"gestern"_qs};
  for (const bool details : {true, false}) {
    SCOPED_TRACE(details ? "11 columns" : "8 columns");
    ListingDocument doc;
    test::StartListing(doc, {details, true});
    test::AddEntry(doc, u"lied.mp3"_qs, u"3 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs, {}, song);
    test::AddEntry(doc, u"bild.jpg"_qs, {}, {}, {}, {}, picture);
    test::AddEntry(doc, u"kaputt"_qs, {}, {}, {}, {}, unread);
    const JsonListing info{UiLanguage::German, {.details = details, .media = true}};
    const QJsonObject json = QJsonDocument::fromJson(JsonBytes(doc, info)).object();
    EXPECT_EQ(json[u"options"_qs][u"media"_qs], true);
    const QJsonArray entries = json[u"entries"_qs].toArray();
    ASSERT_EQ(entries.size(), 3);
    QJsonObject first = entries[0].toObject();
    EXPECT_EQ(first.contains(u"sizeText"_qs), details);
    for (const QString& key : {u"size"_qs, u"sizeText"_qs, u"type"_qs, u"modified"_qs,
                               u"modifiedText"_qs, u"number"_qs, u"name"_qs, u"path"_qs}) {
      first.remove(key);
    }
    EXPECT_EQ(first, (QJsonObject{{u"duration"_qs, 3723},
                                  {u"durationText"_qs, u"1:02:03"_qs},
                                  {u"artist"_qs, u"Die Ärzte"_qs},
                                  {u"title"_qs, u"Schrei nach Liebe"_qs},
                                  {u"album"_qs, u"Die Bestie in Menschengestalt"_qs},
                                  {u"width"_qs, QJsonValue::Null},
                                  {u"height"_qs, QJsonValue::Null},
                                  {u"pixelsText"_qs, u""_qs},
                                  {u"taken"_qs, QJsonValue::Null},
                                  {u"takenText"_qs, u""_qs}}));
    const QJsonObject shot = entries[1].toObject();
    EXPECT_TRUE(shot[u"duration"_qs].isNull());
    EXPECT_EQ(shot[u"artist"_qs], u""_qs);
    EXPECT_EQ(shot[u"width"_qs], 4000);
    EXPECT_EQ(shot[u"height"_qs], 3000);
    EXPECT_EQ(shot[u"pixelsText"_qs], u"4000 × 3000"_qs);
    EXPECT_EQ(shot[u"taken"_qs], u"2004-07-05T09:05:00+02:00"_qs);
    EXPECT_EQ(shot[u"takenText"_qs], u"05.07.2004 09:05"_qs);
    const QJsonObject bad = entries[2].toObject();
    for (const QString& key : {u"duration"_qs, u"width"_qs, u"height"_qs, u"taken"_qs}) {
      EXPECT_TRUE(bad[key].isNull()) << key.toStdString();
    }
    EXPECT_EQ(bad[u"durationText"_qs], u"3:7"_qs);
    EXPECT_EQ(bad[u"takenText"_qs], u"gestern"_qs);
  }
}

// Only a listing with the media columns names them among the options.
TEST_F(DataExportTest, JsonNamesTheMediaOptionOnlyWithTheMediaColumns) {
  const auto options = [](const ListingData& doc, const EntryOptions& entry_options) {
    return QJsonDocument::fromJson(JsonBytes(doc, {UiLanguage::German, entry_options}))
        .object()[u"options"_qs]
        .toObject();
  };
  test::StartListing(doc_, true);
  EXPECT_FALSE(options(doc_, {.details = true}).contains(u"media"_qs));
  EXPECT_EQ(options(doc_, {.media = true})[u"media"_qs], true);
  ListingDocument media;
  test::StartListing(media, {false, true});
  EXPECT_EQ(options(media, {})[u"media"_qs], false);
}

TEST_F(DataExportTest, ReopenedListFilesKnowOnlyWholePaths) {
  test::StartListing(doc_, true);
  test::AddEntry(doc_, u"a.mp3"_qs, u"1 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs,
                 {u"/m/"_qs, {}, 700});
  test::AddEntry(doc_, u"/m/b.mp3"_qs, u"2 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs,
                 {u"/m/"_qs, u"b.mp3"_qs, 1500});
  const QJsonArray made = Entries(doc_);
  EXPECT_EQ(made[0][u"path"_qs], u"/m/a.mp3"_qs);
  EXPECT_EQ(made[1][u"size"_qs], 1500);

  const QString base = File(u"liste"_qs);
  ASSERT_TRUE(SaveListFiles(doc_, base, nullptr));
  const auto contents = ReadListFiles(base, MessageSlotsFor(UiLanguage::German), nullptr);
  ASSERT_TRUE(contents);
  LoadListing(doc_, *contents, UiLanguage::German);
  const QJsonArray entries = Entries(doc_);
  ASSERT_EQ(entries.size(), 2);
  EXPECT_TRUE(entries[0][u"path"_qs].isNull());
  EXPECT_EQ(entries[1][u"path"_qs], u"/m/b.mp3"_qs);
  for (const QJsonValue entry : entries) {
    EXPECT_TRUE(entry[u"size"_qs].isNull());
    EXPECT_EQ(entry[u"sizeText"_qs].toString().right(3), u" KB"_qs);
    EXPECT_TRUE(entry[u"modified"_qs].isString());
  }
}

}  // namespace
}  // namespace kavoro

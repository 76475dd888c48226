#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <limits>

#include "core/app/AppState.h"
#include "core/app/ListCommands.h"
#include "core/catalog/Catalog.h"
#include "core/compare/ListCompare.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/ListFiles.h"
#include "support/Entries.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using test::CrLf;
using test::ReadBytes;

class ListFilesTest : public ::testing::Test {
 protected:
  ListFilesTest() : state_(dir_.Path()) {
    CheckConfiguration(state_);
    ApplyOptionsAtStart(state_);
  }

  // Three entries, the first and last of the same name, with the detail columns.
  void FillFiveColumns() {
    ApplyListingHeaders(state_.doc, true, UiLanguage::German, nullptr);
    test::AddEntry(state_.doc, u"Lied.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"01.01.2020 10:00"_qs);
    test::AddEntry(state_.doc, u"Bild & <Text>.jpg"_qs, u"2 KB"_qs, u"Bild"_qs, u"02.02.2020"_qs);
    test::AddEntry(state_.doc, u"Lied.mp3"_qs, u"3 KB"_qs, u"Audio"_qs, u"03.03.2020 12:00"_qs);
    state_.doc.SetListingModified(true);
  }

  QString Base() const { return dir_.File(u"musik"_qs); }

  test::ProgramDir dir_;
  AppState state_;
  test::ScriptedPrompts prompts_;
};

TEST(ListFileBaseTest, OnlyTheExactListExtensionsAreDropped) {
  EXPECT_EQ(ListFileBaseOf(u"/home/a/musik.mpl"_qs), u"/home/a/musik"_qs);
  EXPECT_EQ(ListFileBaseOf(u"/home/a/musik.mpl3"_qs), u"/home/a/musik"_qs);
  EXPECT_EQ(ListFileBaseOf(u"/home/a/musik"_qs), u"/home/a/musik"_qs);
  EXPECT_EQ(ListFileBaseOf(u"/home/a/Musik.MPL"_qs), u"/home/a/Musik.MPL"_qs);
  EXPECT_EQ(ListFileBaseOf(u"/home/alt.mpl/liste.mpl"_qs), u"/home/alt.mpl/liste"_qs);
  EXPECT_EQ(ListFileBaseOf(u"/home/alt.mpl/liste"_qs), u"/home/alt.mpl/liste"_qs);
}

TEST_F(ListFilesTest, SavesThreeFilesByteExact) {
  FillFiveColumns();
  prompts_.files = {dir_.File(u"musik.mpl"_qs)};
  ASSERT_TRUE(SaveListAs(state_, prompts_));
  EXPECT_EQ(ReadBytes(Base() + ".mpl"),
            CrLf({"Datei", "Lied.mp3", "Bild & <Text>.jpg", "Lied.mp3"}));
  const QByteArray text = ReadBytes(Base() + ".mpl2");
  EXPECT_TRUE(
      text.startsWith("Nr.        Datei             -             Gr\xF6\xDF"
                      "e"));
  EXPECT_EQ(text.count("\r\n"), 4);
  const QByteArray html = ReadBytes(Base() + ".mpl3");
  EXPECT_EQ(html.count("\r\n"), 22 + 36);
  EXPECT_TRUE(
      html.contains("<td>Gr&ouml;\xDF"
                    "e</td>"));
  EXPECT_FALSE(state_.doc.ListingModified());
  EXPECT_EQ(state_.list_file_base, Base());
  EXPECT_TRUE(prompts_.shown.isEmpty());
}

TEST_F(ListFilesTest, RoundTripRebuildsTheGridFromEachEntrysOwnBlock) {
  FillFiveColumns();
  ASSERT_TRUE(SaveListFiles(state_.doc, Base(), nullptr));
  state_.doc.SetListingModified(false);
  const QStringList text = state_.doc.Text().ToStringList();
  const QStringList html = state_.doc.Html().ToStringList();

  AppState other(dir_.Path());
  CheckConfiguration(other);
  ApplyOptionsAtStart(other);
  ASSERT_EQ(other.doc.ColumnCount(), 2);
  prompts_.files = {Base() + ".mpl2"};
  ASSERT_TRUE(OpenList(other, prompts_));
  EXPECT_EQ(other.doc.ColumnCount(), 5);  // German detail header switches the grid
  EXPECT_EQ(other.doc.Column(0), (QStringList{"Nr.", "1", "2", "3"}));  // row 0 stays
  EXPECT_EQ(other.doc.Column(2), (QStringList{"Größe", "1 KB", "2 KB", "3 KB"}));
  EXPECT_EQ(other.doc.Column(4),
            (QStringList{"Geändert", "01.01.2020 10:00", "02.02.2020", "03.03.2020 12:00"}));
  EXPECT_EQ(other.doc.ColumnWidth(3), 190);
  EXPECT_EQ(other.doc.Text().ToStringList(), text);
  EXPECT_EQ(other.doc.Html().ToStringList(), html);
  EXPECT_EQ(other.style_page, html);
  EXPECT_EQ(other.doc.EntryCounter(), 3);
  EXPECT_FALSE(other.doc.ListingModified());
  EXPECT_EQ(other.list_file_base, Base());
}

// Files 1.jpg, 2.jpg, ... listed without extensions are named like the entry numbers; each
// row still gets the size, type and date of its own entry, also in a sorted grid.
TEST_F(ListFilesTest, NamesLikeEntryNumbersOpenWithTheirOwnDetails) {
  ApplyListingHeaders(state_.doc, true, UiLanguage::German, nullptr);
  test::AddEntry(state_.doc, u"2"_qs, u"20 KB"_qs, u"JPEG-Bild"_qs, u"02.02.2020 10:00"_qs);
  test::AddEntry(state_.doc, u"1"_qs, u"10 KB"_qs, u"PNG-Bild"_qs, u"01.01.2020 10:00"_qs);
  test::AddEntry(state_.doc, u"</td>"_qs, u"30 KB"_qs, u"1"_qs, u"2"_qs);
  test::AddEntry(state_.doc, u"3"_qs, u"3"_qs, u"</tr>"_qs, u"03.03.2020 10:00"_qs);
  // The grid in another order than the HTML view, as after sorting.
  const std::uint32_t order[] = {0, 4, 2, 3, 1};
  ASSERT_TRUE(state_.doc.ReorderRows(order));
  ASSERT_TRUE(SaveListFiles(state_.doc, Base(), nullptr));

  AppState other(dir_.Path());
  CheckConfiguration(other);
  ApplyOptionsAtStart(other);
  prompts_.files = {Base() + ".mpl"};
  ASSERT_TRUE(OpenList(other, prompts_));
  EXPECT_EQ(other.doc.Column(1), (QStringList{"Datei", "3", "1", "</td>", "2"}));
  EXPECT_EQ(other.doc.Column(2), (QStringList{"Größe", "3", "10 KB", "30 KB", "20 KB"}));
  EXPECT_EQ(other.doc.Column(3), (QStringList{"Typ", "</tr>", "PNG-Bild", "1", "JPEG-Bild"}));
  EXPECT_EQ(other.doc.Column(4), (QStringList{"Geändert", "03.03.2020 10:00", "01.01.2020 10:00",
                                              "2", "02.02.2020 10:00"}));
}

// A list opens in its own column form, whatever the grid showed and whatever the language
// of its header row; the header row takes the language of the window.
TEST_F(ListFilesTest, AListOpensInItsOwnColumnForm) {
  ApplyListingHeaders(state_.doc, true, UiLanguage::English, nullptr);
  test::AddEntry(state_.doc, u"a.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"x"_qs);
  const QString five = Base();
  ASSERT_TRUE(SaveListFiles(state_.doc, five, nullptr));
  test::StartListing(state_.doc, false);
  test::AddEntry(state_.doc, u"b.txt"_qs);
  test::AddEntry(state_.doc, u"c.txt"_qs);
  const QString two = dir_.File(u"zwei"_qs);
  ASSERT_TRUE(SaveListFiles(state_.doc, two, nullptr));

  // A two-column list opened into a five-column grid: two columns, and no cells taken
  // from the HTML view's fixed lines in the hidden ones.
  ApplyListingHeaders(state_.doc, true, UiLanguage::German, nullptr);
  prompts_.files = {two + ".mpl"};
  ASSERT_TRUE(OpenList(state_, prompts_));
  EXPECT_EQ(state_.doc.ColumnCount(), 2);
  EXPECT_EQ(state_.doc.Column(0), (QStringList{"Nr.", "1", "2"}));
  EXPECT_EQ(state_.doc.Column(1), (QStringList{"Datei", "b.txt", "c.txt"}));
  for (int col = 2; col < 5; ++col) {
    EXPECT_EQ(state_.doc.Cell(col, 1), QString());
    EXPECT_EQ(state_.doc.Cell(col, 2), QString());
  }

  // An English five-column list opened into the two-column grid of a German window.
  prompts_.files = {five + ".mpl"};
  ASSERT_TRUE(OpenList(state_, prompts_));
  EXPECT_EQ(state_.doc.ColumnCount(), 5);
  EXPECT_EQ(state_.doc.Column(1), (QStringList{"Datei", "a.mp3"}));
  EXPECT_EQ(state_.doc.Column(2), (QStringList{"Größe", "1 KB"}));
  EXPECT_EQ(state_.doc.Column(4), (QStringList{"Geändert", "x"}));
}

TEST_F(ListFilesTest, HandEditedListsOpenWithoutHangingOrGuessing) {
  test::WriteBytes(Base() + ".mpl", CrLf({"Datei", "Datei", "fehlt.mp3", "b.mp3"}));
  test::WriteBytes(Base() + ".mpl2", CrLf({"Nr.        Datei", "1 Datei", "2 fehlt", "3 b"}));
  QByteArray bytes;
  for (const QString& line : PageTemplate()) bytes += line.toLatin1() + "\r\n";
  bytes +=
      CrLf({"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Gr&ouml;\xDF"
            "e</td>"
            "<td>Typ</td><td>Ge&auml;ndert</td></tr>",
            "<tr><td align=\"right\">",
            "1",
            "</td><td>",
            "Datei",
            "</td><td>",
            "5 KB",
            "</td><td>",
            "Ordner",
            "</td><td>",
            "heute",
            "</td>",
            "</tr>",
            "<tr><td align=\"right\">",
            "3",
            "</td><td>",
            "b.mp3",
            "</td><td>",
            "7 KB",
            "</td><td>",
            "Audio",
            "</td><td>",
            "gestern",
            "</td>",
            "</tr>",
            "<tr><td align=\"right\">",
            "2",
            "</td><td>",
            "anders.mp3",
            "</td>",
            "</tr>"});
  test::WriteBytes(Base() + ".mpl3", bytes);
  prompts_.files = {Base() + ".mpl"};
  ASSERT_TRUE(OpenList(state_, prompts_));
  EXPECT_EQ(state_.doc.Column(2), (QStringList{"Größe", "5 KB", "", "7 KB"}));
  EXPECT_EQ(state_.doc.Column(3), (QStringList{"Typ", "Ordner", "", "Audio"}));
}

// A list kept in UTF-8 whose name holds a byte that is not UTF-8 is saved again exactly.
// A set of list files that does not belong together is refused with the file and the
// problem; the listing shown stays as it was.
TEST_F(ListFilesTest, BrokenListSetsAreRefusedAndTheListingStays) {
  FillFiveColumns();
  ASSERT_TRUE(SaveListFiles(state_.doc, Base(), nullptr));
  state_.doc.SetListingModified(false);
  const QByteArray names = ReadBytes(Base() + ".mpl");
  const QByteArray text = ReadBytes(Base() + ".mpl2");
  const QByteArray html = ReadBytes(Base() + ".mpl3");
  const QStringList shown[] = {state_.doc.Column(1), state_.doc.Column(4),
                               state_.doc.Text().ToStringList(), state_.doc.Html().ToStringList()};
  auto without_last_line = [](const QByteArray& bytes) {
    return bytes.left(bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2);
  };
  QByteArray no_header = html;
  no_header.replace("<tr><td align=\"right\">Nr.</td><td>Datei</td><td>", "</table><td>");
  const MessageSlots& de = MessageSlotsFor(UiLanguage::German);
  struct Broken {
    QByteArray names, text, html;
    const char* file;
    QString problem;
  };
  const Broken cases[] = {
      {names, text, "<html>\r\n", ".mpl3", de.msgListNoTemplate},
      {names, text, no_header, ".mpl3", de.msgListNoHeaderRow},
      // The third entry's block (lines 47 to 58) lost its last line.
      {names, text, without_last_line(html), ".mpl3",
       u"Der Eintrag ab Zeile 47 ist unvollständig oder beschädigt."_qs},
      {names + "Neu.mp3\r\n", text, html, ".mpl2",
       Base() + u".mpl enthält 4 Einträge, "_qs + Base() + u".mpl2 enthält 3 Einträge."_qs},
      {names, text, without_last_line(without_last_line(html)) + "</tr>\r\n", ".mpl3",
       u"Der Eintrag ab Zeile 47 ist unvollständig oder beschädigt."_qs},
      {names, without_last_line(text), html, ".mpl2",
       Base() + u".mpl enthält 3 Einträge, "_qs + Base() + u".mpl2 enthält 2 Einträge."_qs},
  };
  for (const Broken& broken : cases) {
    test::WriteBytes(Base() + ".mpl", broken.names);
    test::WriteBytes(Base() + ".mpl2", broken.text);
    test::WriteBytes(Base() + ".mpl3", broken.html);
    prompts_.shown.clear();
    prompts_.files = {Base() + ".mpl"};
    EXPECT_FALSE(OpenList(state_, prompts_));
    EXPECT_EQ(prompts_.shown, QStringList{u"error: "_qs + de.msgListRefused + u'\n' + Base() +
                                          QLatin1String(broken.file) + u'\n' + broken.problem});
    EXPECT_EQ(state_.doc.Column(1), shown[0]);
    EXPECT_EQ(state_.doc.Column(4), shown[1]);
    EXPECT_EQ(state_.doc.Text().ToStringList(), shown[2]);
    EXPECT_EQ(state_.doc.Html().ToStringList(), shown[3]);
    EXPECT_EQ(state_.list_file_base, QString());
  }
  // In English, in the English words.
  ApplyLanguage(state_, UiLanguage::English);
  prompts_.shown.clear();
  prompts_.files = {Base() + ".mpl"};
  EXPECT_FALSE(OpenList(state_, prompts_));
  EXPECT_EQ(prompts_.shown, QStringList{u"error: This list cannot be opened :\n"_qs + Base() +
                                        u".mpl2\n"_qs + Base() + u".mpl holds 3 entries, "_qs +
                                        Base() + u".mpl2 holds 2 entries."_qs});
}

// A list that cannot be read whole is refused, naming the file (and the line); nothing is
// opened, so nothing blank can be saved over the list later.
TEST_F(ListFilesTest, AListThatCannotBeReadWholeIsRefused) {
  FillFiveColumns();
  ASSERT_TRUE(SaveListFiles(state_.doc, Base(), nullptr));
  state_.doc.SetListingModified(false);
  const QByteArray names = ReadBytes(Base() + ".mpl");
  const QStringList shown = state_.doc.Text().ToStringList();
  for (const QByteArray& blank_header :
       {"\r\n" + names.mid(names.indexOf('\n') + 1), QByteArray()}) {
    test::WriteBytes(Base() + ".mpl", blank_header);
    prompts_.shown.clear();
    prompts_.files = {Base() + ".mpl"};
    EXPECT_FALSE(OpenList(state_, prompts_));
    EXPECT_EQ(prompts_.shown, QStringList{u"error: Diese Liste kann nicht geöffnet werden :\n"_qs +
                                          Base() + u".mpl\nZeile 1 ist leer."_qs});
    EXPECT_EQ(state_.doc.Text().ToStringList(), shown);
  }
  test::WriteBytes(Base() + ".mpl", names);
  QFile::remove(Base() + ".mpl2");
  ASSERT_TRUE(QDir().mkdir(Base() + ".mpl2"));
  prompts_.shown.clear();
  prompts_.files = {Base() + ".mpl"};
  EXPECT_FALSE(OpenList(state_, prompts_));
  ASSERT_EQ(prompts_.shown.size(), 1);
  EXPECT_TRUE(prompts_.shown[0].startsWith(u"error: Cannot open file "_qs + Base() + u".mpl2 ("_qs))
      << prompts_.shown[0].toStdString();
  EXPECT_EQ(state_.doc.Text().ToStringList(), shown);
  EXPECT_EQ(state_.list_file_base, QString());
}

TEST_F(ListFilesTest, AUtf8ListIsSavedAgainByteForByte) {
  const QByteArray bom = "\xEF\xBB\xBF";
  const QByteArray name = "Lied \xFF\xC3(.mp3";
  const QByteArray names = bom + "Datei\r\n" + name + "\r\n";
  const QByteArray text = bom + "Nr.        Datei\r\n     1  " + name + "\r\n";
  QByteArray html = bom;
  for (const QString& line : PageTemplate()) html += line.toLatin1() + "\r\n";
  html += CrLf({"<tr><td align=\"right\">Nr.</td><td>Datei</td></tr>", "<tr><td align=\"right\">",
                "1", "</td><td>"}) +
          name + "\r\n" + CrLf({"</td>", "</tr>"});
  test::WriteBytes(Base() + ".mpl", names);
  test::WriteBytes(Base() + ".mpl2", text);
  test::WriteBytes(Base() + ".mpl3", html);
  prompts_.files = {Base() + ".mpl", dir_.File(u"kopie.mpl"_qs)};
  ASSERT_TRUE(OpenList(state_, prompts_));
  EXPECT_EQ(state_.doc.Cell(1, 1), u"Lied \uFFFD\uFFFD(.mp3"_qs);  // shown as the views show it
  ASSERT_TRUE(SaveListAs(state_, prompts_));
  EXPECT_EQ(ReadBytes(dir_.File(u"kopie.mpl"_qs)), names);
  EXPECT_EQ(ReadBytes(dir_.File(u"kopie.mpl2"_qs)), text);
  EXPECT_EQ(ReadBytes(dir_.File(u"kopie.mpl3"_qs)), html);
}

TEST_F(ListFilesTest, MissingCompanionLeavesTheListingAndNamesTheFile) {
  FillFiveColumns();
  ASSERT_TRUE(SaveListFiles(state_.doc, Base(), nullptr));
  state_.doc.SetListingModified(false);
  QFile::remove(Base() + ".mpl3");
  const QStringList before = state_.doc.Text().ToStringList();
  prompts_.files = {Base() + ".mpl"};
  EXPECT_FALSE(OpenList(state_, prompts_));
  ASSERT_EQ(prompts_.shown.size(), 1);
  EXPECT_TRUE(prompts_.shown[0].contains(u"musik.mpl3"_qs));
  EXPECT_EQ(state_.doc.Text().ToStringList(), before);
  EXPECT_EQ(state_.doc.RowCount(), 4);
  EXPECT_EQ(state_.list_file_base, QString());
}

TEST_F(ListFilesTest, OverwriteQuestionReopensTheDialogOnNo) {
  FillFiveColumns();
  test::WriteBytes(Base() + ".mpl2", "old");
  prompts_.files = {Base(), dir_.File(u"neu.mpl"_qs)};
  prompts_.answers = {false};
  ASSERT_TRUE(SaveListAs(state_, prompts_));
  EXPECT_EQ(prompts_.shown, QStringList{u"ask: Soll die Datei wirklich überschrieben werden ?"_qs});
  EXPECT_EQ(ReadBytes(Base() + ".mpl2"), "old");
  EXPECT_EQ(state_.list_file_base, dir_.File(u"neu"_qs));

  // "Speichern" then writes to the remembered list without a question.
  test::AddEntry(state_.doc, u"c.mp3"_qs);
  prompts_.shown.clear();
  ASSERT_TRUE(SaveList(state_, prompts_));
  EXPECT_TRUE(prompts_.shown.isEmpty());
  EXPECT_EQ(ReadBytes(dir_.File(u"neu.mpl"_qs)).count("\r\n"), 5);
}

// Opening takes time in proportion to what it reads, whatever the characters: a line of
// 300,000 "&" opens about as fast as one of 300,000 "x".
TEST_F(ListFilesTest, OpeningIsLinearInTheLengthOfALine) {
  auto open_time = [this](char c) {
    AppState writer(dir_.Path());
    CheckConfiguration(writer);
    ApplyOptionsAtStart(writer);
    ApplyListingHeaders(writer.doc, true, UiLanguage::German, nullptr);
    const QString type(300'000, QChar::fromLatin1(c));
    test::AddEntry(writer.doc, u"a.txt"_qs, u"1 KB"_qs, type, u"heute"_qs);
    EXPECT_TRUE(SaveListFiles(writer.doc, Base(), nullptr));
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
      QElapsedTimer timer;
      timer.start();
      prompts_.files = {Base() + ".mpl"};
      EXPECT_TRUE(OpenList(state_, prompts_));
      best = std::min(best, timer.nsecsElapsed());
    }
    EXPECT_EQ(state_.doc.Cell(3, 1).size(), 300'000);
    return best;
  };
  const qint64 plain = std::max<qint64>(open_time('x'), 1'000'000);
  const qint64 ampersands = open_time('&');
  EXPECT_LT(ampersands, 20 * plain) << ampersands << " ns against " << plain << " ns";
}

// "Speichern unter" and "Öffnen" open in the folder last used for list files, with the
// list's name while the listing belongs to one.
TEST_F(ListFilesTest, ListDialogsOpenAtTheLastList) {
  FillFiveColumns();
  ASSERT_TRUE(QDir(dir_.Path()).mkpath(u"Listen"_qs));
  const QString folder = dir_.File(u"Listen"_qs);
  prompts_.files = {folder + u"/musik.mpl"_qs, u""_qs, u""_qs};
  ASSERT_TRUE(SaveList(state_, prompts_));
  EXPECT_FALSE(SaveListAs(state_, prompts_));
  EXPECT_FALSE(OpenList(state_, prompts_));
  ASSERT_EQ(NewListing(state_), std::nullopt);
  prompts_.files = {u""_qs};
  EXPECT_FALSE(SaveList(state_, prompts_));  // after "Neu": the folder, no name
  EXPECT_EQ(prompts_.dialog_starts,
            (QStringList{QString(), folder + u"/musik"_qs, folder + u"/musik.mpl"_qs, folder}));
}

// A list that could not be opened or saved gives the listing no file: the next "Speichern"
// asks for a name instead of writing to the list shown before (or to no name at all).
TEST_F(ListFilesTest, AFailedOpenOrSaveLeavesTheListingWithoutAFile) {
  FillFiveColumns();
  test::WriteBytes(Base() + ".mpl", "");
  test::WriteBytes(Base() + ".mpl2", "");
  test::WriteBytes(Base() + ".mpl3", "");
  prompts_.files = {Base() + ".mpl", dir_.File(u"no/such/folder/x.mpl"_qs), u""_qs};
  prompts_.answers = {true};
  EXPECT_FALSE(OpenList(state_, prompts_));
  EXPECT_FALSE(SaveList(state_, prompts_));  // asks for a name, then fails to write there
  EXPECT_FALSE(SaveList(state_, prompts_));  // asks again; cancelled
  EXPECT_TRUE(prompts_.files.empty());
  EXPECT_EQ(prompts_.dialog_starts.size(), 3);
  EXPECT_EQ(state_.list_file_base, QString());
  EXPECT_EQ(ReadBytes(Base() + ".mpl3"), QByteArray());
}

TEST_F(ListFilesTest, FailedSaveKeepsTheListingModifiedAndTheOldBase) {
  FillFiveColumns();
  prompts_.files = {dir_.File(u"no/such/folder/x.mpl"_qs)};
  EXPECT_FALSE(SaveListAs(state_, prompts_));
  EXPECT_TRUE(state_.doc.ListingModified());
  EXPECT_EQ(state_.list_file_base, QString());
  ASSERT_EQ(prompts_.shown.size(), 1);
  EXPECT_TRUE(prompts_.shown[0].startsWith(u"error: Cannot create file "_qs));
  EXPECT_FALSE(QDir(dir_.Path()).entryList().join(u' ').contains(u"x.mpl"_qs));
}

// The media texts of an entry: duration, artist, title, album, pixels, taken.
QStringList Media(const QString& duration, const QString& artist = {}, const QString& title = {},
                  const QString& album = {}, const QString& pixels = {},
                  const QString& taken = {}) {
  return {duration, artist, title, album, pixels, taken};
}

std::optional<ListFileContents> Read(const QString& base, QString* error) {
  return ReadListFiles(base, MessageSlotsFor(UiLanguage::German), error);
}

// Opens the list at `base` into a new listing, as a German window shows it.
void Open(const QString& base, ListingDocument& doc) {
  BuildEmptyListing(doc);
  QString error;
  auto contents = Read(base, &error);
  ASSERT_TRUE(contents) << error.toStdString();
  LoadListing(doc, std::move(*contents), UiLanguage::German);
}

void ExpectSameFiles(const QString& base, const QString& other) {
  for (const char* ext : {".mpl", ".mpl2", ".mpl3"}) {
    EXPECT_EQ(ReadBytes(other + ext), ReadBytes(base + ext)) << ext;
  }
}

void ExpectSameGrid(const ListingDocument& doc, const ListingDocument& other) {
  ASSERT_EQ(other.Form(), doc.Form());
  for (int col = 0; col < doc.ColumnCount(); ++col) {
    EXPECT_EQ(other.Column(col), doc.Column(col)) << "column " << col;
    EXPECT_EQ(other.ColumnWidth(col), doc.ColumnWidth(col)) << "column " << col;
  }
}

// A listing begun with the detail columns and given the media columns after its first entry:
// that entry's block has 12 lines under a header row of 11 cells, the second entry's 24.
// Media texts that read like sizes and dates must not be taken for the details.
void SwitchMediaOnAfterOneEntry(ListingDocument& doc) {
  test::StartListing(doc, true);
  test::AddEntry(doc, u"alt.mp3"_qs, u"1 KB"_qs, u"MP3-Datei"_qs, u"01.01.2019 10:00"_qs);
  ApplyListingHeaders(doc, ColumnForm(true, true), UiLanguage::German, nullptr);
  test::AddEntry(doc, u"neu.mp3"_qs, u"2 KB"_qs, u"MP3-Datei"_qs, u"02.02.2020 11:00"_qs, {},
                 Media(u"1:00"_qs, u"7 KB"_qs, u"Eins"_qs, u"03.03.2021 12:00"_qs));
}

// A list of each column form opens with its own columns, widths and cells, and is saved again
// byte for byte, whatever its texts hold.
TEST_F(ListFilesTest, EveryColumnFormOpensAndIsSavedAgainUnchanged) {
  for (const ColumnForm form : {ColumnForm(false, false), ColumnForm(true, false),
                                ColumnForm(false, true), ColumnForm(true, true)}) {
    SCOPED_TRACE(testing::Message() << "details " << form.details << ", media " << form.media);
    ListingDocument saved;
    test::StartListing(saved, form);
    test::AddEntry(saved, u"Lied & <Chor>.mp3"_qs, u"3 KB"_qs, u"MP3-Datei"_qs,
                   u"01.02.2020 10:00"_qs, {},
                   Media(u"3:05"_qs, u"Anna & Ben"_qs, u"</td>"_qs, u"<b>Album</b>"_qs));
    test::AddEntry(saved, u"Bild.jpg"_qs, u"</tr>"_qs, u"JPEG-Bild"_qs, u"</td><td>"_qs, {},
                   Media({}, {}, {}, {}, u"640 × 480"_qs, u"03.03.2019 12:00"_qs));
    test::AddEntry(saved, u"Lied & <Chor>.mp3"_qs, u"4 KB"_qs, {}, u"heute"_qs, {},
                   Media(u"1:00"_qs, {}, u"Zwei"_qs, {}));
    ASSERT_TRUE(SaveListFiles(saved, Base(), nullptr));
    QString error;
    const auto contents = Read(Base(), &error);
    ASSERT_TRUE(contents) << error.toStdString();
    EXPECT_EQ(contents->form, form);

    ListingDocument opened;
    Open(Base(), opened);
    ExpectSameGrid(saved, opened);
    const QString again = dir_.File(u"wieder"_qs);
    ASSERT_TRUE(SaveListFiles(opened, again, nullptr));
    ExpectSameFiles(Base(), again);
  }
}

// Columns switched on mid-listing leave the older entries with shorter blocks than the
// header row has cells. Each entry's cells come from its own block as that block's form
// places them; the cells it lacks stay empty.
TEST_F(ListFilesTest, OlderShorterBlocksOpenWithTheirOwnCells) {
  ListingDocument saved;
  SwitchMediaOnAfterOneEntry(saved);
  // Blocks of every other form between blocks of the header's form.
  saved.SetColumns(ColumnForm(false, true));
  test::AddEntry(saved, u"nur.mp3"_qs, {}, {}, {}, {}, Media(u"2:00"_qs, u"Ben"_qs, u"Zwei"_qs));
  saved.SetColumns(ColumnForm(true, false));
  test::AddEntry(saved, u"mitte.jpg"_qs, u"3 KB"_qs, u"JPEG-Bild"_qs, u"03.03.2020"_qs);
  saved.SetColumns(ColumnForm(false, false));
  test::AddEntry(saved, u"kurz.txt"_qs);
  saved.SetColumns(ColumnForm(true, true));
  test::AddEntry(saved, u"letzt.jpg"_qs, u"4 KB"_qs, u"JPEG-Bild"_qs, u"04.04.2020"_qs, {},
                 Media({}, {}, {}, {}, u"800 × 600"_qs, u"05.05.2020"_qs));
  ASSERT_TRUE(SaveListFiles(saved, Base(), nullptr));
  QString error;
  const auto contents = Read(Base(), &error);
  ASSERT_TRUE(contents) << error.toStdString();
  EXPECT_EQ(contents->form, ColumnForm(true, true));
  ASSERT_EQ(contents->blocks.size(), 6u);
  EXPECT_EQ(contents->blocks[2].form, ColumnForm(false, true));
  EXPECT_EQ(contents->blocks[3].form, ColumnForm(true, false));

  ListingDocument opened;
  Open(Base(), opened);
  ExpectSameGrid(saved, opened);
  EXPECT_EQ(opened.Column(ListingData::kSize),
            (QStringList{"Größe", "1 KB", "2 KB", "", "3 KB", "", "4 KB"}));
  EXPECT_EQ(opened.Column(ListingData::kDate),
            (QStringList{"Geändert", "01.01.2019 10:00", "02.02.2020 11:00", "", "03.03.2020", "",
                         "04.04.2020"}));
  EXPECT_EQ(opened.Column(ListingData::kDuration),
            (QStringList{"Dauer", "", "1:00", "2:00", "", "", ""}));
  EXPECT_EQ(opened.Column(ListingData::kArtist),
            (QStringList{"Interpret", "", "7 KB", "Ben", "", "", ""}));
  EXPECT_EQ(opened.Column(ListingData::kTaken),
            (QStringList{"Aufnahme", "", "", "", "", "", "05.05.2020"}));
  const QString again = dir_.File(u"wieder"_qs);
  ASSERT_TRUE(SaveListFiles(opened, again, nullptr));
  ExpectSameFiles(Base(), again);
}

// A block or header row of the media forms that lost or gained a fixed line or a cell is
// refused as any damaged list is, never read with its cells shifted.
TEST_F(ListFilesTest, DamagedMediaBlocksAreRefused) {
  ListingDocument saved;
  test::StartListing(saved, ColumnForm(false, true));
  test::AddEntry(saved, u"a.mp3"_qs, {}, {}, {}, {}, Media(u"1:00"_qs, u"Anna"_qs, u"Eins"_qs));
  test::AddEntry(saved, u"b.mp3"_qs, {}, {}, {}, {}, Media(u"2:00"_qs, u"Ben"_qs, u"Zwei"_qs));
  ASSERT_TRUE(SaveListFiles(saved, Base(), nullptr));
  const QByteArray html = ReadBytes(Base() + ".mpl3");
  // Lines 0..20 the template, 21 the header row, 22..39 and 40..57 the two entries' blocks.
  const QList<QByteArray> lines = html.split('\n');
  ASSERT_EQ(lines.size(), 59);
  auto changed = [&](qsizetype at, qsizetype remove, const QList<QByteArray>& insert) {
    QList<QByteArray> edited = lines;
    edited.remove(at, remove);
    for (qsizetype i = 0; i < insert.size(); ++i) edited.insert(at + i, insert[i] + '\r');
    return edited.join('\n');
  };
  const MessageSlots& de = MessageSlotsFor(UiLanguage::German);
  const QString second_block = de.msgListBrokenEntry.arg(41);
  const std::pair<QByteArray, QString> cases[] = {
      {changed(48, 1, {"</td><td >"}), second_block},      // a cell break
      {changed(56, 1, {"</td></tr>"}), second_block},      // the end of the last cell
      {changed(57, 1, {"</tr >"}), second_block},          // the end of the row
      {changed(45, 2, {}), second_block},                  // a cell less
      {changed(46, 0, {"</td><td>", "x"}), second_block},  // a cell more
  };
  for (const auto& [bytes, problem] : cases) {
    test::WriteBytes(Base() + ".mpl3", bytes);
    QString error;
    EXPECT_FALSE(Read(Base(), &error));
    EXPECT_EQ(error, de.msgListRefused + u'\n' + Base() + u".mpl3\n"_qs + problem);
  }
  // A header row of a width no form has, edited by hand, opens with the two columns.
  test::WriteBytes(Base() + ".mpl3",
                   changed(21, 1,
                           {"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Dauer</td>"
                            "<td>X</td></tr>"}));
  const auto odd = Read(Base(), nullptr);
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->form, ColumnForm());
}

// The catalogue and comparing take the size, type and date texts of a media list from each
// entry's own block, also from one made before the media columns were shown; a list of the
// media columns alone has no details for them.
TEST_F(ListFilesTest, CatalogueAndComparingReadTheDetailsOfMediaLists) {
  QTemporaryDir lists;
  QTemporaryDir cache;
  const QString both = lists.path() + u"/beides"_qs;
  const QString media_only = lists.path() + u"/medien"_qs;
  ListingDocument doc;
  SwitchMediaOnAfterOneEntry(doc);
  ASSERT_TRUE(SaveListFiles(doc, both, nullptr));
  test::StartListing(doc, ColumnForm(false, true));
  test::AddEntry(doc, u"bild.jpg"_qs, {}, {}, {}, {},
                 Media(u"5 KB"_qs, u"Bild"_qs, u"04.04.2022 13:00"_qs, {}));
  ASSERT_TRUE(SaveListFiles(doc, media_only, nullptr));

  QString error;
  const auto saved = SavedList::Read(both, MessageSlotsFor(UiLanguage::German), &error);
  ASSERT_TRUE(saved) << error.toStdString();
  EXPECT_TRUE(saved->Details());
  ASSERT_EQ(saved->Count(), 2u);
  EXPECT_EQ(saved->Size(0), "1 KB");
  EXPECT_EQ(saved->Date(0), "01.01.2019 10:00");
  EXPECT_EQ(saved->Size(1), "2 KB");
  EXPECT_EQ(saved->Date(1), "02.02.2020 11:00");
  const auto saved_media = SavedList::Read(media_only, MessageSlotsFor(UiLanguage::German), &error);
  ASSERT_TRUE(saved_media) << error.toStdString();
  EXPECT_FALSE(saved_media->Details());
  EXPECT_EQ(saved_media->Size(0), "");

  Catalog catalog(cache.path() + u"/catalog.sqlite"_qs);
  EXPECT_EQ(catalog.Update({lists.path()}).indexed, 2);
  struct Hit {
    QString name, size, type, date;
    bool details;
  };
  const Hit hits[] = {{u"alt.mp3"_qs, u"1 KB"_qs, u"MP3-Datei"_qs, u"01.01.2019 10:00"_qs, true},
                      {u"neu.mp3"_qs, u"2 KB"_qs, u"MP3-Datei"_qs, u"02.02.2020 11:00"_qs, true},
                      {u"bild.jpg"_qs, {}, {}, {}, false}};
  for (const Hit& want : hits) {
    const auto found = catalog.Find(want.name);
    ASSERT_EQ(found.size(), 1u) << want.name.toStdString();
    EXPECT_EQ(found[0].details, want.details) << want.name.toStdString();
    EXPECT_EQ(found[0].size, want.size);
    EXPECT_EQ(found[0].type, want.type);
    EXPECT_EQ(found[0].date, want.date);
  }
}

}  // namespace
}  // namespace kavoro

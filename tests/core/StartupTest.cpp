#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>

#include "core/app/AppState.h"
#include "core/listing/ListingHeaders.h"
#include "support/Entries.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using test::CrLf;

const QByteArray kShipped =
    CrLf({"0", "1", "0", "0",   "0",   "0", "0",  "0",   "0",  "1",   "0",   "0", "0",
          "0", "0", "1", "702", "480", "0", "40", "600", "80", "190", "120", "1"});

class StartupTest : public ::testing::Test {
 protected:
  AppState& Start() {
    state_ = std::make_unique<AppState>(dir_.Path());
    EXPECT_EQ(CheckConfiguration(*state_), StartupCheck::Ok);
    EXPECT_EQ(ApplyOptionsAtStart(*state_), std::nullopt);
    return *state_;
  }

  test::ProgramDir dir_;
  std::unique_ptr<AppState> state_;
};

TEST_F(StartupTest, ShippedOptionsGiveTheStyledEmptyGermanListing) {
  ASSERT_EQ(dir_.Options(), kShipped);
  AppState& s = Start();
  EXPECT_EQ(dir_.Options(), kShipped);
  EXPECT_EQ(s.language, UiLanguage::German);
  EXPECT_EQ(s.doc.Text().ToStringList(), QStringList{u"Nr.        Datei"_qs});
  EXPECT_EQ(s.doc.ColumnCount(), 2);
  EXPECT_EQ(s.doc.Column(1), QStringList{u"Datei"_qs});
  const QStringList html = s.doc.Html().ToStringList();
  ASSERT_EQ(html.size(), 22);
  EXPECT_EQ(html[2], u"<title>Kavoro</title> "_qs);
  EXPECT_EQ(html[8], u"    color:black;"_qs);
  EXPECT_EQ(html[9], u"    font-size:12pt;"_qs);
  EXPECT_EQ(html[10], u"    font-family:Arial;"_qs);
  EXPECT_EQ(html[19],
            u"<body bgcolor=\"#ffffff\"  link=\"black\" alink=\"black\" vlink=\"black\">"_qs);
  EXPECT_EQ(html[20],
            u"<table border=\"1\" align=\"center\" bgcolor=\"#ffffff\" cellspacing=\"0\">"_qs);
  EXPECT_EQ(html[21], u"<tr><td align=\"right\">Nr.</td><td>Datei</td></tr>"_qs);
  EXPECT_EQ(s.style_page, html.mid(0, 21));
  EXPECT_TRUE(s.flags.info_no_files);
  EXPECT_TRUE(s.flags.info_count_time);
  EXPECT_FALSE(s.flags.ask_search_start);
  EXPECT_FALSE(s.window.start_maximized);
  EXPECT_EQ(s.doc.ColumnWidth(1), 600);
  EXPECT_EQ(MainWindowCaption(s), u"Suchen nach : allen Dateien"_qs);
  EXPECT_EQ(InfoNoFilesCaption(s), u"wenn keine Dateien im Ordner sind"_qs);
}

TEST_F(StartupTest, ShortFileIsPaddedWithDefaultsAndLongFileKeepsItsTail) {
  dir_.SetOptions(
      CrLf({"0", "1", "0", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "1"}));
  Start();
  EXPECT_EQ(dir_.Options(), kShipped);

  QByteArray long_file = kShipped + CrLf({"a", "", "c", "d", "e"});
  dir_.SetOptions(long_file);
  Start();
  EXPECT_EQ(dir_.Options(), long_file);
}

TEST_F(StartupTest, BrokenNumbersFallBackInsteadOfStopping) {
  dir_.SetOptionLine(0, "rot");
  dir_.SetOptionLine(1, "");
  dir_.SetOptionLine(16, "breit");
  dir_.SetOptionLine(19, "x");
  dir_.SetOptionLine(20, "");
  AppState& s = Start();
  EXPECT_EQ(s.doc.Html().At(8), u"    color:black;"_qs);
  EXPECT_EQ(s.doc.Html().At(9), u"    font-size:16pt;"_qs);
  EXPECT_EQ(s.window.width, 702);
  EXPECT_EQ(s.doc.ColumnWidth(0), 40);
  EXPECT_EQ(s.doc.ColumnWidth(1), 600);  // empty line 20 got its default
  // What the user wrote stays; only empty lines are filled.
  EXPECT_TRUE(dir_.Options().contains("\r\nbreit\r\n"));
}

TEST_F(StartupTest, DetailLineAndWindowLines) {
  dir_.SetOptionLine(14, "2");
  dir_.SetOptionLine(21, "81");
  dir_.SetOptionLine(16, "500");
  dir_.SetOptionLine(17, "700");
  dir_.SetOptionLine(18, "2");
  AppState& s = Start();
  EXPECT_EQ(s.doc.ColumnCount(), 5);
  EXPECT_EQ(s.doc.ColumnWidth(2), 80);             // only "1" takes the stored widths
  EXPECT_TRUE(s.grid_tools.detail_tools_enabled);  // the tools follow the five columns
  EXPECT_EQ(s.window.width, 702);
  EXPECT_EQ(s.window.height, 700);
  EXPECT_TRUE(s.window.start_maximized);
  EXPECT_EQ(s.doc.Html().At(21),
            u"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Gr&ouml;ße</td><td>Typ</td>"
            u"<td>Ge&auml;ndert</td></tr>"_qs);

  dir_.SetOptionLine(14, "1");
  AppState& t = Start();
  EXPECT_EQ(t.doc.ColumnWidth(2), 81);
  EXPECT_TRUE(t.grid_tools.detail_tools_enabled);
  EXPECT_EQ(t.grid_tools.width_fields[2], u"81"_qs);
}

TEST_F(StartupTest, StylesFromStoredDefaults) {
  dir_.SetOptionLine(0, "4");
  dir_.SetOptionLine(1, "3");
  dir_.SetOptionLine(2, "14");
  dir_.SetOptionLine(3, "2");
  dir_.SetOptionLine(4, "1");
  dir_.SetOptionLine(5, "1");
  dir_.SetOptionLine(6, "4");
  dir_.SetOptionLine(7, "1");
  dir_.SetOptionLine(8, "6");
  AppState& s = Start();
  EXPECT_EQ(s.doc.Html().At(8), u"    color:navy;"_qs);
  EXPECT_EQ(s.doc.Html().At(9), u"    font-size:14pt;"_qs);
  EXPECT_EQ(s.doc.Html().At(10), u"    font-family:Lucida Sans;"_qs);
  EXPECT_EQ(s.doc.Html().At(19),
            u"<body bgcolor=\"navy\"  link=\"navy\" alink=\"navy\" vlink=\"navy\">"_qs);
  EXPECT_EQ(s.doc.Html().At(20),
            u"<table border=\"0\" align=\"center\" bgcolor=\"teal\" cellspacing=\"0\">"_qs);
}

TEST_F(StartupTest, EnglishWithDetailsKeepsTheDetailLineThroughALanguageSwitch) {
  dir_.SetOptionLine(13, "1");
  dir_.SetOptionLine(14, "1");
  AppState& s = Start();
  EXPECT_EQ(s.doc.Text().At(0).left(15), u"Nr.        File"_qs);
  EXPECT_EQ(MainWindowCaption(s), u"Search for : all files"_qs);
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::German), std::nullopt);
  QByteArray expected = kShipped;
  expected.replace("0\r\n0\r\n1\r\n702", "0\r\n1\r\n1\r\n702");  // lines 13..15
  EXPECT_EQ(dir_.Options(), expected);
  EXPECT_EQ(s.doc.Html().At(21),
            u"<tr><td align=\"right\">Nr.</td><td>Datei</td><td>Größe</td><td>Typ</td>"
            u"<td>Geändert</td></tr>"_qs);
}

TEST_F(StartupTest, LanguageSwitchWritesTheSnapshotWhole) {
  AppState& s = Start();
  s.options.SetWorkingLine(16, u"999"_qs);  // a window size not yet in the snapshot
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::English), std::nullopt);
  QByteArray expected = kShipped;
  expected.replace("0\r\n0\r\n0\r\n1\r\n702", "0\r\n1\r\n0\r\n1\r\n702");
  EXPECT_EQ(dir_.Options(), expected);
  EXPECT_EQ(s.doc.Text().ToStringList(), QStringList{u"Nr.        File"_qs});
  EXPECT_EQ(s.doc.Html().At(21), u"<tr><td align=\"right\">Nr.</td><td>File</td></tr>"_qs);
  s.selection = SearchSelection{{u".mp3"_qs}, false, {}, {}, false};
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::English), std::nullopt);
  EXPECT_EQ(MainWindowCaption(s), u"Search for : *.mp3 -files"_qs);
  EXPECT_EQ(InfoNoFilesCaption(s), u"if no *.mp3 -file is in the folder"_qs);
}

TEST_F(StartupTest, GermanSwitchDoesNotShrinkAGridWithEnteredDetails) {
  dir_.SetOptionLine(14, "1");
  AppState& s = Start();
  s.doc.RaiseFirstEntry();
  test::AddEntry(s.doc, u"a.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"01.01.2020 10:00"_qs);
  s.flags.details = false;
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::German), std::nullopt);
  EXPECT_EQ(s.doc.ColumnCount(), 5);
  EXPECT_EQ(s.doc.Cell(4, 1), u"01.01.2020 10:00"_qs);
  EXPECT_EQ(s.doc.Text().At(0).size(), 126);  // the five-column header stays
}

TEST_F(StartupTest, EveryGridHeaderCellFollowsTheLanguage) {
  dir_.SetOptionLine(13, "1");
  dir_.SetOptionLine(14, "1");
  AppState& s = Start();
  s.doc.RaiseFirstEntry();
  test::AddEntry(s.doc, u"a.mp3"_qs, u"1 KB"_qs, u"Audio"_qs, u"01.01.2020 10:00"_qs);
  OptionFlags panel = s.flags;
  panel.details = false;  // the grid keeps the five columns of its entries
  ASSERT_EQ(SaveOptionsPanel(s, panel), std::nullopt);
  auto header = [&s] {
    QStringList cells;
    for (int c = 0; c < s.doc.ColumnCount(); ++c) cells.append(s.doc.Cell(c, 0));
    return cells;
  };
  const QStringList german{u"Nr."_qs, u"Datei"_qs, u"Größe"_qs, u"Typ"_qs, u"Geändert"_qs};
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::German), std::nullopt);
  EXPECT_EQ(header(), german);
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::English), std::nullopt);
  EXPECT_EQ(header(), (QStringList{u"Nr."_qs, u"File"_qs, u"Size"_qs, u"Type"_qs, u"Date"_qs}));
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::German), std::nullopt);
  ASSERT_EQ(SaveOptionsPanel(s, s.flags), std::nullopt);
  EXPECT_EQ(header(), german);
}

TEST_F(StartupTest, NewListingReadsLanguageAndStyleFromTheFile) {
  AppState& s = Start();
  s.flags.details = true;
  test::AddEntry(s.doc, u"a.mp3"_qs);
  s.doc.SetListingModified(true);
  dir_.SetOptionLine(13, "1");
  dir_.SetOptionLine(0, "9");
  ASSERT_EQ(NewListing(s), std::nullopt);
  EXPECT_EQ(s.language, UiLanguage::English);
  EXPECT_EQ(s.doc.EntryCounter(), 0);
  EXPECT_EQ(s.doc.RowCount(), 1);
  EXPECT_EQ(s.doc.Column(1), QStringList{u"File"_qs});
  EXPECT_EQ(s.doc.Html().Count(), 22);
  EXPECT_EQ(s.doc.Html().At(8), u"    color:red;"_qs);
  EXPECT_EQ(s.doc.Text().Count(), 1);
  EXPECT_EQ(s.options.SnapshotLine(14), u"1"_qs);
  EXPECT_TRUE(s.doc.ListingModified());  // "Neu" does not count as saving
}

TEST_F(StartupTest, NewListingAfterDetailedEntriesGetsTheHeaderLinesOfItsColumns) {
  // Details on, files entered, details off in the options panel, then "Neu".
  dir_.SetOptionLine(14, "1");
  AppState& s = Start();
  test::AddEntry(s.doc, u"a.mp3"_qs, u"1 KB"_qs, u"MP3"_qs, u"01.01.2020 10:00"_qs);
  s.doc.RaiseFirstEntry();
  OptionFlags panel = s.flags;
  panel.details = false;
  ASSERT_EQ(SaveOptionsPanel(s, panel), std::nullopt);
  ASSERT_EQ(NewListing(s), std::nullopt);
  EXPECT_EQ(s.doc.Text().ToStringList(), QStringList{u"Nr.        Datei"_qs});
  EXPECT_EQ(s.doc.ColumnCount(), 2);
  ASSERT_EQ(s.doc.Html().Count(), 22);
  EXPECT_EQ(s.doc.Html().At(21), u"<tr><td align=\"right\">Nr.</td><td>Datei</td></tr>"_qs);
}

TEST_F(StartupTest, OptionsPanelWritesItsLinesThroughTheSnapshot) {
  AppState& s = Start();
  s.options.SetWorkingLine(16, u"999"_qs);  // not in the snapshot: the panel writes it back
  OptionFlags panel = s.flags;
  panel.info_no_files = false;
  panel.whole_path = true;
  panel.link_files = true;
  panel.details = true;
  panel.ask_search_start = true;
  ASSERT_EQ(SaveOptionsPanel(s, panel), std::nullopt);
  EXPECT_EQ(dir_.Options(),
            CrLf({"0", "1", "0", "0",   "0",   "0", "0",  "0",   "0",  "0",   "0",   "1", "1",
                  "0", "1", "1", "702", "480", "0", "40", "600", "80", "190", "120", "0"}));
  EXPECT_EQ(s.doc.ColumnCount(), 5);
  EXPECT_TRUE(s.grid_tools.detail_tools_enabled);
  EXPECT_EQ(s.doc.Text().At(0).size(), 126);

  s.grid_tools.sort_choice = 4;
  panel.details = false;
  ASSERT_EQ(SaveOptionsPanel(s, panel), std::nullopt);
  EXPECT_EQ(s.doc.ColumnCount(), 2);
  EXPECT_EQ(s.grid_tools.sort_choice, 1);
  EXPECT_EQ(s.doc.Text().At(0), u"Nr.        Datei"_qs);
}

// Each tick has one line: "1" is on, "0" off, line 24 the other way round; a hand-edited line
// that is neither counts as on (as "ask" for line 24), as the original program read it.
TEST(FlagLinesTest, EveryTickGoesToItsLineAndComesBack) {
  OptionsFile options(u"unused"_qs);
  for (const FlagLine& f : kFlagLines) {
    SCOPED_TRACE(f.line);
    OptionFlags flags;
    flags.*f.flag = true;
    WriteFlags(flags, options, &OptionsFile::SetWorkingLine);
    EXPECT_EQ(options.WorkingLine(f.line), f.inverted ? u"0"_qs : u"1"_qs);
    EXPECT_TRUE(FlagsIn(options).*f.flag);
    flags.*f.flag = false;
    WriteFlags(flags, options, &OptionsFile::SetWorkingLine);
    EXPECT_FALSE(FlagsIn(options).*f.flag);
    options.SetWorkingLine(f.line, u"x"_qs);
    EXPECT_TRUE(FlagsIn(options).*f.flag);
  }
  // Only the lines below the limit are written: the style dialog stores lines 0..15.
  OptionFlags all{true, true, true, true, true, true, false};
  WriteFlags(all, options, &OptionsFile::SetWorkingLine, opt::kWindowWidth);
  EXPECT_EQ(options.WorkingLine(opt::kNoSearchStartQuestion), u"x"_qs);
}

// Whoever shows the captions hears of every change from the state itself.
TEST_F(StartupTest, EveryCaptionChangeIsAnnounced) {
  AppState& s = Start();
  QSignalSpy announced(&s.events, &StateEvents::CaptionsChanged);
  ChooseAllFiles(s);
  ChooseSeveralExtensions(s, {u".mp3"_qs, u".wav"_qs});
  EXPECT_EQ(s.window_caption, u"Suchen nach : *.mp3 .wav  - Dateien"_qs);
  ASSERT_EQ(SwitchLanguage(s, UiLanguage::English), std::nullopt);
  ASSERT_EQ(CommitCatalogChange(s, s.catalog.Lines(), {u".mp3"_qs}), std::nullopt);
  EXPECT_EQ(s.window_caption, s.Slots().capAll2);
  EXPECT_EQ(announced.size(), 4);
}

TEST_F(StartupTest, RefusesMissingOrUnusableConfiguration) {
  AppState s(dir_.Path());
  QFile::remove(dir_.File(u"optionen.ini"_qs));
  EXPECT_EQ(CheckConfiguration(s), StartupCheck::MissingFile);
  EXPECT_EQ(StartupMessage(StartupCheck::MissingFile),
            u"Es fehlt die Datei endungen.ini oder optionen.ini, wodurch das Programm nicht "
            u"mehr funktioniert"_qs);
  dir_.SetOptions(kShipped);
  test::WriteBytes(dir_.File(u"endungen.ini"_qs), CrLf({".mp3", "Musik"}));
  EXPECT_EQ(CheckConfiguration(s), StartupCheck::UnusableCatalog);
  test::WriteBytes(dir_.File(u"endungen.ini"_qs), CrLf({"Musik"}));
  EXPECT_EQ(CheckConfiguration(s), StartupCheck::UnusableCatalog);
  EXPECT_TRUE(StartupMessage(StartupCheck::UnusableCatalog)
                  .startsWith(u"Die Datei : endungen.ini wurde unbrauchbar gemacht !\nBitte "_qs));
  EXPECT_EQ(dir_.Options(), kShipped);
  test::WriteBytes(dir_.File(u"endungen.ini"_qs), CrLf({"Musik", ".mp3"}));
  EXPECT_EQ(CheckConfiguration(s), StartupCheck::Ok);
}

}  // namespace
}  // namespace kavoro

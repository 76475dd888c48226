#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/app/AppState.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/StyleChoices.h"
#include "support/Entries.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

using test::CrLf;

const QString kBodyBlack =
    u"<body bgcolor=\"#ffffff\"  link=\"black\" alink=\"black\" vlink=\"black\">"_qs;

class StyleDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state_ = std::make_unique<AppState>(dir_.Path());
    ASSERT_EQ(CheckConfiguration(*state_), StartupCheck::Ok);
    ASSERT_EQ(ApplyOptionsAtStart(*state_), std::nullopt);
    // Opening the dialog copies the HTML view into the working page.
    s().style_page = s().doc.Html().ToStringList();
  }
  AppState& s() { return *state_; }
  StyleDialogState& d() { return state_->style; }
  QStringList& page() { return state_->style_page; }
  QString Line(int index) { return page()[index]; }

  test::ProgramDir dir_;
  std::unique_ptr<AppState> state_;
};

TEST_F(StyleDialogTest, TableLineFollowsBothBoxesAndTheTableColour) {
  d().TableColorChosen(4, page());  // navy, while the box is off
  EXPECT_EQ(Line(20),
            u"<table border=\"1\" align=\"center\" bgcolor=\"#ffffff\" cellspacing=\"0\">");
  d().TableBackgroundClicked(true, page());
  EXPECT_EQ(Line(20), u"<table border=\"1\" align=\"center\" bgcolor=\"navy\" cellspacing=\"0\">");
  d().NoLinesClicked(true, page());
  EXPECT_EQ(Line(20), u"<table border=\"0\" align=\"center\" bgcolor=\"navy\" cellspacing=\"0\">");
  d().TableColorChosen(6, page());
  EXPECT_EQ(Line(20), u"<table border=\"0\" align=\"center\" bgcolor=\"teal\" cellspacing=\"0\">");
  d().TableBackgroundClicked(false, page());
  EXPECT_EQ(Line(20),
            u"<table border=\"0\" align=\"center\" bgcolor=\"#ffffff\" cellspacing=\"0\">");
  EXPECT_FALSE(d().TableColorEnabled());
}

TEST_F(StyleDialogTest, BodyLineTakesThePageColourAndTheTextColourForLinks) {
  EXPECT_EQ(Line(19), kBodyBlack);
  d().PageColorChosen(4, page());
  EXPECT_EQ(Line(19), kBodyBlack);
  d().PageBackgroundClicked(true, page());
  EXPECT_EQ(Line(19), u"<body bgcolor=\"navy\"  link=\"black\" alink=\"black\" vlink=\"black\">");
  EXPECT_TRUE(d().PageColorEnabled());
  d().TextColorChosen(9, page());
  EXPECT_EQ(Line(8), u"    color:red;");
  EXPECT_EQ(Line(19), u"<body bgcolor=\"navy\"  link=\"red\" alink=\"red\" vlink=\"red\">");
  // Only the five style lines change, and the HTML view not at all.
  EXPECT_EQ(page().mid(21), s().doc.Html().ToStringList().mid(21));
  EXPECT_EQ(s().doc.Html().At(8), u"    color:black;");
}

TEST_F(StyleDialogTest, CustomSizeGoesThroughThePanel) {
  d().SizeChosen(0, page());
  EXPECT_EQ(Line(9), u"    font-size:16pt;");
  d().SizeChosen(3, page());
  EXPECT_TRUE(d().size_panel_shown);
  EXPECT_FALSE(d().ChoicesEnabled());
  EXPECT_FALSE(d().CustomSizeOkEnabled());
  EXPECT_FALSE(d().StoreDefaultsEnabled());
  EXPECT_EQ(Line(9), u"    font-size:16pt;");  // not before OK
  d().size_field = u"14"_qs;
  EXPECT_TRUE(d().CustomSizeOkEnabled());
  d().CustomSizeCancel();
  // The choice stays what the page shows, and so does the field.
  EXPECT_EQ(Line(9), u"    font-size:16pt;");
  EXPECT_EQ(d().choice.size_choice, 0);
  EXPECT_EQ(d().size_field, QString());
  EXPECT_TRUE(d().ChoicesEnabled());

  d().SizeChosen(3, page());
  d().size_field = u"14"_qs;
  d().CustomSizeOk(page());
  EXPECT_EQ(Line(9), u"    font-size:14pt;");
  EXPECT_EQ(d().choice.size_choice, 3);
  EXPECT_FALSE(d().size_panel_shown);
  d().SizeChosen(3, page());
  d().size_field = u"20"_qs;
  d().CustomSizeCancel();
  EXPECT_EQ(Line(9), u"    font-size:14pt;");
  EXPECT_EQ(d().choice.custom_size, u"14");
  EXPECT_EQ(d().size_field, u"14");

  EXPECT_TRUE(StyleDialogState::IsCustomSizeText(u"07"_qs));
  EXPECT_TRUE(StyleDialogState::IsCustomSizeText(QString()));
  for (const QString& bad : {u"1a"_qs, u"123"_qs, u"-1"_qs, u" 1"_qs, u"１"_qs}) {
    EXPECT_FALSE(StyleDialogState::IsCustomSizeText(bad)) << bad.toStdString();
  }
}

TEST_F(StyleDialogTest, FamilyListShowsLucidaSansUnicodeButThePageGetsLucidaSans) {
  d().FamilyChosen(2, page());
  EXPECT_EQ(Line(10), u"    font-family:Lucida Sans;");
  d().FamilyChosen(3, page());
  EXPECT_EQ(Line(10), u"    font-family:Times New Roman;");
}

TEST_F(StyleDialogTest, ApplyWithoutStoringChangesOnlyTheHtmlView) {
  test::AddEntry(s().doc, u"a.mp3"_qs);
  page() = s().doc.Html().ToStringList();
  const QByteArray before = dir_.Options();
  d().TextColorChosen(12, page());
  ASSERT_EQ(ApplyStyleDialog(s()), std::nullopt);
  EXPECT_EQ(dir_.Options(), before);
  EXPECT_EQ(s().doc.Html().At(8), u"    color:blue;");
  EXPECT_EQ(s().doc.Html().ToStringList(), page());
}

TEST_F(StyleDialogTest, ApplyStoringDefaultsWritesLinesZeroToFifteen) {
  dir_.SetOptionLine(20, "655");  // changed behind the program's back
  d().TextColorChosen(15, page());
  d().SizeChosen(3, page());  // "Andere" with the field left empty
  d().CustomSizeOk(page());
  d().FamilyChosen(4, page());
  d().NoLinesClicked(true, page());
  d().PageColorChosen(13, page());  // chosen while the box is off: stored as 0
  d().TableColorChosen(6, page());
  d().TableBackgroundClicked(true, page());
  s().flags.link_files = true;
  s().flags.details = true;
  s().language = UiLanguage::English;
  d().store_defaults = true;
  ASSERT_EQ(ApplyStyleDialog(s()), std::nullopt);
  // Written from the working copy as it stood, not reloaded first.
  EXPECT_EQ(dir_.Options(),
            CrLf({"15", "3", "0", "4",   "1",   "0", "0",  "1",   "6",  "1",   "0",   "0", "1",
                  "1",  "1", "1", "702", "480", "0", "40", "600", "80", "190", "120", "1"}));
  EXPECT_EQ(s().options.Snapshot(), s().options.Working());
  EXPECT_EQ(d().choice.custom_size, u"0");
  EXPECT_EQ(s().doc.Html().At(10), u"    font-family:Verdana;");
}

// Line 25: absent in a file from before it, written only once ticked, kept from then on.
TEST_F(StyleDialogTest, TheBrowsablePageIsLine25WrittenOnlyOnceTicked) {
  const QByteArray old_file = dir_.Options();
  ASSERT_EQ(s().options.Working().size(), 25);  // the shipped file, as start-up wrote it back
  EXPECT_FALSE(d().choice.browsable);
  EXPECT_FALSE(s().ViewBrowsing().on);
  d().store_defaults = true;
  ASSERT_EQ(ApplyStyleDialog(s()), std::nullopt);
  EXPECT_EQ(dir_.Options(), old_file);

  // Ticked and applied without storing: the view's pages are browsable, the file unchanged;
  // "Abbrechen" afterwards returns the choice to the file's.
  d().store_defaults = false;
  d().BrowsableClicked(true);
  EXPECT_TRUE(s().DialogBrowsing().on);
  EXPECT_FALSE(s().ViewBrowsing().on);
  ASSERT_EQ(ApplyStyleDialog(s()), std::nullopt);
  EXPECT_TRUE(s().ViewBrowsing().on);
  EXPECT_EQ(dir_.Options(), old_file);
  d().RestoreDefaults(s().options);
  EXPECT_FALSE(d().choice.browsable);
  EXPECT_TRUE(s().ViewBrowsing().on);  // what was applied stays

  d().BrowsableClicked(true);
  d().store_defaults = true;
  ASSERT_EQ(ApplyStyleDialog(s()), std::nullopt);
  EXPECT_EQ(dir_.Options(), old_file + "1\r\n");
  // Saves of other lines and a restart keep it.
  ASSERT_EQ(SaveOptionsPanel(s(), s().flags), std::nullopt);
  ASSERT_EQ(s().options.StoreWorkingLine(opt::kColumnWidth0, u"41"_qs), std::nullopt);
  AppState restarted(dir_.Path());
  ASSERT_EQ(CheckConfiguration(restarted), StartupCheck::Ok);
  ASSERT_EQ(ApplyOptionsAtStart(restarted), std::nullopt);
  EXPECT_TRUE(restarted.style.choice.browsable);
  EXPECT_TRUE(restarted.ViewBrowsing().on);
  ASSERT_EQ(SwitchLanguage(restarted, UiLanguage::English), std::nullopt);
  EXPECT_TRUE(dir_.Options().endsWith("\r\n1\r\n1\r\n")) << dir_.Options().toStdString();
  EXPECT_TRUE(restarted.ViewBrowsing().on);
  EXPECT_EQ(restarted.ViewBrowsing().language, UiLanguage::English);
  // "Neu" reads it again; unticked and stored it becomes "0".
  ASSERT_EQ(NewListing(restarted), std::nullopt);
  EXPECT_TRUE(restarted.style.page_browsable);
  restarted.style.BrowsableClicked(false);
  restarted.style.store_defaults = true;
  ASSERT_EQ(ApplyStyleDialog(restarted), std::nullopt);
  EXPECT_TRUE(dir_.Options().endsWith("\r\n1\r\n0\r\n"));
  EXPECT_FALSE(restarted.ViewBrowsing().on);
}

TEST_F(StyleDialogTest, AFailedSaveKeepsTheHtmlView) {
  const QStringList view = s().doc.Html().ToStringList();
  d().TextColorChosen(9, page());
  d().store_defaults = true;
  QFile::remove(dir_.File(u"optionen.ini"_qs));
  ASSERT_TRUE(QDir(dir_.Path()).mkdir(u"optionen.ini"_qs));  // cannot be replaced by a file
  const QString error = ApplyStyleDialog(s()).value_or(QString());
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(error.startsWith(u"Cannot create file "_qs)) << error.toStdString();
  EXPECT_EQ(s().doc.Html().ToStringList(), view);
}

TEST_F(StyleDialogTest, CancelRestoresTheChoicesFromTheWorkingCopy) {
  dir_.SetOptions(
      CrLf({"9", "3", "14", "2",   "1",   "1", "4",  "0",   "0",  "1",   "0",   "0", "0",
            "0", "0", "1",  "702", "480", "0", "40", "600", "80", "190", "120", "1"}));
  ASSERT_EQ(NewListing(s()), std::nullopt);
  page() = s().doc.Html().ToStringList();
  EXPECT_EQ(Line(9), u"    font-size:14pt;");
  d().TextColorChosen(2, page());
  d().SizeChosen(1, page());
  d().size_field = u"7"_qs;
  d().FamilyChosen(0, page());
  d().NoLinesClicked(false, page());
  d().PageBackgroundClicked(false, page());
  d().TableColorChosen(5, page());
  d().TableBackgroundClicked(true, page());
  // A file changed behind the program's back is not read: cancel takes the working copy.
  dir_.SetOptionLine(0, "3");
  d().RestoreDefaults(s().options);
  const StyleSettings& c = d().choice;
  EXPECT_EQ(c.font_color, 9);
  EXPECT_EQ(c.size_choice, 3);
  EXPECT_EQ(c.custom_size, u"14");
  EXPECT_EQ(d().size_field, u"14");
  EXPECT_EQ(c.family, 2);
  EXPECT_TRUE(c.no_lines);
  EXPECT_TRUE(c.page_color_on);
  EXPECT_EQ(c.page_color, 4);
  EXPECT_FALSE(c.table_color_on);
  EXPECT_EQ(c.table_color, 5);  // an unticked box keeps its colour

  // The next opening starts from the HTML view, and the link colours follow the restored
  // text colour, not the cancelled one.
  page() = s().doc.Html().ToStringList();
  d().PageColorChosen(1, page());
  EXPECT_EQ(Line(19), u"<body bgcolor=\"maroon\"  link=\"red\" alink=\"red\" vlink=\"red\">");
}

TEST_F(StyleDialogTest, StartAndNeuApplyTheStoredStyleThroughTheActions) {
  dir_.SetOptions(
      CrLf({"12", "3", "", "1", "0", "1", "99", "1", "x", "1", "0", "0", "0", "0", "0", "1"}));
  ASSERT_EQ(NewListing(s()), std::nullopt);
  const QStringList html = s().doc.Html().ToStringList();
  EXPECT_EQ(html[8], u"    color:blue;");
  EXPECT_EQ(html[9], u"    font-size:16pt;");  // an empty custom size is no size
  EXPECT_EQ(html[10], u"    font-family:Comic Sans MS;");
  // Colour lines that are no colour index count as black.
  EXPECT_EQ(html[19], u"<body bgcolor=\"black\"  link=\"blue\" alink=\"blue\" vlink=\"blue\">");
  EXPECT_EQ(html[20], u"<table border=\"1\" align=\"center\" bgcolor=\"black\" cellspacing=\"0\">");
  EXPECT_TRUE(d().PageColorEnabled());
  EXPECT_TRUE(d().TableColorEnabled());
  EXPECT_EQ(s().style_page, html.mid(0, 21));
}

TEST_F(StyleDialogTest, ACustomSizeOfMoreThanTwoDigitsReadsAsTheDefaultAndIsWrittenBackSound) {
  // Lines 3 to 24.
  const QByteArray rest = CrLf({"0", "0", "0",   "0",   "0", "0",  "1",   "0",  "0",   "0",   "0",
                                "0", "1", "702", "480", "0", "40", "600", "80", "190", "120", "1"});
  auto options = [this] { return dir_.Options().toStdString(); };
  for (const char* bad : {"12pt;}</style><script>alert(1)</script>", "", "123", "1a", " 9"}) {
    SCOPED_TRACE(bad);
    dir_.SetOptions(CrLf({"0", "3", bad}) + rest);
    AppState s(dir_.Path());
    ASSERT_EQ(CheckConfiguration(s), StartupCheck::Ok);
    ASSERT_EQ(ApplyOptionsAtStart(s), std::nullopt);
    const QStringList html = s.doc.Html().ToStringList();
    EXPECT_EQ(html[9], u"    font-size:16pt;");
    EXPECT_FALSE(html.join(u'\n').contains(u"script"_qs));
    EXPECT_EQ(options(), (CrLf({"0", "0", "0"}) + rest).toStdString());
    // The snapshot, written whole by the options panel, holds the sound lines too.
    ASSERT_EQ(SaveOptionsPanel(s, s.flags), std::nullopt);
    EXPECT_EQ(options(), (CrLf({"0", "0", "0"}) + rest).toStdString());
    // "Abbrechen" in the style dialog reads the working copy: the default size again.
    s.style.RestoreDefaults(s.options);
    EXPECT_EQ(s.style.choice.size_choice, 0);
  }
  // One or two digits are a size; with another size chosen the line is not read at all.
  dir_.SetOptions(CrLf({"0", "3", "7"}) + rest);
  ASSERT_EQ(NewListing(s()), std::nullopt);
  EXPECT_EQ(s().doc.Html().At(9), u"    font-size:7pt;");
  dir_.SetOptions(CrLf({"0", "2", "<b>"}) + rest);
  ASSERT_EQ(ApplyOptionsAtStart(s()), std::nullopt);
  EXPECT_EQ(s().doc.Html().At(9), u"    font-size:9pt;");
  EXPECT_EQ(options(), (CrLf({"0", "2", "<b>"}) + rest).toStdString());
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <limits>

#include "core/app/AppState.h"
#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"
#include "core/search/FindSession.h"
#include "core/search/TextSearch.h"
#include "support/Printers.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

namespace kavoro {

void PrintTo(const TextSelection& s, std::ostream* out) {
  *out << "(" << s.start.line << ", " << s.start.column << ", " << s.length << ")";
}

void PrintTo(const GridCell& c, std::ostream* out) {
  *out << "(row " << c.row << ", column " << c.column << ")";
}

namespace {

TextSelection Sel(qsizetype line, qsizetype column, qsizetype length = 0) {
  return TextSelection{TextPos{line, column}, length};
}

class TextSearchTest : public ::testing::Test {
 protected:
  void Lines(const QStringList& lines) { doc_.SetTextLines(lines); }
  bool Find(const QString& text, bool down = true, bool match_case = false,
            FindTab tab = FindTab::Text) {
    last_ = session_.Find(tab, FindRequest{text, down, match_case}, doc_, memo_, prompts_,
                          MessageSlotsFor(language_));
    return last_.found;
  }

  ListingDocument doc_;
  FindSession session_;
  TextSelection memo_;
  test::ScriptedPrompts prompts_;
  UiLanguage language_ = UiLanguage::German;
  FindOutcome last_;
};

TEST_F(TextSearchTest, DownwardFindsSuccessiveOccurrencesThenAsksToStartAgain) {
  Lines({u"Nr.        Datei"_qs, u"       1  abc und abc"_qs});
  ASSERT_TRUE(Find(u"abc"_qs));
  EXPECT_EQ(memo_, Sel(1, 10, 3));
  ASSERT_TRUE(Find(u"abc"_qs));
  EXPECT_EQ(memo_, Sel(1, 18, 3));
  EXPECT_FALSE(Find(u"abc"_qs));  // answered No: nothing moves
  EXPECT_EQ(memo_, Sel(1, 18, 3));
  EXPECT_EQ(prompts_.shown, QStringList{u"ask: \"abc\" wurde leider nicht gefunden\n"
                                        u"Soll noch einmal vom Anfang gesucht werden ?"_qs});
  EXPECT_FALSE(last_.main_window_enabled);

  prompts_.answers = {true};
  ASSERT_TRUE(Find(u"abc"_qs));  // Yes: from the start again
  EXPECT_EQ(memo_, Sel(1, 10, 3));
}

TEST_F(TextSearchTest, QuestionsInEnglishAndUpward) {
  language_ = UiLanguage::English;
  Lines({u"nothing here"_qs});
  memo_ = Sel(0, 5);
  EXPECT_FALSE(Find(u"xyz"_qs, false));
  EXPECT_EQ(prompts_.shown.last(),
            u"ask: \"xyz\" was not found\nDo you want to search again at the end?"_qs);
  EXPECT_FALSE(Find(u"xyz"_qs, true));
  EXPECT_EQ(prompts_.shown.last(),
            u"ask: \"xyz\" was not found\nDo you want to search again at the beginning ?"_qs);
}

TEST_F(TextSearchTest, CaseFoldingIsAsciiOnly) {
  Lines({u"Äpfel und abc"_qs, u"äpfel"_qs});
  EXPECT_TRUE(Find(u"ABC"_qs));
  EXPECT_EQ(memo_, Sel(0, 10, 3));
  memo_ = Sel(0, 0);
  EXPECT_FALSE(Find(u"ABC"_qs, true, true));  // with case: no
  memo_ = Sel(0, 0);
  session_.Reset();
  EXPECT_TRUE(Find(u"äPFEL"_qs));  // only a to z fold
  EXPECT_EQ(memo_, Sel(1, 0, 5));
  memo_ = Sel(0, 0);
  session_.Reset();
  EXPECT_FALSE(Find(u"ÄPFELX"_qs));
}

TEST_F(TextSearchTest, UpwardOverlappingOccurrencesCountOnlyBeforeTheSelection) {
  Lines({u"x"_qs, u"aaa"_qs});
  memo_ = Sel(1, 3);
  ASSERT_TRUE(Find(u"aa"_qs, false));
  EXPECT_EQ(memo_, Sel(1, 1, 2));
  EXPECT_FALSE(Find(u"aa"_qs, false));  // only one "a" before the selection
  EXPECT_EQ(memo_, Sel(1, 1, 2));
}

TEST_F(TextSearchTest, TheCaretSplitsALineBetweenTheDirections) {
  Lines({u"abc vorher"_qs, u"abc hier"_qs, u"ende"_qs});
  memo_ = Sel(1, 5);
  EXPECT_FALSE(Find(u"abc"_qs));  // the occurrence lies before the caret
  memo_ = Sel(1, 5);
  session_.Reset();
  ASSERT_TRUE(Find(u"abc"_qs, false));
  EXPECT_EQ(memo_, Sel(1, 0, 3));
  // Between two occurrences of one line each direction takes its own.
  Lines({u"abc abc abc"_qs});
  memo_ = Sel(0, 5);
  session_.Reset();
  ASSERT_TRUE(Find(u"abc"_qs));
  EXPECT_EQ(memo_, Sel(0, 8, 3));
  memo_ = Sel(0, 5);
  session_.Reset();
  ASSERT_TRUE(Find(u"abc"_qs, false));
  EXPECT_EQ(memo_, Sel(0, 4, 3));
}

TEST_F(TextSearchTest, ATurnPassesOverTheSelectedHit) {
  Lines({u"ab ab ab"_qs});
  ASSERT_TRUE(Find(u"ab"_qs));
  ASSERT_TRUE(Find(u"ab"_qs));
  EXPECT_EQ(memo_, Sel(0, 3, 2));
  session_.RecordTurn(FindTab::Text, memo_, true);
  ASSERT_TRUE(Find(u"ab"_qs, false));
  EXPECT_EQ(memo_, Sel(0, 0, 2));
  session_.RecordTurn(FindTab::Text, memo_, false);
  ASSERT_TRUE(Find(u"ab"_qs));
  EXPECT_EQ(memo_, Sel(0, 3, 2));
}

TEST_F(TextSearchTest, ColumnsCountUtf16UnitsWhateverTheStoredBytes) {
  Lines({u"Ä€\U0001F600 abc"_qs});
  ASSERT_TRUE(Find(u"abc"_qs));
  EXPECT_EQ(memo_, Sel(0, 5, 3));
  memo_ = Sel(0, 5);
  session_.Reset();
  ASSERT_TRUE(Find(u"\U0001F600"_qs, false));
  EXPECT_EQ(memo_, Sel(0, 2, 2));
}

TEST_F(TextSearchTest, StartChoicesOfTheMemoViews) {
  Lines({u"abc"_qs, u"abc"_qs});
  memo_ = Sel(1, 1, 1);
  session_.ApplyStart(SearchStart::Selected, FindTab::Text, doc_, memo_, {});
  EXPECT_EQ(memo_, Sel(1, 1, 1));
  session_.ApplyStart(SearchStart::End, FindTab::Text, doc_, memo_, {});
  EXPECT_EQ(memo_, Sel(2, 0));
  EXPECT_FALSE(Find(u"abc"_qs));  // past the last line break nothing is left
  ASSERT_TRUE(Find(u"abc"_qs, false));
  EXPECT_EQ(memo_, Sel(1, 0, 3));
  session_.ApplyStart(SearchStart::Beginning, FindTab::Text, doc_, memo_, {});
  EXPECT_EQ(memo_, Sel(0, 0));
  // Upward, Yes starts again at the end of the last line.
  prompts_.answers = {true};
  EXPECT_TRUE(Find(u"abc"_qs, false));
  EXPECT_EQ(memo_, Sel(1, 0, 3));
}

TEST_F(TextSearchTest, GridSearchCoversHeaderAndNumbers) {
  doc_.SetColumnCount(5);
  doc_.SetCell(0, 0, u"Nr.");
  doc_.SetCell(1, 0, u"Datei");
  doc_.AppendRow({u"1", u"lied.mp3", u"3 KB", u"MP3", u"x"});
  doc_.AppendRow({u"2", u"nr.txt", u"", u"", u""});
  session_.ApplyStart(SearchStart::Beginning, FindTab::Grid, doc_, memo_, {1, 3});
  ASSERT_TRUE(Find(u"nr"_qs, true, false, FindTab::Grid));
  EXPECT_EQ(last_.cell, (GridCell{0, 0}));
  EXPECT_TRUE(last_.main_window_enabled);
  ASSERT_TRUE(Find(u"nr"_qs, true, false, FindTab::Grid));
  EXPECT_EQ(last_.cell, (GridCell{2, 1}));
  EXPECT_FALSE(Find(u"nr"_qs, true, true, FindTab::Grid));
  ASSERT_TRUE(Find(u"mp3"_qs, false, false, FindTab::Grid));  // upward from (2, 2)
  EXPECT_EQ(last_.cell, (GridCell{1, 3}));
  ASSERT_TRUE(Find(u"mp3"_qs, false, false, FindTab::Grid));
  EXPECT_EQ(last_.cell, (GridCell{1, 1}));
  EXPECT_EQ(session_.State().grid_search_col, 0);
}

TEST_F(TextSearchTest, GridUpwardWrapsToTheLastCell) {
  doc_.SetCell(0, 0, u"Nr.");
  doc_.SetCell(1, 0, u"Datei");
  doc_.AppendRow({u"1", u"a", u"", u"", u""});
  doc_.AppendRow({u"2", u"b", u"", u"", u""});
  session_.ApplyStart(SearchStart::Selected, FindTab::Grid, doc_, memo_, {1, 0});
  prompts_.answers = {true};
  ASSERT_TRUE(Find(u"b"_qs, false, false, FindTab::Grid));
  EXPECT_EQ(prompts_.shown, QStringList{u"ask: \"b\" wurde leider nicht gefunden\n"
                                        u"Soll noch einmal vom Ende gesucht werden ?"_qs});
  EXPECT_EQ(last_.cell, (GridCell{2, 1}));
  EXPECT_FALSE(last_.main_window_enabled);  // found only after the question
  session_.ApplyStart(SearchStart::End, FindTab::Grid, doc_, memo_, {});
  EXPECT_EQ(session_.State().grid_search_row, 2);
  EXPECT_EQ(session_.State().grid_search_col, 1);
}

TEST(SearchStartTest, Line24DecidesAndTheAnswerIsStored) {
  test::ProgramDir dir;
  AppState state(dir.Path());
  EXPECT_FALSE(AsksSearchStart(state).ask);  // shipped: "1"
  dir.SetOptionLine(24, "0");
  dir.SetOptionLine(3, "7");  // written by someone else meanwhile: kept
  EXPECT_TRUE(AsksSearchStart(state).ask);
  ASSERT_EQ(StoreSearchStartQuestion(state, true), std::nullopt);
  EXPECT_FALSE(state.flags.ask_search_start);
  QList<QByteArray> lines = dir.Options().split('\n');
  EXPECT_EQ(lines[24], "1\r");
  EXPECT_EQ(lines[3], "7\r");
  ASSERT_EQ(StoreSearchStartQuestion(state, false), std::nullopt);
  EXPECT_TRUE(state.flags.ask_search_start);
  EXPECT_EQ(dir.Options().split('\n')[24], "0\r");
  EXPECT_EQ(AsksSearchStart(state).error, std::nullopt);
}

// Long search texts find exactly the places the library's search finds, in both directions,
// overlapping occurrences included.
TEST(TextSearchTimeTest, LongSearchTextsFindWhatShortOnesWould) {
  const std::string unit = "abcabcabdabcabcabd-";
  const std::string text = "xx" + unit + unit.substr(0, 12) + unit + unit + "abc" + unit + "y";
  for (const std::string& bytes : {unit, unit + unit, unit.substr(0, 17), text.substr(5, 30)}) {
    const Needle needle(FindRequest{QString::fromStdString(bytes), true, true});
    for (std::size_t at = 0; at <= text.size() + 1; ++at) {
      EXPECT_EQ(needle.FindIn(text, at), text.find(bytes, at)) << bytes << " from " << at;
      EXPECT_EQ(needle.FindLastIn(text, at), text.rfind(bytes, at)) << bytes << " to " << at;
    }
    EXPECT_EQ(needle.FindLastIn(text), text.rfind(bytes));
    EXPECT_EQ(needle.FindLastIn(bytes.substr(1)), std::string::npos);
  }
}

// A long search text over a long line costs time in proportion to the line, not to the
// product of both lengths: 20,000 characters that almost match at every place of a line of
// 300,000 are looked for about as fast as two.
TEST(TextSearchTimeTest, LongSearchTextsAreLinearInTheLine) {
  LineList lines;
  lines.Append(QString(300'000, u'a'));
  auto best_time = [&](const QString& text, bool down) {
    qint64 best = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
      const Needle needle(FindRequest{text, down, true});
      FindState state;
      QElapsedTimer timer;
      timer.start();
      const auto hit = down ? ScanLinesDown(lines, needle, TextPos{0, 0}, state)
                            : ScanLinesUp(lines, needle, TextPos{0, 300'000}, state);
      best = std::min(best, timer.nsecsElapsed());
      EXPECT_FALSE(hit);
    }
    return best;
  };
  for (const bool down : {true, false}) {
    const qint64 short_text = std::max<qint64>(best_time(u"ab"_qs, down), 1'000'000);
    const QString almost = QString(19'999, u'a') + u'b';
    const qint64 long_text = best_time(almost, down);
    EXPECT_LT(long_text, 20 * short_text) << (down ? "down: " : "up: ") << long_text << " ns";
  }
}

}  // namespace
}  // namespace kavoro

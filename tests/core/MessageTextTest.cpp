#include <gtest/gtest.h>

#include "core/app/MessageText.h"

namespace kavoro {
namespace {

TEST(MessageTextTest, LongWordsAreBrokenAndEverythingElseStays) {
  EXPECT_EQ(BreakLongWords(u"Weiter ?\nJa oder nein"_qs, 5), u"Weite\nr ?\nJa oder nein"_qs);
  EXPECT_EQ(BreakLongWords(u"\"abcdefghij\" da"_qs, 4), u"\"abc\ndefg\nhij\" da"_qs);
  EXPECT_EQ(BreakLongWords(u"abcd"_qs, 4), u"abcd"_qs);
  EXPECT_EQ(BreakLongWords(QString(), 4), QString());
  // A character outside the basic plane is one character, never split in two.
  const QString clef = u"\U0001D11E"_qs;
  EXPECT_EQ(BreakLongWords(u"ab"_qs + clef + u"cd"_qs, 3), u"ab"_qs + clef + u"\ncd"_qs);
  const QString long_word(2000, u'x');
  const QString broken = BreakLongWords(long_word, 50);
  EXPECT_EQ(broken.count(u'\n'), 39);
  EXPECT_EQ(QString(broken).remove(u'\n'), long_word);
}

}  // namespace
}  // namespace kavoro

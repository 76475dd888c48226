#include <gtest/gtest.h>

#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

TEST(OptionsFileTest, IntegerLinesFallBackToTheirDefaults) {
  OptionsFile o(u"/nonexistent"_qs);
  o.SetWorkingLine(16, u"abc"_qs);
  o.SetWorkingLine(19, u""_qs);
  o.SetWorkingLine(0, u"x1"_qs);
  o.SetWorkingLine(20, u"333"_qs);
  EXPECT_EQ(o.WorkingInt(16), 702);
  EXPECT_EQ(o.WorkingInt(17), 480);  // beyond the end of the file
  EXPECT_EQ(o.WorkingInt(19), 40);
  EXPECT_EQ(o.WorkingInt(0), 0);
  EXPECT_EQ(o.WorkingInt(20), 333);
}

TEST(OptionsFileTest, PaddingFillsOnlyEmptyLinesAndKeepsExtraLines) {
  OptionsFile o(u"/nonexistent"_qs);
  o.SetWorkingLine(17, u"555"_qs);
  o.PadWorkingAndFillDefaults();
  EXPECT_EQ(o.Working().mid(16),
            (QStringList{"702", "555", "0", "40", "600", "80", "190", "120", "1"}));
  EXPECT_EQ(o.Working().mid(0, 16), QStringList(16, QString()));

  o.SetWorkingLine(29, u"extra"_qs);
  o.PadWorkingAndFillDefaults();
  EXPECT_EQ(o.Working().size(), 30);
  EXPECT_EQ(o.WorkingLine(29), u"extra"_qs);
}

}  // namespace
}  // namespace kavoro

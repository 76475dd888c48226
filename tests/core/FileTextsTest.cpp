#include <gtest/gtest.h>

#include <QRegularExpression>

#include "core/listing/FileTexts.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

TEST(FileTextsTest, SizesInWholeKilobytesGroupedByDots) {
  const std::pair<std::uint64_t, const char*> cases[] = {
      {0, "0 KB"},
      {1, "1 KB"},
      {1024, "1 KB"},
      {1025, "2 KB"},
      {10240, "10 KB"},
      {1022976, "999 KB"},
      {1022977, "1.000 KB"},
      {1034240, "1.010 KB"},
      {1048576, "1.024 KB"},
      {1024000000, "1.000.000 KB"},
      {1263333376, "1.233.724 KB"},
      {std::uint64_t(1) << 50, "1099511.627.776 KB"}};
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(FormatSizeKB(bytes), QLatin1String(text)) << bytes;
}

std::string DisplayName(std::string_view name, bool hide_extension) {
  std::string out = "kept:";
  AppendDisplayName(name, hide_extension, out);
  return out;
}

TEST(FileTextsTest, ExtensionsAndHiddenExtensions) {
  EXPECT_EQ(ExtensionOf("Lied.MP3.mp3"), ".mp3");
  EXPECT_EQ(ExtensionOf("/a.b/noext"), "");
  EXPECT_EQ(ExtensionOf(".bashrc"), ".bashrc");
  EXPECT_EQ(DisplayName("Lied.MP3.mp3", true), "kept:Lied");
  EXPECT_EQ(DisplayName("notes.txt.bak", true), "kept:notes.txt");
  EXPECT_EQ(DisplayName("Archive.ZIP", true), "kept:Archive");
  EXPECT_EQ(DisplayName("Archive.ZIP", false), "kept:Archive.ZIP");
  EXPECT_EQ(DisplayName("README", true), "kept:README");
  // A leading "." alone is no extension: dot-files keep their names.
  EXPECT_EQ(DisplayName(".bashrc", true), "kept:.bashrc");
  EXPECT_EQ(DisplayName(".config.bak", true), "kept:.config");
  EXPECT_EQ(DisplayName("\xC3\x84.\xC3\xA4 \xC3\x84.\xC3\xA4", true), "kept:\xC3\x84 \xC3\x84");
  EXPECT_EQ(AsciiLower(u"ÄB.MP3"), u"Äb.mp3"_qs);  // letters A to Z only
}

TEST(FileTextsTest, NamesNeverBreakLinesAndLinksOpenTheRightFile) {
  std::string visible;
  AppendVisible("a\nb\rc\td", visible);
  EXPECT_EQ(visible, "a\u240Ab\u240Dc\u2409d");
  EXPECT_EQ(LinkTarget(u"/m/a b#1%?\"<&ü.mp3"_qs),
            u"file:///m/a%20b%231%25%3F%22%3C&amp;%C3%BC.mp3"_qs);
  // A name that is not UTF-8 links to its own bytes, not to U+FFFD.
  EXPECT_EQ(LinkTarget(utf8::NameFromBytes("/m/\xC4rger %FF\xFF.mp3")),
            u"file:///m/%C4rger%20%25FF%FF.mp3"_qs);
  EXPECT_EQ(FileUrl(utf8::NameFromBytes("/m/\xC4rger.mp3")).toString(QUrl::FullyEncoded),
            u"file:///m/%C4rger.mp3"_qs);
}

TEST(FileTextsTest, DateTextHasAFourDigitYearAndNoSeconds) {
  qputenv("TZ", "UTC");
  tzset();
  DateTextFormat german(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(german.Format(QDateTime(QDate(2004, 12, 5), QTime(14, 35, 7))), u"05.12.2004 14:35"_qs);
  EXPECT_EQ(german.Format(std::int64_t(1102257307)), u"05.12.2004 14:35"_qs);
  DateTextFormat english(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_TRUE(QRegularExpression(u"^12/5/2004 2:35\\sPM$"_qs)
                  .match(english.Format(std::int64_t(1102257307)))
                  .hasMatch())
      << english.Format(std::int64_t(1102257307)).toStdString();
  EXPECT_FALSE(english.Pattern().contains(u's'));
  EXPECT_FALSE(english.Pattern().contains(u't'));
}

TEST(FileTextsTest, TypeNamesByNameOnlyAndCached) {
  ShellTypeNames types;
  const QString mp3 = types.ShellTypeName(u"a.mp3"_qs);
  EXPECT_FALSE(mp3.isEmpty());
  EXPECT_EQ(types.ShellTypeName(u"/no/such/dir/B.MP3"_qs), mp3);
  EXPECT_NE(types.ShellTypeName(u"x.png"_qs), mp3);
}

}  // namespace
}  // namespace kavoro

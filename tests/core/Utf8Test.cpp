#include <gtest/gtest.h>

#include <QString>

#include "core/text/Utf8.h"

namespace kavoro {
namespace {

std::string RoundTrip(const std::string& bytes) {
  return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())).toUtf8().toStdString();
}

TEST(Utf8Test, SanitizedReadsBytesAsQStringDoesButKeepsWellFormedOnesUntouched) {
  // clang-format off
  const std::string cases[] = {
      "plain",          "\xC3\x84rger",       "\xF0\x9F\x98\x80",   "\xEF\xBB\xBF" "bom",
      "\xF4\x8F\xBF\xBF", "a\xFF" "b",        "\xC0\x80",           "\xE0\x80\x80",
      "\xED\xA0\x80",   "\xF4\x90\x80\x80",   "\xF5\x80\x80\x80",   "\xE2\x82",
      "\x80" "x",       "\xF0\x9F\x98",       "x\xC3",              "\xC1\xBF",
  };
  // clang-format on
  for (const std::string& bytes : cases) {
    std::string scratch;
    const std::string shown(utf8::Sanitized(bytes, scratch));
    const bool valid = utf8::IsValid(bytes);
    if (bytes.starts_with("\xEF\xBB\xBF")) {
      // QString drops a leading byte order mark; a file name keeps it.
      EXPECT_TRUE(valid);
    } else {
      EXPECT_EQ(valid, RoundTrip(bytes) == bytes) << bytes;
    }
    EXPECT_EQ(shown, valid ? bytes : RoundTrip(bytes)) << bytes;
    EXPECT_TRUE(utf8::IsValid(shown)) << bytes;
  }
}

TEST(Utf8Test, NamesOfAnyBytesGoIntoAQStringAndBackUnchanged) {
  // clang-format off
  const std::string cases[] = {
      "plain",          "\xC3\x84rger",       "\xEF\xBB\xBF" "bom",   "a\xFF" "b",
      "\xFF\xEF\xBB\xBF" "x", "\xE2\x82",   "x\xC3",              "\xC0\x80\xF0\x9F\x98\x80",
      "\xED\xA0\x80",   "\x80\x80\x80",       "\xF4\x90\x80\x80",   "\xC3\xC3\x84",
  };
  // clang-format on
  for (const std::string& bytes : cases) {
    const QString name = utf8::NameFromBytes(bytes);
    EXPECT_EQ(utf8::NameToBytes(name), bytes) << bytes;
    EXPECT_EQ(utf8::ShownName(name), utf8::ToQString(bytes)) << bytes;
    EXPECT_EQ(name == utf8::ToQString(bytes), utf8::IsValid(bytes)) << bytes;
  }
  EXPECT_EQ(utf8::NameFromBytes("a\xFF!"), u"a\xDCFF!"_qs);
  // A character beyond U+FFFF whose second half lies in the escape range stays a character.
  const QString high_low = QString::fromUcs4(U"\U00010080");
  ASSERT_EQ(high_low[1].unicode(), 0xDC80);
  EXPECT_EQ(utf8::NameToBytes(high_low), utf8::FromQString(high_low));
  EXPECT_EQ(utf8::ShownName(high_low), high_low);
}

}  // namespace
}  // namespace kavoro

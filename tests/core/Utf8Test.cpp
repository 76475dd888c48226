#include <gtest/gtest.h>

#include <QString>

#include "core/listing/Utf8.h"

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

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include "core/listing/HtmlStyle.h"
#include "core/listing/HtmlText.h"

namespace kavoro {
namespace {

TEST(HtmlTextTest, EscapesMarkupAndKeepsThePageCp1252) {
  EXPECT_EQ(HtmlEscape(u"a&b <c> \"d\" Größe €"_qs), u"a&amp;b &lt;c&gt; &quot;d&quot; Größe €"_qs);
  EXPECT_EQ(HtmlEscape(u"東 😀"_qs), u"&#26481; &#128512;"_qs);
  auto unescaped = [](std::string_view html) {
    std::string out;
    AppendHtmlUnescaped(html, out);
    return out;
  };
  for (const QString& s : {u"a&b <c> \"d\""_qs, u"東 😀 ö"_qs, u"&amp; literal"_qs}) {
    EXPECT_EQ(QString::fromStdString(unescaped(HtmlEscape(s).toStdString())), s);
  }
  EXPECT_EQ(unescaped("R&B & &unknown; &#; &#55296; &#1114112; a&lt;&#1114111;"),
            "R&B & &unknown; &#; &#55296; &#1114112; a<\xF4\x8F\xBF\xBF");
  // Bytes that are not UTF-8 pass through unchanged.
  EXPECT_EQ(unescaped("\xFF&amp;\xC3"), "\xFF&\xC3");
}

TEST(HtmlStyleTest, BodyAndTableLines) {
  EXPECT_EQ(BodyLine(0, false, 4),
            u"<body bgcolor=\"#ffffff\"  link=\"black\" alink=\"black\" vlink=\"black\">"_qs);
  EXPECT_EQ(BodyLine(0, true, 4),
            u"<body bgcolor=\"navy\"  link=\"black\" alink=\"black\" vlink=\"black\">"_qs);
  EXPECT_EQ(TableLine(true, true, 4),
            u"<table border=\"0\" align=\"center\" bgcolor=\"navy\" cellspacing=\"0\">"_qs);
  EXPECT_EQ(TableLine(true, false, 4),
            u"<table border=\"0\" align=\"center\" bgcolor=\"#ffffff\" cellspacing=\"0\">"_qs);
  EXPECT_EQ(TableLine(false, true, 6),
            u"<table border=\"1\" align=\"center\" bgcolor=\"teal\" cellspacing=\"0\">"_qs);
  EXPECT_EQ(FontSizeLine(3, u""_qs), u"    font-size:pt;"_qs);
  EXPECT_EQ(FontSizeLine(2, u"14"_qs), u"    font-size:9pt;"_qs);
  EXPECT_EQ(FontFamilyLine(2), u"    font-family:Lucida Sans;"_qs);
  EXPECT_EQ(ColorName(15), u"white"_qs);
  EXPECT_EQ(ColorName(16), u"black"_qs);
}

}  // namespace
}  // namespace kavoro

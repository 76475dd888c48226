#include <gtest/gtest.h>

#include "core/listing/FileTexts.h"
#include "core/output/PageLinks.h"

namespace kavoro {
namespace {

// The link line of an entry as the HTML view holds it.
QString LinkLine(const QString& path) {
  return u"</td><td><a href=\""_qs + LinkTarget(path) + u"\" target=\"_blank\">"_qs;
}

QString Href(const QString& line) { return line.section(u'"', 1, 1); }

// Relative links go from the page's folder, up where they must; a base address goes before
// them; other lines and absolute links stay as they are.
TEST(PageLinksTest, LinksFollowThePage) {
  const QStringList lines = {u"<tr><td align=\"right\">"_qs, LinkLine(u"/m/Rock/a b#1.mp3"_qs),
                             LinkLine(u"/m/Ärger & Co.mp3"_qs), LinkLine(u"/x/y/z.mp3"_qs),
                             LinkLine(u"/m/a:b.mp3"_qs)};
  const QStringList relative = WithLinks(lines, *ReadLinkForm(u"rel"_qs), u"/m/liste.htm"_qs);
  EXPECT_EQ(relative[0], lines[0]);
  EXPECT_EQ(Href(relative[1]), u"Rock/a%20b%231.mp3"_qs);
  EXPECT_EQ(Href(relative[2]), u"%C3%84rger%20&amp;%20Co.mp3"_qs);
  EXPECT_EQ(Href(relative[3]), u"../x/y/z.mp3"_qs);
  EXPECT_EQ(Href(relative[4]), u"./a:b.mp3"_qs);
  EXPECT_EQ(Href(WithLinks(lines, *ReadLinkForm(u"rel"_qs), u"/m/Rock/l.htm"_qs)[1]),
            u"a%20b%231.mp3"_qs);

  const auto base = ReadLinkForm(u"https://example.org/Meine \"Musik\""_qs);
  ASSERT_TRUE(base);
  const QStringList based = WithLinks(lines, *base, u"/m/l.htm"_qs);
  EXPECT_EQ(Href(based[1]), u"https://example.org/Meine%20%22Musik%22/Rock/a%20b%231.mp3"_qs);
  EXPECT_EQ(WithLinks(lines, *ReadLinkForm(u"abs"_qs), u"/m/l.htm"_qs), lines);
  EXPECT_FALSE(ReadLinkForm(u"musik/"_qs));
  EXPECT_FALSE(ReadLinkForm(u"relative"_qs));
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/app/HelpLinks.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

TEST(HelpLinksTest, HelpOpensThePageBesideTheProgramOrFallsBackToTheWeb) {
  QTemporaryDir dir;
  const QString program_dir = dir.path() + u'/';
  EXPECT_EQ(HelpTarget(program_dir, UiLanguage::German),
            QUrl(QLatin1String(address::kProductHomepage)));
  EXPECT_EQ(HelpTarget(program_dir, UiLanguage::English),
            QUrl(QLatin1String(address::kEnglishHelp)));
  // Each language looks only for its own page.
  test::WriteBytes(program_dir + u"hilfe.htm"_qs, "<html>");
  EXPECT_EQ(HelpTarget(program_dir, UiLanguage::German),
            QUrl::fromLocalFile(program_dir + u"hilfe.htm"_qs));
  EXPECT_EQ(HelpTarget(program_dir, UiLanguage::English),
            QUrl(QLatin1String(address::kEnglishHelp)));
  test::WriteBytes(program_dir + u"help.htm"_qs, "<html>");
  EXPECT_EQ(HelpTarget(program_dir, UiLanguage::English),
            QUrl::fromLocalFile(program_dir + u"help.htm"_qs));
}

TEST(HelpLinksTest, ShippedHelpPagesAreUtf8Html) {
  for (const char* name : {"hilfe.htm", "help.htm"}) {
    const QByteArray page = test::ShippedFile(name);
    EXPECT_TRUE(page.contains("<meta charset=\"utf-8\">")) << name;
    EXPECT_TRUE(page.contains("Kavoro 2.2")) << name;
    EXPECT_TRUE(page.trimmed().endsWith("</html>")) << name;
  }
}

TEST(VersionHistoryTest, NewestFirstWithTheExactHeadingsAndNewestBlock) {
  const QStringList& lines = VersionHistory();
  const QStringList newest = {u"Version 2.2 erschien am 14.05.2004"_qs,
                              u" - Es können jetzt mehrere einzelne Ordner "_qs,
                              u"   durchsucht werden (besonders praktisch "_qs,
                              u"   für Suche im Netzwerk)"_qs,
                              u" - Ordner können jetzt auch aktualisiert, kopiert, "_qs,
                              u"   umbenannt, gelöscht.... werden"_qs,
                              u" - Neue Links"_qs};
  EXPECT_EQ(lines.mid(0, newest.size()), newest);
  QStringList headings;
  for (int i = 0; i < lines.size(); ++i) {
    if (!lines[i].startsWith(u"Version "_qs)) {
      // Inside a block every line is a change or its continuation.
      EXPECT_TRUE(lines[i].trimmed().isEmpty() || lines[i].startsWith(u" - "_qs) ||
                  lines[i].startsWith(u"   "_qs))
          << lines[i].toStdString();
      continue;
    }
    headings.append(lines[i]);
    // Blocks are separated by a blank line.
    if (i > 0) {
      EXPECT_TRUE(lines[i - 1].trimmed().isEmpty()) << lines[i].toStdString();
    }
  }
  EXPECT_EQ(
      headings,
      QStringList(
          {u"Version 2.2 erschien am 14.05.2004"_qs,
           u"Version 2.1 fertig am 19.04.2004 aber nie erschienen"_qs,
           u"Version 2.0 erschien am 15.03.2004 "_qs, u"Version 1.6 erschien am 16.02.2004 "_qs,
           u"Version 1.5.1 erschien am 05.01.2004"_qs, u"Version 1.5 erschien am 07.12.2003"_qs,
           u"Version 1.4 erschien am 12.11.2003"_qs, u"Version 1.3 erschien am 18.10.2003"_qs,
           u"Version 1.2 erschien am 12.09.2003"_qs, u"Version 1.1 erschien am 14.08.2003"_qs,
           u"Version 1.0 erschien am 30.07.2003"_qs}));
  EXPECT_EQ(lines.last(), headings.last());  // 1.0 has no change lines
  EXPECT_TRUE(lines.contains(u"        "_qs));
  EXPECT_TRUE(lines.contains(u" "_qs));
}

}  // namespace
}  // namespace kavoro

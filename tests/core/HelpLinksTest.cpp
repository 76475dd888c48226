#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "core/app/HelpLinks.h"
#include "core/i18n/LanguageTables.h"
#include "core/listing/HtmlText.h"
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

// Every caption the window can show in a language, as a help page writes it: without the
// padding blanks of tab captions, and the subfolder menu entry with "…" for the folder's name.
QSet<QString> WindowCaptions(UiLanguage language) {
  QSet<QString> captions = {QString::fromUtf16(kLanguageMenuCaption), u"Deutsch"_qs, u"English"_qs};
  for (const Caption& c : CaptionTable()) {
    captions.insert((language == UiLanguage::German ? c.german : c.english).trimmed());
  }
  const MessageSlots& m = MessageSlotsFor(language);
  captions.insert(m.menuSubfoldersHead + u" \"…\""_qs + m.menuSubfoldersTail);
  return captions;
}

TEST(HelpPagesTest, EveryCaptionAPageNamesIsOneTheWindowShows) {
  struct Page {
    const char* name;
    UiLanguage language;
    QRegularExpression quoted;
  };
  const Page pages[] = {{"hilfe.htm", UiLanguage::German, QRegularExpression(u"„([^“]*)“"_qs)},
                        {"help.htm", UiLanguage::English, QRegularExpression(u"\"([^\"]*)\""_qs)}};
  // Quoted texts that are no captions: the name a copy gets, and a character.
  const QSet<QString> not_captions = {u"Kopie von …"_qs, u"/"_qs};
  const QRegularExpression marked(u"<span class=\"ui\">(.*?)</span>"_qs);
  for (const Page& page : pages) {
    SCOPED_TRACE(page.name);
    QString html = QString::fromUtf8(test::ShippedFile(page.name));
    // A line break in the source reads as a blank.
    html = html.mid(html.indexOf(u"<body>"_qs)).replace(u'\n', u' ');
    const QSet<QString> captions = WindowCaptions(page.language);
    int count = 0;
    for (const auto& match : marked.globalMatch(html)) {
      const QString caption = HtmlUnescape(match.captured(1));
      EXPECT_TRUE(captions.contains(caption)) << caption.toStdString();
      ++count;
    }
    EXPECT_GE(count, 25);
    // Every quoted text of the page is made of marked captions, so none escapes the check.
    QString text = html;
    text.replace(marked, u"\x01"_qs).remove(QRegularExpression(u"<[^>]*>"_qs));
    for (const auto& match : page.quoted.globalMatch(text)) {
      const QString quoted = HtmlUnescape(match.captured(1));
      if (not_captions.contains(quoted)) continue;
      EXPECT_TRUE(QRegularExpression(u"^\x01( → \x01)*$"_qs).match(quoted).hasMatch())
          << "not marked: " << quoted.toStdString();
    }
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

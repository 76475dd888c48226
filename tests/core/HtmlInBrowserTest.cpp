#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include "core/app/AppState.h"
#include "core/listing/Entering.h"
#include "core/listing/HtmlText.h"
#include "core/output/Export.h"
#include "core/text/Utf8.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// An entry with a link to the file at `path`, through entering's own writer.
void AddLinkedEntry(ListingDocument& doc, const QString& path) {
  const std::string name = utf8::FromQString(QFileInfo(path).fileName());
  const std::string target = utf8::FromQString(LinkTarget(path));
  EntryCells cells;
  cells.name = name;
  cells.link_target = target;
  AppendEntry(doc, cells);
}

// The page at `url` as a real browser parses it: headless Chromium's dump of the document.
QString DumpDom(const QString& url, const QString& profile, QString* problem) {
  const QString chromium = QStandardPaths::findExecutable(u"chromium"_qs);
  if (chromium.isEmpty()) {
    *problem = u"chromium is not installed (scripts/setup.sh installs it)"_qs;
    return {};
  }
  QProcess browser;
  browser.start(chromium, {u"--headless"_qs, u"--no-sandbox"_qs, u"--disable-gpu"_qs,
                           u"--disable-background-networking"_qs, u"--no-first-run"_qs,
                           u"--user-data-dir="_qs + profile, u"--dump-dom"_qs, url});
  if (!browser.waitForFinished(120000) || browser.exitCode() != 0) {
    *problem = u"chromium failed: "_qs + QString::fromLocal8Bit(browser.readAllStandardError());
    browser.kill();
    return {};
  }
  return QString::fromUtf8(browser.readAllStandardOutput());
}

// The listing exported as liste.htm into `out` and loaded by the browser; the export is
// `page`, and an empty result says in `problem` what went wrong.
QString ExportedDom(const ListingDocument& doc, const QTemporaryDir& out, QString& page,
                    QString* problem) {
  page = out.filePath(u"liste.htm"_qs);
  if (!ExportHtml(doc, page, problem)) return {};
  return DumpDom(QUrl::fromLocalFile(page).toString(), out.filePath(u"profile"_qs), problem);
}

TEST(HtmlInBrowserTest, ExportedPageShowsNamesAsTextAndLinksToTheFiles) {
  test::ProgramDir program;
  AppState state(program.Path());
  ASSERT_EQ(CheckConfiguration(state), StartupCheck::Ok);
  ASSERT_EQ(ApplyOptionsAtStart(state), std::nullopt);
  QTemporaryDir files;
  const QStringList names = {u"a <b> & Größe #1 %20?.txt"_qs, u"Ärger.mp3"_qs, u"東京 x.txt"_qs};
  QStringList paths;
  for (const QString& name : names) {
    paths.append(files.filePath(name));
    test::WriteBytes(paths.last(), "x");
    ASSERT_TRUE(QFileInfo::exists(paths.last()));
    AddLinkedEntry(state.doc, paths.last());
  }
  QTemporaryDir out;
  QString page;
  QString problem;
  const QString dom = ExportedDom(state.doc, out, page, &problem);
  ASSERT_FALSE(dom.isEmpty()) << problem.toStdString();

  EXPECT_EQ(dom.count(u"<tr>"_qs), 1 + names.size()) << dom.toStdString();
  // Names are text (escaped again by the serializer, no element made of them), each on its
  // own line of the view.
  EXPECT_TRUE(dom.contains(u">\na &lt;b&gt; &amp; Größe #1 %20?.txt\n</a>"_qs))
      << dom.toStdString();
  EXPECT_TRUE(dom.contains(u">\nÄrger.mp3\n</a>"_qs));
  EXPECT_TRUE(dom.contains(u">\n東京 x.txt\n</a>"_qs));
  EXPECT_FALSE(dom.contains(u"<b>"_qs));
  EXPECT_TRUE(dom.contains(u"<td>Datei</td>"_qs));

  // Every link target, as the browser holds it, names one of the files.
  const QRegularExpression href(u"href=\"([^\"]*)\""_qs);
  QStringList targets;
  for (const QRegularExpressionMatch& m : href.globalMatch(dom)) {
    std::string target;
    AppendHtmlUnescaped(m.captured(1).toStdString(), target);
    const QUrl url = QUrl::fromLocalFile(page).resolved(QUrl(QString::fromStdString(target)));
    targets.append(url.toLocalFile());
    EXPECT_TRUE(QFileInfo::exists(targets.last())) << targets.last().toStdString();
  }
  EXPECT_EQ(targets, paths);
}

TEST(HtmlInBrowserTest, ALinkToANameThatIsNotUtf8OpensTheRealFile) {
  test::ProgramDir program;
  AppState state(program.Path());
  ASSERT_EQ(CheckConfiguration(state), StartupCheck::Ok);
  ASSERT_EQ(ApplyOptionsAtStart(state), std::nullopt);
  QTemporaryDir files;
  const QByteArray bad = QFile::encodeName(files.path()) + "/bad\xFF.txt";
  {
    const int fd = ::open(bad.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "Inhalt der Datei\n", 17), 17);
    ::close(fd);
  }
  // Entered as the window enters a folder's files, with whole paths and links.
  EntryOptions options;
  options.whole_path = true;
  options.link = true;
  FoundFiles entries;
  ASSERT_TRUE(CollectEntries(files.path(), false, SearchSelection{{}, true, {}, {}, false}, options,
                             entries));
  EntryTexts texts;
  AppendEntries(state.doc, entries, options, texts);
  QTemporaryDir out;
  QString page;
  QString problem;
  const QString dom = ExportedDom(state.doc, out, page, &problem);
  ASSERT_FALSE(dom.isEmpty()) << problem.toStdString();
  EXPECT_TRUE(dom.contains(u"bad\uFFFD.txt"_qs)) << dom.toStdString();
  const QRegularExpressionMatch link = QRegularExpression(u"href=\"([^\"]*)\""_qs).match(dom);
  ASSERT_TRUE(link.hasMatch());
  const QString target = HtmlUnescape(link.captured(1));
  EXPECT_TRUE(target.endsWith(u"/bad%FF.txt"_qs)) << target.toStdString();
  // The browser follows the link to the file itself.
  const QString opened = DumpDom(target, out.filePath(u"profile"_qs), &problem);
  EXPECT_TRUE(opened.contains(u"Inhalt der Datei"_qs)) << (opened + problem).toStdString();
  test::RemoveTree(files.path());
}

}  // namespace
}  // namespace kavoro

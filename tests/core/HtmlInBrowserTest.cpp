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
#include "core/listing/ListingHeaders.h"
#include "core/output/Export.h"
#include "core/output/PageLinks.h"
#include "core/text/Utf8.h"
#include "support/Entries.h"
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

// The program as started, with the shipped options: its listing takes the entries.
struct StartedProgram {
  StartedProgram() {
    EXPECT_EQ(CheckConfiguration(state), StartupCheck::Ok);
    EXPECT_EQ(ApplyOptionsAtStart(state), std::nullopt);
  }
  test::ProgramDir dir;
  AppState state{dir.Path()};
};

TEST(HtmlInBrowserTest, ExportedPageShowsNamesAsTextAndLinksToTheFiles) {
  StartedProgram program;
  AppState& state = program.state;
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

// A page with links relative to it is copied together with the files (to a disc, a share):
// in the browser its links still find them.
TEST(HtmlInBrowserTest, RelativeLinksTravelWithThePage) {
  StartedProgram program;
  AppState& state = program.state;
  QTemporaryDir root;
  const QString disc = root.filePath(u"disc"_qs);
  const QStringList names = {u"Musik/a <b> & Größe #1 %20?.mp3"_qs, u"Musik/Ärger:1.mp3"_qs,
                             u"Bilder/東京.jpg"_qs};
  for (const QString& name : names) {
    const QString path = disc + u'/' + name;
    QDir().mkpath(QFileInfo(path).path());
    test::WriteBytes(path, "x");
    AddLinkedEntry(state.doc, path);
  }
  QString problem;
  QDir().mkpath(disc + u"/Listen"_qs);
  ASSERT_TRUE(ExportHtml(state.doc, disc + u"/Listen/liste.htm"_qs, &problem, std::nullopt, {},
                         *ReadLinkForm(u"rel"_qs)))
      << problem.toStdString();
  const QString copy = root.filePath(u"copy"_qs);
  ASSERT_TRUE(QDir().rename(disc, copy));
  const QString page = copy + u"/Listen/liste.htm"_qs;
  const QString dom =
      DumpDom(QUrl::fromLocalFile(page).toString(), root.filePath(u"profile"_qs), &problem);
  ASSERT_FALSE(dom.isEmpty()) << problem.toStdString();
  QStringList targets;
  for (const QRegularExpressionMatch& m :
       QRegularExpression(u"href=\"([^\"]*)\""_qs).globalMatch(dom)) {
    EXPECT_TRUE(m.captured(1).startsWith(u"../"_qs)) << m.captured(1).toStdString();
    targets.append(
        QUrl::fromLocalFile(page).resolved(QUrl(HtmlUnescape(m.captured(1)))).toLocalFile());
  }
  QStringList expected;
  for (const QString& name : names) expected.append(copy + u'/' + name);
  EXPECT_EQ(targets, expected);
}

TEST(HtmlInBrowserTest, ALinkToANameThatIsNotUtf8OpensTheRealFile) {
  StartedProgram program;
  AppState& state = program.state;
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

// The rows of a dumped page after the header row: each row's cell texts joined by "|", and
// whether the browser shows it.
struct ShownRow {
  QString cells;
  bool shown;
};
QList<ShownRow> DataRows(const QString& dom) {
  static const QRegularExpression kRow(u"<tr([^>]*)>(.*?)</tr>"_qs,
                                       QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression kCell(u"<td[^>]*>(.*?)</td>"_qs,
                                        QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression kTag(u"<[^>]*>"_qs);
  QList<ShownRow> rows;
  for (const QRegularExpressionMatch& row : kRow.globalMatch(dom)) {
    if (row.captured(1).contains(u"kv-head"_qs)) continue;
    QStringList cells;
    for (const QRegularExpressionMatch& cell : kCell.globalMatch(row.captured(2))) {
      cells.append(HtmlUnescape(cell.captured(1).remove(kTag).trimmed()));
    }
    rows.append({cells.join(u'|'), !row.captured(1).contains(u"display: none"_qs)});
  }
  return rows;
}

QStringList ShownNames(const QList<ShownRow>& rows) {
  QStringList names;
  for (const ShownRow& row : rows) {
    if (row.shown) names.append(row.cells.section(u'|', 1, 1));
  }
  return names;
}

class BrowsablePageTest : public ::testing::Test {
 protected:
  // The listing exported as a browsable page and loaded with `fragment` in its address.
  QString Load(const ListingDocument& doc, const QString& fragment,
               UiLanguage language = UiLanguage::German) {
    const QString page = out_.filePath(u"liste.htm"_qs);
    QString problem;
    if (!ExportHtml(doc, page, &problem, std::nullopt, {true, language, doc.HasMedia()})) {
      return problem;
    }
    QUrl url = QUrl::fromLocalFile(page);
    url.setFragment(fragment, QUrl::DecodedMode);
    const QString dom =
        DumpDom(url.toString(QUrl::FullyEncoded), out_.filePath(u"profile"_qs), &problem);
    return dom.isEmpty() ? problem : dom;
  }
  static void Start(ListingDocument& doc, bool details, UiLanguage language) {
    BuildEmptyListing(doc);
    ApplyListingHeaders(doc, details, language, nullptr);
  }

  QTemporaryDir out_;
};

TEST_F(BrowsablePageTest, TheAddressFiltersTheRowsAndNamesStayText) {
  ListingDocument doc;
  Start(doc, false, UiLanguage::German);
  const QStringList names = {u"Lied <script>document.title='x'</script>.mp3"_qs,
                             u"Das \"LIED\" & 'Ärger'.mp3"_qs,
                             u"Ärger.txt"_qs,
                             u"<img src=x onerror=\"document.title='y'\">.mp3"_qs,
                             u"Kinderlieder.wav"_qs,
                             u"Aerger im Büro.doc"_qs,
                             u"andere.txt"_qs};
  for (const QString& name : names) test::AddEntry(doc, name);

  const QString dom = Load(doc, u"q=lied"_qs);
  const QList<ShownRow> rows = DataRows(dom);
  ASSERT_EQ(rows.size(), names.size()) << dom.toStdString();
  EXPECT_EQ(ShownNames(rows), (QStringList{names[0], names[1], names[4]})) << dom.toStdString();
  EXPECT_TRUE(dom.contains(u">3 von 7 Einträgen<"_qs)) << dom.toStdString();
  // Nothing of a name became an element or ran: one script (the page's own), no image, the
  // title as written.
  EXPECT_EQ(dom.count(u"<script"_qs), 1);
  EXPECT_FALSE(dom.contains(u"<img"_qs));
  EXPECT_TRUE(dom.contains(u"<title>Kavoro</title>"_qs));

  // Umlauts match their plain and spelled-out forms both ways.
  for (const QString& query : {u"aerger"_qs, u"arger"_qs, u"ÄRGER"_qs}) {
    EXPECT_EQ(ShownNames(DataRows(Load(doc, u"q="_qs + query))),
              (QStringList{names[1], names[2], names[5]}))
        << query.toStdString();
  }
  EXPECT_EQ(ShownNames(DataRows(Load(doc, u"q=büro"_qs))), QStringList{names[5]});
  EXPECT_EQ(ShownNames(DataRows(Load(doc, u"q=BUERO"_qs))), QStringList{names[5]});
  const QString english = Load(doc, u"q=<img"_qs, UiLanguage::English);
  EXPECT_EQ(ShownNames(DataRows(english)), QStringList{names[3]});
  EXPECT_TRUE(english.contains(u">1 of 7 entries<"_qs)) << english.toStdString();
  // Without a search every row shows.
  EXPECT_EQ(ShownNames(DataRows(Load(doc, QString()))), names);
}

TEST_F(BrowsablePageTest, ColumnsSortBySizeDateAndName) {
  ListingDocument doc;
  Start(doc, true, UiLanguage::German);
  test::AddEntry(doc, u"b.mp3"_qs, u"1.234 KB"_qs, u"MP3"_qs, u"05.12.2004 14:35"_qs);
  test::AddEntry(doc, u"a.mp3"_qs, u"999 KB"_qs, u"MP3"_qs, u"01.01.2010 00:00"_qs);
  test::AddEntry(doc, u"C.mp3"_qs, u"12.345 KB"_qs, u"MP3"_qs, u"gestern"_qs);
  test::AddEntry(doc, u"ä.mp3"_qs, u"2 KB"_qs, u"MP3"_qs, u"31.12.1999 23:59"_qs);
  test::AddEntry(doc, u"10.mp3"_qs, u"12 KB"_qs, u"MP3"_qs, u"05.12.2004 09:05"_qs);

  auto order = [&](const QString& fragment) { return ShownNames(DataRows(Load(doc, fragment))); };
  // By value, not by text ("999" before "1.234", "12" before "12.345").
  EXPECT_EQ(order(u"sort=3"_qs),
            (QStringList{u"ä.mp3"_qs, u"10.mp3"_qs, u"a.mp3"_qs, u"b.mp3"_qs, u"C.mp3"_qs}));
  EXPECT_EQ(order(u"sort=-3"_qs),
            (QStringList{u"C.mp3"_qs, u"b.mp3"_qs, u"a.mp3"_qs, u"10.mp3"_qs, u"ä.mp3"_qs}));
  // Dates by time; one the page cannot read comes after them.
  EXPECT_EQ(order(u"sort=5"_qs),
            (QStringList{u"ä.mp3"_qs, u"10.mp3"_qs, u"b.mp3"_qs, u"a.mp3"_qs, u"C.mp3"_qs}));
  // Names as text, without regard to case; the filter applies to the sorted rows.
  EXPECT_EQ(order(u"sort=2"_qs),
            (QStringList{u"10.mp3"_qs, u"a.mp3"_qs, u"ä.mp3"_qs, u"b.mp3"_qs, u"C.mp3"_qs}));
  EXPECT_EQ(order(u"q=mp3&sort=-1"_qs),
            (QStringList{u"10.mp3"_qs, u"ä.mp3"_qs, u"C.mp3"_qs, u"a.mp3"_qs, u"b.mp3"_qs}));

  // English sizes group with commas.
  ListingDocument english;
  Start(english, true, UiLanguage::English);
  test::AddEntry(english, u"x"_qs, u"1,234 KB"_qs);
  test::AddEntry(english, u"y"_qs, u"999 KB"_qs);
  EXPECT_EQ(ShownNames(DataRows(Load(english, u"sort=3"_qs, UiLanguage::English))),
            (QStringList{u"y"_qs, u"x"_qs}));
}

// Durations by their seconds, picture sizes by their pixels, dates taken by time, the tags as
// text; by their texts the first two would sort otherwise.
TEST_F(BrowsablePageTest, MediaColumnsSortByTheirValues) {
  ListingDocument doc;
  test::StartListing(doc, {false, true});
  const auto add = [&](const QString& name, const test::MediaTexts& media) {
    test::AddEntry(doc, name, {}, {}, {}, {}, media);
  };
  add(u"a"_qs, {u"1:02:03"_qs, u"Zappa"_qs, {}, {}, u"640 × 480"_qs, u"05.12.2004 14:35"_qs});
  add(u"b"_qs, {u"59:00"_qs, u"abba"_qs, {}, {}, u"1000 × 200"_qs, u"01.01.2010 00:00"_qs});
  add(u"c"_qs, {u"3:07"_qs, u"Ärzte"_qs, {}, {}, u"4000 × 3000"_qs, u"31.12.1999 23:59"_qs});
  add(u"d"_qs, {u"10:00"_qs, u"beatles"_qs});

  auto order = [&](int column) {
    return ShownNames(DataRows(Load(doc, u"sort="_qs + QString::number(column + 1))));
  };
  EXPECT_EQ(order(doc.ShownColumn(ListingData::kDuration)),
            (QStringList{u"c"_qs, u"d"_qs, u"b"_qs, u"a"_qs}));
  EXPECT_EQ(order(doc.ShownColumn(ListingData::kPixels)),
            (QStringList{u"b"_qs, u"a"_qs, u"c"_qs, u"d"_qs}));
  EXPECT_EQ(order(doc.ShownColumn(ListingData::kTaken)),
            (QStringList{u"c"_qs, u"a"_qs, u"b"_qs, u"d"_qs}));
  EXPECT_EQ(order(doc.ShownColumn(ListingData::kArtist)),
            (QStringList{u"b"_qs, u"c"_qs, u"d"_qs, u"a"_qs}));
}

}  // namespace
}  // namespace kavoro

// Sorting, renumbering and searching a listing of a million entries (not run by ctest).
// Usage: kavoro_bench_grid [entries]

#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

#include "core/app/AppState.h"
#include "core/grid/GridColumns.h"
#include "core/i18n/LanguageTables.h"
#include "core/listing/DateKey.h"
#include "core/listing/ListingDocument.h"
#include "core/output/DataExport.h"
#include "core/ports/Prompts.h"
#include "core/search/FindSession.h"

namespace {

using kavoro::ListingDocument;

// An entry as entering writes it with the detail columns: 1 text line, 1 grid row with the
// facts of its file (folder and size) and the 12 HTML lines of its table row.
void Fill(ListingDocument& doc, int entries, const QLocale& locale) {
  QRandomGenerator random(42);
  const QString format = kavoro::ListingDateFormat(locale);
  static const char* kTypes[] = {"MP3-Datei", "Textdokument", "JPEG-Bild", "PDF-Dokument", ""};
  doc.BeginUpdate();
  doc.SetColumnCount(5);
  doc.SetTextLines({u"Nr.        Datei  -  Größe  -  Typ  -  Geändert"_qs});
  for (int n = 1; n <= entries; ++n) {
    const QString number = QString::number(n);
    const QString folder = u"/home/nutzer/Musik/Ordner %1/"_qs.arg(random.bounded(5000));
    const QString name = folder + u"Lied %1 – Künstler.mp3"_qs.arg(random.bounded(1000000));
    const quint32 kb = random.bounded(5000000u);
    const QString size = (kb >= 1000 ? QString::number(kb / 1000) + u'.' +
                                           QString::number(kb % 1000).rightJustified(3, u'0')
                                     : QString::number(kb)) +
                         u" KB"_qs;
    const QString type = QLatin1String(kTypes[random.bounded(5)]);
    const QString date = locale.toString(
        QDateTime::fromSecsSinceEpoch(946684800 + random.bounded(700000000)), format);
    doc.AppendTextLine(number.rightJustified(8) + u"  "_qs + name + u"  -  "_qs + size +
                       u"  -  "_qs + type + u"  -  "_qs + date);
    const QByteArray cells[] = {number.toUtf8(), name.toUtf8(), size.toUtf8(),
                                type.toUtf8(),   date.toUtf8(), folder.toUtf8()};
    auto view = [](const QByteArray& bytes) {
      return std::string_view(bytes.constData(), std::size_t(bytes.size()));
    };
    doc.AppendRowUtf8(
        {view(cells[0]), view(cells[1]), view(cells[2]), view(cells[3]), view(cells[4])},
        {view(cells[5]), {}, std::uint64_t{kb} * 1000});
    for (const QString& line :
         {u"<tr><td align=\"right\">"_qs, number, u"</td><td>"_qs, name, u"</td><td>"_qs, size,
          u"</td><td>"_qs, type, u"</td><td>"_qs, date, u"</td>"_qs, u"</tr>"_qs}) {
      doc.AppendHtmlLine(line);
    }
  }
  doc.SetEntryCounter(entries);
  doc.EndUpdate();
}

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// Answers every "search again?" with No.
class NoPrompts : public kavoro::Prompts {
 public:
  void Inform(const QString&) override {}
  void Error(const QString&) override {}
  bool Ask(const QString&) override { return false; }
  std::optional<QString> SaveFileName(const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QString> OpenFileName(const QString&, const QString&) override {
    return std::nullopt;
  }
  std::optional<QString> FolderName(const QString&) override { return std::nullopt; }
  std::optional<QString> Text(const QString&, const QString&, const QString&) override {
    return std::nullopt;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int entries = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const QLocale locale(QLocale::German, QLocale::Germany);
  ListingDocument doc;
  QElapsedTimer timer;
  timer.start();
  Fill(doc, entries, locale);
  std::printf("%d entries: %lld text, %lld grid, %lld HTML lines, built in %.0f ms, %.0f MB\n",
              entries, static_cast<long long>(doc.Text().Count()),
              static_cast<long long>(doc.RowCount()), static_cast<long long>(doc.Html().Count()),
              Ms(timer), static_cast<double>(doc.BytesUsed()) / 1e6);

  const kavoro::DateReader dates(locale);
  kavoro::GridToolState tools;
  static const char* kNames[] = {"number", "name", "size", "type", "date"};
  // The machine is shared: each figure is the best of three.
  for (int column = 0; column < 5; ++column) {
    double best[2] = {1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
      for (int click = 0; click < 2; ++click) {
        timer.restart();
        kavoro::ClickSortColumn(doc, tools, kavoro::ListingData::ColumnId(column), dates);
        best[click] = std::min(best[click], Ms(timer));
      }
    }
    std::printf("sort by %-10s first click %6.1f ms, second click %6.1f ms\n", kNames[column],
                best[0], best[1]);
  }
  timer.restart();
  kavoro::RenumberGrid(doc, tools);
  std::printf("renumber:                 %7.1f ms\n", Ms(timer));

  timer.restart();
  const qsizetype csv = kavoro::CsvBytes(doc).size();
  std::printf("CSV:                      %7.1f ms, %.0f MB\n", Ms(timer), double(csv) / 1e6);
  timer.restart();
  const qsizetype json = kavoro::JsonBytes(doc, {}).size();
  std::printf("JSON:                     %7.1f ms, %.0f MB\n", Ms(timer), double(json) / 1e6);

  NoPrompts prompts;
  const kavoro::MessageSlots& texts = kavoro::MessageSlotsFor(kavoro::UiLanguage::German);
  struct Case {
    const char* what;
    kavoro::FindTab tab;
    bool down;
    bool match_case;
  };
  const Case cases[] = {
      {"text view down, ignoring case", kavoro::FindTab::Text, true, false},
      {"text view up, with case", kavoro::FindTab::Text, false, true},
      {"HTML view down, ignoring case", kavoro::FindTab::Html, true, false},
      {"HTML view up, ignoring case", kavoro::FindTab::Html, false, false},
      {"HTML view down, with case", kavoro::FindTab::Html, true, true},
      {"grid down, ignoring case", kavoro::FindTab::Grid, true, false},
  };
  for (const Case& c : cases) {
    double best = 1e9;
    bool found = false;
    for (int round = 0; round < 3; ++round) {
      kavoro::FindSession session;
      const auto& lines = c.tab == kavoro::FindTab::Html ? doc.Html() : doc.Text();
      kavoro::TextSelection memo{c.down ? kavoro::TextPos{} : kavoro::TextPos{lines.Count(), 0}, 0};
      timer.restart();
      found =
          session
              .Find(c.tab, {u"nicht vorhanden"_qs, c.down, c.match_case}, doc, memo, prompts, texts)
              .found;
      best = std::min(best, Ms(timer));
    }
    std::printf("search, no hit, %-31s %7.1f ms%s\n", c.what, best, found ? " (found?)" : "");
  }
  return 0;
}

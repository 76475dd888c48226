#include "core/output/ListFiles.h"

#include <QHash>
#include <deque>
#include <numeric>
#include <vector>

#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/LineFile.h"

namespace kavoro {
namespace {

// The HTML lines of the stored page as a list that entry blocks are cut out of, one after
// the other. Positions count the lines still there, as in a list whose lines are deleted.
class CuttableLines {
 public:
  explicit CuttableLines(const QStringList& lines)
      : lines_(lines), next_(lines.size() + 1), prev_(lines.size() + 1) {
    std::iota(next_.begin(), next_.end(), 0);
    std::iota(prev_.begin(), prev_.end(), 0);
  }

  // The line `steps` lines after `index` (negative: before), or -1 past either end.
  qsizetype Step(qsizetype index, int steps) {
    while (steps > 0 && index >= 0) {
      index = Alive(index + 1);
      --steps;
    }
    while (steps < 0 && index >= 0) {
      index = AliveBefore(index - 1);
      ++steps;
    }
    return index;
  }
  QString At(qsizetype index) const { return index >= 0 ? lines_[index] : QString(); }
  bool IsAlive(qsizetype index) { return Find(next_, index) == index; }

  // Deletes `count` lines starting at `first` (an existing line).
  void Cut(qsizetype first, int count) {
    qsizetype index = first;
    for (int i = 0; i < count && index >= 0; ++i) {
      const qsizetype following = Alive(index + 1);
      next_[index] = index + 1;
      prev_[index + 1] = index;  // prev_ is offset by one: slot i+1 stands for line i
      index = following;
    }
  }

 private:
  // First line at or after `index` that still exists, or -1.
  qsizetype Alive(qsizetype index) {
    if (index >= lines_.size()) return -1;
    const qsizetype found = Find(next_, index);
    return found >= lines_.size() ? -1 : found;
  }
  // Last line at or before `index` that still exists, or -1.
  qsizetype AliveBefore(qsizetype index) {
    if (index < 0) return -1;
    return Find(prev_, index + 1) - 1;
  }
  static qsizetype Find(std::vector<qsizetype>& parent, qsizetype i) {
    qsizetype root = i;
    while (parent[root] != root) root = parent[root];
    while (parent[i] != root) i = std::exchange(parent[i], root);
    return root;
  }

  const QStringList& lines_;
  std::vector<qsizetype> next_;
  std::vector<qsizetype> prev_;
};

}  // namespace

QString ListFileBaseOf(const QString& chosen) {
  const qsizetype slash = chosen.lastIndexOf(u'/');
  const qsizetype dot = chosen.lastIndexOf(u'.');
  if (dot <= slash) return chosen;
  const QStringView ext = QStringView(chosen).mid(dot);
  if (ext == u".mpl" || ext == u".mpl2" || ext == u".mpl3") return chosen.left(dot);
  return chosen;
}

bool SaveListFiles(const ListingDocument& doc, const QString& base, QString* error) {
  // All three are written completely before any old one is replaced: a list is never left
  // half old, half new.
  StagedFile files[3];
  return files[0].Write(base + u".mpl"_qs, LineFile::EncodeLines(doc.Column(1)), error) &&
         files[1].Write(base + u".mpl2"_qs, LineFile::EncodeLines(doc.Text()), error) &&
         files[2].Write(base + u".mpl3"_qs, LineFile::EncodeLines(doc.Html()), error) &&
         files[0].Commit(error) && files[1].Commit(error) && files[2].Commit(error);
}

std::optional<ListFileContents> ReadListFiles(const QString& base, QString* error) {
  ListFileContents c;
  const std::pair<const char16_t*, QStringList*> parts[] = {
      {u".mpl", &c.names}, {u".mpl2", &c.text}, {u".mpl3", &c.html}};
  for (const auto& [ext, target] : parts) {
    auto lines = LineFile::Read(base + QString::fromUtf16(ext), error);
    if (!lines) return std::nullopt;
    *target = std::move(*lines);
  }
  return c;
}

void LoadListing(ListingDocument& doc, const ListFileContents& c, UiLanguage language) {
  doc.BeginUpdate();
  doc.SetTextLines(c.text);
  doc.SetHtmlLines(c.html);
  const qsizetype rows = std::max<qsizetype>(1, c.names.size());
  // Rows left from the previous listing must not keep its cells.
  doc.ClearGridBody();
  doc.SetRowCount(rows);
  if (c.html.value(html_line::kHeaderRow) ==
          HeadersFor(UiLanguage::German, true, UmlautForm::Entities).html_row &&
      doc.ColumnCount() != 5) {
    doc.SetColumnCount(5);
    const HeaderTexts headers = HeadersFor(language, true, UmlautForm::Plain);
    for (int col = 2; col < 5; ++col) doc.SetCell(col, 0, headers.grid_cells[col]);
    doc.SetColumnWidth(2, 80);
    doc.SetColumnWidth(3, 190);
    doc.SetColumnWidth(4, 120);
  }
  if (!c.names.value(0).isEmpty()) {
    // Where each name stands among the entry lines (after the template), first one first.
    QHash<QString, std::deque<qsizetype>> where;
    for (qsizetype k = html_line::kHeaderRow; k < c.html.size(); ++k) where[c.html[k]].push_back(k);
    CuttableLines html(c.html);
    const bool five = doc.ColumnCount() == 5;
    auto take = [&](const QString& key) -> qsizetype {
      auto it = where.find(key);
      if (it == where.end()) return -1;
      while (!it->empty() && !html.IsAlive(it->front())) it->pop_front();
      return it->empty() ? -1 : it->front();
    };
    for (qsizetype r = 1; r < rows; ++r) {
      const QString& name = c.names[r];
      doc.SetCell(0, r, QString::number(r));
      doc.SetCell(1, r, name);
      qsizetype k = take(name);
      const qsizetype escaped = take(HtmlEscape(name));
      if (escaped >= 0 && (k < 0 || escaped < k)) k = escaped;
      if (k < 0) continue;  // no block of its own: size, type and date stay empty
      if (five) {
        for (int col = 2; col < 5; ++col) {
          doc.SetCell(col, r, HtmlUnescape(html.At(html.Step(k, 2 * (col - 1)))));
        }
      }
      const qsizetype first = html.Step(k, -3);
      html.Cut(first >= 0 ? first : k, five ? 12 : 6);
    }
  }
  doc.SetEntryCounter(std::max<int>(0, int(c.text.size()) - 1));
  doc.EndUpdate();
}

}  // namespace kavoro

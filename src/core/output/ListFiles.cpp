#include "core/output/ListFiles.h"

#include <deque>
#include <numeric>
#include <string>
#include <unordered_map>
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
  explicit CuttableLines(const LineList& lines)
      : lines_(lines), next_(lines.Count() + 1), prev_(lines.Count() + 1) {
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
  std::string_view At(qsizetype index) const {
    return index >= 0 ? lines_.Utf8At(index) : std::string_view();
  }
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
    if (index >= lines_.Count()) return -1;
    const qsizetype found = Find(next_, index);
    return found >= lines_.Count() ? -1 : found;
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

  const LineList& lines_;
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
  LineList names;
  for (qsizetype row = 0; row < doc.RowCount(); ++row) names.AppendUtf8(doc.CellUtf8(1, row));
  // All three are written completely before any old one is replaced: a list is never left
  // half old, half new. A list kept in UTF-8 stays UTF-8.
  const std::pair<QString, const LineList*> parts[] = {{base + u".mpl"_qs, &names},
                                                       {base + u".mpl2"_qs, &doc.Text()},
                                                       {base + u".mpl3"_qs, &doc.Html()}};
  StagedFile files[3];
  for (int i = 0; i < 3; ++i) {
    const auto& [path, lines] = parts[i];
    if (!files[i].Write(path, LineFile::EncodeLines(*lines, LineFile::IsUtf8File(path)), error)) {
      return false;
    }
  }
  return files[0].Commit(error) && files[1].Commit(error) && files[2].Commit(error);
}

std::optional<ListFileContents> ReadListFiles(const QString& base, QString* error) {
  ListFileContents c;
  const std::pair<const char16_t*, LineList*> parts[] = {
      {u".mpl", &c.names}, {u".mpl2", &c.text}, {u".mpl3", &c.html}};
  for (const auto& [ext, target] : parts) {
    auto lines = LineFile::ReadLines(base + QString::fromUtf16(ext), error);
    if (!lines) return std::nullopt;
    *target = std::move(*lines);
  }
  return c;
}

void LoadListing(ListingDocument& doc, ListFileContents c, UiLanguage language) {
  doc.BeginUpdate();
  // Rows left from the previous listing must not keep its cells.
  doc.ClearGridBody();
  if (c.html.Count() > html_line::kHeaderRow &&
      c.html.At(html_line::kHeaderRow) ==
          HeadersFor(UiLanguage::German, true, UmlautForm::Entities).html_row &&
      doc.ColumnCount() != 5) {
    doc.SetColumnCount(5);
    const HeaderTexts headers = HeadersFor(language, true, UmlautForm::Plain);
    for (int col = 2; col < 5; ++col) doc.SetCell(col, 0, headers.grid_cells[col]);
    doc.SetColumnWidth(2, 80);
    doc.SetColumnWidth(3, 190);
    doc.SetColumnWidth(4, 120);
  }
  const bool five = doc.ColumnCount() == 5;
  if (c.names.Count() > 0 && !c.names.Utf8At(0).empty()) {
    // Where each name stands among the entry lines (after the template), first one first.
    std::unordered_map<std::string_view, std::deque<qsizetype>> where;
    for (qsizetype k = html_line::kHeaderRow; k < c.html.Count(); ++k) {
      where[c.html.Utf8At(k)].push_back(k);
    }
    CuttableLines html(c.html);
    auto take = [&](std::string_view key) -> qsizetype {
      auto it = where.find(key);
      if (it == where.end()) return -1;
      while (!it->second.empty() && !html.IsAlive(it->second.front())) it->second.pop_front();
      return it->second.empty() ? -1 : it->second.front();
    };
    std::string escaped;
    std::string number;
    std::string details[3];
    for (qsizetype r = 1; r < c.names.Count(); ++r) {
      const std::string_view name = c.names.Utf8At(r);
      number = std::to_string(r);
      escaped.clear();
      AppendHtmlEscaped(name, escaped);
      qsizetype k = take(name);
      const qsizetype k_escaped = take(escaped);
      if (k_escaped >= 0 && (k < 0 || k_escaped < k)) k = k_escaped;
      for (std::string& detail : details) detail.clear();
      if (k >= 0) {
        if (five) {
          for (int i = 0; i < 3; ++i) {
            AppendHtmlUnescaped(html.At(html.Step(k, 2 * (i + 1))), details[i]);
          }
        }
        const qsizetype first = html.Step(k, -3);
        html.Cut(first >= 0 ? first : k, five ? 12 : 6);
      }
      // A name without a block of its own gets empty size, type and date.
      doc.AppendRowUtf8({number, name, details[0], details[1], details[2]});
    }
  } else {
    doc.SetRowCount(std::max<qsizetype>(1, c.names.Count()));
  }
  doc.SetEntryCounter(std::max<int>(0, int(c.text.Count()) - 1));
  doc.SetTextLines(std::move(c.text));
  doc.SetHtmlLines(std::move(c.html));
  doc.EndUpdate();
}

}  // namespace kavoro

#include "core/output/ListFiles.h"

#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/LineFile.h"

namespace kavoro {
namespace {

// The fixed lines of an entry block in the HTML view (the link forms of the name's
// surroundings begin or end like the plain ones).
constexpr std::string_view kRowStart = "<tr><td align=\"right\">";
constexpr std::string_view kCellBreak = "</td><td>";
constexpr std::string_view kRowEnd = "</tr>";
constexpr int kShortBlock = 6;
constexpr int kDetailBlock = 12;

// One entry's block: the index of its first line and whether it holds size, type and date.
struct EntryBlock {
  qsizetype first;
  bool details;
  qsizetype NameLine() const { return first + 3; }
  qsizetype DetailLine(int i) const { return first + 5 + 2 * i; }
};

// The entry blocks of the HTML view from line `first` on, told apart by their fixed lines
// alone: a name, size or type that reads like a number or a fixed line cannot shift them.
// Stops at the first line that does not fit; `end` is then its index.
std::vector<EntryBlock> ReadEntryBlocks(const LineList& html, qsizetype first, qsizetype* end) {
  std::vector<EntryBlock> blocks;
  const qsizetype count = html.Count();
  auto is = [&](qsizetype i, std::string_view text) { return i < count && html.Utf8At(i) == text; };
  qsizetype b = first;
  while (b < count) {
    if (!is(b, kRowStart) || b + 4 >= count || !html.Utf8At(b + 2).starts_with(kCellBreak)) break;
    const std::string_view after_name = html.Utf8At(b + 4);
    if (after_name == "</td>" || after_name == "</a></td>") {
      if (!is(b + 5, kRowEnd)) break;
      blocks.push_back({b, false});
      b += kShortBlock;
    } else if (after_name == kCellBreak || after_name == "</a></td><td>") {
      if (!is(b + 6, kCellBreak) || !is(b + 8, kCellBreak) || !is(b + 10, "</td>") ||
          !is(b + 11, kRowEnd)) {
        break;
      }
      blocks.push_back({b, true});
      b += kDetailBlock;
    } else {
      break;
    }
  }
  if (end) *end = b;
  return blocks;
}

// The number of cells of a table row written on one line.
qsizetype CellsOf(std::string_view row) {
  qsizetype cells = 0;
  for (std::size_t at = row.find("<td"); at != std::string_view::npos;
       at = row.find("<td", at + 3)) {
    ++cells;
  }
  return cells;
}

// Hands out each block once, to the first row whose name it carries (as written by the
// program, escaped, or as older lists hold it, plain).
class BlocksByName {
 public:
  BlocksByName(const LineList& html, const std::vector<EntryBlock>& blocks)
      : taken_(blocks.size()) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      by_name_[html.Utf8At(blocks[i].NameLine())].push_back(i);
    }
  }

  // The block of `name`, or -1 when none is left.
  std::ptrdiff_t Take(std::string_view name) {
    escaped_.clear();
    AppendHtmlEscaped(name, escaped_);
    const std::ptrdiff_t plain = First(name);
    const std::ptrdiff_t escaped = First(escaped_);
    const std::ptrdiff_t found = plain < 0 || (escaped >= 0 && escaped < plain) ? escaped : plain;
    if (found >= 0) taken_[std::size_t(found)] = true;
    return found;
  }

 private:
  std::ptrdiff_t First(std::string_view key) {
    const auto it = by_name_.find(key);
    if (it == by_name_.end()) return -1;
    std::deque<std::size_t>& queue = it->second;
    while (!queue.empty() && taken_[queue.front()]) queue.pop_front();
    return queue.empty() ? -1 : std::ptrdiff_t(queue.front());
  }

  std::unordered_map<std::string_view, std::deque<std::size_t>> by_name_;
  std::vector<bool> taken_;
  std::string escaped_;
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
  // The list's own column form: its header row's cells, or without a header row (a listing
  // made anew while the grid kept five columns) its first entry's block.
  const std::string_view header = c.html.Count() > html_line::kHeaderRow
                                      ? c.html.Utf8At(html_line::kHeaderRow)
                                      : std::string_view();
  const bool has_header = header.starts_with(kRowStart) && header != kRowStart;
  const std::vector<EntryBlock> blocks =
      ReadEntryBlocks(c.html, html_line::kHeaderRow + (has_header ? 1 : 0), nullptr);
  const bool five = has_header ? CellsOf(header) == 5 : !blocks.empty() && blocks[0].details;
  if (five && doc.ColumnCount() != 5) SetDetailColumnWidths(doc);
  doc.SetColumnCount(five ? 5 : 2);
  const HeaderTexts headers = HeadersFor(language, five, UmlautForm::Plain);
  for (int col = 0; col < int(headers.grid_cells.size()); ++col) {
    doc.SetCell(col, 0, headers.grid_cells[col]);
  }
  if (c.names.Count() > 0 && !c.names.Utf8At(0).empty()) {
    BlocksByName by_name(c.html, blocks);
    std::string number;
    std::string details[3];
    for (qsizetype r = 1; r < c.names.Count(); ++r) {
      const std::string_view name = c.names.Utf8At(r);
      number = std::to_string(r);
      for (std::string& detail : details) detail.clear();
      // A name without a block of its own gets empty size, type and date.
      const std::ptrdiff_t block = by_name.Take(name);
      if (five && block >= 0 && blocks[std::size_t(block)].details) {
        for (int i = 0; i < 3; ++i) {
          AppendHtmlUnescaped(c.html.Utf8At(blocks[std::size_t(block)].DetailLine(i)), details[i]);
        }
      }
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

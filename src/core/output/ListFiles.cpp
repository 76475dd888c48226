#include "core/output/ListFiles.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/listing/HtmlText.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

// The fixed lines of an entry block in the HTML view (the link forms of the name's
// surroundings begin or end like the plain ones).
constexpr std::string_view kRowStart = "<tr><td align=\"right\">";
constexpr std::string_view kCellBreak = "</td><td>";
constexpr std::string_view kRowEnd = "</tr>";

// The form of a row with `cells` cells after number and name: none, the details, the media
// cells or both; nothing for any other count.
std::optional<ColumnForm> FormOfCells(qsizetype cells) {
  switch (cells) {
    case 0:
      return ColumnForm(false, false);
    case 3:
      return ColumnForm(true, false);
    case ListingData::kMediaColumns:
      return ColumnForm(false, true);
    case 3 + ListingData::kMediaColumns:
      return ColumnForm(true, true);
    default:
      return std::nullopt;
  }
}

// The entry blocks of the HTML view from line `first` on, told apart by their fixed lines
// alone: the name and cell texts in between are never looked at, so one that reads like a
// number or a fixed line cannot shift them. Stops at the first block that does not fit;
// `end` is then the index of its first line.
std::vector<EntryBlock> ReadEntryBlocks(const LineList& html, qsizetype first, qsizetype& end) {
  std::vector<EntryBlock> blocks;
  const qsizetype count = html.Count();
  auto is = [&](qsizetype i, std::string_view text) { return i < count && html.Utf8At(i) == text; };
  qsizetype b = first;
  while (b < count) {
    if (!is(b, kRowStart) || b + 4 >= count || !html.Utf8At(b + 2).starts_with(kCellBreak)) break;
    // After the name (which may close its link) and after each cell: a break before the next
    // cell, or the end of the last one.
    const std::string_view after_name = html.Utf8At(b + 4);
    qsizetype cells = 0;
    if (after_name == kCellBreak || after_name == "</a></td><td>") {
      do {
        ++cells;
      } while (is(b + 4 + 2 * cells, kCellBreak));
      if (!is(b + 4 + 2 * cells, "</td>")) break;
    } else if (after_name != "</td>" && after_name != "</a></td>") {
      break;
    }
    const std::optional<ColumnForm> form = FormOfCells(cells);
    if (!form || !is(b + 5 + 2 * cells, kRowEnd)) break;
    blocks.push_back({b, *form});
    b += 6 + 2 * cells;
  }
  end = b;
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
// program, escaped, or as older lists hold it, plain). Rows and blocks of a list that was not
// sorted after entering go in step; only once they do not is every name looked up.
class BlocksByName {
 public:
  BlocksByName(const LineList& html, const std::vector<EntryBlock>& blocks)
      : html_(html), blocks_(blocks), taken_(blocks.size()) {}

  // The block of row `row`'s `name`, or -1 when none is left.
  std::ptrdiff_t Take(qsizetype row, std::string_view name) {
    escaped_.clear();
    AppendHtmlEscaped(name, escaped_);
    // In step, every block before the row's own is taken, so its own is the first left.
    const std::size_t own = std::size_t(row - 1);
    if (in_step_ && own < blocks_.size()) {
      const std::string_view line = html_.Utf8At(blocks_[own].NameLine());
      if (line == escaped_ || line == name) {
        taken_[own] = true;
        return std::ptrdiff_t(own);
      }
    }
    if (in_step_) Index();
    const std::ptrdiff_t plain = First(name);
    const std::ptrdiff_t escaped = First(escaped_);
    const std::ptrdiff_t found = plain < 0 || (escaped >= 0 && escaped < plain) ? escaped : plain;
    if (found >= 0) taken_[std::size_t(found)] = true;
    return found;
  }

 private:
  static constexpr std::size_t kNone = std::size_t(-1);

  void Index() {
    in_step_ = false;
    next_.assign(blocks_.size(), kNone);
    first_.reserve(blocks_.size());
    for (std::size_t i = blocks_.size(); i-- > 0;) {
      auto [it, added] = first_.try_emplace(html_.Utf8At(blocks_[i].NameLine()), i);
      if (!added) next_[i] = std::exchange(it->second, i);
    }
  }

  std::ptrdiff_t First(std::string_view key) {
    const auto it = first_.find(key);
    if (it == first_.end()) return -1;
    std::size_t& block = it->second;
    while (block != kNone && taken_[block]) block = next_[block];
    return block == kNone ? -1 : std::ptrdiff_t(block);
  }

  const LineList& html_;
  const std::vector<EntryBlock>& blocks_;
  bool in_step_ = true;
  // Per name its first block not handed out yet; each block links to the next of its name.
  std::unordered_map<std::string_view, std::size_t> first_;
  std::vector<std::size_t> next_;
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

std::optional<ListFileContents> ReadListFiles(const QString& base, const MessageSlots& m,
                                              QString* error, bool keep_text_view) {
  ListFileContents c;
  const QString names_file = base + u".mpl"_qs;
  const QString text_file = base + u".mpl2"_qs;
  const QString html_file = base + u".mpl3"_qs;
  qsizetype text_lines = 0;
  const std::pair<QString, LineList*> parts[] = {
      {names_file, &c.names}, {text_file, &c.text}, {html_file, &c.html}};
  for (const auto& [path, target] : parts) {
    // The text view is only counted when it is not kept; its header line stays.
    const bool count_only = target == &c.text && !keep_text_view;
    auto lines = LineFile::ReadLines(path, error, count_only ? 1 : -1,
                                     target == &c.text ? &text_lines : nullptr);
    if (!lines) return std::nullopt;
    *target = std::move(*lines);
  }
  auto refuse = [&](const QString& file, const QString& problem) {
    if (error) *error = m.msgListRefused + u'\n' + file + u'\n' + problem;
    return std::nullopt;
  };
  // Without its header cell the name file cannot be read as a list of names.
  if (c.names.Count() == 0 || c.names.Utf8At(0).empty()) {
    return refuse(names_file, m.msgListEmptyLine.arg(1));
  }
  const LineList& html = c.html;
  if (html.Count() < html_line::kTemplateLines || html.Utf8At(0) != "<html>" ||
      !html.Utf8At(html_line::kTable).starts_with("<table")) {
    return refuse(html_file, m.msgListNoTemplate);
  }
  // The header row, or without one (a listing made anew while the grid kept five columns)
  // the first entry's block right after the template.
  const std::string_view header =
      html.Count() > html_line::kHeaderRow ? html.Utf8At(html_line::kHeaderRow) : kRowStart;
  const bool has_header = header != kRowStart;
  if (has_header && (!header.starts_with(kRowStart) || !header.ends_with(kRowEnd))) {
    return refuse(html_file, m.msgListNoHeaderRow);
  }
  // A header row of any other width (edited by hand) shows the two columns, as it always did.
  const ColumnForm header_form = FormOfCells(CellsOf(header) - 2).value_or(ColumnForm());
  qsizetype end = 0;
  c.blocks = ReadEntryBlocks(html, html_line::kHeaderRow + (has_header ? 1 : 0), end);
  if (end < html.Count()) return refuse(html_file, m.msgListBrokenEntry.arg(end + 1));
  c.form = has_header ? header_form : c.blocks.empty() ? ColumnForm() : c.blocks[0].form;
  // Line 0 of the name and text files is their header.
  const qsizetype entries[] = {std::max<qsizetype>(0, c.names.Count() - 1),
                               std::max<qsizetype>(0, text_lines - 1), qsizetype(c.blocks.size())};
  const QString files[] = {names_file, text_file, html_file};
  for (int i = 1; i < 3; ++i) {
    if (entries[i] != entries[0]) {
      return refuse(files[i], m.msgListCounts.arg(files[0], QString::number(entries[0]), files[i],
                                                  QString::number(entries[i])));
    }
  }
  return c;
}

void ForEachListedEntry(const ListFileContents& c, const ListedEntry& entry) {
  const std::vector<EntryBlock>& blocks = c.blocks;
  BlocksByName by_name(c.html, blocks);
  std::array<std::string, 3> details;
  std::array<std::string, ListingData::kMediaColumns> media;
  // The texts of cells one after the other, the first on line `line`.
  auto read = [&](std::span<std::string> texts, qsizetype line) {
    for (std::string& text : texts) {
      AppendHtmlUnescaped(c.html.Utf8At(line), text);
      line += 2;
    }
  };
  for (qsizetype r = 1; r < c.names.Count(); ++r) {
    const std::string_view name = c.names.Utf8At(r);
    for (std::string& text : details) text.clear();
    for (std::string& text : media) text.clear();
    // A name without a block of its own gets empty texts; a block is read by its own form,
    // since one entered before the list's columns were all shown holds fewer cells.
    const std::ptrdiff_t found = by_name.Take(r, name);
    if (found >= 0) {
      const EntryBlock& block = blocks[std::size_t(found)];
      if (c.form.details && block.form.details) read(details, block.DetailLine(0));
      if (c.form.media && block.form.media) read(media, block.MediaLine(0));
    }
    entry(r, name, details, media);
  }
}

void LoadListing(ListingDocument& doc, ListFileContents c, UiLanguage language) {
  doc.BeginUpdate();
  // Rows left from the previous listing must not keep its cells.
  doc.ClearGridBody();
  const ColumnForm form = c.form;
  if (form.details && !doc.HasDetails()) SetDetailColumnWidths(doc);
  if (form.media && !doc.HasMedia()) SetMediaColumnWidths(doc);
  doc.SetColumns(form);
  const HeaderTexts headers = HeadersFor(language, form, UmlautForm::Plain);
  for (int col = 0; col < int(headers.grid_cells.size()); ++col) {
    doc.SetCell(col, 0, headers.grid_cells[col]);
  }
  std::string number;
  std::array<std::string_view, ListingData::kMaxColumns> row;
  ForEachListedEntry(
      c, [&](qsizetype r, std::string_view name, DetailTexts details, MediaTexts media) {
        number = std::to_string(r);
        row[ListingData::kNumber] = number;
        row[ListingData::kName] = name;
        std::copy(details.begin(), details.end(), row.begin() + ListingData::kSize);
        std::copy(media.begin(), media.end(), row.begin() + ListingData::kFirstMediaColumn);
        doc.AppendRowUtf8(row);
      });
  doc.SetEntryCounter(std::max<int>(0, int(c.text.Count()) - 1));
  doc.SetTextLines(std::move(c.text));
  doc.SetHtmlLines(std::move(c.html));
  doc.EndUpdate();
}

}  // namespace kavoro

#include "core/listing/ListingDocument.h"

#include <algorithm>

#include "core/text/Utf8.h"

namespace kavoro {

ListingData::ListingData() : cells_(kFirstMediaColumn, StringPool::kEmpty) {
  column_widths_.fill(kDefaultColumnWidth);
}

LineList& ListingData::Lines(View view) { return view == View::Text ? text_ : html_; }

void ListingData::PutLine(View view, qsizetype index, QStringView line) {
  LineList& lines = Lines(view);
  const bool appended = index >= lines.Count();
  lines.Put(index, line);
  Touch(view, appended);
}

void ListingData::AppendLine(View view, QStringView line) {
  Lines(view).Append(line);
  Touch(view, true);
}

void ListingData::SetLines(View view, const QStringList& lines) {
  Lines(view).Assign(lines);
  Touch(view, false);
}

void ListingData::SetLines(View view, LineList lines) {
  Lines(view) = std::move(lines);
  Touch(view, false);
}

void ListingData::ClearLines(View view) {
  Lines(view).Clear();
  Touch(view, false);
}

void ListingData::SetRowCount(qsizetype rows) {
  if (rows < 1) rows = 1;
  const bool grows = rows >= row_count_;
  cells_.resize(static_cast<std::size_t>(rows) * stride_, StringPool::kEmpty);
  if (rows < row_count_) cells_.shrink_to_fit();
  facts_.Resize(static_cast<std::size_t>(rows));
  row_count_ = rows;
  Touch(View::Grid, grows);
}

void ListingData::ClearGridBody() {
  std::vector<QString> header;
  for (std::size_t c = 0; c < stride_; ++c) header.push_back(grid_pool_.Get(cells_[c]));
  grid_pool_.Clear();
  std::vector<StringPool::Ref>().swap(cells_);
  facts_.Clear();
  // A grid that shows no media columns any more gives up their room.
  if (!media_) header.resize(stride_ = kFirstMediaColumn);
  for (const QString& cell : header)
    cells_.push_back(cell.isEmpty() ? StringPool::kEmpty : grid_pool_.Add(cell));
  row_count_ = 1;
  Touch(View::Grid, false);
}

void ListingData::SetColumns(ColumnForm form) {
  if (form == Form()) return;
  details_ = form.details;
  media_ = form.media;
  if (media_) KeepMediaCells();
  layout_dirty_ = true;
  Touch(View::Grid, false);
}

void ListingData::SetColumnCount(int columns) {
  const bool media = columns >= 2 + kMediaColumns;
  SetColumns({columns - (media ? kMediaColumns : 0) >= 5, media});
}

ListingData::ColumnId ListingData::ColumnAt(int shown) const {
  if (shown < 2 || details_) return ColumnId(shown);
  return ColumnId(shown + (kFirstMediaColumn - 2));
}

int ListingData::ShownColumn(ColumnId column) const {
  if (column < 2) return column;
  if (column < kFirstMediaColumn) return details_ ? column : -1;
  if (!media_) return -1;
  return details_ ? column : column - (kFirstMediaColumn - 2);
}

void ListingData::KeepMediaCells() {
  if (stride_ < kMaxColumns) Restride(kMaxColumns);
}

void ListingData::Restride(std::size_t stride) {
  std::vector<StringPool::Ref> wider(static_cast<std::size_t>(row_count_) * stride,
                                     StringPool::kEmpty);
  for (std::size_t row = 0; row < static_cast<std::size_t>(row_count_); ++row) {
    std::copy_n(cells_.begin() + std::ptrdiff_t(row * stride_), std::min(stride, stride_),
                wider.begin() + std::ptrdiff_t(row * stride));
  }
  cells_.swap(wider);
  stride_ = stride;
}

bool ListingData::Holds(int shown, qsizetype row) const {
  return shown >= 0 && shown < ColumnCount() && row >= 0 && row < row_count_;
}

QString ListingData::Cell(int column, qsizetype row) const {
  if (!Holds(column, row)) return QString();
  return grid_pool_.Get(cells_[CellIndex(ColumnAt(column), row)]);
}

std::string_view ListingData::CellUtf8(int column, qsizetype row) const {
  if (!Holds(column, row)) return {};
  return grid_pool_.Utf8(cells_[CellIndex(ColumnAt(column), row)]);
}

bool ListingData::ReorderRows(std::span<const std::uint32_t> order) {
  if (static_cast<qsizetype>(order.size()) != row_count_) return false;
  std::vector<bool> seen(order.size());
  for (const std::uint32_t row : order) {
    if (row >= order.size() || seen[row]) return false;
    seen[row] = true;
  }
  std::vector<StringPool::Ref> moved(cells_.size());
  constexpr std::size_t kAhead = 16;  // rows come from all over the store: read ahead
  for (std::size_t to = 0; to < order.size(); ++to) {
    if (to + kAhead < order.size()) {
      __builtin_prefetch(&cells_[order[to + kAhead] * stride_]);
    }
    const auto stride = static_cast<std::ptrdiff_t>(stride_);
    const auto from = cells_.begin() + static_cast<std::ptrdiff_t>(order[to]) * stride;
    std::copy(from, from + stride, moved.begin() + static_cast<std::ptrdiff_t>(to) * stride);
  }
  cells_.swap(moved);
  facts_.Reorder(order);
  Touch(View::Grid, false);
  return true;
}

void ListingData::SetCell(int column, qsizetype row, QStringView text) {
  if (row < 0) return;
  if (row >= row_count_) SetRowCount(row + 1);
  if (!Holds(column, row)) return;
  cells_[CellIndex(ColumnAt(column), row)] =
      text.isEmpty() ? StringPool::kEmpty : grid_pool_.Add(text);
  Touch(View::Grid, false);
}

void ListingData::AppendRow(const std::array<QStringView, kMaxColumns>& cells) {
  for (std::size_t c = 0; c < stride_; ++c) {
    cells_.push_back(cells[c].isEmpty() ? StringPool::kEmpty : grid_pool_.Add(cells[c]));
  }
  facts_.Append(static_cast<std::size_t>(row_count_), {}, {});
  ++row_count_;
  Touch(View::Grid, true);
}

void ListingData::AppendRowUtf8(const std::array<std::string_view, kMaxColumns>& cells,
                                const EntryFacts& facts) {
  for (std::size_t c = 0; c < stride_; ++c) {
    cells_.push_back(cells[c].empty() ? StringPool::kEmpty : grid_pool_.AddUtf8(cells[c]));
  }
  std::string scratch;
  const std::string_view name =
      facts.folder.empty() ? std::string_view() : utf8::Sanitized(cells[1], scratch);
  facts_.Append(static_cast<std::size_t>(row_count_), facts, name);
  ++row_count_;
  Touch(View::Grid, true);
}

QStringList ListingData::Column(int column) const {
  QStringList out;
  out.reserve(row_count_);
  for (qsizetype row = 0; row < row_count_; ++row) out.append(Cell(column, row));
  return out;
}

bool ListingData::AppendFilePath(qsizetype row, std::string& out) const {
  if (row < 0 || row >= row_count_) return false;
  std::string scratch;
  return facts_.AppendPath(static_cast<std::size_t>(row),
                           utf8::Sanitized(CellUtf8(kName, row), scratch), out);
}

std::optional<std::uint64_t> ListingData::SizeBytes(qsizetype row) const {
  if (row < 0 || row >= row_count_) return std::nullopt;
  return facts_.Bytes(static_cast<std::size_t>(row));
}

int ListingData::ColumnWidth(int column) const {
  if (column < 0 || column >= ColumnCount()) return kDefaultColumnWidth;
  return column_widths_[std::size_t(ColumnAt(column))];
}

void ListingData::SetColumnWidth(int column, int width) {
  if (column >= 0 && column < ColumnCount()) SetWidthOf(ColumnAt(column), width);
}

void ListingData::SetWidthOf(ColumnId column, int width) {
  if (column < 0 || column >= kMaxColumns || column_widths_[std::size_t(column)] == width) return;
  column_widths_[std::size_t(column)] = width;
  layout_dirty_ = true;
  if (update_depth_ == 0) Flush();
}

void ListingData::Touch(View view, bool appended) {
  const auto i = static_cast<std::size_t>(view);
  dirty_[i] = true;
  if (!appended) reset_[i] = true;
  if (update_depth_ == 0) Flush();
}

void ListingData::EndUpdate() {
  if (update_depth_ > 0 && --update_depth_ == 0) Flush();
}

void ListingData::Flush() {
  for (std::size_t i = 0; i < dirty_.size(); ++i) {
    if (!dirty_[i]) continue;
    const bool appended_only = !reset_[i];
    dirty_[i] = reset_[i] = false;
    ViewTouched(static_cast<View>(i), appended_only);
  }
  if (layout_dirty_) {
    layout_dirty_ = false;
    LayoutTouched();
  }
}

void ListingData::PutEntryTextLine(int number, std::initializer_list<std::string_view> pieces) {
  const qsizetype index = number - text_base_;
  const bool appended = index >= text_.Count();
  text_.PutUtf8Pieces(index, pieces);
  Touch(View::Text, appended);
}

void ListingData::PrepareStaging(int last_number) {
  text_.Clear();
  text_.Append(u"");
  html_.Clear();
  ClearGridBody();
  entry_counter_ = last_number;
  text_base_ = last_number;
}

void ListingData::AbsorbEntries(ListingData& staged) {
  const qsizetype first_line = staged.text_base_ + 1;
  if (text_.Count() == first_line) {
    text_.AppendAll(staged.text_, 1);
  } else {
    // A listing whose text view and numbers disagree (a hand-edited list): line by line.
    for (qsizetype i = 1; i < staged.text_.Count(); ++i) {
      text_.Put(first_line + i - 1, staged.text_.At(i));
    }
    staged.text_.Clear();
  }
  html_.AppendAll(staged.html_);
  if (staged.stride_ > stride_) Restride(staged.stride_);
  if (staged.stride_ < stride_) staged.Restride(stride_);
  const std::size_t first_cell = stride_;  // staged row 0 is its header
  std::vector<StringPool::Ref> rows(staged.cells_.begin() + qsizetype(first_cell),
                                    staged.cells_.end());
  grid_pool_.Absorb(staged.grid_pool_, rows);
  cells_.insert(cells_.end(), rows.begin(), rows.end());
  facts_.Absorb(static_cast<std::size_t>(row_count_), staged.facts_, 1,
                static_cast<std::size_t>(staged.row_count_));
  row_count_ += staged.row_count_ - 1;
  entry_counter_ = staged.entry_counter_;
  staged.ClearGridBody();
  Touch(View::Text, text_.Count() >= first_line);
  Touch(View::Html, true);
  Touch(View::Grid, true);
}

void ListingData::ReserveMore(qsizetype entries, int html_lines, int views,
                              std::size_t text_bytes) {
  if (views & 1) text_.Reserve(text_.Count() + entries, text_bytes);
  if (views & 2) cells_.reserve(cells_.size() + static_cast<std::size_t>(entries) * stride_);
  if (views & 4) html_.Reserve(html_.Count() + entries * html_lines);
}

void ListingData::ReserveFacts(qsizetype entries, bool sizes, bool names) {
  facts_.Reserve(static_cast<std::size_t>(row_count_ + entries), sizes, names);
}

std::size_t ListingData::BytesUsed() const {
  return text_.BytesUsed() + html_.BytesUsed() + grid_pool_.BytesUsed() +
         cells_.capacity() * sizeof(StringPool::Ref) + facts_.BytesUsed();
}

}  // namespace kavoro

#include "core/search/TextSearch.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "core/listing/ListingDocument.h"
#include "core/text/StringPool.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

constexpr auto kNone = std::string_view::npos;

// The library's search compares the whole search text at every place its first byte
// matches; up to this length that is a small constant per byte of the text. Longer search
// texts go through Boyer-Moore, forwards and over the reversed bytes.
constexpr std::size_t kShortNeedle = 16;

// Lines and cells as the needle compares them; folding is needed only when the search text
// holds a letter and case is ignored.
class Folder {
 public:
  explicit Folder(const Needle& needle)
      : fold_(!needle.MatchCase() && std::any_of(needle.Bytes().begin(), needle.Bytes().end(),
                                                 [](char c) { return c >= 'A' && c <= 'Z'; })) {}

  std::string_view operator()(std::string_view text) {
    if (!fold_) return text;
    utf8::FoldAsciiUpper(text, scratch_);
    return scratch_;
  }

 private:
  bool fold_;
  std::string scratch_;
};

// The grid scans ask for the cells of the row this far ahead: after a sort the rows' texts
// lie scattered over the store.
constexpr qsizetype kReadAhead = 8;

void ReadAhead(const ListingDocument& doc, qsizetype row) {
  for (int col = 0; col < doc.ColumnCount(); ++col)
    __builtin_prefetch(doc.CellUtf8(col, row).data());
}

qsizetype ColumnAt(std::string_view text, std::size_t byte) {
  return utf8::Utf16Length(text.substr(0, byte));
}

}  // namespace

struct Needle::Searchers {
  std::boyer_moore_searcher<const char*> forward;
  std::boyer_moore_searcher<const char*> backward;
};

Needle::Needle(const FindRequest& request)
    : bytes_(request.text.toStdString()),
      match_case_(request.match_case),
      length_(request.text.size()) {
  if (!match_case_) utf8::FoldAsciiUpper(std::string(bytes_), bytes_);
  if (bytes_.size() <= kShortNeedle) return;
  reversed_.assign(bytes_.rbegin(), bytes_.rend());
  const char* b = bytes_.data();
  const char* r = reversed_.data();
  searchers_.reset(new Searchers{{b, b + bytes_.size()}, {r, r + reversed_.size()}});
}

Needle::~Needle() = default;

std::size_t Needle::FindIn(std::string_view text, std::size_t from) const {
  if (!searchers_) return text.find(bytes_, from);
  if (from > text.size()) return kNone;
  const char* end = text.data() + text.size();
  const char* found = searchers_->forward(text.data() + from, end).first;
  return found == end ? kNone : std::size_t(found - text.data());
}

std::size_t Needle::FindLastIn(std::string_view text, std::size_t last_start) const {
  if (!searchers_) return text.rfind(bytes_, last_start);
  // Search the reversed bytes of the part an occurrence beginning at `last_start` can reach.
  const std::size_t m = bytes_.size();
  if (text.size() < m) return kNone;
  const std::size_t limit = std::min(last_start, text.size() - m) + m;
  using Back = std::reverse_iterator<const char*>;
  const Back first(text.data() + limit);
  const Back last(text.data());
  const Back found = searchers_->backward(first, last).first;
  if (found == last) return kNone;
  return limit - std::size_t(found - first) - m;
}

std::optional<TextPos> ScanLinesDown(const LineList& lines, const Needle& needle, TextPos start,
                                     FindState& state) {
  if (needle.Bytes().empty()) return std::nullopt;
  Folder fold(needle);
  for (qsizetype line = std::max<qsizetype>(start.line, 0); line < lines.Count();) {
    const std::string_view text = fold(lines.Utf8At(line));
    std::size_t from = utf8::ByteOffset(text, state.scan_prefix_length);
    if (!state.turn_mark && line == start.line) {
      from = std::max(from, utf8::ByteOffset(text, start.column));
    }
    const std::size_t found = needle.FindIn(text, from);
    if (found != kNone) {
      const TextPos hit{line, ColumnAt(text, found)};
      state.scan_prefix_length = hit.column + needle.Length();
      if (!state.turn_mark || hit > *state.turn_mark) return hit;
      continue;  // the occurrence selected before the turn: look on behind it
    }
    state.turn_mark.reset();
    state.scan_prefix_length = 0;
    ++line;
  }
  return std::nullopt;
}

std::optional<TextPos> ScanLinesUp(const LineList& lines, const Needle& needle, TextPos start,
                                   FindState& state) {
  if (needle.Bytes().empty()) return std::nullopt;
  Folder fold(needle);
  for (qsizetype line = std::min(start.line, lines.Count() - 1); line >= 0;) {
    const std::string_view text = fold(lines.Utf8At(line));
    const std::string_view part =
        state.up_continues ? text.substr(0, utf8::ByteOffset(text, state.scan_prefix_length))
                           : text;
    state.up_continues = true;
    std::size_t found = kNone;
    if (!state.turn_mark && line == start.line) {
      const std::size_t limit = utf8::ByteOffset(text, start.column);
      if (limit > 0) found = needle.FindLastIn(part, limit - 1);
    } else {
      found = needle.FindLastIn(part);
    }
    if (found != kNone) {
      const TextPos hit{line, ColumnAt(text, found)};
      state.scan_prefix_length = hit.column;
      if (!state.turn_mark || hit < *state.turn_mark) return hit;
      continue;  // the occurrence selected before the turn: look on before it
    }
    state.up_continues = false;
    state.scan_prefix_length = 0;
    state.turn_mark.reset();
    --line;
  }
  return std::nullopt;
}

std::optional<GridCell> ScanGridDown(const ListingDocument& doc, const Needle& needle,
                                     FindState& state) {
  if (needle.Bytes().empty()) return std::nullopt;
  Folder fold(needle);
  const qsizetype first_row = std::max<qsizetype>(state.grid_search_row, 0);
  for (qsizetype row = first_row; row < doc.RowCount(); ++row) {
    ReadAhead(doc, row + kReadAhead);
    const int first_col = row == first_row ? std::max(state.grid_search_col, 0) : 0;
    for (int col = first_col; col < doc.ColumnCount(); ++col) {
      if (needle.FindIn(fold(doc.CellUtf8(col, row)), 0) == kNone) continue;
      state.grid_search_row = row;
      state.grid_search_col = col + 1;
      return GridCell{row, col};
    }
  }
  return std::nullopt;
}

std::optional<GridCell> ScanGridUp(const ListingDocument& doc, const Needle& needle,
                                   FindState& state) {
  if (needle.Bytes().empty()) return std::nullopt;
  Folder fold(needle);
  const int last_col = doc.ColumnCount() - 1;
  const qsizetype first_row = std::min(state.grid_search_row, doc.RowCount() - 1);
  for (qsizetype row = first_row; row >= 0; --row) {
    ReadAhead(doc, row - kReadAhead);
    const int first_col =
        row == state.grid_search_row ? std::min(state.grid_search_col, last_col) : last_col;
    for (int col = first_col; col >= 0; --col) {
      if (needle.FindIn(fold(doc.CellUtf8(col, row)), 0) == kNone) continue;
      state.grid_search_row = row;
      state.grid_search_col = col - 1;
      return GridCell{row, col};
    }
  }
  return std::nullopt;
}

}  // namespace kavoro

#include "core/listing/GridSort.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/listing/DateKey.h"
#include "core/listing/ListingDocument.h"
#include "core/text/Cp1252.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// Every row gets one 64-bit key in which a smaller key comes first in the natural order. The
// two top bits rank the kinds of row: the header row when it goes first, entries, cells that
// do not convert (the smallest values: last in the descending natural order), the header
// row when it goes last.
constexpr std::uint64_t kHeaderFirst = 0;
constexpr std::uint64_t kEntry = std::uint64_t{1} << 62;
constexpr std::uint64_t kUnconvertible = std::uint64_t{2} << 62;
constexpr std::uint64_t kHeaderLast = std::numeric_limits<std::uint64_t>::max();
constexpr std::int64_t kValueLimit = std::int64_t{1} << 60;  // numbers and dates stay inside
constexpr std::int64_t kBias = std::int64_t{1} << 61;

struct SortItem {
  std::uint64_t key;
  std::uint32_t row;
};

// Greater values first: the natural order of numbers and dates.
std::uint64_t DescendingKey(std::optional<std::int64_t> value) {
  if (!value || *value <= -kValueLimit || *value >= kValueLimit) return kUnconvertible;
  return kEntry + static_cast<std::uint64_t>(kBias - *value);
}

// Fills `items` from row `first` on with the keys' dense ranks: equal keys share a rank and
// ranks order as the keys do, so the quicksort compares integers and still moves every row
// exactly as it would with the texts.
void RankTextKeys(const ByteKeys& keys, std::uint32_t first, std::vector<SortItem>& items) {
  std::vector<bool> new_key;
  const std::vector<std::uint32_t> order = OrderByKeys(keys, first, &new_key);
  std::uint64_t rank = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && new_key[i]) ++rank;
    items[order[i]] = {kEntry + rank, order[i]};
  }
}

// The original program's quicksort, on items instead of grid rows: I moves on while its
// item comes before the pivot value, J moves back while it comes after; the left part was a
// recursive call and the right part a loop. The parts are disjoint, so working them off a
// stack leaves every item where the recursion would, without a deep call stack.
void QuickSort(std::vector<SortItem>& items) {
  if (items.size() < 2) return;
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> pending;
  pending.emplace_back(0, static_cast<std::ptrdiff_t>(items.size()) - 1);
  while (!pending.empty()) {
    auto [left, right] = pending.back();
    pending.pop_back();
    for (;;) {
      std::ptrdiff_t i = left;
      std::ptrdiff_t j = right;
      const std::uint64_t pivot = items[static_cast<std::size_t>((left + right) / 2)].key;
      do {
        while (items[static_cast<std::size_t>(i)].key < pivot) ++i;
        while (pivot < items[static_cast<std::size_t>(j)].key) --j;
        if (i <= j) {
          if (i != j) {
            std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
          }
          ++i;
          --j;
        }
      } while (i <= j);
      if (left < j) pending.emplace_back(left, j);
      left = i;
      if (i >= right) break;
    }
  }
}

std::vector<std::uint32_t> OrderOf(std::vector<SortItem>& items, bool forward) {
  if (!forward) std::reverse(items.begin(), items.end());
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].row;
  return order;
}

bool Sortable(const ListingDocument& doc) {
  return doc.RowCount() > 1 &&
         static_cast<std::uint64_t>(doc.RowCount()) <= std::numeric_limits<std::uint32_t>::max();
}

// The header row's key: first in the natural order when the result is kept, last when it
// is reversed, so it is on top either way.
void PlaceHeader(std::vector<SortItem>& items, HeaderRow header, bool forward) {
  if (header == HeaderRow::OnTop) items[0].key = forward ? kHeaderFirst : kHeaderLast;
}

// The text routine's order of the rows whose keys are given; row 0 placed by `header`.
std::vector<std::uint32_t> TextOrder(const ByteKeys& keys, HeaderRow header, bool forward) {
  std::vector<SortItem> items(keys.Count());
  // A header row kept on top gets its own key below; its text must not shorten the prefix
  // every entry shares.
  RankTextKeys(keys, header == HeaderRow::OnTop ? 1 : 0, items);
  PlaceHeader(items, header, forward);
  QuickSort(items);
  return OrderOf(items, forward);
}

// Calls visit(row, cell) for every cell of `column` in row order. Cells are read a few rows
// ahead: after one sort the rows lie scattered over the text store, and waiting for memory
// on every cell would cost more than the sort.
template <typename Visit>
void ForEachCell(const ListingDocument& doc, int column, Visit visit) {
  constexpr qsizetype kAhead = 16;
  const qsizetype rows = doc.RowCount();
  for (qsizetype r = 0; r < rows; ++r) {
    if (r + kAhead < rows) __builtin_prefetch(doc.CellUtf8(column, r + kAhead).data());
    visit(static_cast<std::uint32_t>(r), doc.CellUtf8(column, r));
  }
}

template <typename KeyOf>
void SortByValue(ListingDocument& doc, int column, bool forward, HeaderRow header, KeyOf value_of) {
  if (!Sortable(doc)) return;
  std::vector<SortItem> items(static_cast<std::size_t>(doc.RowCount()));
  ForEachCell(doc, column, [&](std::uint32_t r, std::string_view cell) {
    items[r] = {DescendingKey(value_of(cell)), r};
  });
  PlaceHeader(items, header, forward);
  QuickSort(items);
  doc.ReorderRows(OrderOf(items, forward));
}

}  // namespace

void AppendTextKey(std::string_view utf8, std::string& bytes) {
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t ascii_end = i;
    while (ascii_end < utf8.size() && static_cast<unsigned char>(utf8[ascii_end]) < 0x80) {
      ++ascii_end;
    }
    if (ascii_end > i) {  // a run of ASCII, the usual case: copied whole, then lowered in place
      const std::size_t begin = bytes.size();
      bytes.append(utf8.substr(i, ascii_end - i));
      for (std::size_t k = begin; k < bytes.size(); ++k) {
        if (bytes[k] >= 'A' && bytes[k] <= 'Z') bytes[k] = static_cast<char>(bytes[k] + 32);
      }
      i = ascii_end;
      continue;
    }
    const char32_t cp = utf8::Next(utf8, i);
    const int byte = cp <= 0xFFFF ? cp1252::ByteFor(static_cast<char16_t>(cp)) : -1;
    if (byte >= 0 && byte != 0xFF) {
      bytes.push_back(static_cast<char>(byte));
    } else if (byte == 0xFF) {  // two bytes, so 0xFF can lead the longer form below
      bytes.append({'\xFF', '\x00'});
    } else {
      bytes.append({'\xFF', '\x01', static_cast<char>(cp >> 16),
                    static_cast<char>((cp >> 8) & 0xFF), static_cast<char>(cp & 0xFF)});
    }
  }
}

std::optional<std::int64_t> ReadInteger(std::string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::int64_t> ReadSizeKB(std::string_view text) {
  if (!text.ends_with(" KB")) return std::nullopt;
  text.remove_suffix(3);
  std::int64_t value = 0;
  bool any_digit = false;
  for (const char c : text) {
    if (c == '.') continue;
    if (c < '0' || c > '9') return std::nullopt;
    // Checked before the step, so a long run of digits never runs over.
    if (value >= kValueLimit / 10) return std::nullopt;
    value = value * 10 + (c - '0');
    any_digit = true;
  }
  if (!any_digit) return std::nullopt;
  return value;
}

namespace {

// A run of at most `max_digits` digits at the front of `text`, taken off it.
std::optional<std::int64_t> TakeDigits(std::string_view& text, std::size_t max_digits) {
  std::size_t n = 0;
  while (n < text.size() && n < max_digits && text[n] >= '0' && text[n] <= '9') ++n;
  if (n == 0 || (n < text.size() && text[n] >= '0' && text[n] <= '9')) return std::nullopt;
  std::int64_t value = 0;
  for (std::size_t i = 0; i < n; ++i) value = value * 10 + (text[i] - '0');
  text.remove_prefix(n);
  return value;
}

// ":" and two digits below 60, taken off `text`.
std::optional<std::int64_t> TakeSixtieths(std::string_view& text) {
  if (!text.starts_with(':') || text.size() < 3) return std::nullopt;
  text.remove_prefix(1);
  if (text[0] < '0' || text[0] > '5' || text[1] < '0' || text[1] > '9') return std::nullopt;
  const std::int64_t value = (text[0] - '0') * 10 + (text[1] - '0');
  text.remove_prefix(2);
  return value;
}

}  // namespace

std::optional<std::int64_t> ReadDuration(std::string_view text) {
  const auto first = TakeDigits(text, 9);
  const auto second = first ? TakeSixtieths(text) : std::nullopt;
  if (!second) return std::nullopt;
  if (text.empty()) return *first * 60 + *second;
  const auto third = TakeSixtieths(text);
  if (!third || !text.empty()) return std::nullopt;
  return (*first * 60 + *second) * 60 + *third;
}

std::optional<PixelSize> ReadPixels(std::string_view text) {
  constexpr std::string_view kTimes = " \u00D7 ";
  const auto width = TakeDigits(text, 9);
  if (!width || !text.starts_with(kTimes)) return std::nullopt;
  text.remove_prefix(kTimes.size());
  const auto height = TakeDigits(text, 9);
  if (!height || !text.empty()) return std::nullopt;
  return PixelSize{*width, *height};
}

void SortGridByText(ListingDocument& doc, int column, bool forward, HeaderRow header) {
  if (!Sortable(doc)) return;
  std::size_t bytes = 0;
  for (qsizetype r = 0; r < doc.RowCount(); ++r) bytes += doc.CellUtf8(column, r).size();
  ByteKeys keys;
  keys.Reserve(static_cast<std::size_t>(doc.RowCount()), bytes);
  ForEachCell(doc, column, [&keys](std::uint32_t, std::string_view cell) {
    AppendTextKey(cell, keys.Buffer());
    keys.EndKey();
  });
  doc.ReorderRows(TextOrder(keys, header, forward));
}

void SortGridByNumber(ListingDocument& doc, int column, bool forward, HeaderRow header,
                      NumberForm form) {
  SortByValue(doc, column, forward, header, [form](std::string_view cell) {
    switch (form) {
      case NumberForm::SizeKB:
        return ReadSizeKB(cell);
      case NumberForm::Duration:
        return ReadDuration(cell);
      case NumberForm::Pixels: {
        const auto pixels = ReadPixels(cell);
        return pixels ? std::optional(pixels->width * pixels->height) : std::nullopt;
      }
      case NumberForm::Integer:
        break;
    }
    return ReadInteger(cell);
  });
}

void SortGridByDate(ListingDocument& doc, int column, bool forward, HeaderRow header,
                    const DateReader& dates) {
  SortByValue(doc, column, forward, header,
              [&dates](std::string_view cell) { return dates.Seconds(cell); });
}

std::vector<std::uint32_t> TextSortOrder(const ByteKeys& text_keys, bool forward) {
  return TextOrder(text_keys, HeaderRow::Ordinary, forward);
}

}  // namespace kavoro

#include "core/grid/GridSort.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/grid/DateKey.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/Utf8.h"
#include "core/output/Cp1252.h"

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

void AppendTextSortKey(std::string_view utf8, std::string& out) {
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = utf8::Next(utf8, i);
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp - 'A' + 'a' : cp));
      continue;
    }
    const int byte = cp <= 0xFFFF ? cp1252::ByteFor(static_cast<char16_t>(cp)) : -1;
    if (byte >= 0 && byte != 0xFF) {
      out.push_back(static_cast<char>(byte));
    } else if (byte == 0xFF) {  // two bytes, so 0xFF can lead the longer forms below
      out.push_back('\xFF');
      out.push_back('\x00');
    } else {  // after every cp1252 character, by code point
      out.push_back('\xFF');
      out.push_back('\x01');
      out.push_back(static_cast<char>(cp >> 16));
      out.push_back(static_cast<char>((cp >> 8) & 0xFF));
      out.push_back(static_cast<char>(cp & 0xFF));
    }
  }
}

// Text keys of all rows in one buffer; the items carry their first bytes, so most
// comparisons never look here.
class TextKeys {
 public:
  void Add(std::string_view utf8) {
    AppendTextSortKey(utf8, bytes_);
    ends_.push_back(bytes_.size());
  }
  std::string_view At(std::uint32_t row) const {
    const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
    return std::string_view(bytes_).substr(begin, ends_[row] - begin);
  }
  std::uint64_t PrefixKey(std::uint32_t row) const {
    const std::string_view key = At(row);
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
      prefix = (prefix << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    }
    return kEntry | (prefix >> 2);
  }
  void Reserve(std::size_t rows) { ends_.reserve(rows); }

 private:
  std::string bytes_;
  std::vector<std::size_t> ends_;
};

// The original program's quicksort, on items instead of grid rows: I moves on while its
// item comes before the pivot value, J moves back while it comes after; the left part was a
// recursive call and the right part a loop. The parts are disjoint, so working them off a
// stack leaves every item where the recursion would, without a deep call stack.
template <typename Before>
void QuickSort(std::vector<SortItem>& items, Before before) {
  if (items.size() < 2) return;
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> pending;
  pending.emplace_back(0, static_cast<std::ptrdiff_t>(items.size()) - 1);
  while (!pending.empty()) {
    auto [left, right] = pending.back();
    pending.pop_back();
    for (;;) {
      std::ptrdiff_t i = left;
      std::ptrdiff_t j = right;
      const SortItem pivot = items[static_cast<std::size_t>((left + right) / 2)];
      do {
        while (before(items[static_cast<std::size_t>(i)], pivot)) ++i;
        while (before(pivot, items[static_cast<std::size_t>(j)])) --j;
        if (i <= j) {
          if (i != j) std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
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

bool ByKey(const SortItem& a, const SortItem& b) { return a.key < b.key; }

std::vector<std::uint32_t> OrderOf(std::vector<SortItem>& items, bool forward) {
  if (!forward) std::reverse(items.begin(), items.end());
  std::vector<std::uint32_t> order(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) order[i] = items[i].row;
  return order;
}

std::vector<std::uint32_t> SortedTextOrder(const TextKeys& keys, std::vector<SortItem>& items,
                                           bool forward) {
  QuickSort(items, [&keys](const SortItem& a, const SortItem& b) {
    if (a.key != b.key) return a.key < b.key;
    return keys.At(a.row) < keys.At(b.row);
  });
  return OrderOf(items, forward);
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

template <typename KeyOf>
void SortByValue(ListingDocument& doc, int column, bool forward, HeaderRow header,
                 KeyOf value_of) {
  if (!Sortable(doc)) return;
  const auto rows = static_cast<std::uint32_t>(doc.RowCount());
  std::vector<SortItem> items(rows);
  for (std::uint32_t r = 0; r < rows; ++r) {
    items[r] = {DescendingKey(value_of(doc.CellUtf8(column, r))), r};
  }
  PlaceHeader(items, header, forward);
  QuickSort(items, ByKey);
  doc.ReorderRows(OrderOf(items, forward));
}

}  // namespace

std::string TextSortKey(std::string_view utf8) {
  std::string key;
  AppendTextSortKey(utf8, key);
  return key;
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
    value = value * 10 + (c - '0');
    any_digit = true;
    if (value >= kValueLimit) return std::nullopt;
  }
  if (!any_digit) return std::nullopt;
  return value;
}

void SortGridByText(ListingDocument& doc, int column, bool forward, HeaderRow header) {
  if (!Sortable(doc)) return;
  const auto rows = static_cast<std::uint32_t>(doc.RowCount());
  TextKeys keys;
  keys.Reserve(rows);
  std::vector<SortItem> items(rows);
  for (std::uint32_t r = 0; r < rows; ++r) {
    keys.Add(doc.CellUtf8(column, r));
    items[r] = {keys.PrefixKey(r), r};
  }
  PlaceHeader(items, header, forward);
  doc.ReorderRows(SortedTextOrder(keys, items, forward));
}

void SortGridByNumber(ListingDocument& doc, int column, bool forward, HeaderRow header,
                      NumberForm form) {
  SortByValue(doc, column, forward, header, [form](std::string_view cell) {
    return form == NumberForm::SizeKB ? ReadSizeKB(cell) : ReadInteger(cell);
  });
}

void SortGridByDate(ListingDocument& doc, int column, bool forward, HeaderRow header,
                    const DateReader& dates) {
  SortByValue(doc, column, forward, header,
              [&dates](std::string_view cell) { return dates.Seconds(cell); });
}

std::vector<std::uint32_t> TextSortOrder(const QStringList& cells, bool forward) {
  TextKeys keys;
  keys.Reserve(static_cast<std::size_t>(cells.size()));
  std::vector<SortItem> items(static_cast<std::size_t>(cells.size()));
  for (std::uint32_t r = 0; r < items.size(); ++r) {
    const QByteArray utf8 = cells[r].toUtf8();
    keys.Add(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    items[r] = {keys.PrefixKey(r), r};
  }
  return SortedTextOrder(keys, items, forward);
}

}  // namespace kavoro

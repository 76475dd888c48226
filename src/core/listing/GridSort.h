#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/SortKeys.h"

namespace kavoro {

class DateReader;
class ListingDocument;

// How the sort routines treat row 0 of the grid.
enum class HeaderRow {
  Ordinary,  // a row like any other (a staging table)
  OnTop,     // the header row: first in both directions, whatever the entry keys are
};

// How SortGridByNumber reads its cells.
enum class NumberForm {
  Integer,   // a signed 32-bit decimal number ("Nr.")
  SizeKB,    // a size as entering writes it ("1.234.567 KB")
  Duration,  // a playing time ("3:07", "1:02:03")
  Pixels,    // a picture size ("4000 × 3000"), by its number of pixels
};

// The three sort routines over the listing's grid. They order all rows by the cells of
// `column` with the quicksort of the original program (ties end up exactly where it leaves
// them), run on precomputed keys over a row permutation, and then move the rows once.
// Natural order: text ascending, numbers and dates descending (greatest, latest first); with
// `forward` false the result is the exact reverse of the forward result. Cells that do not
// convert sort as the smallest values of their column, in a fixed order.
void SortGridByText(ListingDocument& doc, int column, bool forward,
                    HeaderRow header = HeaderRow::Ordinary);
void SortGridByNumber(ListingDocument& doc, int column, bool forward, HeaderRow header,
                      NumberForm form = NumberForm::Integer);
void SortGridByDate(ListingDocument& doc, int column, bool forward, HeaderRow header,
                    const DateReader& dates);

// The text routine for plain tables: the order in which the quicksort leaves rows
// 0..n-1 when key i is the text key of row i's cell.
std::vector<std::uint32_t> TextSortOrder(const ByteKeys& text_keys, bool forward);

// Appends the text key of a cell: the cell with A to Z turned into a to z, as bytes that
// compare like the cp1252 codes (characters cp1252 lacks come after every one of them, by
// code point).
void AppendTextKey(std::string_view utf8, std::string& key);

// The keys of the other routines, exposed for tests.
std::optional<std::int64_t> ReadInteger(std::string_view text);
// Every "." group separator is removed, so sizes of a thousand million KB and more read right.
std::optional<std::int64_t> ReadSizeKB(std::string_view text);
// Seconds of "m:ss" or "h:mm:ss", as the duration column writes them.
std::optional<std::int64_t> ReadDuration(std::string_view text);
// Width and height of "4000 × 3000", as the pixels column writes them.
struct PixelSize {
  std::int64_t width;
  std::int64_t height;
};
std::optional<PixelSize> ReadPixels(std::string_view text);

}  // namespace kavoro

#pragma once

#include <QString>
#include <compare>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kavoro {

class LineList;
class ListingDocument;

// A place in a line view: line index and UTF-16 column. Ordered as the character offsets
// over the whole text (every line break counting two) are, without ever summing them up.
struct TextPos {
  qsizetype line = 0;
  qsizetype column = 0;
  auto operator<=>(const TextPos&) const = default;
};

// The caret and selection of a line view; a selection never spans lines here.
struct TextSelection {
  TextPos start;
  qsizetype length = 0;
  TextPos End() const { return {start.line, start.column + length}; }
  bool operator==(const TextSelection&) const = default;
};

struct GridCell {
  qsizetype row = 0;
  int column = 0;
  bool operator==(const GridCell&) const = default;
};

struct FindRequest {
  QString text;
  bool down = true;
  bool match_case = false;
};

// What successive searches remember; all reset when the find window opens.
struct FindState {
  std::optional<TextPos> turn_mark;  // set by a change of direction
  qsizetype scan_prefix_length = 0;  // leading characters of the line dealt with
  bool up_continues = false;         // the next upward scan stays inside that prefix
  qsizetype grid_search_row = 0;
  int grid_search_col = 0;
};

// The search text as the scans compare it: UTF-8, A to Z folded when case is ignored.
class Needle {
 public:
  explicit Needle(const FindRequest& request);
  ~Needle();
  Needle(const Needle&) = delete;
  Needle& operator=(const Needle&) = delete;

  const std::string& Bytes() const { return bytes_; }
  bool MatchCase() const { return match_case_; }
  qsizetype Length() const { return length_; }

  // The first occurrence in `text` that begins at or after byte `from`, and the last one that
  // begins at or before byte `last_start`; npos when there is none. Both take time in
  // proportion to the text, however long the search text is.
  std::size_t FindIn(std::string_view text, std::size_t from) const;
  std::size_t FindLastIn(std::string_view text,
                         std::size_t last_start = std::string_view::npos) const;

 private:
  struct Searchers;

  std::string bytes_;
  std::string reversed_;
  bool match_case_;
  qsizetype length_;
  std::unique_ptr<Searchers> searchers_;  // only for long search texts
};

// The memo scans over a line view. Downward: the first occurrence at or after `start` (after
// a change of direction, the first one past the turn mark). Upward: the last occurrence that
// begins before `start` (after a change of direction, the last one before the turn mark);
// overlapping occurrences count. Both work on the stored UTF-8 bytes, so a view of twelve
// million lines is scanned without decoding it.
std::optional<TextPos> ScanLinesDown(const LineList& lines, const Needle& needle, TextPos start,
                                     FindState& state);
std::optional<TextPos> ScanLinesUp(const LineList& lines, const Needle& needle, TextPos start,
                                   FindState& state);

// The grid scans over the shown columns, header row and number column included, from the
// state's cell on; a hit moves the state's cell one column on (or back).
std::optional<GridCell> ScanGridDown(const ListingDocument& doc, const Needle& needle,
                                     FindState& state);
std::optional<GridCell> ScanGridUp(const ListingDocument& doc, const Needle& needle,
                                   FindState& state);

}  // namespace kavoro

#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/StringPool.h"

namespace kavoro {

// What entering knows of an entry's file beyond the texts it shows.
struct EntryFacts {
  // The folder's bytes as the file system holds them, with a trailing "/"; empty: not known.
  std::string_view folder;
  // The file name's bytes; empty: the name cell shows it (after its last "/", if any).
  std::string_view file_name;
  // The size in bytes, when the entry was made with details.
  std::optional<std::uint64_t> bytes;
};

// The facts of the grid's rows, in step with the rows: the folder each file came from (each
// folder's text kept once, a row holds its number), its size in bytes, and its file name
// where the name cell does not show it whole (a hidden extension, a line break shown as a
// symbol). Each kind costs nothing until a row has it: 4 bytes a row for the folder, 8 for
// the size, 4 for the name; a listing read from list files holds no facts at all.
class RowFacts {
 public:
  // The facts of a new last row, behind `rows` rows; `name_cell` is its name cell as shown.
  void Append(std::size_t rows, const EntryFacts& facts, std::string_view name_cell);
  // Makes room for the folders of `rows` rows in all, and for their sizes and names.
  void Reserve(std::size_t rows, bool sizes, bool names);
  // Keeps the first `rows` rows' facts; rows added know nothing.
  void Resize(std::size_t rows);
  // New row i gets the facts of old row order[i]; `order` is a permutation of all rows.
  void Reorder(std::span<const std::uint32_t> order);
  void Clear();
  // Appends the facts of rows `first` to `other_rows` - 1 of `other` behind this listing's
  // `rows` rows, and empties `other`.
  void Absorb(std::size_t rows, RowFacts& other, std::size_t first, std::size_t other_rows);

  // The path of the row's file, well-formed UTF-8 (bytes that are not as U+FFFD), appended to
  // `out`; false when its folder is not known. `name_cell` is the row's name cell as shown.
  bool AppendPath(std::size_t row, std::string_view name_cell, std::string& out) const;
  std::optional<std::uint64_t> Bytes(std::size_t row) const;

  std::size_t BytesUsed() const;

 private:
  static constexpr std::uint32_t kNoFolder = UINT32_MAX;
  static constexpr std::uint64_t kNoSize = UINT64_MAX;
  static constexpr std::uint32_t kNameShown = 0;

  // The name's number for `name_cell`: kNameShown, or one more than its text's number.
  std::uint32_t NameNumber(std::string_view file_name, std::string_view name_cell);

  TextTable folders_;
  // What completes a name cell to its file name: the end the cell lacks, or (after a "/",
  // which no file name holds) the whole file name.
  TextTable names_;
  std::vector<std::uint32_t> row_folders_;  // each empty while no row has its kind of fact
  std::vector<std::uint64_t> row_sizes_;
  std::vector<std::uint32_t> row_names_;
};

}  // namespace kavoro

#include "core/listing/RowFacts.h"

#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// Each kind of fact is a column that stays empty until a row has that fact; from then on it
// holds one value per row, `unknown` for the rows without it.
template <typename T>
void AppendFact(std::vector<T>& column, std::size_t rows, T value, T unknown) {
  if (column.empty() && value == unknown) return;
  column.resize(rows, unknown);
  column.push_back(value);
}

template <typename T>
void ResizeFacts(std::vector<T>& column, std::size_t rows, T unknown) {
  if (!column.empty()) column.resize(rows, unknown);
}

template <typename T>
void ReorderFacts(std::vector<T>& column, std::span<const std::uint32_t> order) {
  if (column.empty()) return;
  std::vector<T> moved(order.size());
  for (std::size_t to = 0; to < order.size(); ++to) moved[to] = column[order[to]];
  column.swap(moved);
}

// Appends rows `first`.. of `other` (`other_rows` rows, or none known) behind `rows` rows.
template <typename T, typename Renumber>
void AbsorbFacts(std::vector<T>& column, std::size_t rows, const std::vector<T>& other,
                 std::size_t first, std::size_t other_rows, T unknown, Renumber renumber) {
  const std::size_t added = other_rows > first ? other_rows - first : 0;
  if (other.empty()) {
    ResizeFacts(column, rows + added, unknown);
    return;
  }
  column.resize(rows, unknown);
  for (std::size_t r = first; r < first + added; ++r) {
    column.push_back(other[r] == unknown ? unknown : renumber(other[r]));
  }
}

// The file name part of a name cell: a whole path shows it after its last "/".
std::string_view ShownFileName(std::string_view name_cell) {
  return name_cell.substr(name_cell.rfind('/') + 1);
}

}  // namespace

std::uint32_t RowFacts::NameNumber(std::string_view file_name, std::string_view name_cell) {
  if (file_name.empty()) return kNameShown;
  std::string scratch;
  const std::string_view name = utf8::Sanitized(file_name, scratch);
  const std::string_view shown = ShownFileName(name_cell);
  if (name == shown) return kNameShown;
  // A hidden extension: the cell lacks the name's end, and only the few different ends are
  // kept. Anything else the cell shows differently costs the whole name.
  if (name.starts_with(shown)) return 1 + names_.Number(name.substr(shown.size()));
  return 1 + names_.Number(std::string(1, '/').append(name));
}

void RowFacts::Append(std::size_t rows, const EntryFacts& facts, std::string_view name_cell) {
  const bool place = !facts.folder.empty();
  AppendFact(row_folders_, rows, place ? folders_.Number(facts.folder) : kNoFolder, kNoFolder);
  AppendFact(row_names_, rows, place ? NameNumber(facts.file_name, name_cell) : kNameShown,
             kNameShown);
  AppendFact(row_sizes_, rows, facts.bytes.value_or(kNoSize), kNoSize);
}

void RowFacts::Reserve(std::size_t rows, bool sizes, bool names) {
  row_folders_.reserve(rows);
  if (sizes) row_sizes_.reserve(rows);
  if (names) row_names_.reserve(rows);
}

void RowFacts::Resize(std::size_t rows) {
  ResizeFacts(row_folders_, rows, kNoFolder);
  ResizeFacts(row_names_, rows, kNameShown);
  ResizeFacts(row_sizes_, rows, kNoSize);
}

void RowFacts::Reorder(std::span<const std::uint32_t> order) {
  ReorderFacts(row_folders_, order);
  ReorderFacts(row_names_, order);
  ReorderFacts(row_sizes_, order);
}

void RowFacts::Clear() {
  folders_.Clear();
  names_.Clear();
  std::vector<std::uint32_t>().swap(row_folders_);
  std::vector<std::uint32_t>().swap(row_names_);
  std::vector<std::uint64_t>().swap(row_sizes_);
}

void RowFacts::Absorb(std::size_t rows, RowFacts& other, std::size_t first,
                      std::size_t other_rows) {
  auto renumbering = [](TextTable& into, const TextTable& from) {
    std::vector<std::uint32_t> numbers(from.Count());
    for (std::uint32_t i = 0; i < from.Count(); ++i) numbers[i] = into.Number(from.Text(i));
    return numbers;
  };
  const std::vector<std::uint32_t> folders = renumbering(folders_, other.folders_);
  const std::vector<std::uint32_t> names = renumbering(names_, other.names_);
  AbsorbFacts(row_folders_, rows, other.row_folders_, first, other_rows, kNoFolder,
              [&](std::uint32_t folder) { return folders[folder]; });
  AbsorbFacts(row_names_, rows, other.row_names_, first, other_rows, kNameShown,
              [&](std::uint32_t name) { return 1 + names[name - 1]; });
  AbsorbFacts(row_sizes_, rows, other.row_sizes_, first, other_rows, kNoSize,
              [](std::uint64_t bytes) { return bytes; });
  other.Clear();
}

bool RowFacts::AppendPath(std::size_t row, std::string_view name_cell, std::string& out) const {
  if (row >= row_folders_.size() || row_folders_[row] == kNoFolder) return false;
  std::string scratch;
  out.append(utf8::Sanitized(folders_.Text(row_folders_[row]), scratch));
  const std::uint32_t name = row < row_names_.size() ? row_names_[row] : kNameShown;
  const std::string_view text = name == kNameShown ? std::string_view() : names_.Text(name - 1);
  if (text.starts_with('/')) {
    out.append(text.substr(1));
  } else {
    out.append(ShownFileName(name_cell)).append(text);
  }
  return true;
}

std::optional<std::uint64_t> RowFacts::Bytes(std::size_t row) const {
  if (row >= row_sizes_.size() || row_sizes_[row] == kNoSize) return std::nullopt;
  return row_sizes_[row];
}

std::size_t RowFacts::BytesUsed() const {
  return folders_.BytesUsed() + names_.BytesUsed() +
         row_folders_.capacity() * sizeof(std::uint32_t) +
         row_names_.capacity() * sizeof(std::uint32_t) +
         row_sizes_.capacity() * sizeof(std::uint64_t);
}

}  // namespace kavoro

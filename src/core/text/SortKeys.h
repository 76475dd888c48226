#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavoro {

// The sort keys of many rows in one buffer, in row order. Keys compare as unsigned bytes,
// and a key that is the beginning of another comes first.
class ByteKeys {
 public:
  void Reserve(std::size_t rows, std::size_t bytes) {
    ends_.reserve(rows);
    bytes_.reserve(bytes);
  }
  // The next key is appended to the buffer and closed with EndKey.
  std::string& Buffer() { return bytes_; }
  void EndKey() { ends_.push_back(bytes_.size()); }

  std::uint32_t Count() const { return static_cast<std::uint32_t>(ends_.size()); }
  std::string_view At(std::uint32_t row) const {
    const std::size_t begin = row == 0 ? 0 : ends_[row - 1];
    return std::string_view(bytes_).substr(begin, ends_[row] - begin);
  }
  // How many leading bytes all keys from row `first` on share.
  std::size_t CommonPrefix(std::uint32_t first) const;

 private:
  std::string bytes_;
  std::vector<std::size_t> ends_;
};

// Rows `first` and on in the order of their keys, rows with equal keys in row order. When
// `new_key` is given, it marks every position whose key differs from the one before.
std::vector<std::uint32_t> OrderByKeys(const ByteKeys& keys, std::uint32_t first,
                                       std::vector<bool>* new_key = nullptr);

}  // namespace kavoro

#include "core/text/SortKeys.h"

#include <algorithm>
#include <cstring>

namespace kavoro {
namespace {

// Sixteen key bytes from some offset on, big-endian and padded with zeros, and how many key
// bytes are left there (17 standing for "more than sixteen"). Ordering by these, offset by
// offset, orders the keys, with a key that ends first coming first.
struct Probe {
  std::uint64_t high;
  std::uint64_t low;
  std::uint32_t rest;
  std::uint32_t row;
  bool SameAs(const Probe& o) const { return high == o.high && low == o.low && rest == o.rest; }
  bool operator<(const Probe& o) const {
    if (high != o.high) return high < o.high;
    if (low != o.low) return low < o.low;
    return rest != o.rest ? rest < o.rest : row < o.row;
  }
};

constexpr std::size_t kProbeBytes = 16;

std::uint64_t BigEndianAt(std::string_view key, std::size_t from) {
  std::uint64_t value = 0;
  if (from + 8 <= key.size()) {
    std::memcpy(&value, key.data() + from, 8);
    return __builtin_bswap64(value);
  }
  for (std::size_t i = from; i < from + 8; ++i) {
    value = (value << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  }
  return value;
}

Probe ProbeAt(std::string_view key, std::size_t from, std::uint32_t row) {
  const std::size_t left = key.size() > from ? key.size() - from : 0;
  return Probe{BigEndianAt(key, from), BigEndianAt(key, from + 8),
               static_cast<std::uint32_t>(std::min(left, kProbeBytes + 1)), row};
}

}  // namespace

std::size_t ByteKeys::CommonPrefix(std::uint32_t first) const {
  if (first >= Count()) return 0;
  const std::string_view model = At(first);
  std::size_t common = model.size();
  for (std::uint32_t r = first + 1; r < Count() && common > 0; ++r) {
    const std::string_view key = At(r);
    const std::size_t n = std::min(common, key.size());
    common = static_cast<std::size_t>(
        std::mismatch(model.begin(), model.begin() + static_cast<std::ptrdiff_t>(n), key.begin())
            .first -
        model.begin());
  }
  return common;
}

// Sorts sixteen bytes at a time, past the prefix every key shares, and goes on only within
// groups that are still equal.
std::vector<std::uint32_t> OrderByKeys(const ByteKeys& keys, std::uint32_t first,
                                       std::vector<bool>* new_key) {
  const std::uint32_t rows = keys.Count();
  if (first >= rows) return {};
  std::vector<Probe> probes(rows - first);
  for (std::uint32_t r = first; r < rows; ++r) probes[r - first].row = r;
  std::vector<bool> starts(probes.size(), false);
  struct Group {
    std::size_t begin, end, from;
  };
  std::vector<Group> pending = {{0, probes.size(), keys.CommonPrefix(first)}};
  while (!pending.empty()) {
    const Group g = pending.back();
    pending.pop_back();
    bool all_same = true;
    for (std::size_t i = g.begin; i < g.end; ++i) {
      probes[i] = ProbeAt(keys.At(probes[i].row), g.from, probes[i].row);
      all_same = all_same && probes[i].SameAs(probes[g.begin]);
    }
    // Equal probes keep their rows in order, which the comparison's last field sees to.
    if (!all_same) std::sort(probes.begin() + g.begin, probes.begin() + g.end);
    for (std::size_t run = g.begin; run < g.end;) {
      std::size_t run_end = run + 1;
      while (run_end < g.end && probes[run_end].SameAs(probes[run])) ++run_end;
      starts[run] = true;
      if (run_end - run > 1 && probes[run].rest > kProbeBytes) {
        pending.push_back({run, run_end, g.from + kProbeBytes});
      }
      run = run_end;
    }
  }
  std::vector<std::uint32_t> order(probes.size());
  for (std::size_t i = 0; i < probes.size(); ++i) order[i] = probes[i].row;
  if (new_key) new_key->swap(starts);
  return order;
}

}  // namespace kavoro

#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/SortKeys.h"

struct UCollator;

namespace kavoro {

// Orders file names as the user's language does, without regard to case: on a German desktop
// "Ärger" comes with the A's, not after "z". The C locale keeps the order of the UTF-16 units,
// case folded. Plain ASCII names, most names in practice, are ordered by a table of the
// collation's own ranks and the radix sort of byte keys; only the other names get full
// collation keys, and the two sorted parts are merged by comparing names.
class NameCollation {
 public:
  explicit NameCollation(const QLocale& locale);
  ~NameCollation();
  NameCollation(const NameCollation&) = delete;
  NameCollation& operator=(const NameCollation&) = delete;

  // The collation of the user's locale, one per thread (collators are not shared).
  static const NameCollation& ForUser();

  // The rows of `texts` (UTF-8) in the collation's order, rows that compare equal in row order.
  std::vector<std::uint32_t> Order(const ByteKeys& texts) const;

  // <0, 0 or >0 as `a` sorts before, with or after `b`.
  int Compare(const QString& a, const QString& b) const;

 private:
  void AppendKey(std::string_view utf8, std::string& out) const;
  bool LearnAsciiRanks();

  UCollator* collator_ = nullptr;  // none: the C locale
  // Rank + 1 of each printable ASCII byte (0: not printable); not used when the locale orders
  // some ASCII texts otherwise than rank by rank (contractions such as Czech "ch").
  std::array<unsigned char, 128> ascii_rank_{};
  bool ascii_ranks_ = false;
};

}  // namespace kavoro

#pragma once

#include <QLocale>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "core/grid/SortKeys.h"

struct UCollator;

namespace kavoro {

// Orders file names as the user's language does, without regard to case: on a German desktop
// "Ärger" comes with the A's, not after "z". The C locale keeps the order of the UTF-16 units,
// case folded. Sorting goes through byte keys, so large lists keep the radix sort; a list whose
// names are all printable ASCII gets its keys from a table of the collation's own ranks, which
// orders such names exactly as the full keys do at a fraction of the cost.
class NameCollation {
 public:
  explicit NameCollation(const QLocale& locale);
  ~NameCollation();
  NameCollation(const NameCollation&) = delete;
  NameCollation& operator=(const NameCollation&) = delete;

  // The collation of the user's locale, one per thread (collators are not shared).
  static const NameCollation& ForUser();

  // Turns keys that hold UTF-8 texts into keys that order as the collation does; texts that
  // compare equal get equal keys.
  void MakeKeys(ByteKeys& texts) const;

  // <0, 0 or >0 as `a` sorts before, with or after `b`.
  int Compare(const QString& a, const QString& b) const;

 private:
  void AppendKey(std::string_view utf8, std::string& out) const;
  bool LearnAsciiRanks();

  UCollator* collator_ = nullptr;  // none: the C locale
  // Rank + 1 of each printable ASCII byte (0: not printable); empty when the locale orders
  // some ASCII texts otherwise than rank by rank (contractions such as Czech "ch").
  std::array<unsigned char, 128> ascii_rank_{};
  bool ascii_ranks_ = false;
};

}  // namespace kavoro

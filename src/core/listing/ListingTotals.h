#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "core/i18n/LanguageTables.h"
#include "core/listing/ListingDocument.h"

namespace kavoro {

// How many entries a listing has and, with the detail columns, how much space their files take.
struct ListingTotals {
  qsizetype entries = 0;
  bool details = false;
  int size_column = -1;  // where the grid shows the sizes
  std::uint64_t bytes = 0;
};

// The sizes are the files' own where the listing knows them, else read back from the size
// column ("1.234 KB"); a size cell that does not read as one counts nothing.
ListingTotals TotalsOf(const ListingData& doc);

// "23 Einträge, zusammen 175.431 KB" ("23 entries, 175,431 KB in all"); without details the
// count alone.
QString TotalsText(const ListingTotals& totals, UiLanguage language);

// The totals as one more row of the grid (by shown column): "Summe", the count, the size under
// the sizes.
std::array<QString, ListingData::kMaxColumns> TotalsRow(const ListingTotals& totals,
                                                        UiLanguage language);

// A count with the group separators of the language: "12.149", "12,149".
QString CountText(qint64 count, UiLanguage language);

}  // namespace kavoro

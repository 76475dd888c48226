#include "core/listing/ListingTotals.h"

#include <QLocale>

#include "core/listing/FileTexts.h"
#include "core/listing/GridSort.h"

namespace kavoro {
namespace {

QString EntriesText(qsizetype entries, UiLanguage language) {
  const MessageSlots& m = MessageSlotsFor(language);
  return (entries == 1 ? m.totalsOneEntry : m.totalsEntries).arg(CountText(entries, language));
}

}  // namespace

QString CountText(qint64 count, UiLanguage language) {
  return QLocale(language == UiLanguage::German ? QLocale::German : QLocale::English)
      .toString(count);
}

ListingTotals TotalsOf(const ListingData& doc) {
  ListingTotals totals;
  totals.entries = doc.RowCount() - 1;
  totals.details = doc.HasDetails();
  if (!totals.details) return totals;
  totals.size_column = doc.ShownColumn(ListingData::kSize);
  for (qsizetype row = 1; row < doc.RowCount(); ++row) {
    if (const auto bytes = doc.SizeBytes(row)) {
      totals.bytes += *bytes;
    } else if (const auto kb = ReadSizeKB(doc.CellUtf8(totals.size_column, row)); kb && *kb > 0) {
      totals.bytes += std::uint64_t(*kb) * 1024;
    }
  }
  return totals;
}

QString TotalsText(const ListingTotals& totals, UiLanguage language) {
  const QString entries = EntriesText(totals.entries, language);
  if (!totals.details) return entries;
  return MessageSlotsFor(language).totalsWithSize.arg(entries, FormatSizeKB(totals.bytes));
}

std::array<QString, ListingData::kMaxColumns> TotalsRow(const ListingTotals& totals,
                                                        UiLanguage language) {
  std::array<QString, ListingData::kMaxColumns> row;
  row[0] = MessageSlotsFor(language).totalsLabel;
  row[1] = EntriesText(totals.entries, language);
  if (totals.details) row[std::size_t(totals.size_column)] = FormatSizeKB(totals.bytes);
  return row;
}

}  // namespace kavoro

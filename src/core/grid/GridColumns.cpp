#include "core/grid/GridColumns.h"

#include "core/listing/DateKey.h"
#include "core/listing/GridSort.h"
#include "core/listing/ListingDocument.h"
#include "core/settings/OptionsFile.h"

namespace kavoro {
namespace {

// Text columns read ascending in their natural order, numbers, sizes and dates descending.
bool NaturallyAscending(ListingData::ColumnId column) {
  switch (column) {
    case ListingData::kName:
    case ListingData::kType:
    case ListingData::kArtist:
    case ListingData::kTitle:
    case ListingData::kAlbum:
      return true;
    default:
      return false;
  }
}

void SortColumn(ListingDocument& doc, ListingData::ColumnId column, bool forward,
                const DateReader& dates) {
  const int shown = doc.ShownColumn(column);
  if (shown < 0) return;
  switch (column) {
    case ListingData::kNumber:
      return SortGridByNumber(doc, shown, forward, HeaderRow::OnTop, NumberForm::Integer);
    case ListingData::kSize:
      return SortGridByNumber(doc, shown, forward, HeaderRow::OnTop, NumberForm::SizeKB);
    case ListingData::kDuration:
      return SortGridByNumber(doc, shown, forward, HeaderRow::OnTop, NumberForm::Duration);
    case ListingData::kPixels:
      return SortGridByNumber(doc, shown, forward, HeaderRow::OnTop, NumberForm::Pixels);
    case ListingData::kDate:
    case ListingData::kTaken:
      return SortGridByDate(doc, shown, forward, HeaderRow::OnTop, dates);
    default:
      return SortGridByText(doc, shown, forward, HeaderRow::OnTop);
  }
}

// A listing whose grid order or numbers changed has something worth saving.
void MarkChanged(ListingDocument& doc) {
  if (doc.RowCount() > 1) doc.SetListingModified(true);
}

}  // namespace

void FollowColumnCount(GridToolState& tools, const ListingDocument& doc) {
  tools.detail_tools_enabled = doc.HasDetails();
  tools.media_tools_enabled = doc.HasMedia();
  if (doc.ShownColumn(kSortButtonColumn[tools.sort_choice - 1]) < 0) tools.sort_choice = 1;
}

void ClickSortColumn(ListingDocument& doc, GridToolState& tools, ListingData::ColumnId column,
                     const DateReader& dates) {
  if (column < 0 || column >= ListingData::kMaxColumns) return;
  for (std::size_t c = 0; c < tools.sort_forward.size(); ++c) {
    if (static_cast<int>(c) != column) tools.sort_forward[c] = true;
  }
  SortColumn(doc, column, tools.sort_forward[column], dates);
  tools.sort_forward[column] = !tools.sort_forward[column];
  MarkChanged(doc);
}

void SortAsAfterClicks(ListingDocument& doc, ListingData::ColumnId column, int clicks,
                       const DateReader& dates) {
  GridToolState fresh;
  for (int i = 0; i < clicks; ++i) ClickSortColumn(doc, fresh, column, dates);
}

void RenumberGrid(ListingDocument& doc, GridToolState& tools) {
  doc.BeginUpdate();
  for (qsizetype row = 1; row < doc.RowCount(); ++row) doc.SetCell(0, row, QString::number(row));
  doc.EndUpdate();
  tools.sort_forward[0] = true;
  MarkChanged(doc);
}

QString SortHint(const GridToolState& tools, ListingData::ColumnId column) {
  const bool ascending = tools.sort_forward[column] == NaturallyAscending(column);
  return ascending ? u"Aufsteigend sortieren"_qs : u"Absteigend sortieren"_qs;
}

std::optional<QString> StoreColumnWidth(OptionsFile& options, ListingDocument& doc,
                                        GridToolState& tools, int column, const QString& text) {
  if (column < 0 || column >= 5) return std::nullopt;
  tools.width_fields[column] = text;
  bool digits = !text.isEmpty();
  for (const QChar c : text) digits = digits && c.isDigit() && c.unicode() < 0x80;
  bool ok = false;
  const int width = text.toInt(&ok);
  if (!digits || !ok)
    return std::nullopt;  // only what the key filter lets through reaches the file
  if (auto error = options.StoreWorkingLine(opt::kColumnWidth0 + column, text)) return error;
  doc.SetWidthOf(ListingData::ColumnId(column), width);
  return std::nullopt;
}

}  // namespace kavoro

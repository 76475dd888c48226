#pragma once

#include <QString>
#include <array>
#include <optional>

#include "core/listing/ListingDocument.h"

namespace kavoro {

class DateReader;
class OptionsFile;

// The grid tools' state that start-up and the options panel set.
struct GridToolState {
  std::array<QString, 5> width_fields;
  bool detail_tools_enabled = false;  // width fields 3..5 and sorting by size, type, date
  bool media_tools_enabled = false;   // sorting by the media columns
  // 1 number, 2 file, 3 type, 4 size, 5 date, 6 .. 11 duration, artist, title, album, pixels,
  // date taken
  int sort_choice = 1;
  // Per column (ListingData::ColumnId): the next click on its sort button keeps the natural
  // order (true) or reverses it.
  std::array<bool, ListingData::kMaxColumns> sort_forward = [] {
    std::array<bool, ListingData::kMaxColumns> all;
    all.fill(true);
    return all;
  }();
};

// The column each sort button orders, by button number - 1 ("Nr.", "Datei", "Typ",
// "Größe", "Geändert" are RadioButton1, 2, 3, 4, 5; the media columns' buttons follow in the
// order of their columns).
constexpr std::array<ListingData::ColumnId, ListingData::kMaxColumns> kSortButtonColumn = {
    ListingData::kNumber, ListingData::kName,     ListingData::kType,   ListingData::kSize,
    ListingData::kDate,   ListingData::kDuration, ListingData::kArtist, ListingData::kTitle,
    ListingData::kAlbum,  ListingData::kPixels,   ListingData::kTaken};

// The sort buttons and width fields of the size, type and date columns work exactly while
// the grid shows those columns, and the sort buttons of the media columns while it shows
// those; a sort choice of a column the grid does not show falls back to "Nr.".
void FollowColumnCount(GridToolState& tools, const ListingDocument& doc);

// One click on the sort button of `column`: the other columns' directions start afresh, the
// grid is sorted with the header row kept on top, and the column's direction turns. Numbers
// and sizes sort by value (durations by seconds, pixels by their count), dates by time, all
// else by text. A column the grid does not show is left alone.
void ClickSortColumn(ListingDocument& doc, GridToolState& tools, ListingData::ColumnId column,
                     const DateReader& dates);

// What `clicks` clicks on the sort button of `column` do in a freshly started program: one
// gives the natural order (greatest number, largest size, latest date first; names and
// types A to Z), two the reverse. For callers without a window, such as a command line.
void SortAsAfterClicks(ListingDocument& doc, ListingData::ColumnId column, int clicks,
                       const DateReader& dates);

// "Neu nummerieren": entry rows get the numbers 1, 2, 3 ... in grid order; the next click on
// "Nr." puts the greatest number first again.
void RenumberGrid(ListingDocument& doc, GridToolState& tools);

// The hint of a sort button: the direction its next click sorts in.
QString SortHint(const GridToolState& tools, ListingData::ColumnId column);

// A width field of grid `column` changed to `text`: an empty field does nothing; digits set
// the column width and are stored in optionen.ini at once (reloaded first, only their line
// changed). The reason when the file cannot be read or written.
std::optional<QString> StoreColumnWidth(OptionsFile& options, ListingDocument& doc,
                                        GridToolState& tools, int column, const QString& text);

}  // namespace kavoro

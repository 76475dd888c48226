#pragma once

#include <QObject>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/listing/RowFacts.h"
#include "core/text/StringPool.h"

namespace kavoro {

// Which columns a listing's entries have besides number and name: size, type and date of
// change (the details), and the six media columns. Made from a bool alone where only the
// detail state is known, as in lists and callers from before the media columns.
struct ColumnForm {
  ColumnForm(bool with_details = false, bool with_media = false)
      : details(with_details), media(with_media) {}
  bool details;
  bool media;
  bool operator==(const ColumnForm&) const = default;
};

// A listing held as three parallel views: the text view (line 0 header, line n entry n), the
// grid (row 0 header; number and name, then the three detail columns and the six media columns
// when shown) and the HTML page source (lines 0..20 template, line 21 header row, then the
// entry blocks). Each writer keeps the three views in step itself; the listing only stores them
// compactly. A plain value: the entries of a run are built into one off the UI thread.
class ListingData {
 public:
  enum class View { Text, Grid, Html };
  // Every column a grid can have, in the order shown. A cell is kept under its column, not
  // under its place on screen, so showing or hiding columns never moves a cell to another.
  enum ColumnId : int {
    kNumber,
    kName,
    kSize,
    kType,
    kDate,  // the detail form
    kDuration,
    kArtist,
    kTitle,
    kAlbum,
    kPixels,
    kTaken,  // the media columns
  };
  static constexpr int kMaxColumns = 11;
  static constexpr int kFirstMediaColumn = kDuration;
  static constexpr int kMediaColumns = kMaxColumns - kFirstMediaColumn;
  static constexpr int kDefaultColumnWidth = 40;

  ListingData();
  virtual ~ListingData() = default;
  ListingData(const ListingData&) = delete;
  ListingData& operator=(const ListingData&) = delete;

  // Text view.
  const LineList& Text() const { return text_; }
  void PutTextLine(qsizetype index, QStringView line) { PutLine(View::Text, index, line); }
  void AppendTextLine(QStringView line) { AppendLine(View::Text, line); }
  void SetTextLines(const QStringList& lines) { SetLines(View::Text, lines); }
  void SetTextLines(LineList lines) { SetLines(View::Text, std::move(lines)); }
  void ClearText() { ClearLines(View::Text); }

  // HTML view.
  const LineList& Html() const { return html_; }
  void PutHtmlLine(qsizetype index, QStringView line) { PutLine(View::Html, index, line); }
  void AppendHtmlLine(QStringView line) { AppendLine(View::Html, line); }
  void AppendHtmlLineUtf8(std::string_view line) {
    html_.AppendUtf8(line);
    Touch(View::Html, true);
  }
  void SetHtmlLines(const QStringList& lines) { SetLines(View::Html, lines); }
  void SetHtmlLines(LineList lines) { SetLines(View::Html, std::move(lines)); }
  void ClearHtml() { ClearLines(View::Html); }

  // Grid. Cells of all columns are kept whatever the grid shows, so a grid shown with two
  // columns loses nothing. Columns are counted as shown: 2 (number, name), 5 (with the detail
  // columns), 8 (number, name, media) or 11 (all).
  qsizetype RowCount() const { return row_count_; }
  void SetRowCount(qsizetype rows);
  // Keeps only the header row and releases the text of all other rows.
  void ClearGridBody();
  int ColumnCount() const { return 2 + (details_ ? 3 : 0) + (media_ ? kMediaColumns : 0); }
  bool HasDetails() const { return details_; }
  bool HasMedia() const { return media_; }
  ColumnForm Form() const { return {details_, media_}; }
  void SetColumns(ColumnForm form);
  // 2, 5, 8 or 11; other counts take the next smaller form.
  void SetColumnCount(int columns);
  // What shown column `shown` is, and where column `column` is shown (-1: not shown).
  ColumnId ColumnAt(int shown) const;
  int ShownColumn(ColumnId column) const;
  // Rows keep room for the media cells from now on, whether the grid shows them or not.
  void KeepMediaCells();
  // Cells by shown column.
  QString Cell(int column, qsizetype row) const;
  // The cell's UTF-8 bytes, for scans over many cells; valid until the grid changes.
  std::string_view CellUtf8(int column, qsizetype row) const;
  void SetCell(int column, qsizetype row, QStringView text);
  // Moves whole rows at once: new row i is old row order[i]. `order` must be a permutation
  // of all rows, header row included; anything else leaves the grid unchanged.
  bool ReorderRows(std::span<const std::uint32_t> order);
  // Rows are appended by ColumnId, whatever the grid shows; media cells are dropped while rows
  // keep no room for them (KeepMediaCells).
  void AppendRow(const std::array<QStringView, kMaxColumns>& cells);
  // A row made by entering also takes what it knows of the file.
  void AppendRowUtf8(const std::array<std::string_view, kMaxColumns>& cells,
                     const EntryFacts& facts = {});
  QStringList Column(int column) const;        // by shown column
  int ColumnWidth(int column) const;           // by shown column
  void SetColumnWidth(int column, int width);  // by shown column
  int WidthOf(ColumnId column) const { return column_widths_[std::size_t(column)]; }
  void SetWidthOf(ColumnId column, int width);

  // The facts of a row's file, which follow the row wherever it moves; nothing is known of
  // the rows of a listing read from list files. The path is well-formed UTF-8 (bytes that are
  // not as U+FFFD), appended to `out`; false when the row's folder is not known.
  bool AppendFilePath(qsizetype row, std::string& out) const;
  std::optional<std::uint64_t> SizeBytes(qsizetype row) const;

  // Listing state.
  int EntryCounter() const { return entry_counter_; }
  void SetEntryCounter(int value) { entry_counter_ = value; }
  bool ListingModified() const { return listing_modified_; }
  void SetListingModified(bool value) { listing_modified_ = value; }
  bool FirstEntry() const { return first_entry_; }
  void RaiseFirstEntry() { first_entry_ = true; }
  // Only for undoing a run that was cancelled.
  void SetFirstEntry(bool value) { first_entry_ = value; }

  // Makes room for `entries` more entries of `html_lines` lines each in the given views
  // (1 text, 2 grid, 4 HTML), and for about `text_bytes` more bytes of text view lines.
  void ReserveMore(qsizetype entries, int html_lines, int views, std::size_t text_bytes = 0);
  // Makes room for the facts of `entries` more rows: their folders, sizes when `sizes`, names
  // when `names` (the cells will not show them whole).
  void ReserveFacts(qsizetype entries, bool sizes, bool names);

  // Entries can be built off the UI thread into a staging listing that numbers on from
  // `last_number` and holds only the new entries; AbsorbEntries then appends them to this
  // listing at once and takes the staging listing's entry counter, leaving it empty.
  void PrepareStaging(int last_number);
  void AbsorbEntries(ListingData& staged);
  // The text line of entry `number` (line `number` of the text view).
  void PutEntryTextLine(int number, std::initializer_list<std::string_view> pieces);

  // Groups many changes into one notification per view.
  void BeginUpdate() { ++update_depth_; }
  void EndUpdate();

  std::size_t BytesUsed() const;

 protected:
  // What changed, once per group of changes: `appended_only` when the view only grew at its
  // end since the last time. Nothing listens to a plain listing.
  virtual void ViewTouched(View, bool /*appended_only*/) {}
  virtual void LayoutTouched() {}

 private:
  LineList& Lines(View view);
  // Putting a line replaces it, or appends it when the view has exactly `index` lines.
  void PutLine(View view, qsizetype index, QStringView line);
  void AppendLine(View view, QStringView line);
  void SetLines(View view, const QStringList& lines);
  void SetLines(View view, LineList lines);
  void ClearLines(View view);
  void Touch(View view, bool appended);
  void Flush();
  std::size_t CellIndex(ColumnId column, qsizetype row) const {
    return static_cast<std::size_t>(row) * stride_ + static_cast<std::size_t>(column);
  }
  bool Holds(int shown, qsizetype row) const;
  // Gives every row `stride` cells.
  void Restride(std::size_t stride);

  LineList text_;
  LineList html_;
  StringPool grid_pool_;
  std::vector<StringPool::Ref> cells_;
  RowFacts facts_;
  qsizetype row_count_ = 1;
  // Cells per row: the five of the detail form, or all columns once media cells are kept.
  std::size_t stride_ = kFirstMediaColumn;
  bool details_ = false;
  bool media_ = false;
  std::array<int, kMaxColumns> column_widths_;

  int entry_counter_ = 0;
  int text_base_ = 0;  // staging: the number before the first entry, whose line is line 1
  bool listing_modified_ = false;
  bool first_entry_ = false;

  int update_depth_ = 0;
  std::array<bool, 3> dirty_{};
  std::array<bool, 3> reset_{};
  bool layout_dirty_ = false;
};

// The one listing the user is building: tells the views what changed.
class ListingDocument : public QObject, public ListingData {
  Q_OBJECT

 public:
  explicit ListingDocument(QObject* parent = nullptr) : QObject(parent) {}

 signals:
  // `appended_only`: the view only grew at its end since the last notification.
  void ViewChanged(kavoro::ListingData::View view, bool appended_only);
  void GridLayoutChanged();

 protected:
  void ViewTouched(View view, bool appended_only) override {
    emit ViewChanged(view, appended_only);
  }
  void LayoutTouched() override { emit GridLayoutChanged(); }
};

}  // namespace kavoro

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

// A listing held as three parallel views: the text view (line 0 header, line n entry n), the
// grid (row 0 header, 2 or 5 shown columns) and the HTML page source (lines 0..20 template,
// line 21 header row, then the entry blocks). Each writer keeps the three views in step itself;
// the listing only stores them compactly. A plain value: the entries of a run are built into
// one off the UI thread.
class ListingData {
 public:
  enum class View { Text, Grid, Html };
  static constexpr int kMaxColumns = 5;
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

  // Grid. Cells of all five columns are kept whatever the shown column count, so a grid
  // shown with two columns loses nothing.
  qsizetype RowCount() const { return row_count_; }
  void SetRowCount(qsizetype rows);
  // Keeps only the header row and releases the text of all other rows.
  void ClearGridBody();
  int ColumnCount() const { return column_count_; }
  void SetColumnCount(int columns);
  QString Cell(int column, qsizetype row) const;
  // The cell's UTF-8 bytes, for scans over many cells; valid until the grid changes.
  std::string_view CellUtf8(int column, qsizetype row) const;
  void SetCell(int column, qsizetype row, QStringView text);
  // Moves whole rows at once: new row i is old row order[i]. `order` must be a permutation
  // of all rows, header row included; anything else leaves the grid unchanged.
  bool ReorderRows(std::span<const std::uint32_t> order);
  void AppendRow(const std::array<QStringView, kMaxColumns>& cells);
  // A row made by entering also takes what it knows of the file.
  void AppendRowUtf8(const std::array<std::string_view, kMaxColumns>& cells,
                     const EntryFacts& facts = {});
  QStringList Column(int column) const;
  int ColumnWidth(int column) const { return column_widths_[column]; }
  void SetColumnWidth(int column, int width);

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
  std::size_t CellIndex(int column, qsizetype row) const {
    return static_cast<std::size_t>(row) * kMaxColumns + static_cast<std::size_t>(column);
  }

  LineList text_;
  LineList html_;
  StringPool grid_pool_;
  std::vector<StringPool::Ref> cells_;
  RowFacts facts_;
  qsizetype row_count_ = 1;
  int column_count_ = 2;
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

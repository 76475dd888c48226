#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "core/i18n/LanguageTables.h"
#include "core/listing/FileTexts.h"
#include "core/listing/MediaCells.h"
#include "core/listing/Scanner.h"
#include "core/settings/SearchSelection.h"

namespace kavoro {

class ListingData;

// The options that shape the entries of a run.
struct EntryOptions {
  bool details = false;  // size, type and date of change
  bool hide_extensions = false;
  bool whole_path = false;
  bool link = false;   // only with whole_path
  bool media = false;  // the media columns: what music and pictures say of themselves
};

// Size, type and date texts of found files; shared by the runs of a program.
struct EntryTexts {
  DateTextFormat dates;
  ShellTypeNames types;
};

// Which views entering writes; a command line that saves only the text view needs no more.
enum ListingViews { kTextView = 1, kGridView = 2, kHtmlView = 4, kAllViews = 7 };

// The files of one folder (or the selected ones) as the folder contents way enters them:
// in the given order, those whose extension is in the search list (or all of them).
FoundFiles CollectFolderEntries(const FoundFiles& files, const SearchSelection& selection);

// The scanner way: the folder and all folders below it, sorted by the name text, or with the
// detail columns by the name text (whole path) or the full path. The entries replace those
// in `out`; false when cancelled.
bool CollectScannedEntries(const QString& folder, const SearchSelection& selection,
                           const EntryOptions& options, FoundFiles& out,
                           const std::atomic<bool>* cancel = nullptr,
                           const Scanner::Progress& progress = {});

// The name text of found file `i` as the views show it (the name or the whole path, its
// extension hidden on request, control characters made visible), appended to `out`.
void AppendShownName(const FoundFiles& files, std::size_t i, const EntryOptions& options,
                     std::string& out);

// Either way for one folder chosen in the folder tree: its files, or with `recurse` the
// scanner over it and all folders below it.
bool CollectEntries(const QString& folder, bool recurse, const SearchSelection& selection,
                    const EntryOptions& options, FoundFiles& out,
                    const std::atomic<bool>* cancel = nullptr,
                    const Scanner::Progress& progress = {});

// The texts of one entry as the views show them (UTF-8), where its link goes (empty: no
// link), and what the grid row keeps of its file besides (see EntryFacts: its folder's and
// name's bytes, with details its size in bytes).
struct EntryCells {
  bool details = false;
  bool media = false;
  std::string_view name;
  std::string_view size;
  std::string_view type;
  std::string_view date;
  MediaCellTexts media_cells;
  std::string_view link_target;
  std::string_view folder;
  std::string_view file_name;
  std::optional<std::uint64_t> bytes;
};

// Numbers one entry on from the listing's last number and appends it to the views: the text
// line, the grid row and the HTML block of 6 lines and 2 more per detail or media cell.
void AppendEntry(ListingData& doc, const EntryCells& cells, int views = kAllViews);

// Numbers the entries on from the listing's last number and appends them to the views; with
// the media columns, their cells from `media` (read for the same entries), else empty.
void AppendEntries(ListingData& doc, const FoundFiles& entries, const EntryOptions& options,
                   EntryTexts& texts, int views = kAllViews, const MediaCells* media = nullptr);

// The search list as entering leaves it: a blank before each extension.
QString RunExtensionText(const SearchSelection& selection);

// The messages at the end of a run.
enum class EnterWay { Folder, Scanner, Selected };
QString NothingFoundMessage(const MessageSlots& slots, EnterWay way,
                            const SearchSelection& selection);
QString TimeAndCountMessage(const MessageSlots& slots, qint64 elapsed_ms, qsizetype found);

}  // namespace kavoro

#include "core/compare/ListCompare.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <unordered_map>

#include "core/listing/DateKey.h"
#include "core/listing/FileTexts.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingHeaders.h"
#include "core/output/ListFiles.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

constexpr std::string_view kRowStart = "<tr><td align=\"right\">";
constexpr std::string_view kLinkStart = "</td><td><a href=\"";
// Texts looked at to tell the form of sizes and dates; spread over the whole list.
constexpr std::size_t kSamples = 200;
// More distinct extensions than this in a list's names: it was made of all files.
constexpr std::size_t kMaxGuessedExtensions = 8;
constexpr std::uint32_t kNone = std::uint32_t(-1);

std::string_view FileNamePart(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

std::string_view FolderPart(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : name.substr(0, slash + 1);
}

// The locales whose listing form dates are tried in; the user's own first.
std::vector<QLocale> DateLocales() {
  return {QLocale::system(),
          QLocale::c(),  // what kavoro-list writes where no locale is set
          QLocale(QLocale::German, QLocale::Germany),
          QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::English, QLocale::UnitedKingdom),
          QLocale(QLocale::French, QLocale::France),
          QLocale(QLocale::Spanish, QLocale::Spain),
          QLocale(QLocale::Italian, QLocale::Italy),
          QLocale(QLocale::Dutch, QLocale::Netherlands)};
}

// True when `text` reads as a date in the listing form of `locale` and that form writes the
// same text back: a German date does not pass for an English one.
bool DateFits(const DateReader& reader, DateTextFormat& format, std::string_view text) {
  const std::optional<qint64> wall = reader.Seconds(text);
  if (!wall) return false;
  return format.Format(QDateTime::fromSecsSinceEpoch(*wall, Qt::UTC)) ==
         QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// True when `text` is what FormatSizeKB writes for some size.
bool SizeFits(std::string_view text) {
  if (!text.ends_with(" KB") || text.size() > 40) return false;
  std::uint64_t kilobytes = 0;
  for (const char c : text.substr(0, text.size() - 3)) {
    if (c >= '0' && c <= '9') kilobytes = kilobytes * 10 + std::uint64_t(c - '0');
  }
  std::string written;
  AppendSizeKB(kilobytes * 1024, written);
  return written == text;
}

}  // namespace

std::optional<SavedList> SavedList::Read(const QString& base, const MessageSlots& messages,
                                         QString* error) {
  auto contents = ReadListFiles(base, messages, error, false);
  if (!contents) return std::nullopt;
  SavedList list;
  list.base_ = base;
  list.five_columns_ = contents->form.details;
  list.media_ = contents->form.media;
  if (contents->text.Count() > 0) list.text_header_ = contents->text.Utf8At(0);
  list.TakeHtmlHead(contents->html,
                    contents->blocks.empty() ? contents->html.Count() : contents->blocks[0].first);
  if (list.five_columns_) {
    list.details_.reserve(std::size_t(contents->names.Count()));
    ForEachListedEntry(*contents, [&](qsizetype, std::string_view, DetailTexts details,
                                      MediaTexts) { list.AddDetails(details[0], details[2]); });
  }
  list.names_ = std::move(contents->names);
  contents.reset();
  list.DetectForm();
  return list;
}

SavedList SavedList::FromListing(const ListingData& doc) {
  SavedList list;
  list.five_columns_ = doc.HasDetails();
  list.media_ = doc.HasMedia();
  if (doc.Text().Count() > 0) list.text_header_ = doc.Text().Utf8At(0);
  const LineList& html = doc.Html();
  // The page template and the header row; a listing made anew while the grid kept five
  // columns has its first entry where the header row would be.
  qsizetype head = std::min(html.Count(), qsizetype(html_line::kHeaderRow + 1));
  if (head > html_line::kHeaderRow && html.Utf8At(html_line::kHeaderRow) == kRowStart) --head;
  list.TakeHtmlHead(html, head);
  for (qsizetype row = 0; row < doc.RowCount(); ++row) {
    list.names_.AppendUtf8(doc.CellUtf8(1, row));
    if (list.five_columns_ && row > 0) list.AddDetails(doc.CellUtf8(2, row), doc.CellUtf8(4, row));
  }
  list.DetectForm();
  return list;
}

void SavedList::TakeHtmlHead(const LineList& html, qsizetype first_entry) {
  for (qsizetype i = 0; i < first_entry; ++i) html_head_.emplace_back(html.Utf8At(i));
  link_ = html.Count() > first_entry + 2 && html.Utf8At(first_entry + 2).starts_with(kLinkStart);
}

void SavedList::AddDetails(std::string_view size, std::string_view date) {
  details_.push_back({texts_.AddUtf8(size), texts_.AddUtf8(date)});
}

void SavedList::DetectForm() {
  for (std::size_t i = 0; i < Count(); ++i) path_names_ += Name(i).starts_with('/');
  whole_paths_ = path_names_ > 0 && path_names_ == Count();
  if (details_.empty()) return;
  std::vector<std::string_view> dates;
  const std::size_t step = std::max<std::size_t>(1, Count() / kSamples);
  for (std::size_t i = 0; i < Count(); i += step) {
    // An entry without its own HTML block has no size and date; it tells nothing.
    if (!Date(i).empty()) dates.push_back(Date(i));
    if (!Size(i).empty() && bad_size_.empty() && !SizeFits(Size(i))) bad_size_ = Size(i);
  }
  if (dates.empty()) return;
  std::string_view first_misfit;
  for (const QLocale& locale : DateLocales()) {
    const DateReader reader(locale);
    DateTextFormat format(locale);
    const auto misfit = std::find_if(dates.begin(), dates.end(), [&](std::string_view text) {
      return !DateFits(reader, format, text);
    });
    if (misfit == dates.end()) {
      date_locale_ = locale;
      return;
    }
    if (first_misfit.empty()) first_misfit = *misfit;
  }
  bad_date_ = first_misfit;
}

QString SavedList::Problem(const MessageSlots& m) const {
  if (path_names_ > 0 && path_names_ < Count()) {
    return m.msgCompareMixedPaths.arg(path_names_).arg(Count());
  }
  if (!bad_size_.empty()) return m.msgCompareSizes.arg(QString::fromStdString(bad_size_));
  if (!bad_date_.empty()) return m.msgCompareDates.arg(QString::fromStdString(bad_date_));
  return QString();
}

QString SavedList::CommonFolder() const {
  if (!whole_paths_) return QString();
  std::string_view common = FolderPart(Name(0));
  for (std::size_t i = 1; i < Count() && common.size() > 1; ++i) {
    const std::string_view folder = FolderPart(Name(i));
    std::size_t same = 0;
    while (same < common.size() && same < folder.size() && common[same] == folder[same]) ++same;
    common = FolderPart(common.substr(0, same));
  }
  if (common.size() > 1) common.remove_suffix(1);
  return QString::fromUtf8(common.data(), qsizetype(common.size()));
}

ListForm SavedList::GuessForm() const {
  ListForm form;
  form.options.details = five_columns_;
  form.options.whole_path = whole_paths_;
  form.options.link = link_ && whole_paths_;
  QStringList extensions;
  bool every_name_has_one = true;
  for (std::size_t i = 0; i < Count(); ++i) {
    const std::string_view ext = ExtensionOf(FileNamePart(Name(i)));
    if (ext.empty() || ext.size() == FileNamePart(Name(i)).size()) {
      every_name_has_one = false;
      continue;
    }
    const QString lower = AsciiLower(QString::fromUtf8(ext.data(), qsizetype(ext.size())));
    if (extensions.size() <= qsizetype(kMaxGuessedExtensions) && !extensions.contains(lower)) {
      extensions.append(lower);
    }
  }
  form.options.hide_extensions = Count() != 0 && extensions.isEmpty();
  if (every_name_has_one && !extensions.isEmpty() &&
      extensions.size() <= qsizetype(kMaxGuessedExtensions)) {
    form.selection.extensions = extensions;
    form.selection.search_all_files = false;
    form.selection.RebuildCurrentExtension();
  }
  if (whole_paths_) {
    const std::string common = CommonFolder().toStdString();
    const std::size_t below = common == "/" ? 1 : common.size() + 1;
    form.recurse = false;
    for (std::size_t i = 0; i < Count(); ++i) {
      const std::string_view folder = FolderPart(Name(i));
      if (folder.size() <= below) continue;
      form.recurse = true;
      if (folder.find("/.", below - 1) != std::string_view::npos) {
        form.selection.hidden_folders = true;
      }
    }
  }
  return form;
}

bool WalkInForm(const QString& folder, const ListForm& form, FoundFiles& out,
                const std::atomic<bool>* cancel, const Scanner::Progress& progress) {
  return CollectEntries(folder, form.recurse, form.selection, form.options, out, cancel,
                        progress) &&
         !(cancel && cancel->load(std::memory_order_relaxed));
}

namespace {

// The list's entries by name: per name the first entry not matched yet, each entry linked to
// the next of its name. Open addressing over the names' hashes, two numbers a slot: a list of
// a million entries costs some 20 MB here, not a node per name.
class NameQueues {
 public:
  explicit NameQueues(const SavedList& list) : list_(list), next_(list.Count(), kNone) {
    std::size_t capacity = 16;
    while (capacity < 2 * list.Count()) capacity *= 2;
    slots_.resize(capacity);
    mask_ = capacity - 1;
    for (std::size_t i = list.Count(); i-- > 0;) {
      Slot& slot = Find(list.Name(i));
      if (slot.key == kNone) slot.key = std::uint32_t(i);
      next_[i] = std::exchange(slot.head, std::uint32_t(i));
    }
  }

  // The first entry of `name` not taken yet, now taken; kNone when none is left.
  std::uint32_t Take(std::string_view name) {
    Slot& slot = Find(name);
    const std::uint32_t first = slot.head;
    if (first != kNone) slot.head = next_[first];
    return first;
  }

 private:
  struct Slot {
    std::uint32_t key = kNone;  // an entry of the slot's name
    std::uint32_t head = kNone;
  };

  // The slot of `name`: its own, or the empty one where it would go.
  Slot& Find(std::string_view name) {
    for (std::size_t at = std::hash<std::string_view>()(name) & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (slot.key == kNone || list_.Name(slot.key) == name) return slot;
    }
  }

  const SavedList& list_;
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> next_;
  std::size_t mask_ = 0;
};

// Pairs the missing and the new entries that carry the same file name, size and date, in
// order, and takes them out of their groups.
void FindMoves(CompareResult& r) {
  auto key = [](const ComparedEntry& e) {
    std::string k(FileNamePart(e.name));
    k.append(1, '\0').append(e.size).append(1, '\0').append(e.date);
    return k;
  };
  std::unordered_multimap<std::string, std::size_t> missing;
  for (std::size_t i = 0; i < r.missing.size(); ++i) missing.emplace(key(r.missing[i]), i);
  if (missing.empty()) return;
  // The multimap keeps no order among equal keys; the lowest index is taken each time.
  std::vector<bool> moved_missing(r.missing.size());
  std::vector<bool> moved_added(r.added.size());
  for (std::size_t a = 0; a < r.added.size(); ++a) {
    const auto [first, last] = missing.equal_range(key(r.added[a]));
    auto best = last;
    for (auto it = first; it != last; ++it) {
      if (best == last || it->second < best->second) best = it;
    }
    if (best == last) continue;
    const ComparedEntry& from = r.missing[best->second];
    r.moved.push_back({from.name, r.added[a].name, from.size, from.date});
    moved_missing[best->second] = true;
    moved_added[a] = true;
    missing.erase(best);
  }
  auto drop = [](std::vector<ComparedEntry>& group, const std::vector<bool>& gone) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (gone[i]) continue;
      if (kept != i) group[kept] = std::move(group[i]);
      ++kept;
    }
    group.resize(kept);
  };
  drop(r.missing, moved_missing);
  drop(r.added, moved_added);
}

}  // namespace

std::optional<CompareResult> CompareWithFolder(const SavedList& list, const QString& folder,
                                               const ListForm& form, const MessageSlots& m,
                                               QString* error, const std::atomic<bool>* cancel,
                                               const Scanner::Progress& progress) {
  const QFileInfo info(folder);
  if (!info.isDir()) {
    *error = m.msgCompareNoFolder.arg(folder);
    return std::nullopt;
  }
  if (QString problem = list.Problem(m); !problem.isEmpty()) {
    *error = problem;
    return std::nullopt;
  }
  CompareResult r;
  r.folder = info.absoluteFilePath();
  r.form = form;
  r.form.options.details = list.Details();
  r.form.options.whole_path = list.WholePaths();
  r.matched_without_extensions = r.form.options.hide_extensions;
  const std::string root = utf8::FromQString(r.folder.endsWith(u'/') ? r.folder : r.folder + u'/');
  if (list.WholePaths()) {
    bool inside = false;
    for (std::size_t i = 0; i < list.Count() && !inside; ++i)
      inside = list.Name(i).starts_with(root);
    if (!inside) {
      *error = m.msgCompareOutside.arg(r.folder, list.CommonFolder());
      return std::nullopt;
    }
  }
  FoundFiles found;
  if (!WalkInForm(r.folder, r.form, found, cancel, progress)) {
    error->clear();
    return std::nullopt;
  }

  const std::size_t n = list.Count();
  NameQueues by_name(list);
  std::vector<bool> matched(n);
  const bool details = list.Details();
  DateTextFormat dates(list.DateLocale());
  if (details) r.date_form = dates.Pattern() + u" ("_qs + list.DateLocale().name() + u')';
  std::string name, size, date;
  for (std::size_t k = 0; k < found.Count(); ++k) {
    name.clear();
    AppendShownName(found, k, r.form.options, name);
    size.clear();
    date.clear();
    if (details) {
      AppendSizeKB(found.Size(k), size);
      dates.Append(found.Mtime(k), date);
    }
    const std::uint32_t j = by_name.Take(name);
    if (j == kNone) {
      r.added.push_back({name, size, date});
      continue;
    }
    matched[j] = true;
    if (size == list.Size(j) && date == list.Date(j)) {
      ++r.unchanged;
    } else {
      r.changed.push_back({name, std::string(list.Size(j)), std::string(list.Date(j)), size, date});
    }
  }

  std::string scratch;
  for (const std::string& folder_bytes : found.Unreadable()) {
    r.unreadable_folders.emplace_back(utf8::Sanitized(folder_bytes, scratch));
  }
  for (std::size_t j = 0; j < n; ++j) {
    if (matched[j]) continue;
    ComparedEntry entry{std::string(list.Name(j)), std::string(list.Size(j)),
                        std::string(list.Date(j))};
    // Without whole paths an entry could have been in any folder.
    const bool unknown =
        !r.unreadable_folders.empty() &&
        (!list.WholePaths() ||
         std::any_of(r.unreadable_folders.begin(), r.unreadable_folders.end(),
                     [&](const std::string& f) { return entry.name.starts_with(f); }));
    (unknown ? r.unreadable : r.missing).push_back(std::move(entry));
  }
  if (details) FindMoves(r);
  return r;
}

}  // namespace kavoro

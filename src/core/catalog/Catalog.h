#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/i18n/LanguageTables.h"

namespace kavoro {

// Text as a German reader searches it: lower case, accents dropped, "ß" as "ss", and an
// umlaut's spelled-out form as its plain vowel ("Ärger", "Aerger" and "arger" all read
// "arger"), as the browsable page's search box folds. Both what is indexed and what is asked
// for are folded so.
QString FoldForSearch(const QString& text);

// One entry of a catalogued list. `list` is the list's base (the path without ".mpl"), which
// --open takes; the number is the entry's place in the list, as opening it numbers the grid.
// Size, type and date are empty for a list without the detail columns.
struct CatalogEntry {
  QString list;
  qint64 number = 0;
  QString name;
  QString size;
  QString type;
  QString date;
  bool details = false;
};

// The entry's name without its folder, when the list holds whole paths.
QString FileNameOf(const CatalogEntry& entry);

// Column 0 to 5 of an entry as the catalogue shows it: list, number, name, size, type, date.
QString EntryCell(const CatalogEntry& entry, int column);

// A list set that could not be read; the reason names the file and the problem.
struct SkippedList {
  QString list;
  QString reason;
};

struct CatalogUpdate {
  int indexed = 0;    // lists read and indexed anew
  int unchanged = 0;  // lists whose three files were as the index knew them
  int dropped = 0;    // lists the index held that are gone or no longer in its folders
  std::vector<SkippedList> skipped;
  bool cancelled = false;
};

// Entries of the same file name (a whole path counts by its last part) and the same size
// text (entries of lists without details have none and group among themselves) found more
// than once. `extra_kb` is the space all copies
// but one take, 0 when the size does not read as KB.
struct DuplicateGroup {
  std::vector<CatalogEntry> copies;
  std::int64_t extra_kb = 0;
};

// What is asked of the catalogue: entries whose name holds `text` (all, when it is empty),
// narrowed by the extension of the name (without its dot, case ignored), the size in KB
// (entries without a size then drop out) and a part of the list's file name.
struct CatalogQuery {
  QString text;
  QString extension;
  std::optional<std::int64_t> min_kb;
  std::optional<std::int64_t> max_kb;
  QString list_name;
};

struct CatalogCount {
  qint64 hits = 0;
  qint64 lists = 0;
};

// The catalogue of saved lists: an index of every entry of the list sets in some folders, kept
// in an SQLite file that is only a cache. The list files are read, never changed; an index
// that is missing, not a database or damaged is made anew, one that another process holds is
// waited for (and when that takes too long, this run works on an index in memory).
class Catalog {
 public:
  // Where the index lives unless told otherwise: $XDG_CACHE_HOME/kavoro/catalog.sqlite.
  static QString DefaultPath();

  // `language` is that of the reasons given for lists that cannot be read.
  explicit Catalog(const QString& path = DefaultPath(), UiLanguage language = UiLanguage::German);
  ~Catalog();
  Catalog(const Catalog&) = delete;
  Catalog& operator=(const Catalog&) = delete;

  // What went wrong with the index file, when this run works on one in memory instead.
  const QString& Warning() const { return warning_; }

  // Makes the catalogue hold the lists of `folders` (their own files, not those of their
  // subfolders): each "NAME.mpl" with its ".mpl2" and ".mpl3". A list is read again only when
  // one of its three files changed in size or time of change; lists that are gone, and those
  // of other folders, are dropped. `progress` hears (lists looked at, lists in all); a set
  // `cancel` stops after the list at hand, and what was indexed so far stays.
  CatalogUpdate Update(const QStringList& folders,
                       const std::function<void(qsizetype, qsizetype)>& progress = {},
                       const std::atomic<bool>* cancel = nullptr);

  // The entries the query asks for (texts folded as FoldForSearch folds), by list and number:
  // all of them, or with a `limit` the first that many the index holds. A set `cancel` stops
  // the search; what was found so far comes back.
  std::vector<CatalogEntry> Find(const CatalogQuery& query, qint64 limit = -1,
                                 const std::atomic<bool>* cancel = nullptr);
  std::vector<CatalogEntry> Find(const QString& text) {
    CatalogQuery query;
    query.text = text;
    return Find(query);
  }

  // Hands each entry the query asks for to `take`, in the order the index holds them, until
  // `take` says no more or `cancel` is set; false when it was stopped so.
  bool Each(const CatalogQuery& query, const std::function<bool(const CatalogEntry&)>& take,
            const std::atomic<bool>* cancel = nullptr);

  // How many entries the query finds, in how many lists; nothing when it was stopped.
  std::optional<CatalogCount> Count(const CatalogQuery& query,
                                    const std::atomic<bool>* cancel = nullptr);

  // The entries found more than once, the groups that waste the most space first; with a
  // `limit`, only that many groups.
  std::vector<DuplicateGroup> Duplicates(qint64 limit = -1,
                                         const std::atomic<bool>* cancel = nullptr);

 private:
  struct Db;
  // Makes the index anew when `rc` says its file is damaged; true when it did.
  bool RebuildIfDamaged(int rc);

  QString path_;
  std::unique_ptr<Db> db_;
  bool rebuilt_ = false;
  UiLanguage language_;
  QString warning_;
};

}  // namespace kavoro

#include "core/catalog/Catalog.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <future>
#include <string>
#include <tuple>
#include <unordered_map>
#include <variant>

#include "core/listing/GridSort.h"
#include "core/output/ListFiles.h"
#include "core/output/WorkbookWriter.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// A second process that indexes the same folders is waited for this long.
constexpr int kBusyMilliseconds = 10000;
constexpr int kSchemaVersion = 4;
// SQLite's name for an index that lives in memory only.
const QString kInMemory = u":memory:"_qs;

// The entries and their folded names; the full-text table indexes the folded names by
// trigrams without their places (half the time to build; GLOB checks each candidate) and is
// kept in step a list at a time (row by row would take five times as long). `file`
// is the name without its folder (the same file on two discs has the same file name), `ext` the
// name's extension in lower case, `kb` the size in KB (NULL when the list has none or it does not
// read as one); `folded` of a list is its file name folded, for the filter by list name.
constexpr char kSchema[] = R"sql(
CREATE TABLE lists(id INTEGER PRIMARY KEY, base TEXT NOT NULL UNIQUE, stamp TEXT NOT NULL,
                   details INTEGER NOT NULL, folded TEXT NOT NULL);
CREATE TABLE entries(id INTEGER PRIMARY KEY, list INTEGER NOT NULL, number INTEGER NOT NULL,
                     name TEXT NOT NULL, size TEXT NOT NULL, type TEXT NOT NULL,
                     date TEXT NOT NULL, folded TEXT NOT NULL, file TEXT NOT NULL,
                     ext TEXT NOT NULL, kb INTEGER);
CREATE INDEX entries_of_list ON entries(list);
CREATE VIRTUAL TABLE entries_fts USING fts5(folded, content='entries', content_rowid='id',
                                            tokenize='trigram', detail=none);
PRAGMA user_version = 4;
)sql";

// The columns EntryOf reads; the FROM follows.
// The index that finds the doubles; made after many lists were written at once.
constexpr char kFileIndex[] =
    "CREATE INDEX IF NOT EXISTS entries_by_file ON entries(file, size, kb)";

constexpr char kEntryColumns[] =
    "SELECT l.base, e.number, e.name, e.size, e.type, e.date, l.details";

// How opening an index file went.
enum class Opened { Ok, Damaged, Busy, Failed };

Opened Classify(int rc) {
  switch (rc & 0xff) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
      return Opened::Ok;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return Opened::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Opened::Busy;
    default:
      return Opened::Failed;
  }
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  int Rc() const { return rc_; }
  void Bind(int i, std::string_view text) {
    // A null pointer would bind NULL, not the empty text.
    sqlite3_bind_text(stmt_, i, text.empty() ? "" : text.data(), int(text.size()),
                      SQLITE_TRANSIENT);
  }
  void Bind(int i, const QString& text) { Bind(i, utf8::FromQString(text)); }
  void Bind(int i, qint64 value) { sqlite3_bind_int64(stmt_, i, value); }
  void Bind(int i, std::optional<std::int64_t> value) {
    if (value) {
      sqlite3_bind_int64(stmt_, i, *value);
    } else {
      sqlite3_bind_null(stmt_, i);
    }
  }
  // True while there is a row; the last result code stays in Rc().
  bool Step() {
    if (rc_ != SQLITE_OK && rc_ != SQLITE_ROW && rc_ != SQLITE_DONE) return false;
    rc_ = sqlite3_step(stmt_);
    return rc_ == SQLITE_ROW;
  }
  // Runs the statement once more with new bindings.
  void Reset() {
    sqlite3_reset(stmt_);
    rc_ = SQLITE_OK;
  }
  std::string_view Text(int i) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return bytes ? std::string_view(bytes, std::size_t(sqlite3_column_bytes(stmt_, i)))
                 : std::string_view();
  }
  qint64 Int(int i) const { return sqlite3_column_int64(stmt_, i); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_;
};

// The size, time of change and file of each of a list's three files: a list saved anew gets
// new files (they replace the old ones by renaming), so a change shows even at the same size
// within the same tick of the clock.
QString StampOf(const QString& base) {
  QString stamp;
  for (const char* ext : {".mpl", ".mpl2", ".mpl3"}) {
    struct stat st {};
    if (::stat(QFile::encodeName(base + QLatin1String(ext)).constData(), &st) != 0) {
      stamp += u"-;"_qs;
      continue;
    }
    stamp += u"%1:%2.%3:%4;"_qs.arg(qint64(st.st_size))
                 .arg(qint64(st.st_mtim.tv_sec))
                 .arg(qint64(st.st_mtim.tv_nsec))
                 .arg(quint64(st.st_ino));
  }
  return stamp;
}

// The reason ReadListFiles gives, without its first line (that the list cannot be opened) and
// on one line.
QString ReasonOf(const QString& error, const MessageSlots& messages) {
  QStringList lines = error.split(u'\n', Qt::SkipEmptyParts);
  if (lines.size() > 1 && lines.front() == messages.msgListRefused) lines.removeFirst();
  return lines.join(u" : "_qs);
}

CatalogEntry EntryOf(const Statement& s) {
  return {utf8::ToQString(s.Text(0)),
          s.Int(1),
          utf8::ToQString(s.Text(2)),
          utf8::ToQString(s.Text(3)),
          utf8::ToQString(s.Text(4)),
          utf8::ToQString(s.Text(5)),
          s.Int(6) != 0};
}

// A pattern for GLOB that finds `text` anywhere.
QString GlobAnywhere(const QString& text) {
  QString pattern = u"*"_qs;
  for (const QChar c : text) {
    if (c == u'*' || c == u'?' || c == u'[') {
      pattern += u'[' + c + u']';
    } else {
      pattern += c;
    }
  }
  return pattern + u'*';
}

}  // namespace

QString FileNameOf(const CatalogEntry& entry) {
  return entry.name.mid(entry.name.lastIndexOf(u'/') + 1);
}

QString EntryCell(const CatalogEntry& entry, int column) {
  switch (column) {
    case 0:
      return entry.list;
    case 1:
      return QString::number(entry.number);
    case 2:
      return entry.name;
    case 3:
      return entry.size;
    case 4:
      return entry.type;
    default:
      return entry.date;
  }
}

QString FoldForSearch(const QString& text) {
  QString lower = text.toLower();
  lower.replace(QChar(0xdf), u"ss"_qs);
  const QString split = lower.normalized(QString::NormalizationForm_D);
  QString folded;
  folded.reserve(split.size());
  bool vowel = false;  // the last character kept is an a, o or u that an e may follow
  for (const QChar c : split) {
    const char16_t u = c.unicode();
    if (u >= 0x300 && u <= 0x36f) continue;  // the accents NFD split off
    if (vowel && u == u'e') {
      vowel = false;
      continue;
    }
    vowel = u == u'a' || u == u'o' || u == u'u';
    folded += c;
  }
  return folded.normalized(QString::NormalizationForm_C);
}

struct Catalog::Db {
  sqlite3* handle = nullptr;
  int failed_rc = SQLITE_OK;  // why the last Store failed
  bool bulk = false;          // see BeginBulk

  ~Db() { sqlite3_close(handle); }

  int Exec(const char* sql) { return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr); }

  // The index is only a cache: a damaged one is deleted and made anew, to be filled again.
  Opened Rebuild(const QString& path) {
    Open(kInMemory);  // lets go of the file first
    if (path != kInMemory) {
      for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
    }
    return Open(path);
  }

  // Opens the index at `path` (":memory:" for one in memory) and makes its tables when it
  // has none yet.
  Opened Open(const QString& path) {
    bulk = false;
    sqlite3_close(handle);
    handle = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) return Classify(rc);
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, kBusyMilliseconds);
    // A larger page cache than the default: lists of many entries are written at once.
    if (rc = Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA cache_size=-65536");
        rc != SQLITE_OK) {
      return Classify(rc);
    }
    // Two processes may find the index empty at once; the one that writes first makes it.
    if (rc = Exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return Classify(rc);
    Statement version(handle, "PRAGMA user_version");
    const qint64 found = version.Step() ? version.Int(0) : -1;
    rc = found == 0 ? Exec(kSchema) : version.Rc();
    if (found == 0 && rc == SQLITE_OK) rc = Exec(kFileIndex);
    if (Classify(rc) == Opened::Ok) rc = Exec("COMMIT");
    if (Classify(rc) != Opened::Ok) {
      Exec("ROLLBACK");
      return Classify(rc);
    }
    return found == 0 || found == kSchemaVersion ? Opened::Ok : Opened::Damaged;
  }

  bool Write(const char* sql, qint64 id) {
    Statement s(handle, sql);
    s.Bind(1, id);
    s.Step();
    return s.Rc() == SQLITE_DONE;
  }

  // While many lists are written at once, the full-text index and the index of file names
  // are made once at the end, which takes a fraction of the time list by list would. The
  // table `building` marks an index whose end was not reached (the run was killed); the next
  // update finishes it.
  void BeginBulk() {
    bulk = Exec(
               "BEGIN IMMEDIATE; CREATE TABLE IF NOT EXISTS building(x); "
               "DROP INDEX IF EXISTS entries_by_file; COMMIT") == SQLITE_OK;
    if (!bulk) Exec("ROLLBACK");
  }
  bool Unfinished() {
    Statement s(handle, "SELECT 1 FROM sqlite_master WHERE name = 'building'");
    return s.Step();
  }
  void FinishBulk() {
    bulk = false;
    const std::string sql = std::string("BEGIN IMMEDIATE; ") + kFileIndex +
                            "; INSERT INTO entries_fts(entries_fts) VALUES('rebuild'); "
                            "DROP TABLE IF EXISTS building; COMMIT";
    if (Exec(sql.c_str()) != SQLITE_OK) Exec("ROLLBACK");
  }

  bool Forget(qint64 list) {
    return (bulk || Write("INSERT INTO entries_fts(entries_fts, rowid, folded) "
                          "SELECT 'delete', id, folded FROM entries WHERE list = ?",
                          list)) &&
           Write("DELETE FROM entries WHERE list = ?", list) &&
           Write("DELETE FROM lists WHERE id = ?", list);
  }

  // Replaces what the index knows of a list by its entries; `old_id` < 0 when it knew none.
  // On failure `error` says why and the index stays as it was.
  bool Store(const QString& base, const QString& stamp, qint64 old_id,
             const ListFileContents& contents, QString* error) {
    if (Exec("BEGIN IMMEDIATE") != SQLITE_OK) {
      *error = QString::fromUtf8(sqlite3_errmsg(handle));
      return false;
    }
    bool ok = old_id < 0 || Forget(old_id);
    const bool details = contents.form.details;
    Statement list(handle, "INSERT INTO lists(base, stamp, details, folded) VALUES (?, ?, ?, ?)");
    list.Bind(1, base);
    list.Bind(2, stamp);
    list.Bind(3, qint64(details));
    list.Bind(4, FoldForSearch(QFileInfo(base).fileName()));
    list.Step();
    ok = ok && list.Rc() == SQLITE_DONE;
    const qint64 id = sqlite3_last_insert_rowid(handle);
    Statement entry(handle,
                    "INSERT INTO entries(list, number, name, size, type, date, folded, file, "
                    "ext, kb) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    ForEachListedEntry(contents,
                       [&](qsizetype row, std::string_view name, DetailTexts texts, MediaTexts) {
                         if (!ok) return;
                         entry.Reset();
                         entry.Bind(1, id);
                         entry.Bind(2, qint64(row));
                         entry.Bind(3, name);
                         for (int i = 0; i < 3; ++i) entry.Bind(i + 4, std::string_view(texts[i]));
                         const QString text = utf8::ToQString(name);
                         entry.Bind(7, FoldForSearch(text));
                         entry.Bind(8, text.mid(text.lastIndexOf(u'/') + 1));
                         entry.Bind(9, text.mid(ExtensionStart(text) + 1).toLower());
                         entry.Bind(10, details ? ReadSizeKB(texts[0]) : std::nullopt);
                         entry.Step();
                         ok = entry.Rc() == SQLITE_DONE;
                       });
    ok = ok && (bulk || Write("INSERT INTO entries_fts(rowid, folded) "
                              "SELECT id, folded FROM entries WHERE list = ?",
                              id));
    if (ok && Exec("COMMIT") == SQLITE_OK) return true;
    *error = QString::fromUtf8(sqlite3_errmsg(handle));
    failed_rc = sqlite3_extended_errcode(handle);
    Exec("ROLLBACK");
    return false;
  }
};

QString Catalog::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         u"/kavoro/catalog.sqlite"_qs;
}

Catalog::Catalog(const QString& path, UiLanguage language)
    : path_(path), db_(std::make_unique<Db>()), language_(language) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  Opened opened = db_->Open(path);
  if (opened == Opened::Damaged) opened = db_->Rebuild(path);
  if (opened != Opened::Ok) {
    warning_ = MessageSlotsFor(language).catalogUnusable.arg(
        path, QString::fromUtf8(sqlite3_errmsg(db_->handle)));
    path_ = kInMemory;
    db_->Open(path_);
  }
}

Catalog::~Catalog() = default;

bool Catalog::RebuildIfDamaged(int rc) {
  // An index damaged again in the same run is not made anew a second time: the run goes on
  // with the errors its writes report.
  if (Classify(rc) != Opened::Damaged || rebuilt_) return false;
  rebuilt_ = true;
  return db_->Rebuild(path_) == Opened::Ok;
}

CatalogUpdate Catalog::Update(const QStringList& folders,
                              const std::function<void(qsizetype, qsizetype)>& progress,
                              const std::atomic<bool>* cancel) {
  CatalogUpdate result;
  QStringList bases;
  QSet<QString> seen;
  for (const QString& folder : folders) {
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({u"*.mpl"_qs}, QDir::Files | QDir::Hidden | QDir::CaseSensitive, QDir::Name);
    for (const QString& name : names) {
      const QString base = dir.absoluteFilePath(name.chopped(4));
      if (!seen.contains(base)) bases.append(base);
      seen.insert(base);
    }
  }
  struct Known {
    qint64 id;
    QString stamp;
  };
  std::unordered_map<QString, Known> known;
  {
    Statement s(db_->handle, "SELECT id, base, stamp FROM lists");
    while (s.Step()) known[utf8::ToQString(s.Text(1))] = {s.Int(0), utf8::ToQString(s.Text(2))};
    // A damaged index is found out here at the latest; everything is read into a new one.
    if (RebuildIfDamaged(s.Rc())) known.clear();
  }
  // The lists whose files changed; those that did not are done at once.
  struct Changed {
    QString base;
    QString stamp;
    qint64 old_id;
  };
  std::vector<Changed> changed;
  for (const QString& base : bases) {
    const QString stamp = StampOf(base);
    const auto it = known.find(base);
    const qint64 old_id = it == known.end() ? -1 : it->second.id;
    if (it != known.end()) {
      const bool same = it->second.stamp == stamp;
      known.erase(it);
      if (same) {
        ++result.unchanged;
        continue;
      }
    }
    changed.push_back({base, stamp, old_id});
  }
  // The next list is read while the one at hand is written into the index.
  const MessageSlots& messages = MessageSlotsFor(language_);
  struct Read {
    std::optional<ListFileContents> contents;
    QString error;
  };
  const auto read = [&messages](const QString& base) {
    Read r;
    r.contents = ReadListFiles(base, messages, &r.error, false);
    return r;
  };
  if (changed.size() >= 4 && changed.size() * 2 > std::size_t(bases.size())) db_->BeginBulk();
  std::future<Read> next;
  if (!changed.empty()) next = std::async(std::launch::async, read, changed.front().base);
  for (std::size_t i = 0; i < changed.size(); ++i) {
    if (progress) progress(result.unchanged + qsizetype(i), bases.size());
    if (cancel && cancel->load()) {
      result.cancelled = true;
      break;
    }
    const Changed& list = changed[i];
    Read current = next.get();
    if (i + 1 < changed.size()) {
      next = std::async(std::launch::async, read, changed[i + 1].base);
    }
    if (!current.contents) {
      result.skipped.push_back({list.base, ReasonOf(current.error, messages)});
      if (list.old_id >= 0) db_->Forget(list.old_id);
      continue;
    }
    QString error;
    if (db_->Store(list.base, list.stamp, list.old_id, *current.contents, &error)) {
      ++result.indexed;
    } else if (RebuildIfDamaged(db_->failed_rc)) {
      if (next.valid()) next.wait();
      // Everything the damaged index held is gone; all lists are read again.
      return Update(folders, progress, cancel);
    } else {
      result.skipped.push_back({list.base, error});
    }
  }
  if (next.valid()) next.wait();
  if (!result.cancelled) {
    for (const auto& [base, list] : known) {
      if (db_->Forget(list.id)) ++result.dropped;
    }
  }
  // What was written is searchable also when the update was stopped.
  if (db_->bulk || db_->Unfinished()) db_->FinishBulk();
  if (progress && !result.cancelled) progress(bases.size(), bases.size());
  return result;
}

namespace {

// Stops the statements of a connection while it lives, once `cancel` is set.
class StopWhen {
 public:
  StopWhen(sqlite3* db, const std::atomic<bool>* cancel) : db_(db) {
    if (!cancel) return;
    sqlite3_progress_handler(
        db, 2000,
        [](void* flag) { return int(static_cast<const std::atomic<bool>*>(flag)->load()); },
        const_cast<std::atomic<bool>*>(cancel));
  }
  ~StopWhen() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
  StopWhen(const StopWhen&) = delete;
  StopWhen& operator=(const StopWhen&) = delete;

 private:
  sqlite3* db_;
};

// The FROM and WHERE of a query, with the values of its parameters in order.
struct Selection {
  std::string sql;
  std::vector<std::variant<QString, std::int64_t>> values;

  void Bind(Statement& s) const {
    for (std::size_t i = 0; i < values.size(); ++i) {
      std::visit([&](const auto& value) { s.Bind(int(i + 1), value); }, values[i]);
    }
  }
};

Selection SelectionOf(const CatalogQuery& query) {
  Selection q;
  const QString folded = FoldForSearch(query.text);
  // The trigram index needs three characters; shorter texts are looked for entry by entry.
  // Three are one trigram, which the index answers exactly; a longer text's candidates (those
  // with all its trigrams) are checked by GLOB.
  const qsizetype length = folded.toUcs4().size();
  if (length >= 3) {
    q.sql = " FROM entries_fts f JOIN entries e ON e.id = f.rowid JOIN lists l ON l.id = e.list ";
    if (length == 3) {
      q.sql += "WHERE entries_fts MATCH ?";
      q.values.emplace_back(u'"' + QString(folded).replace(u'"', u"\"\""_qs) + u'"');
    } else {
      q.sql += "WHERE f.folded GLOB ?";
      q.values.emplace_back(GlobAnywhere(folded));
    }
  } else {
    q.sql = " FROM entries e JOIN lists l ON l.id = e.list WHERE 1";
    if (!folded.isEmpty()) {
      q.sql += " AND e.folded GLOB ?";
      q.values.emplace_back(GlobAnywhere(folded));
    }
  }
  QString extension = query.extension.trimmed().toLower();
  if (extension.startsWith(u'.')) extension.remove(0, 1);
  if (!extension.isEmpty()) {
    q.sql += " AND e.ext = ?";
    q.values.emplace_back(extension);
  }
  if (query.min_kb) {
    q.sql += " AND e.kb >= ?";
    q.values.emplace_back(*query.min_kb);
  }
  if (query.max_kb) {
    q.sql += " AND e.kb <= ?";
    q.values.emplace_back(*query.max_kb);
  }
  if (const QString list = FoldForSearch(query.list_name.trimmed()); !list.isEmpty()) {
    q.sql += " AND l.folded GLOB ?";
    q.values.emplace_back(GlobAnywhere(list));
  }
  return q;
}

bool ByListAndNumber(const CatalogEntry& a, const CatalogEntry& b) {
  return std::tie(a.list, a.number) < std::tie(b.list, b.number);
}

}  // namespace

bool Catalog::Each(const CatalogQuery& query, const std::function<bool(const CatalogEntry&)>& take,
                   const std::atomic<bool>* cancel) {
  const Selection selection = SelectionOf(query);
  Statement s(db_->handle, (kEntryColumns + selection.sql).c_str());
  selection.Bind(s);
  const StopWhen stop(db_->handle, cancel);
  while (!(cancel && cancel->load()) && s.Step()) {
    if (!take(EntryOf(s))) return false;
  }
  return !(cancel && cancel->load());
}

std::vector<CatalogEntry> Catalog::Find(const CatalogQuery& query, qint64 limit,
                                        const std::atomic<bool>* cancel) {
  std::vector<CatalogEntry> hits;
  if (limit == 0) return hits;
  Each(
      query,
      [&](const CatalogEntry& hit) {
        hits.push_back(hit);
        return limit < 0 || qint64(hits.size()) < limit;
      },
      cancel);
  std::sort(hits.begin(), hits.end(), ByListAndNumber);
  return hits;
}

std::optional<CatalogCount> Catalog::Count(const CatalogQuery& query,
                                           const std::atomic<bool>* cancel) {
  const Selection selection = SelectionOf(query);
  Statement s(db_->handle, ("SELECT COUNT(*), COUNT(DISTINCT e.list)" + selection.sql).c_str());
  selection.Bind(s);
  const StopWhen stop(db_->handle, cancel);
  if ((cancel && cancel->load()) || !s.Step()) return std::nullopt;
  return CatalogCount{s.Int(0), s.Int(1)};
}

std::vector<DuplicateGroup> Catalog::Duplicates(qint64 limit, const std::atomic<bool>* cancel) {
  // The groups with the space of their extra copies, then their entries in the groups' order.
  const std::string sql =
      std::string(kEntryColumns) +
      ", d.extra FROM (SELECT file, size, COALESCE(MAX(kb), 0) * (COUNT(*) - 1) AS extra "
      " FROM entries GROUP BY file, size HAVING COUNT(*) > 1 "
      " ORDER BY extra DESC, file, size LIMIT ?) d "
      "JOIN entries e ON e.file = d.file AND e.size = d.size "
      "JOIN lists l ON l.id = e.list "
      "ORDER BY d.extra DESC, d.file, d.size, l.base, e.number";
  Statement s(db_->handle, sql.c_str());
  s.Bind(1, limit);
  const StopWhen stop(db_->handle, cancel);
  std::vector<DuplicateGroup> groups;
  while (!(cancel && cancel->load()) && s.Step()) {
    CatalogEntry entry = EntryOf(s);
    if (groups.empty() || FileNameOf(groups.back().copies.front()) != FileNameOf(entry) ||
        groups.back().copies.front().size != entry.size) {
      groups.emplace_back();
      groups.back().extra_kb = s.Int(7);
    }
    groups.back().copies.push_back(std::move(entry));
  }
  return groups;
}

}  // namespace kavoro

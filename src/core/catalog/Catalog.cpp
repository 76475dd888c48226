#include "core/catalog/Catalog.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <string>
#include <unordered_map>

#include "core/listing/GridSort.h"
#include "core/listing/ListingDocument.h"
#include "core/output/ListFiles.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// A second process that indexes the same folders is waited for this long.
constexpr int kBusyMilliseconds = 10000;
constexpr int kSchemaVersion = 1;

// The entries and their folded names; the full-text table indexes the folded names by
// trigrams and is kept in step by the triggers.
constexpr char kSchema[] = R"sql(
CREATE TABLE lists(id INTEGER PRIMARY KEY, base TEXT NOT NULL UNIQUE, stamp TEXT NOT NULL,
                   details INTEGER NOT NULL);
CREATE TABLE entries(id INTEGER PRIMARY KEY, list INTEGER NOT NULL, number INTEGER NOT NULL,
                     name TEXT NOT NULL, size TEXT NOT NULL, type TEXT NOT NULL,
                     date TEXT NOT NULL, folded TEXT NOT NULL);
CREATE INDEX entries_of_list ON entries(list);
CREATE INDEX entries_by_name ON entries(name, size);
CREATE VIRTUAL TABLE entries_fts USING fts5(folded, content='entries', content_rowid='id',
                                            tokenize='trigram');
CREATE TRIGGER entries_added AFTER INSERT ON entries BEGIN
  INSERT INTO entries_fts(rowid, folded) VALUES (new.id, new.folded);
END;
CREATE TRIGGER entries_removed AFTER DELETE ON entries BEGIN
  INSERT INTO entries_fts(entries_fts, rowid, folded) VALUES ('delete', old.id, old.folded);
END;
PRAGMA user_version = 1;
)sql";

constexpr char kEntryColumns[] =
    "SELECT l.base, e.number, e.name, e.size, e.type, e.date, l.details FROM ";

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

// A pattern for LIKE ... ESCAPE '\' that finds `text` anywhere.
QString LikeAnywhere(const QString& text) {
  QString pattern = u"%"_qs;
  for (const QChar c : text) {
    if (c == u'%' || c == u'_' || c == u'\\') pattern += u'\\';
    pattern += c;
  }
  return pattern + u'%';
}

}  // namespace

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

  ~Db() { sqlite3_close(handle); }

  int Exec(const char* sql) { return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr); }

  // Opens the index at `path` (":memory:" for one in memory) and makes its tables when it
  // has none yet.
  Opened Open(const QString& path) {
    sqlite3_close(handle);
    handle = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &handle,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) return Classify(rc);
    sqlite3_extended_result_codes(handle, 1);
    sqlite3_busy_timeout(handle, kBusyMilliseconds);
    if (rc = Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL"); rc != SQLITE_OK) {
      return Classify(rc);
    }
    {
      Statement check(handle, "PRAGMA quick_check");
      if (check.Step() && check.Text(0) != "ok") return Opened::Damaged;
      if (Classify(check.Rc()) != Opened::Ok) return Classify(check.Rc());
    }
    // Two processes may find the index empty at once; the one that writes first makes it.
    if (rc = Exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return Classify(rc);
    Statement version(handle, "PRAGMA user_version");
    const qint64 found = version.Step() ? version.Int(0) : -1;
    rc = found == 0 ? Exec(kSchema) : version.Rc();
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

  bool Forget(qint64 list) {
    return Write("DELETE FROM entries WHERE list = ?", list) &&
           Write("DELETE FROM lists WHERE id = ?", list);
  }

  // Replaces what the index knows of a list by its entries; `old_id` < 0 when it knew none.
  // On failure `error` says why and the index stays as it was.
  bool Store(const QString& base, const QString& stamp, qint64 old_id, const ListingData& doc,
             QString* error) {
    if (Exec("BEGIN IMMEDIATE") != SQLITE_OK) {
      *error = QString::fromUtf8(sqlite3_errmsg(handle));
      return false;
    }
    bool ok = old_id < 0 || Forget(old_id);
    Statement list(handle, "INSERT INTO lists(base, stamp, details) VALUES (?, ?, ?)");
    list.Bind(1, base);
    list.Bind(2, stamp);
    list.Bind(3, qint64(doc.ColumnCount() == 5));
    list.Step();
    ok = ok && list.Rc() == SQLITE_DONE;
    const qint64 id = sqlite3_last_insert_rowid(handle);
    Statement entry(handle,
                    "INSERT INTO entries(list, number, name, size, type, date, folded) "
                    "VALUES (?, ?, ?, ?, ?, ?, ?)");
    const bool details = doc.ColumnCount() == 5;
    for (qsizetype row = 1; ok && row < doc.RowCount(); ++row) {
      entry.Reset();
      entry.Bind(1, id);
      entry.Bind(2, qint64(row));
      const std::string_view name = doc.CellUtf8(1, row);
      entry.Bind(3, name);
      for (int column = 2; column < 5; ++column) {
        entry.Bind(column + 2, details ? doc.CellUtf8(column, row) : std::string_view());
      }
      entry.Bind(7, FoldForSearch(utf8::ToQString(name)));
      entry.Step();
      ok = entry.Rc() == SQLITE_DONE;
    }
    if (ok && Exec("COMMIT") == SQLITE_OK) return true;
    *error = QString::fromUtf8(sqlite3_errmsg(handle));
    Exec("ROLLBACK");
    return false;
  }
};

QString Catalog::DefaultPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         u"/kavoro/catalog.sqlite"_qs;
}

Catalog::Catalog(const QString& path, UiLanguage language)
    : db_(std::make_unique<Db>()), language_(language) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  Opened opened = db_->Open(path);
  if (opened == Opened::Damaged) {
    // Only a cache: what the lists hold is indexed again.
    db_->Open(u":memory:"_qs);  // lets go of the file first
    for (const char* suffix : {"", "-wal", "-shm"}) QFile::remove(path + QLatin1String(suffix));
    opened = db_->Open(path);
  }
  if (opened != Opened::Ok) {
    warning_ =
        u"The catalogue %1 cannot be used (%2); the lists are indexed for this run only"_qs.arg(
            path, QString::fromUtf8(sqlite3_errmsg(db_->handle)));
    db_->Open(u":memory:"_qs);
  }
}

Catalog::~Catalog() = default;

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
  }
  const MessageSlots& messages = MessageSlotsFor(language_);
  for (qsizetype i = 0; i < bases.size(); ++i) {
    if (progress) progress(i, bases.size());
    if (cancel && cancel->load()) {
      result.cancelled = true;
      return result;
    }
    const QString& base = bases[i];
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
    QString error;
    auto contents = ReadListFiles(base, messages, &error);
    if (!contents) {
      result.skipped.push_back({base, ReasonOf(error, messages)});
      if (old_id >= 0) db_->Forget(old_id);
      continue;
    }
    ListingDocument doc;
    LoadListing(doc, std::move(*contents), language_);
    if (db_->Store(base, stamp, old_id, doc, &error)) {
      ++result.indexed;
    } else {
      result.skipped.push_back({base, error});
    }
  }
  if (progress) progress(bases.size(), bases.size());
  for (const auto& [base, list] : known) {
    if (db_->Forget(list.id)) ++result.dropped;
  }
  return result;
}

std::vector<CatalogEntry> Catalog::Find(const QString& text) {
  const QString folded = FoldForSearch(text);
  const std::string order = " ORDER BY l.base, e.number";
  std::string sql = kEntryColumns;
  QString pattern;
  // The trigram index needs three characters; shorter texts are looked for entry by entry.
  if (folded.toUcs4().size() >= 3) {
    sql +=
        "entries_fts f JOIN entries e ON e.id = f.rowid JOIN lists l ON l.id = e.list "
        "WHERE entries_fts MATCH ?";
    pattern = u'"' + QString(folded).replace(u'"', u"\"\""_qs) + u'"';
  } else {
    sql += "entries e JOIN lists l ON l.id = e.list WHERE e.folded LIKE ? ESCAPE '\\'";
    pattern = LikeAnywhere(folded);
  }
  Statement s(db_->handle, (sql + order).c_str());
  s.Bind(1, pattern);
  std::vector<CatalogEntry> hits;
  while (s.Step()) hits.push_back(EntryOf(s));
  return hits;
}

std::vector<DuplicateGroup> Catalog::Duplicates() {
  const std::string sql = std::string(kEntryColumns) +
                          "entries e JOIN lists l ON l.id = e.list JOIN "
                          "(SELECT name, size FROM entries GROUP BY name, size "
                          "HAVING COUNT(*) > 1) d ON d.name = e.name AND d.size = e.size "
                          "ORDER BY e.name, e.size, l.base, e.number";
  Statement s(db_->handle, sql.c_str());
  std::vector<DuplicateGroup> groups;
  while (s.Step()) {
    CatalogEntry entry = EntryOf(s);
    if (groups.empty() || groups.back().copies.front().name != entry.name ||
        groups.back().copies.front().size != entry.size) {
      groups.emplace_back();
    }
    groups.back().copies.push_back(std::move(entry));
  }
  for (DuplicateGroup& group : groups) {
    const auto kb = ReadSizeKB(utf8::FromQString(group.copies.front().size));
    group.extra_kb = kb ? *kb * std::int64_t(group.copies.size() - 1) : 0;
  }
  std::stable_sort(groups.begin(), groups.end(),
                   [](const auto& a, const auto& b) { return a.extra_kb > b.extra_kb; });
  return groups;
}

}  // namespace kavoro

#include "core/app/FileOperations.h"

#include <fcntl.h>
#include <grp.h>
#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QMimeDatabase>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/app/FileCopy.h"
#include "core/listing/FileTexts.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace fs = std::filesystem;

namespace {

// Copies beside the original are numbered up to this; a folder holding more is no place for
// another one.
constexpr int kMaxCopies = 10000;
// A message names at most this many of the items an operation left out.
constexpr qsizetype kListed = 10;

// Paths are held as utf8::NameFromBytes holds them, so a name that is no UTF-8 keeps its bytes.
fs::path ToPath(const QString& path) { return fs::path(utf8::NameToBytes(path)); }
QString FromPath(const fs::path& path) { return utf8::NameFromBytes(path.native()); }

// The name of a user or group as the system knows it, else its number.
QString UserName(uid_t uid) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    return QString::fromLocal8Bit(found->pw_name);
  }
  return QString::number(uid);
}

QString GroupName(gid_t gid) {
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    return QString::fromLocal8Bit(found->gr_name);
  }
  return QString::number(gid);
}

// A dangling link also takes a name.
bool Taken(const fs::path& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

FileOpResult Failed(FileOpFailure failure, const fs::path& path, const QString& reason = {}) {
  FileOpResult result;
  result.failure = failure;
  result.path = FromPath(path);
  result.reason = reason;
  return result;
}

FileOpResult Succeeded(const fs::path& path) {
  FileOpResult result;
  result.path = FromPath(path);
  return result;
}

FileOpResult SystemFailure(const fs::path& path, const std::error_code& ec) {
  return Failed(FileOpFailure::System, path, QString::fromLocal8Bit(ec.message()));
}

// The result of a walk over a tree that ended at `done` when all went well.
FileOpResult FromTree(const TreeResult& tree, const fs::path& done) {
  FileOpResult result = tree.cancelled ? Failed(FileOpFailure::Cancelled, done)
                        : tree.error   ? SystemFailure(tree.item, tree.error)
                                       : Succeeded(done);
  for (const fs::path& item : tree.skipped) result.skipped.append(FromPath(item));
  return result;
}

// Renames without ever replacing what is there; the check and the rename are one step where
// the file system allows it.
std::error_code RenameNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return {errno, std::generic_category()};
  if (Taken(to)) return std::make_error_code(std::errc::file_exists);
  std::error_code ec;
  fs::rename(from, to, ec);
  return ec;
}

bool IsSameOrBelow(const fs::path& folder, const fs::path& top) {
  std::error_code ec;
  const fs::path f = fs::weakly_canonical(folder, ec);
  const fs::path t = fs::weakly_canonical(top, ec);
  auto [ti, fi] = std::mismatch(t.begin(), t.end(), f.begin(), f.end());
  // A trailing "/" of `top` ends in an empty element.
  return ti == t.end() || (std::next(ti) == t.end() && ti->empty());
}

fs::path WithoutTrailingSlash(const QString& path) {
  fs::path p = ToPath(path);
  return p.has_filename() ? p : p.parent_path();
}

}  // namespace

QString SkippedMessage(const FileOpResult& result, const MessageSlots& m) {
  if (result.skipped.isEmpty()) return {};
  QString text = m.msgSpecialSkipped;
  for (const QString& item : result.skipped.first(std::min(result.skipped.size(), kListed))) {
    text += u'\n' + utf8::ShownName(item);
  }
  if (result.skipped.size() > kListed) {
    text += u"\n… (+"_qs + QString::number(result.skipped.size() - kListed) + u')';
  }
  return text;
}

QString FailureMessage(const FileOpResult& result, const MessageSlots& m) {
  switch (result.failure) {
    case FileOpFailure::None:
      return {};
    case FileOpFailure::BadName:
      return m.msgBadName;
    case FileOpFailure::NameExists:
      return m.msgNameExists + u'\n' + utf8::ShownName(result.path);
    case FileOpFailure::IntoItself:
      return m.msgIntoItself;
    case FileOpFailure::NoCopyName:
      return m.msgNoCopyName + u'\n' + utf8::ShownName(result.path);
    case FileOpFailure::Cancelled:
      return {};
    case FileOpFailure::System:
      break;
  }
  return m.msgOperationFailed + u'\n' + utf8::ShownName(result.path) + u'\n' + result.reason;
}

FileOpResult RenameEntry(const QString& path, const QString& new_name) {
  const fs::path from = WithoutTrailingSlash(path);
  if (new_name == u"." || new_name == u".." || new_name.contains(u'/') ||
      new_name.contains(QChar(0))) {
    return Failed(FileOpFailure::BadName, from);
  }
  const fs::path to = from.parent_path() / ToPath(new_name);
  if (to == from) return Succeeded(to);
  if (Taken(to)) return Failed(FileOpFailure::NameExists, to);
  if (const std::error_code ec = RenameNoReplace(from, to)) return SystemFailure(from, ec);
  return Succeeded(to);
}

FileOpResult DeleteEntry(const QString& path, const OperationProgress& progress) {
  const fs::path target = WithoutTrailingSlash(path);
  return FromTree(RemoveTree(target, false, progress), target);
}

QString FreeCopyName(const QString& folder, const QString& name) {
  const fs::path dir = ToPath(folder);
  const long longest = ::pathconf(dir.c_str(), _PC_NAME_MAX);
  const std::size_t max_bytes = longest > 0 ? std::size_t(longest) : NAME_MAX;
  for (int n = 1; n <= kMaxCopies; ++n) {
    const QString candidate = (n == 1 ? u"Kopie von "_qs : u"Kopie (%1) von "_qs.arg(n)) + name;
    const fs::path path = ToPath(candidate);
    // Later candidates are only longer.
    if (path.native().size() > max_bytes) return {};
    if (!Taken(dir / path)) return candidate;
  }
  return {};
}

FileOpResult PasteEntry(const QString& source, const QString& folder, bool move,
                        const OperationProgress& progress) {
  const fs::path from = WithoutTrailingSlash(source);
  const fs::path dir = WithoutTrailingSlash(folder);
  std::error_code ec;
  const bool source_is_folder = fs::is_directory(fs::symlink_status(from, ec));
  if (source_is_folder && IsSameOrBelow(dir, from)) return Failed(FileOpFailure::IntoItself, from);
  if (!Taken(from)) {
    return SystemFailure(from, std::make_error_code(std::errc::no_such_file_or_directory));
  }
  const bool same_folder = fs::equivalent(from.parent_path(), dir, ec);
  if (move && same_folder) return Succeeded(from);
  fs::path to = dir / from.filename();
  if (Taken(to)) {
    if (move || !same_folder) return Failed(FileOpFailure::NameExists, to);
    const QString copy_name = FreeCopyName(FromPath(dir), FromPath(from.filename()));
    if (copy_name.isEmpty()) return Failed(FileOpFailure::NoCopyName, from);
    to = dir / ToPath(copy_name);
  }
  if (!move) return FromTree(CopyTree(from, to, progress), to);
  ec = RenameNoReplace(from, to);
  if (ec != std::errc::cross_device_link) {
    if (ec) return SystemFailure(from, ec);
    return Succeeded(to);
  }
  // Another file system: copied, then removed, except what could not be copied.
  TreeResult tree = CopyTree(from, to, progress);
  if (tree.Ok()) {
    std::vector<fs::path> skipped = std::move(tree.skipped);
    tree = RemoveTree(from, true, progress);
    tree.skipped = std::move(skipped);
  }
  return FromTree(tree, to);
}

SubfolderWalk ListSubfolders(const QString& folder, qsizetype limit) {
  SubfolderWalk walk;
  std::deque<fs::path> pending{ToPath(folder)};
  for (; !pending.empty(); pending.pop_front()) {
    std::error_code ec;
    // Unreadable folders simply have nothing below them here.
    for (fs::directory_iterator it(pending.front(), ec), end; !ec && it != end; it.increment(ec)) {
      if (!it->is_directory(ec) || it->is_symlink(ec)) continue;
      if (walk.folders.size() == limit) {
        walk.complete = false;
        return walk;
      }
      walk.folders.append(FromPath(it->path()));
      pending.push_back(it->path());
    }
  }
  return walk;
}

QList<std::pair<QString, QString>> DescribeEntry(const QString& path, const MessageSlots& m) {
  const fs::path target = WithoutTrailingSlash(path);
  struct statx st {};
  // Like the views, the properties of a link are those of what it points to.
  if (::statx(AT_FDCWD, target.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0) st = {};
  const QStringList& label = m.propertyLabels;
  const QString name = utf8::ShownName(FromPath(target.filename()));
  const bool folder = S_ISDIR(st.stx_mode);
  DateTextFormat dates;
  auto date = [&dates](const statx_timestamp& t) {
    return t.tv_sec != 0 ? dates.Format(std::int64_t(t.tv_sec)) : QString();
  };
  static const char kFlags[] = "rwxrwxrwx";
  QString permissions;
  for (int i = 0; i < 9; ++i) {
    permissions += (st.stx_mode & (0400 >> i)) ? QChar::fromLatin1(kFlags[i]) : u'-';
  }
  QList<std::pair<QString, QString>> rows = {
      {label.value(0), name},
      {label.value(1), utf8::ShownName(FromPath(target.parent_path()))},
      {label.value(2), folder ? QMimeDatabase().mimeTypeForName(u"inode/directory"_qs).comment()
                              : ShellTypeNames().ShellTypeName(name)},
  };
  if (!folder) rows.append({label.value(3), FormatSizeKB(st.stx_size)});
  rows.append({
      {label.value(4), date(st.stx_mtime)},
      {label.value(5), (st.stx_mask & STATX_BTIME) ? date(st.stx_btime) : QString()},
      {label.value(6), date(st.stx_atime)},
      {label.value(7), permissions},
      {label.value(8), UserName(st.stx_uid) + u" / "_qs + GroupName(st.stx_gid)},
  });
  return rows;
}

}  // namespace kavoro

#include "core/app/FileCopy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <string>
#include <utility>

#include "core/text/Utf8.h"

namespace kavoro {
namespace fs = std::filesystem;

namespace {

// Every item counts like this many bytes of data, so that a tree of many small files moves
// the progress on too.
constexpr std::uint64_t kItemUnits = 4096;
constexpr std::size_t kChunk = std::size_t(8) << 20;
constexpr std::size_t kBuffer = std::size_t(1) << 20;
constexpr auto kReportEvery = std::chrono::milliseconds(50);

std::error_code LastError() { return {errno, std::generic_category()}; }

bool IsSpecial(mode_t mode) { return !S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode); }

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now; a file system may report a failed write only here.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// The names in a folder, read before anything is done to them, so that no folder stays open
// while the ones below it are worked on.
std::error_code ListNames(const fs::path& folder, std::vector<std::string>& names) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return LastError();
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return errno != 0 ? LastError() : std::error_code();
}

// One operation over a tree: its result, and how far it has come.
class Walk {
 public:
  Walk(const OperationProgress& progress, bool cancellable)
      : progress_(progress), cancellable_(cancellable) {}

  bool Fail(const fs::path& item, std::error_code error) {
    result.error = error;
    result.item = item;
    return false;
  }

  // Counts `units` as done; false when the user stopped the operation.
  bool Advance(std::uint64_t units, const fs::path& item, bool now_anyway = false) {
    done_ += units;
    if (!progress_) return true;
    const auto now = std::chrono::steady_clock::now();
    if (!now_anyway && now - last_report_ < kReportEvery) return true;
    last_report_ = now;
    if (progress_(done_, total, utf8::ToQString(item.native())) || !cancellable_) return true;
    result.cancelled = true;
    return false;
  }

  bool Reporting() const { return bool(progress_); }

  std::uint64_t total = 0;
  TreeResult result;
  std::vector<char> buffer;

 private:
  const OperationProgress& progress_;
  bool cancellable_;
  std::uint64_t done_ = 0;
  std::chrono::steady_clock::time_point last_report_{};
};

// The units an operation over `path` will count; errors are left to the operation itself.
bool Measure(const fs::path& path, bool with_data, std::uint64_t& units, Walk& walk) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return true;
  units += with_data ? kItemUnits : 1;
  if (S_ISREG(st.st_mode) && with_data) units += std::uint64_t(st.st_size);
  if (S_ISDIR(st.st_mode)) {
    std::vector<std::string> names;
    ListNames(path, names);
    for (const std::string& name : names) {
      if (!Measure(path / name, with_data, units, walk)) return false;
    }
  }
  return walk.Advance(0, path);
}

// Sets the total of an operation that shows its progress; false when stopped meanwhile.
bool Count(const fs::path& path, bool with_data, Walk& walk) {
  if (!walk.Reporting()) return true;
  std::uint64_t units = 0;
  if (!Measure(path, with_data, units, walk)) return false;
  walk.total = units;
  return walk.Advance(0, path, true);
}

bool KeepTimes(const fs::path& path, const struct stat& st, int flags, Walk& walk) {
  const timespec times[2] = {st.st_atim, st.st_mtim};
  if (::utimensat(AT_FDCWD, path.c_str(), times, flags) != 0) return walk.Fail(path, LastError());
  return true;
}

// Copies the bytes from `begin` to `end` at the same place in `out`.
bool CopyRange(int in, int out, off_t begin, off_t end, const fs::path& from, const fs::path& to,
               Walk& walk) {
  off_t in_at = begin;
  off_t out_at = begin;
  bool by_hand = false;  // the kernel cannot copy between these two
  while (in_at < end) {
    const std::size_t want = std::min<std::size_t>(std::size_t(end - in_at), kChunk);
    ssize_t got = -1;
    if (!by_hand) {
      got = ::copy_file_range(in, &in_at, out, &out_at, want, 0);
      if (got < 0 &&
          (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
        by_hand = true;
      }
    }
    if (by_hand) {
      if (walk.buffer.empty()) walk.buffer.resize(kBuffer);
      got = ::pread(in, walk.buffer.data(), std::min(want, walk.buffer.size()), in_at);
      if (got < 0 && errno != EINTR) return walk.Fail(from, LastError());
      for (ssize_t written = 0; got > 0 && written < got;) {
        const ssize_t n = ::pwrite(out, walk.buffer.data() + written, got - written, out_at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return walk.Fail(to, LastError());
        written += n;
        out_at += n;
      }
      if (got > 0) in_at += got;
    }
    if (got < 0) {
      if (errno == EINTR) continue;
      return walk.Fail(to, LastError());
    }
    if (got == 0) break;  // the file became shorter while it was copied
    if (!walk.Advance(std::uint64_t(got), from)) return false;
  }
  return true;
}

// Copies the data of a file, leaving out its holes (which count as done all the same).
bool CopyData(int in, int out, off_t size, const fs::path& from, const fs::path& to, Walk& walk) {
  for (off_t at = 0; at < size;) {
    off_t data = ::lseek(in, at, SEEK_DATA);
    off_t hole = size;
    if (data < 0) {
      if (errno == ENXIO) return walk.Advance(std::uint64_t(size - at), from);  // a hole to the end
      if (errno != EINVAL && errno != EOPNOTSUPP) return walk.Fail(from, LastError());
      data = at;  // a file system that does not know holes: all of it is data
    } else {
      data = std::min(data, size);
      hole = std::min(size, std::max(data, ::lseek(in, data, SEEK_HOLE)));
      if (hole == data) hole = size;
    }
    if (!walk.Advance(std::uint64_t(data - at), from) ||
        !CopyRange(in, out, data, hole, from, to, walk)) {
      return false;
    }
    at = hole;
  }
  return true;
}

bool CopyFile(const fs::path& from, const fs::path& to, const struct stat& st, Walk& walk) {
  Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
  if (in.get() < 0) return walk.Fail(from, LastError());
  Fd out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (out.get() < 0) return walk.Fail(to, LastError());
  if (!CopyData(in.get(), out.get(), st.st_size, from, to, walk)) return false;
  const timespec times[2] = {st.st_atim, st.st_mtim};
  // The size also covers a hole at the end.
  if (::ftruncate(out.get(), st.st_size) != 0 || ::fchmod(out.get(), st.st_mode & 07777) != 0 ||
      ::futimens(out.get(), times) != 0 || !out.Close()) {
    return walk.Fail(to, LastError());
  }
  return true;
}

bool CopyItem(const fs::path& from, const fs::path& to, Walk& walk) {
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return walk.Fail(from, LastError());
  if (S_ISDIR(st.st_mode)) {
    // Writable for the copy's own items until they are all in.
    if (::mkdir(to.c_str(), 0700) != 0) return walk.Fail(to, LastError());
    std::vector<std::string> names;
    if (const std::error_code ec = ListNames(from, names)) return walk.Fail(from, ec);
    for (const std::string& name : names) {
      if (!CopyItem(from / name, to / name, walk)) return false;
    }
    if (::chmod(to.c_str(), st.st_mode & 07777) != 0) return walk.Fail(to, LastError());
    if (!KeepTimes(to, st, 0, walk)) return false;
  } else if (S_ISLNK(st.st_mode)) {
    std::string target(std::size_t(st.st_size) + 1, '\0');
    const ssize_t length = ::readlink(from.c_str(), target.data(), target.size());
    if (length < 0) return walk.Fail(from, LastError());
    target.resize(std::size_t(length));
    if (::symlink(target.c_str(), to.c_str()) != 0) return walk.Fail(to, LastError());
    if (!KeepTimes(to, st, AT_SYMLINK_NOFOLLOW, walk)) return false;
  } else if (S_ISREG(st.st_mode)) {
    if (!CopyFile(from, to, st, walk)) return false;
  } else {
    walk.result.skipped.push_back(from);
  }
  return walk.Advance(kItemUnits, from);
}

// `writable`: folders are made writable before their items are removed (a copy's own folders
// may already have taken the original's read-only permissions).
bool RemoveItem(const fs::path& path, bool keep_special, bool writable, Walk& walk) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    return errno == ENOENT ? true : walk.Fail(path, LastError());
  }
  if (S_ISDIR(st.st_mode)) {
    if (writable) ::chmod(path.c_str(), 0700);
    std::vector<std::string> names;
    if (const std::error_code ec = ListNames(path, names)) return walk.Fail(path, ec);
    for (const std::string& name : names) {
      if (!RemoveItem(path / name, keep_special, writable, walk)) return false;
    }
    if (::rmdir(path.c_str()) != 0 && !(keep_special && errno == ENOTEMPTY)) {
      return walk.Fail(path, LastError());
    }
  } else if (!(keep_special && IsSpecial(st.st_mode)) && ::unlink(path.c_str()) != 0) {
    return walk.Fail(path, LastError());
  }
  return walk.Advance(1, path);
}

}  // namespace

TreeResult CopyTree(const fs::path& from, const fs::path& to, const OperationProgress& progress) {
  Walk walk(progress, true);
  if (!Count(from, true, walk)) return walk.result;
  if (!CopyItem(from, to, walk) &&
      !(walk.result.item == to && walk.result.error == std::errc::file_exists)) {
    // What the copy made goes again (never what was there before): nothing half-copied stays.
    Walk cleanup({}, false);
    RemoveItem(to, false, true, cleanup);
  }
  return walk.result;
}

TreeResult RemoveTree(const fs::path& path, bool keep_special, const OperationProgress& progress) {
  // Removing what a move has copied cannot be stopped half way.
  Walk walk(progress, !keep_special);
  if (!Count(path, false, walk)) return walk.result;
  RemoveItem(path, keep_special, false, walk);
  return walk.result;
}

}  // namespace kavoro

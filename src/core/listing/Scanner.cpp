#include "core/listing/Scanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <memory>

#include "core/listing/FileTexts.h"

namespace kavoro {
namespace {

// An open folder that deeper folders are opened relative to, so that paths handed to the
// system stay short however deep the tree is.
struct DirFd {
  explicit DirFd(int f) : fd(f) {}
  ~DirFd() {
    if (fd >= 0) close(fd);
  }
  DirFd(const DirFd&) = delete;
  DirFd& operator=(const DirFd&) = delete;
  int fd;
};

struct Frame {
  std::shared_ptr<DirFd> base;  // null: `relative` is absolute or relative to the working dir
  std::string relative;
  QString folder;  // as shown, with a trailing "/"
};

constexpr std::size_t kMaxRelativePath = 2048;
constexpr std::uint64_t kProgressEvery = 64;

QString WithSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

}  // namespace

bool Scanner::Scan(const QString& folder, std::vector<FoundFile>& out, const Progress& progress) {
  const QStringList& extensions = options_.extensions;
  std::vector<std::vector<FoundFile>> buckets(std::max<qsizetype>(1, extensions.size()));
  std::vector<Frame> stack;
  stack.push_back({nullptr, QFile::encodeName(folder).toStdString(), WithSlash(folder)});
  std::uint64_t folders = 0;
  std::vector<std::string> subfolders;
  int open_flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;  // the chosen folder may be a link

  while (!stack.empty()) {
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) return false;
    Frame frame = std::move(stack.back());
    stack.pop_back();
    const int dfd =
        openat(frame.base ? frame.base->fd : AT_FDCWD, frame.relative.c_str(), open_flags);
    open_flags |= O_NOFOLLOW;
    if (dfd < 0) continue;  // unreadable or gone: contributes nothing
    DIR* dir = fdopendir(dfd);
    if (!dir) {
      close(dfd);
      continue;
    }
    if (progress && ++folders % kProgressEvery == 0) progress(folders);

    subfolders.clear();
    while (const dirent* entry = readdir(dir)) {
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      unsigned char type = entry->d_type;
      struct stat st {};
      bool have_stat = false;
      if (type == DT_UNKNOWN || type == DT_LNK || (type == DT_REG && options_.details)) {
        if (fstatat(dfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        have_stat = true;
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG
               : S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN;
      }
      if (type == DT_DIR) {
        if (options_.recurse && name[0] != '.') subfolders.emplace_back(name);
        continue;
      }
      if (type == DT_LNK) {
        // A link to a file is listed like the file; a link to a folder is never followed.
        if (fstatat(dfd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        type = DT_REG;
      }
      if (type != DT_REG) continue;
      const QString qname = QString::fromUtf8(name);
      auto add = [&](std::vector<FoundFile>& bucket) {
        bucket.push_back({frame.folder, qname, have_stat ? std::uint64_t(st.st_size) : 0,
                          have_stat ? std::int64_t(st.st_mtime) : 0});
      };
      if (extensions.isEmpty()) {
        add(buckets[0]);
      } else {
        for (qsizetype i = 0; i < extensions.size(); ++i) {
          if (AsciiEndsWithIgnoreCase(qname, extensions[i])) add(buckets[i]);
        }
      }
    }
    std::shared_ptr<DirFd> base = frame.base;
    std::string prefix = frame.relative + '/';
    if (!subfolders.empty() && frame.relative.size() > kMaxRelativePath) {
      base = std::make_shared<DirFd>(fcntl(dfd, F_DUPFD_CLOEXEC, 0));
      prefix.clear();
    }
    closedir(dir);
    for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it) {
      stack.push_back({base, prefix + *it, frame.folder + QFile::decodeName(it->c_str()) + u'/'});
    }
  }

  std::size_t total = out.size();
  for (const auto& bucket : buckets) total += bucket.size();
  out.reserve(total);
  for (auto& bucket : buckets) std::move(bucket.begin(), bucket.end(), std::back_inserter(out));
  return true;
}

std::vector<FoundFile> Scanner::ListFolder(const QString& folder, bool details) {
  std::vector<FoundFile> files;
  Scanner scanner(Options{false, details, {}});
  scanner.Scan(folder, files);
  std::stable_sort(files.begin(), files.end(), [](const FoundFile& a, const FoundFile& b) {
    return ContentsOrderLess(a.name, b.name);
  });
  return files;
}

bool Scanner::ContentsOrderLess(const QString& a, const QString& b) {
  const int folded = QString::compare(a, b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace kavoro

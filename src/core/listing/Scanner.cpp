#include "core/listing/Scanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

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


constexpr std::size_t kMaxRelativePath = 2048;
constexpr std::uint64_t kProgressEvery = 64;

QString WithSlash(const QString& folder) {
  return folder.endsWith(u'/') ? folder : folder + u'/';
}

}  // namespace

// One folder of the walk: where to open it, and what it held.
struct Scanner::Node {
  std::shared_ptr<DirFd> base;  // null: `relative` is absolute or relative to the working dir
  std::string relative;
  QString folder;  // as shown, with a trailing "/"
  bool follow = false;  // only the chosen folder itself may be a link
  std::vector<std::vector<FoundFile>> files;  // per extension of the search
  std::vector<Node*> children;                // in the order the file system lists them
};

// Reads one folder: its files into the node, its subfolders as new child nodes.
void Scanner::Visit(Node& node, std::vector<std::unique_ptr<Node>>& made) const {
  const QStringList& extensions = options_.extensions;
  node.files.resize(std::max<qsizetype>(1, extensions.size()));
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (node.follow ? 0 : O_NOFOLLOW);
  const int dfd = openat(node.base ? node.base->fd : AT_FDCWD, node.relative.c_str(), flags);
  if (dfd < 0) return;  // unreadable or gone: contributes nothing
  DIR* dir = fdopendir(dfd);
  if (!dir) {
    close(dfd);
    return;
  }
  std::vector<std::string> subfolders;
  while (const dirent* entry = readdir(dir)) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    unsigned char type = entry->d_type;
    struct stat st {};
    bool have_stat = false;
    if (type == DT_UNKNOWN || type == DT_LNK || (type == DT_REG && options_.details)) {
      if (fstatat(dfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      have_stat = true;
      type = S_ISDIR(st.st_mode)   ? DT_DIR
             : S_ISREG(st.st_mode) ? DT_REG
             : S_ISLNK(st.st_mode) ? DT_LNK
                                   : DT_UNKNOWN;
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
      bucket.push_back({node.folder, qname, have_stat ? std::uint64_t(st.st_size) : 0,
                        have_stat ? std::int64_t(st.st_mtime) : 0});
    };
    if (extensions.isEmpty()) {
      add(node.files[0]);
    } else {
      for (qsizetype i = 0; i < extensions.size(); ++i) {
        if (AsciiEndsWithIgnoreCase(qname, extensions[i])) add(node.files[i]);
      }
    }
  }
  std::shared_ptr<DirFd> base = node.base;
  std::string prefix = node.relative + '/';
  if (!subfolders.empty() && node.relative.size() > kMaxRelativePath) {
    base = std::make_shared<DirFd>(fcntl(dfd, F_DUPFD_CLOEXEC, 0));
    prefix.clear();
  }
  closedir(dir);
  for (const std::string& sub : subfolders) {
    made.push_back(std::make_unique<Node>(
        Node{base, prefix + sub, node.folder + QString::fromUtf8(sub.c_str()) + u'/', false, {}, {}}));
    node.children.push_back(made.back().get());
  }
}

bool Scanner::Scan(const QString& folder, std::vector<FoundFile>& out, const Progress& progress) {
  std::vector<std::unique_ptr<Node>> nodes;
  nodes.push_back(std::make_unique<Node>(
      Node{nullptr, QFile::encodeName(folder).toStdString(), WithSlash(folder), true, {}, {}}));
  Node* root = nodes.back().get();

  // Folders are read by a few threads at once; the order is restored from the tree afterwards.
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<Node*> pending{root};
  std::size_t busy = 0;
  std::uint64_t folders = 0;
  auto work = [&] {
    std::vector<std::unique_ptr<Node>> made;
    std::unique_lock lock(mutex);
    for (;;) {
      wake.wait(lock, [&] { return !pending.empty() || busy == 0; });
      if (pending.empty()) return;
      Node* node = pending.back();
      pending.pop_back();
      ++busy;
      lock.unlock();
      if (!(cancel_ && cancel_->load(std::memory_order_relaxed))) Visit(*node, made);
      lock.lock();
      --busy;
      for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
        pending.push_back(*it);
      }
      for (auto& n : made) nodes.push_back(std::move(n));
      made.clear();
      if (progress && ++folders % kProgressEvery == 0) progress(folders);
      wake.notify_all();
    }
  };
  const unsigned helpers = options_.recurse ? std::min(2u, std::thread::hardware_concurrency()) : 0;
  std::vector<std::thread> threads;
  for (unsigned i = 1; i < helpers; ++i) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
  if (cancel_ && cancel_->load(std::memory_order_relaxed)) return false;

  // Files of a folder before those of its subfolders, one pass per extension of the search.
  const std::size_t buckets = std::max<qsizetype>(1, options_.extensions.size());
  std::size_t total = out.size();
  for (const auto& node : nodes) {
    for (const auto& bucket : node->files) total += bucket.size();
  }
  out.reserve(total);
  std::vector<Node*> stack;
  for (std::size_t b = 0; b < buckets; ++b) {
    stack.assign(1, root);
    while (!stack.empty()) {
      Node* node = stack.back();
      stack.pop_back();
      if (b < node->files.size()) {
        auto& files = node->files[b];
        std::move(files.begin(), files.end(), std::back_inserter(out));
      }
      stack.insert(stack.end(), node->children.rbegin(), node->children.rend());
    }
  }
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

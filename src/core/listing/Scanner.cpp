#include "core/listing/Scanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/listing/FileTexts.h"
#include "core/listing/Utf8.h"

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

// The record getdents64 fills in; read straight, without the per-folder set-up of opendir.
struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

constexpr std::size_t kMaxRelativePath = 2048;
constexpr std::size_t kReadBuffer = 32 * 1024;
constexpr std::uint64_t kProgressEvery = 64;

bool EndsWithLowered(std::string_view name, std::string_view lowered_tail) {
  if (name.size() < lowered_tail.size()) return false;
  name.remove_prefix(name.size() - lowered_tail.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if ((c >= 'A' && c <= 'Z' ? char(c + 32) : c) != lowered_tail[i]) return false;
  }
  return true;
}

}  // namespace

// One folder of the walk: where to open it, and what it held.
struct Scanner::Node {
  struct File {
    std::uint32_t offset;  // in `names`
    std::uint32_t length;
    std::uint64_t size;
    std::int64_t mtime;
  };
  std::shared_ptr<DirFd> base;  // null: `relative` is absolute or relative to the working dir
  std::string relative;
  std::string folder;  // as shown, with a trailing "/"
  bool follow = false;  // only the chosen folder itself may be a link
  std::string names;    // the names of its files, one after the other
  std::vector<std::vector<File>> files;  // per extension of the search
  std::vector<Node*> children;           // in the order the file system lists them
};

// What one walking thread keeps between folders.
struct Scanner::Worker {
  std::vector<std::unique_ptr<Node>> made;
  std::vector<char> buffer = std::vector<char>(kReadBuffer);
  std::vector<std::string> subfolders;
  std::string scratch;
};

Scanner::Scanner(Options options, const std::atomic<bool>* cancel)
    : options_(std::move(options)), cancel_(cancel) {
  for (const QString& ext : options_.extensions) extensions_.push_back(utf8::FromQString(AsciiLower(ext)));
}

// Reads one folder: its files into the node, its subfolders as new child nodes.
void Scanner::Visit(Node& node, Worker& worker) const {
  node.files.resize(std::max<std::size_t>(1, extensions_.size()));
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (node.follow ? 0 : O_NOFOLLOW);
  const int dfd = openat(node.base ? node.base->fd : AT_FDCWD, node.relative.c_str(), flags);
  if (dfd < 0) return;  // unreadable or gone: contributes nothing
  worker.subfolders.clear();
  for (;;) {
    const long got = syscall(SYS_getdents64, dfd, worker.buffer.data(), worker.buffer.size());
    if (got <= 0) break;  // the end, or a folder that can no longer be read
    for (long at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(worker.buffer.data() + at);
      at += entry->d_reclen;
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
        if (options_.recurse && name[0] != '.') worker.subfolders.emplace_back(name);
        continue;
      }
      if (type == DT_LNK) {
        // A link to a file is listed like the file; a link to a folder is never followed.
        if (fstatat(dfd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        type = DT_REG;
      }
      if (type != DT_REG) continue;
      const std::string_view shown = utf8::Sanitized(name, worker.scratch);
      bool stored = false;
      Node::File file{static_cast<std::uint32_t>(node.names.size()),
                      static_cast<std::uint32_t>(shown.size()),
                      have_stat ? std::uint64_t(st.st_size) : 0,
                      have_stat ? std::int64_t(st.st_mtime) : 0};
      for (std::size_t i = 0; i < node.files.size(); ++i) {
        if (!extensions_.empty() && !EndsWithLowered(shown, extensions_[i])) continue;
        if (!stored) node.names.append(shown);
        stored = true;
        node.files[i].push_back(file);
      }
    }
  }
  std::shared_ptr<DirFd> base = node.base;
  std::string prefix = node.relative + '/';
  if (!worker.subfolders.empty() && node.relative.size() > kMaxRelativePath) {
    base = std::make_shared<DirFd>(fcntl(dfd, F_DUPFD_CLOEXEC, 0));
    prefix.clear();
  }
  close(dfd);
  std::string scratch;
  for (const std::string& sub : worker.subfolders) {
    auto child = std::make_unique<Node>();
    child->base = base;
    child->relative = prefix + sub;
    child->folder = node.folder;
    child->folder.append(utf8::Sanitized(sub, scratch));
    child->folder.push_back('/');
    node.children.push_back(child.get());
    worker.made.push_back(std::move(child));
  }
}

bool Scanner::Scan(const QString& folder, FoundFiles& out, const Progress& progress) {
  std::vector<std::unique_ptr<Node>> nodes;
  {
    auto root = std::make_unique<Node>();
    root->relative = QFile::encodeName(folder).toStdString();
    root->folder = utf8::FromQString(folder);
    if (!root->folder.ends_with('/')) root->folder.push_back('/');
    root->follow = true;
    nodes.push_back(std::move(root));
  }
  Node* root = nodes.back().get();

  // Folders are read by a few threads at once; the order is restored from the tree afterwards.
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<Node*> pending{root};
  std::size_t busy = 0;
  std::uint64_t folders = 0;
  auto work = [&] {
    Worker worker;
    std::unique_lock lock(mutex);
    for (;;) {
      wake.wait(lock, [&] { return !pending.empty() || busy == 0; });
      if (pending.empty()) return;
      Node* node = pending.back();
      pending.pop_back();
      ++busy;
      lock.unlock();
      if (!(cancel_ && cancel_->load(std::memory_order_relaxed))) Visit(*node, worker);
      lock.lock();
      --busy;
      pending.insert(pending.end(), node->children.rbegin(), node->children.rend());
      for (auto& n : worker.made) nodes.push_back(std::move(n));
      worker.made.clear();
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
  const std::size_t buckets = std::max<std::size_t>(1, extensions_.size());
  std::size_t total = out.Count();
  std::size_t bytes = 0;
  for (const auto& node : nodes) {
    bytes += node->names.size();
    for (const auto& bucket : node->files) total += bucket.size();
  }
  out.Reserve(total, bytes);
  std::vector<Node*> stack;
  for (std::size_t b = 0; b < buckets; ++b) {
    stack.assign(1, root);
    while (!stack.empty()) {
      Node* node = stack.back();
      stack.pop_back();
      if (b < node->files.size() && !node->files[b].empty()) {
        const std::uint32_t index = out.AddFolder(node->folder);
        for (const Node::File& f : node->files[b]) {
          out.Add(index, std::string_view(node->names).substr(f.offset, f.length), f.size,
                  f.mtime);
        }
        std::vector<Node::File>().swap(node->files[b]);
      }
      if (b + 1 == buckets) std::string().swap(node->names);
      stack.insert(stack.end(), node->children.rbegin(), node->children.rend());
    }
  }
  return true;
}

FoundFiles Scanner::ListFolder(const QString& folder, bool details) {
  FoundFiles files;
  Scanner(Options{false, details, {}}).Scan(folder, files);
  std::vector<QString> names(files.Count());
  std::vector<std::uint32_t> order(files.Count());
  for (std::size_t i = 0; i < files.Count(); ++i) {
    names[i] = files.FileName(i);
    order[i] = static_cast<std::uint32_t>(i);
  }
  std::stable_sort(order.begin(), order.end(), [&names](std::uint32_t a, std::uint32_t b) {
    return ContentsOrderLess(names[a], names[b]);
  });
  files.Reorder(order);
  return files;
}

bool Scanner::ContentsOrderLess(const QString& a, const QString& b) {
  const int folded = QString::compare(a, b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace kavoro

#include "core/listing/Scanner.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/listing/FileTexts.h"
#include "core/listing/NameCollation.h"
#include "core/text/Utf8.h"

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

// A growing list whose elements never move, kept in blocks of `kBlock`: a walk of a million
// files makes a few hundred allocations, and untouched room costs no memory.
template <typename T, std::size_t kBlock>
class BlockList {
 public:
  BlockList() = default;
  BlockList(const BlockList&) = delete;
  BlockList& operator=(const BlockList&) = delete;
  ~BlockList() {
    for (std::size_t i = 0; i < size_; ++i) std::destroy_at(&(*this)[i]);
    for (T* block : blocks_) std::allocator<T>().deallocate(block, kBlock);
  }
  std::size_t size() const { return size_; }
  T& operator[](std::size_t i) { return blocks_[i / kBlock][i % kBlock]; }
  const T& operator[](std::size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == blocks_.size() * kBlock) blocks_.push_back(std::allocator<T>().allocate(kBlock));
    T* at =
        std::construct_at(&blocks_[size_ / kBlock][size_ % kBlock], std::forward<Args>(args)...);
    ++size_;
    return *at;
  }

 private:
  std::vector<T*> blocks_;
  std::size_t size_ = 0;
};

// Texts that stay where they are put until the walk is over, each followed by a NUL.
class TextArena {
 public:
  std::string_view Put(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    if (size + 1 > left_) {
      const std::size_t block = std::max(kBlock, size + 1);
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
      at_ = blocks_.back().get();
      left_ = block;
    }
    char* start = at_;
    for (std::string_view piece : pieces) at_ = std::copy(piece.begin(), piece.end(), at_);
    *at_++ = '\0';
    left_ -= size + 1;
    return std::string_view(start, size);
  }

 private:
  static constexpr std::size_t kBlock = 256 * 1024;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* at_ = nullptr;
  std::size_t left_ = 0;
};

}  // namespace

// One folder of the walk: where to open it, and where the thread that read it keeps what it
// held.
struct Scanner::Node {
  std::shared_ptr<DirFd> base;  // null: `relative` is absolute or relative to the working dir
  std::string_view relative;    // NUL-terminated
  std::string_view folder;      // as shown, with a trailing "/"
  bool follow = false;          // only the chosen folder itself may be a link
  Worker* reader = nullptr;     // null: not read (cancelled)
  std::size_t first_file = 0;   // in the reader's files
  std::size_t file_count = 0;
  std::size_t first_child = 0;  // in the reader's nodes, in the order the file system lists them
  std::size_t child_count = 0;

  // Puts the subfolders on a stack so that the first listed comes off first.
  void PushChildren(std::vector<Node*>& stack) const;
};

// What one walking thread found, and what it keeps between folders.
struct Scanner::Worker {
  struct File {
    const char* name;
    std::uint32_t length;
    std::uint32_t extension;  // which of the search's extensions it matched
  };
  struct Stat {
    std::uint64_t size;
    std::int64_t mtime;
  };
  TextArena texts;
  BlockList<File, 8192> files;
  BlockList<Stat, 8192> stats;  // with details, one per file
  BlockList<Node, 2048> nodes;
  std::size_t name_bytes = 0;
  std::size_t folder_bytes = 0;
  std::vector<char> buffer = std::vector<char>(kReadBuffer);
  std::string subfolders;                    // names of the folder's subfolders, each ending in NUL
  std::vector<std::string_view> unreadable;  // folders as shown
};

void Scanner::Node::PushChildren(std::vector<Node*>& stack) const {
  for (std::size_t k = child_count; k-- > 0;) stack.push_back(&reader->nodes[first_child + k]);
}

NameGlobs::NameGlobs(const QStringList& patterns) {
  for (const QString& pattern : patterns) patterns_.push_back(utf8::FromQString(pattern));
}

bool NameGlobs::Match(const char* name) const {
  return std::any_of(patterns_.begin(), patterns_.end(), [name](const std::string& pattern) {
    return fnmatch(pattern.c_str(), name, FNM_CASEFOLD) == 0;
  });
}

Scanner::Scanner(Options options, const std::atomic<bool>* cancel)
    : options_(std::move(options)), exclude_(options_.exclude), cancel_(cancel) {
  for (const QString& ext : options_.extensions)
    extensions_.push_back(utf8::FromQString(AsciiLower(ext)));
  buckets_ = std::max<std::size_t>(1, extensions_.size());
}

// Reads one folder: its files and its subfolders, as new nodes, into the worker.
void Scanner::Visit(Node& node, Worker& worker) const {
  node.reader = &worker;
  node.first_file = worker.files.size();
  node.first_child = worker.nodes.size();
  const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (node.follow ? 0 : O_NOFOLLOW);
  const int dfd = openat(node.base ? node.base->fd : AT_FDCWD, node.relative.data(), flags);
  if (dfd < 0) {
    // Unreadable: contributes nothing, and is told as such. A folder gone meanwhile is empty.
    if (errno != ENOENT) worker.unreadable.push_back(node.folder);
    return;
  }
  worker.subfolders.clear();
  for (;;) {
    const long got = syscall(SYS_getdents64, dfd, worker.buffer.data(), worker.buffer.size());
    if (got < 0) worker.unreadable.push_back(node.folder);  // read only in part
    if (got <= 0) break;
    for (long at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(worker.buffer.data() + at);
      at += entry->d_reclen;
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      if (!exclude_.Empty() && exclude_.Match(name)) continue;
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
        if (options_.recurse && (name[0] != '.' || options_.hidden_folders))
          worker.subfolders.append(name).push_back('\0');
        continue;
      }
      if (type == DT_LNK) {
        // A link to a file is listed like the file; a link to a folder is never followed.
        if (fstatat(dfd, name, &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
        type = DT_REG;
      }
      if (type != DT_REG) continue;
      std::string_view stored_name = name;
      bool stored = false;
      for (std::size_t i = 0; i < buckets_; ++i) {
        if (!extensions_.empty() && !EndsWithLowered(stored_name, extensions_[i])) continue;
        if (!stored) {
          stored_name = worker.texts.Put({stored_name});
          worker.name_bytes += stored_name.size();
          stored = true;
        }
        worker.files.emplace_back(stored_name.data(),
                                  static_cast<std::uint32_t>(stored_name.size()),
                                  static_cast<std::uint32_t>(i));
        if (options_.details) {
          worker.stats.emplace_back(have_stat ? std::uint64_t(st.st_size) : 0,
                                    have_stat ? std::int64_t(st.st_mtime) : 0);
        }
      }
    }
  }
  node.file_count = worker.files.size() - node.first_file;
  if (node.file_count > 0) worker.folder_bytes += node.folder.size();
  std::shared_ptr<DirFd> base = std::move(node.base);  // the children hold it from here on
  std::string_view prefix = node.relative;
  if (!worker.subfolders.empty() && node.relative.size() > kMaxRelativePath) {
    base = std::make_shared<DirFd>(fcntl(dfd, F_DUPFD_CLOEXEC, 0));
    prefix = {};
  }
  close(dfd);
  for (std::size_t at = 0; at < worker.subfolders.size();) {
    const std::string_view sub(worker.subfolders.data() + at);
    at += sub.size() + 1;
    Node& child = worker.nodes.emplace_back();
    child.base = base;
    child.relative =
        prefix.empty() ? worker.texts.Put({sub}) : worker.texts.Put({prefix, "/", sub});
    child.folder = worker.texts.Put({node.folder, sub, "/"});
  }
  node.child_count = worker.nodes.size() - node.first_child;
}

bool Scanner::Scan(const QString& folder, FoundFiles& out, const Progress& progress) {
  const unsigned threads =
      options_.recurse ? std::clamp(std::thread::hardware_concurrency(), 1u, 2u) : 1u;
  const auto workers = std::make_unique<Worker[]>(threads);
  Node& root = workers[0].nodes.emplace_back();
  const std::string path = utf8::NameToBytes(folder);
  root.relative = workers[0].texts.Put({path});
  root.folder = workers[0].texts.Put({path, path.ends_with('/') ? "" : "/"});
  root.follow = true;

  // Folders are read by a few threads at once; the order is restored from the tree afterwards.
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<Node*> pending{&root};
  std::size_t busy = 0;
  std::uint64_t folders = 0;
  auto work = [&](Worker& worker) {
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
      node->PushChildren(pending);
      if (progress && ++folders % kProgressEvery == 0) progress(folders);
      wake.notify_all();
    }
  };
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < threads; ++i) helpers.emplace_back(work, std::ref(workers[i]));
  work(workers[0]);
  for (std::thread& t : helpers) t.join();
  if (cancel_ && cancel_->load(std::memory_order_relaxed)) return false;

  // Files of a folder before those of its subfolders, one pass per extension of the search.
  // Not cancelled, so every node has been read.
  std::size_t total = out.Count();
  std::size_t name_bytes = 0;
  std::size_t folder_bytes = 0;
  for (unsigned i = 0; i < threads; ++i) {
    total += workers[i].files.size();
    name_bytes += workers[i].name_bytes;
    folder_bytes += workers[i].folder_bytes;
  }
  out.Reserve(total, name_bytes, folder_bytes, options_.details);
  std::vector<std::string_view> unreadable;
  for (unsigned i = 0; i < threads; ++i) {
    unreadable.insert(unreadable.end(), workers[i].unreadable.begin(), workers[i].unreadable.end());
  }
  std::sort(unreadable.begin(), unreadable.end());
  for (std::string_view folder : unreadable) out.AddUnreadable(folder);
  std::vector<Node*> stack;
  for (std::size_t b = 0; b < buckets_; ++b) {
    stack.assign(1, &root);
    while (!stack.empty()) {
      const Node& node = *stack.back();
      stack.pop_back();
      const Worker& reader = *node.reader;
      std::optional<std::uint32_t> index;
      for (std::size_t k = node.first_file; k < node.first_file + node.file_count; ++k) {
        const Worker::File& file = reader.files[k];
        if (file.extension != b) continue;
        if (!index) index = out.AddFolder(node.folder);
        const std::string_view name(file.name, file.length);
        if (options_.details) {
          out.Add(*index, name, reader.stats[k].size, reader.stats[k].mtime);
        } else {
          out.Add(*index, name);
        }
      }
      node.PushChildren(stack);
    }
  }
  return true;
}

FoundFiles Scanner::ListFolder(const QString& folder, bool details) {
  FoundFiles files;
  Options options;
  options.details = details;
  Scanner(options).Scan(folder, files);
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
  const int folded = NameCollation::ForUser().Compare(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace kavoro

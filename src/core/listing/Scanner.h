#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/listing/FoundFiles.h"

namespace kavoro {

// Shell patterns ("*.tmp", "Thumbs.db", "cache?") that names are matched against as a whole,
// without regard to case (as extensions are).
class NameGlobs {
 public:
  NameGlobs() = default;
  explicit NameGlobs(const QStringList& patterns);
  bool Empty() const { return patterns_.empty(); }
  // `name` is the bytes the file system holds, ending in NUL.
  bool Match(const char* name) const;

 private:
  std::vector<std::string> patterns_;
};

// Walks a folder, and on request every folder below it, over POSIX calls. Files of a folder
// come before those of its subfolders, both in the order the file system lists them.
// Symbolic links to folders are never followed, hidden folders (name beginning with ".") are
// not entered unless asked for, unreadable folders are skipped (and named in the result), and
// the walk keeps its own stack, so no depth of tree can overflow it. Special files (pipes, sockets,
// devices) are not files here.
class Scanner {
 public:
  struct Options {
    bool recurse = false;
    bool details = false;  // size and date of change; without them no file is stat'ed
    // Extensions to match (the mask "*" + extension, without regard to case); empty: all
    // files. A file is matched once per extension it ends with, grouped by extension in list
    // order, as one walk per extension would give.
    QStringList extensions;
    bool hidden_folders = false;  // enter folders whose name begins with "." too
    // Files and folders whose name matches one of these are left out (a folder with all below).
    QStringList exclude;
  };

  // Called now and then from the walking thread with the folders visited so far.
  using Progress = std::function<void(std::uint64_t folders)>;

  explicit Scanner(Options options, const std::atomic<bool>* cancel = nullptr);

  // Appends the files found to `out` (with the bytes of their names, well-formed UTF-8 or
  // not); returns false when cancelled. `folder` is held as utf8::NameFromBytes holds it.
  bool Scan(const QString& folder, FoundFiles& out, const Progress& progress = {});

  // The files of one folder, not recursive, sorted as the folder contents view shows them.
  static FoundFiles ListFolder(const QString& folder, bool details);

  // The order of the folder contents view: names as the user's language orders them without
  // regard to case, then exactly.
  static bool ContentsOrderLess(const QString& a, const QString& b);

 private:
  struct Node;
  struct Worker;
  void Visit(Node& node, Worker& worker) const;

  Options options_;
  std::vector<std::string> extensions_;  // lower-case UTF-8
  NameGlobs exclude_;
  std::size_t buckets_;  // groups of found files: one per extension, at least one
  const std::atomic<bool>* cancel_;
};

}  // namespace kavoro

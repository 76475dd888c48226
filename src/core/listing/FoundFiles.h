#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavoro {

// Files found by a walk or picked in a folder, in the order they are to be entered. Held
// compactly for runs of a million files: names in one buffer, each folder once. Names and
// folders are the bytes the file system holds (UTF-8 as a rule, but not always); what the
// views show of them is utf8::Sanitized.
class FoundFiles {
 public:
  std::size_t Count() const { return files_.size(); }
  bool Empty() const { return files_.empty(); }

  // A folder path as shown, with a trailing "/"; returns its number for Add.
  std::uint32_t AddFolder(std::string_view utf8);
  void Add(std::uint32_t folder, std::string_view name, std::uint64_t size = 0,
           std::int64_t mtime = 0);
  // Folder and name as utf8::NameFromBytes holds them.
  void Add(const QString& folder, const QString& name, std::uint64_t size = 0,
           std::int64_t mtime = 0);
  // Appends file `i` of `other`.
  void AddFrom(const FoundFiles& other, std::size_t i);
  void Reserve(std::size_t files, std::size_t name_bytes, std::size_t folder_bytes, bool details);

  std::string_view Folder(std::size_t i) const;
  std::string_view Name(std::size_t i) const {
    return std::string_view(names_).substr(files_[i].name, files_[i].length);
  }
  std::uint64_t Size(std::size_t i) const { return stats_.empty() ? 0 : stats_[i].size; }
  std::int64_t Mtime(std::size_t i) const { return stats_.empty() ? 0 : stats_[i].mtime; }
  // The name as the views show it.
  QString FileName(std::size_t i) const;
  // The path as utf8::NameFromBytes holds it, for file operations and links.
  QString FullPath(std::size_t i) const;

  // New file i is old file order[i]; `order` must be a permutation of all files.
  void Reorder(std::span<const std::uint32_t> order);

  // Folders the walk could not read (as shown, with a trailing "/"): what they hold is not
  // known, which is not the same as empty.
  void AddUnreadable(std::string_view folder) { unreadable_.emplace_back(folder); }
  const std::vector<std::string>& Unreadable() const { return unreadable_; }

 private:
  struct File {
    std::uint64_t name;  // offset in names_
    std::uint32_t folder;
    std::uint32_t length;
  };
  struct Stat {
    std::uint64_t size;
    std::int64_t mtime;
  };
  std::string folder_text_;                 // every folder's path, one after the other
  std::vector<std::uint64_t> folder_ends_;  // where each ends in folder_text_
  std::string names_;
  std::vector<File> files_;
  std::vector<Stat> stats_;  // one per file; empty while no file has a size or date
  std::vector<std::string> unreadable_;
};

}  // namespace kavoro

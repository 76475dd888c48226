#include "core/listing/FoundFiles.h"

#include "core/listing/Utf8.h"

namespace kavoro {

std::uint32_t FoundFiles::AddFolder(std::string_view utf8) {
  if (!folders_.empty() && folders_.back() == utf8) {
    return static_cast<std::uint32_t>(folders_.size() - 1);
  }
  folders_.emplace_back(utf8);
  return static_cast<std::uint32_t>(folders_.size() - 1);
}

void FoundFiles::Add(std::uint32_t folder, std::string_view name, std::uint64_t size,
                     std::int64_t mtime) {
  files_.push_back({names_.size(), folder, static_cast<std::uint32_t>(name.size()), size, mtime});
  names_.append(name);
}

void FoundFiles::Add(const QString& folder, const QString& name, std::uint64_t size,
                     std::int64_t mtime) {
  Add(AddFolder(utf8::FromQString(folder)), utf8::FromQString(name), size, mtime);
}

void FoundFiles::AddFrom(const FoundFiles& other, std::size_t i) {
  Add(AddFolder(other.Folder(i)), other.Name(i), other.Size(i), other.Mtime(i));
}

void FoundFiles::Reserve(std::size_t files, std::size_t name_bytes) {
  files_.reserve(files);
  names_.reserve(name_bytes);
}

QString FoundFiles::FileName(std::size_t i) const { return utf8::ToQString(Name(i)); }

QString FoundFiles::FullPath(std::size_t i) const {
  return utf8::ToQString(Folder(i)) + utf8::ToQString(Name(i));
}

void FoundFiles::Reorder(std::span<const std::uint32_t> order) {
  // In place, following each cycle of the permutation.
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    const File first = files_[start];
    std::size_t to = start;
    for (std::size_t from = order[to]; from != start; from = order[to]) {
      files_[to] = files_[from];
      placed[to] = true;
      to = from;
    }
    files_[to] = first;
    placed[to] = true;
  }
}

}  // namespace kavoro

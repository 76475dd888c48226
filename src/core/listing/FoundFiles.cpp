#include "core/listing/FoundFiles.h"

#include "core/text/Utf8.h"

namespace kavoro {

namespace {

// Puts element i where element order[i] was, following each cycle of the permutation.
template <typename T>
void Permute(std::vector<T>& items, std::span<const std::uint32_t> order) {
  std::vector<bool> placed(order.size());
  for (std::size_t start = 0; start < order.size(); ++start) {
    if (placed[start]) continue;
    const T first = items[start];
    std::size_t to = start;
    for (std::size_t from = order[to]; from != start; from = order[to]) {
      items[to] = items[from];
      placed[to] = true;
      to = from;
    }
    items[to] = first;
    placed[to] = true;
  }
}

}  // namespace

std::uint32_t FoundFiles::AddFolder(std::string_view utf8) {
  const std::size_t last = folder_ends_.size();
  if (last > 0) {
    const std::size_t start = last > 1 ? folder_ends_[last - 2] : 0;
    if (std::string_view(folder_text_).substr(start) == utf8) {
      return static_cast<std::uint32_t>(last - 1);
    }
  }
  folder_text_.append(utf8);
  folder_ends_.push_back(folder_text_.size());
  return static_cast<std::uint32_t>(last);
}

std::string_view FoundFiles::Folder(std::size_t i) const {
  const std::uint32_t folder = files_[i].folder;
  const std::size_t start = folder > 0 ? folder_ends_[folder - 1] : 0;
  return std::string_view(folder_text_).substr(start, folder_ends_[folder] - start);
}

void FoundFiles::Add(std::uint32_t folder, std::string_view name, std::uint64_t size,
                     std::int64_t mtime) {
  files_.push_back({names_.size(), folder, static_cast<std::uint32_t>(name.size())});
  names_.append(name);
  if (size != 0 || mtime != 0 || !stats_.empty()) {
    stats_.resize(files_.size() - 1);  // the files before had none
    stats_.push_back({size, mtime});
  }
}

void FoundFiles::Add(const QString& folder, const QString& name, std::uint64_t size,
                     std::int64_t mtime) {
  Add(AddFolder(utf8::NameToBytes(folder)), utf8::NameToBytes(name), size, mtime);
}

void FoundFiles::AddFrom(const FoundFiles& other, std::size_t i) {
  Add(AddFolder(other.Folder(i)), other.Name(i), other.Size(i), other.Mtime(i));
}

void FoundFiles::Reserve(std::size_t files, std::size_t name_bytes, std::size_t folder_bytes,
                         bool details) {
  files_.reserve(files);
  names_.reserve(name_bytes);
  folder_text_.reserve(folder_bytes);
  if (details) stats_.reserve(files);
}

QString FoundFiles::FileName(std::size_t i) const { return utf8::ToQString(Name(i)); }

QString FoundFiles::FullPath(std::size_t i) const {
  return utf8::NameFromBytes(std::string(Folder(i)).append(Name(i)));
}

void FoundFiles::Reorder(std::span<const std::uint32_t> order) {
  Permute(files_, order);
  if (!stats_.empty()) Permute(stats_, order);
}

}  // namespace kavoro

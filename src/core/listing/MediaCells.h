#pragma once

#include <QLocale>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavoro {

class DateTextFormat;
class FoundFiles;
struct MediaFacts;

// The texts of the media columns of one entry: duration, artist, title, album, pixels and
// date taken.
using MediaCellTexts = std::array<std::string_view, 6>;

// The media column texts of found files, file by file, held compactly: a file that is no
// media file, or said nothing, costs one offset.
class MediaCells {
 public:
  std::size_t Count() const { return starts_.size() - 1; }
  // Empty texts for a file whose facts were not read.
  MediaCellTexts Get(std::size_t i) const;
  // The next file's texts: the taken date in `dates`' form, tags with their control characters
  // made visible, as every name is.
  void Append(const MediaFacts* facts, DateTextFormat& dates);
  void AppendAll(const MediaCells& other);

 private:
  std::string text_;                      // each file's texts, each ended by a tab
  std::vector<std::uint64_t> starts_{0};  // where each file's texts begin, and the end
};

// Reads the media facts of every file whose extension names a music or picture type, on a
// thread per core, and makes their texts (dates in the form of `date_locale`). `progress` is
// called now and then from the reading threads with the files done so far. Nothing when
// cancelled.
using MediaProgress = std::function<void(std::uint64_t files_done)>;
std::optional<MediaCells> ReadMediaCells(const FoundFiles& files, const QLocale& date_locale,
                                         const std::atomic<bool>* cancel = nullptr,
                                         const MediaProgress& progress = {});

}  // namespace kavoro

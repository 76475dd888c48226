#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavoro {

// What a file is to the media columns, by its extension alone; only audio and pictures are
// ever opened.
enum class MediaKind { kNone, kAudio, kPicture };

// Case-insensitive; `ext` without the dot ("mp3", "JPG").
MediaKind KindOfExtension(std::string_view ext);

// What one media file says about itself. Whatever a file does not hold stays empty.
struct MediaFacts {
  std::optional<int> duration_s;     // audio: playing time in whole seconds, rounded
  QString artist, title, album;      // audio tags
  std::optional<int> width, height;  // pictures: pixels
  // Pictures: EXIF date taken, wall-clock time (Qt::LocalTime). Its column shows it in the
  // listing's date form, DateTextFormat::Format.
  std::optional<QDateTime> taken;

  bool operator==(const MediaFacts&) const = default;
};

// The largest picture that is opened: exiv2 maps TIFF-like files whole, and nothing larger is a
// photo anyway.
inline constexpr std::int64_t kMaxPictureBytes = std::int64_t{512} << 20;

// Reads the facts of the file at `path` as `kind`: audio with TagLib (fast properties), pictures
// with exiv2. Only a regular file is opened; a symbolic link is followed to one, since music
// collections link songs into playlist folders and the link's entry should show the song. A
// FIFO, device, socket or folder is refused before any open, so a call never waits on anything
// but the disk. Nothing when the file was not read (missing, refused, too large, damaged, of no
// format the libraries know); otherwise its facts, empty where it holds none. Never throws.
// Safe to call from several threads at once.
std::optional<MediaFacts> ReadMediaFacts(const std::string& path, MediaKind kind);

// The duration column: "m:ss", from an hour on "h:mm:ss".
QString DurationText(int seconds);

// The pixels column: "4000 × 3000".
QString PixelsText(int width, int height);

}  // namespace kavoro

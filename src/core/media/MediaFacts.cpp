#include "core/media/MediaFacts.h"

#include <array>
#include <utility>

namespace kavoro {

MediaKind KindOfExtension(std::string_view ext) {
  static constexpr std::array<std::pair<std::string_view, MediaKind>, 17> kKinds{{
      {"mp3", MediaKind::kAudio},
      {"flac", MediaKind::kAudio},
      {"ogg", MediaKind::kAudio},
      {"opus", MediaKind::kAudio},
      {"m4a", MediaKind::kAudio},
      {"wav", MediaKind::kAudio},
      {"wma", MediaKind::kAudio},
      {"aiff", MediaKind::kAudio},
      {"aif", MediaKind::kAudio},
      {"jpg", MediaKind::kPicture},
      {"jpeg", MediaKind::kPicture},
      {"png", MediaKind::kPicture},
      {"tif", MediaKind::kPicture},
      {"tiff", MediaKind::kPicture},
      {"webp", MediaKind::kPicture},
      {"heic", MediaKind::kPicture},
      {"heif", MediaKind::kPicture},
  }};
  if (ext.size() > 4) return MediaKind::kNone;
  std::array<char, 4> lower{};
  for (std::size_t i = 0; i < ext.size(); ++i) {
    const char c = ext[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const std::string_view key(lower.data(), ext.size());
  for (const auto& [name, kind] : kKinds) {
    if (name == key) return kind;
  }
  return MediaKind::kNone;
}

QString DurationText(int seconds) {
  const int hours = seconds / 3600;
  const int minutes = seconds / 60 % 60;
  const QString secs = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
  if (hours == 0) return QStringLiteral("%1:%2").arg(minutes).arg(secs);
  return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(secs);
}

QString PixelsText(int width, int height) {
  return QStringLiteral("%1 \u00D7 %2").arg(width).arg(height);
}

}  // namespace kavoro

// ReadMediaFacts: the only place that opens media files.

#include <fcntl.h>
#include <sys/stat.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <unistd.h>

#include <exiv2/bmffimage.hpp>
#include <exiv2/error.hpp>
#include <exiv2/exif.hpp>
#include <exiv2/image.hpp>
#include <exiv2/xmp_exiv2.hpp>
#include <mutex>

#include "core/media/MediaFacts.h"

namespace kavoro {
namespace {

// TagLib reports damaged files on stderr; a listing of a music collection is no place for that.
class SilentTagLib : public TagLib::DebugListener {
 public:
  void printMessage(const TagLib::String&) override {}
};

// exiv2 registers XMP namespaces in globals; this lock makes that safe across the walk's threads.
void LockXmpToolkit(void*, bool lock) {
  static std::mutex xmp_mutex;
  if (lock) {
    xmp_mutex.lock();
  } else {
    xmp_mutex.unlock();
  }
}

// Once, before the first file on any thread: the settings both libraries keep in globals.
void PrepareLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    static SilentTagLib silent;
    TagLib::setDebugListener(&silent);
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize(LockXmpToolkit, nullptr);
    Exiv2::enableBMFF(true);  // HEIF
  });
}

// A descriptor of the regular file at `path` (following a symbolic link), or -1. Anything else
// is refused by its status before an open, since opening a FIFO waits for a writer and opening
// a device may act on it; the opened file is checked again in case the name changed meanwhile.
int OpenRegularFile(const std::string& path, std::int64_t& size) {
  struct stat before {};
  if (::stat(path.c_str(), &before) != 0 || !S_ISREG(before.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev ||
      opened.st_ino != before.st_ino) {
    ::close(fd);
    return -1;
  }
  size = opened.st_size;
  return fd;
}

QString TagText(const TagLib::String& text) {
  return QString::fromStdString(text.to8Bit(true)).trimmed();
}

// TagLib reads from the checked descriptor, which the stream owns; the file type is found from
// the content, so a misnamed file is still read as what it is.
std::optional<MediaFacts> ReadAudio(int fd) {
  TagLib::FileStream stream(fd, true);
  if (!stream.isOpen()) {
    ::close(fd);
    return std::nullopt;
  }
  const TagLib::FileRef file(&stream, true, TagLib::AudioProperties::Fast);
  if (file.isNull()) return std::nullopt;
  MediaFacts facts;
  if (const TagLib::AudioProperties* audio = file.audioProperties()) {
    const int ms = audio->lengthInMilliseconds();
    if (ms > 0) facts.duration_s = (ms + 500) / 1000;
  }
  if (const TagLib::Tag* tag = file.tag()) {
    facts.artist = TagText(tag->artist());
    facts.title = TagText(tag->title());
    facts.album = TagText(tag->album());
  }
  return facts;
}

std::optional<QDateTime> ExifDate(const Exiv2::ExifData& exif, const char* key) {
  const auto it = exif.findKey(Exiv2::ExifKey(key));
  if (it == exif.end()) return std::nullopt;
  QDateTime date = QDateTime::fromString(QString::fromStdString(it->toString()).trimmed(),
                                         QStringLiteral("yyyy:MM:dd HH:mm:ss"));
  if (!date.isValid()) return std::nullopt;
  return date;
}

// exiv2 opens by name; the descriptor's name in /proc opens the very file that was checked.
std::optional<MediaFacts> ReadPicture(int fd, std::int64_t size) {
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (size > kMaxPictureBytes) return std::nullopt;
  const std::string name = "/proc/self/fd/" + std::to_string(fd);
  auto image = Exiv2::ImageFactory::open(name, false);
  if (image.get() == nullptr) return std::nullopt;
  image->readMetadata();
  MediaFacts facts;
  if (image->pixelWidth() > 0 && image->pixelHeight() > 0) {
    facts.width = image->pixelWidth();
    facts.height = image->pixelHeight();
  }
  const Exiv2::ExifData& exif = image->exifData();
  facts.taken = ExifDate(exif, "Exif.Photo.DateTimeOriginal");
  if (!facts.taken) facts.taken = ExifDate(exif, "Exif.Image.DateTime");
  return facts;
}

}  // namespace

std::optional<MediaFacts> ReadMediaFacts(const std::string& path, MediaKind kind) {
  if (kind == MediaKind::kNone) return std::nullopt;
  PrepareLibraries();
  std::int64_t size = 0;
  const int fd = OpenRegularFile(path, size);
  if (fd < 0) return std::nullopt;
  try {
    return kind == MediaKind::kAudio ? ReadAudio(fd) : ReadPicture(fd, size);
  } catch (...) {
    return std::nullopt;  // exiv2's errors on damaged files, or no memory: no facts
  }
}

}  // namespace kavoro

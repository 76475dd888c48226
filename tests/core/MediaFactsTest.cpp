#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "core/listing/FileTexts.h"
#include "core/media/MediaFacts.h"
#include "support/MediaFiles.h"
#include "support/TestFiles.h"

namespace kavoro {

void PrintTo(const MediaFacts& f, std::ostream* out) {
  auto number = [](const std::optional<int>& n) { return n ? std::to_string(*n) : "-"; };
  *out << "{" << number(f.duration_s) << " s, " << f.artist.toStdString() << " / "
       << f.title.toStdString() << " / " << f.album.toStdString() << ", " << number(f.width)
       << " x " << number(f.height) << ", "
       << (f.taken ? f.taken->toString(Qt::ISODate).toStdString() : "-") << "}";
}

namespace {

using test::RunTool;
using test::Tag;
using test::Tone;

std::optional<MediaFacts> Read(const QString& path) {
  return ReadMediaFacts(QFile::encodeName(path).toStdString(),
                        KindOfExtension(QFileInfo(path).suffix().toStdString()));
}

// A file that was not read and a file without facts both give empty cells.
bool Empty(const std::optional<MediaFacts>& facts) { return !facts || *facts == MediaFacts{}; }

// `count` MPEG-1 layer III frames of 128 kbit/s at 44.1 kHz, stereo (417 bytes each, silent
// payload). With `xing_frames`, the first frame carries a Xing header claiming that many frames,
// as encoders write for variable bit rates: the playing time then comes from the claim.
QByteArray Mp3Frames(int count, std::uint32_t xing_frames = 0) {
  QByteArray frame(417, '\0');
  frame[0] = '\xFF';
  frame[1] = '\xFB';
  frame[2] = '\x90';
  QByteArray out;
  for (int i = 0; i < count; ++i) out += frame;
  if (xing_frames > 0) {
    auto put = [&out](int at, std::uint32_t v) {
      for (int b = 0; b < 4; ++b) out[at + b] = static_cast<char>(v >> (24 - 8 * b));
    };
    out.replace(36, 4, "Xing");
    put(40, 3);  // frame count and byte count present
    put(44, xing_frames);
    put(48, static_cast<std::uint32_t>(out.size()));
  }
  return out;
}

MediaFacts Audio(int seconds, const char* artist, const char* title, const char* album) {
  MediaFacts facts;
  facts.duration_s = seconds;
  facts.artist = QString::fromUtf8(artist);
  facts.title = QString::fromUtf8(title);
  facts.album = QString::fromUtf8(album);
  return facts;
}

MediaFacts Picture(int width, int height, std::optional<QDateTime> taken = std::nullopt) {
  MediaFacts facts;
  facts.width = width;
  facts.height = height;
  facts.taken = taken;
  return facts;
}

void SetExif(const QString& path, const QString& command) {
  RunTool(u"exiv2"_qs, {u"-M"_qs + command, path});
}

TEST(MediaKindTest, ChosenByExtensionWhateverItsCase) {
  for (const char* ext :
       {"mp3", "MP3", "flac", "ogg", "opus", "m4a", "wav", "wma", "aiff", "AIF"}) {
    EXPECT_EQ(KindOfExtension(ext), MediaKind::kAudio) << ext;
  }
  for (const char* ext : {"jpg", "JPEG", "png", "tif", "tiff", "webp", "heic", "HEIF"}) {
    EXPECT_EQ(KindOfExtension(ext), MediaKind::kPicture) << ext;
  }
  for (const char* ext : {"", "txt", "mp", "mp3x", "jpegg", "mp4", "m3u", "gif"}) {
    EXPECT_EQ(KindOfExtension(ext), MediaKind::kNone) << ext;
  }
}

TEST(MediaTextsTest, DurationAndPixels) {
  EXPECT_EQ(DurationText(0), u"0:00"_qs);
  EXPECT_EQ(DurationText(7), u"0:07"_qs);
  EXPECT_EQ(DurationText(61), u"1:01"_qs);
  EXPECT_EQ(DurationText(3599), u"59:59"_qs);
  EXPECT_EQ(DurationText(3600), u"1:00:00"_qs);
  EXPECT_EQ(DurationText(36061), u"10:01:01"_qs);
  EXPECT_EQ(PixelsText(4000, 3000), QString::fromUtf8("4000 \u00D7 3000"));
  EXPECT_EQ(PixelsText(40, 30), QString::fromUtf8("40 \u00D7 30"));
}

TEST(MediaFactsTest, AudioFormatsGiveDurationAndTags) {
  QTemporaryDir dir;
  struct Case {
    const char* name;
    double seconds;
    int shown;
  };
  for (const Case& c : {Case{"a.wav", 2.4, 2}, Case{"b.flac", 61.6, 62}, Case{"c.ogg", 2.6, 3},
                        Case{"d.aiff", 5.0, 5}, Case{"e.AIF", 1.0, 1}}) {
    const QString path = dir.filePath(QLatin1String(c.name));
    Tone(path, c.seconds);
    Tag(path, "Die Ärzte", "東京", "Ünïcødé – Ω");
    EXPECT_EQ(Read(path), Audio(c.shown, "Die Ärzte", "東京", "Ünïcødé – Ω")) << c.name;
  }
}

TEST(MediaFactsTest, AudioWithoutTagsHasOnlyItsDuration) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"plain.wav"_qs);
  Tone(path, 2.5);
  MediaFacts expected;
  expected.duration_s = 3;  // rounded to the nearest second
  EXPECT_EQ(Read(path), expected);
}

TEST(MediaFactsTest, Mp3WithId3TagsAndALengthOfHours) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"song.mp3"_qs);
  test::WriteBytes(path, Mp3Frames(300));  // 300 * 417 bytes at 128 kbit/s: 7.8 s
  Tag(path, "Ärzte", "Westerland", "東京");
  EXPECT_EQ(Read(path), Audio(8, "Ärzte", "Westerland", "東京"));

  // 413438 frames of 1152 samples at 44.1 kHz: three hours and 13 ms.
  const QString longer = dir.filePath(u"long.mp3"_qs);
  test::WriteBytes(longer, Mp3Frames(20, 413438));
  const std::optional<MediaFacts> facts = Read(longer);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->duration_s, 10800);
  EXPECT_EQ(DurationText(*facts->duration_s), u"3:00:00"_qs);
}

TEST(MediaFactsTest, DamagedFilesGiveEmptyCells) {
  QTemporaryDir dir;
  const QString mp3 = dir.filePath(u"cut.mp3"_qs);
  test::WriteBytes(mp3, Mp3Frames(50));
  Tag(mp3, "Ärzte", "Westerland", "東京");
  const QByteArray whole = test::ReadBytes(mp3);
  for (int size : {0, 3, 10, 40}) {
    test::WriteBytes(mp3, whole.left(size));
    EXPECT_TRUE(Empty(Read(mp3))) << size;
  }

  const QString jpeg = dir.filePath(u"garbage.jpg"_qs);
  QByteArray garbage(
      "\xFF\xD8\xFF\xE1\xFF\xFF"
      "Exif\0\0II*\0\xFF\xFF\xFF\x7F",
      20);
  for (int i = 0; i < 4000; ++i) garbage += static_cast<char>((i * 7919) % 251);
  for (int size : {0, 2, 12, 20, static_cast<int>(garbage.size())}) {
    test::WriteBytes(jpeg, garbage.left(size));
    EXPECT_TRUE(Empty(Read(jpeg))) << size;
  }
  const QString text = dir.filePath(u"text.flac"_qs);
  test::WriteBytes(text, "fLaC but only words");
  EXPECT_TRUE(Empty(Read(text)));
}

TEST(MediaFactsTest, PicturesGivePixelsAndDateTaken) {
  QTemporaryDir dir;
  const QString jpg = dir.filePath(u"x.jpg"_qs);
  RunTool(u"convert"_qs, {u"-size"_qs, u"40x30"_qs, u"xc:red"_qs, jpg});
  SetExif(jpg, u"set Exif.Photo.DateTimeOriginal 2021:07:04 10:11:12"_qs);
  SetExif(jpg, u"set Exif.Image.DateTime 2023:01:01 00:00:00"_qs);
  const QDateTime taken(QDate(2021, 7, 4), QTime(10, 11, 12));
  const std::optional<MediaFacts> facts = Read(jpg);
  EXPECT_EQ(facts, Picture(40, 30, taken));
  ASSERT_TRUE(facts && facts->taken);
  EXPECT_EQ(DateTextFormat(QLocale(QLocale::German, QLocale::Germany)).Format(*facts->taken),
            u"04.07.2021 10:11"_qs);
  EXPECT_EQ(PixelsText(*facts->width, *facts->height), QString::fromUtf8("40 \u00D7 30"));

  // Without the original date the date of the picture itself.
  const QString png = dir.filePath(u"y.PNG"_qs);
  RunTool(u"convert"_qs, {u"-size"_qs, u"64x48"_qs, u"xc:blue"_qs, u"png:"_qs + png});
  SetExif(png, u"set Exif.Image.DateTime 2020:01:02 03:04:05"_qs);
  EXPECT_EQ(Read(png), Picture(64, 48, QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))));

  const QString tif = dir.filePath(u"z.tif"_qs);
  RunTool(u"convert"_qs, {u"-size"_qs, u"20x10"_qs, u"xc:green"_qs, tif});
  EXPECT_EQ(Read(tif), Picture(20, 10));

  // A date that is no date (cameras write zeros when their clock was never set).
  SetExif(jpg, u"set Exif.Photo.DateTimeOriginal 0000:00:00 00:00:00"_qs);
  SetExif(jpg, u"del Exif.Image.DateTime"_qs);
  EXPECT_EQ(Read(jpg), Picture(40, 30));
}

TEST(MediaFactsTest, PicturesAboveTheLimitAreNotRead) {
  QTemporaryDir dir;
  const QString jpg = dir.filePath(u"huge.jpg"_qs);
  RunTool(u"convert"_qs, {u"-size"_qs, u"40x30"_qs, u"xc:red"_qs, jpg});
  ASSERT_EQ(Read(jpg), Picture(40, 30));
  ASSERT_EQ(::truncate(QFile::encodeName(jpg).constData(), kMaxPictureBytes + 1), 0);  // sparse
  EXPECT_EQ(Read(jpg), std::nullopt);
}

// Runs a read on its own thread; a read that still waits after five seconds fails the test and
// is set free by opening the FIFO's other end.
std::optional<MediaFacts> ReadWithin5s(const QString& path, const QString& fifo) {
  std::packaged_task<std::optional<MediaFacts>()> task([path] { return Read(path); });
  std::future<std::optional<MediaFacts>> result = task.get_future();
  std::thread reader(std::move(task));
  if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << path.toStdString() << " was opened and waited for a writer";
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  reader.join();
  return result.get();
}

TEST(MediaFactsTest, OnlyRegularFilesAreOpened) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath(u"x.mp3"_qs);
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(ReadWithin5s(fifo, fifo), std::nullopt);

  const QString link_to_fifo = dir.filePath(u"link.flac"_qs);
  ASSERT_TRUE(QFile::link(fifo, link_to_fifo));
  EXPECT_EQ(ReadWithin5s(link_to_fifo, fifo), std::nullopt);

  ASSERT_TRUE(QDir(dir.path()).mkdir(u"y.jpg"_qs));
  EXPECT_EQ(Read(dir.filePath(u"y.jpg"_qs)), std::nullopt);
  EXPECT_EQ(ReadMediaFacts("/dev/null", MediaKind::kAudio), std::nullopt);
  EXPECT_EQ(Read(dir.filePath(u"missing.ogg"_qs)), std::nullopt);
  EXPECT_EQ(
      ReadMediaFacts(QFile::encodeName(dir.filePath(u"x.mp3"_qs)).toStdString(), MediaKind::kNone),
      std::nullopt);

  // A link to a song shows the song.
  const QString song = dir.filePath(u"song.flac"_qs);
  Tone(song, 3.0);
  Tag(song, "Ärzte", "東京", "Album");
  const QString link = dir.filePath(u"liste/song.flac"_qs);
  ASSERT_TRUE(QDir(dir.path()).mkdir(u"liste"_qs));
  ASSERT_TRUE(QFile::link(song, link));
  EXPECT_EQ(Read(link), Audio(3, "Ärzte", "東京", "Album"));
}

TEST(MediaFactsTest, FourThreadsReadTheSameAsOne) {
  QTemporaryDir dir;
  QStringList paths;
  for (const char* name : {"a.wav", "b.flac", "c.ogg"}) {
    paths << dir.filePath(QLatin1String(name));
    Tone(paths.back(), 1.5);
    Tag(paths.back(), name, "東京", "Ärzte");
  }
  paths << dir.filePath(u"d.mp3"_qs);
  test::WriteBytes(paths.back(), Mp3Frames(40));
  Tag(paths.back(), "mp3", "東京", "Ärzte");
  paths << dir.filePath(u"e.jpg"_qs) << dir.filePath(u"f.png"_qs);
  RunTool(u"convert"_qs, {u"-size"_qs, u"40x30"_qs, u"xc:red"_qs, paths[4]});
  SetExif(paths[4], u"set Exif.Photo.DateTimeOriginal 2021:07:04 10:11:12"_qs);
  SetExif(paths[4], u"set Xmp.dc.title Ärzte"_qs);  // the XMP toolkit takes part
  RunTool(u"convert"_qs, {u"-size"_qs, u"8x6"_qs, u"xc:red"_qs, paths[5]});
  paths << dir.filePath(u"g.jpg"_qs);
  test::WriteBytes(paths.back(), "\xFF\xD8\xFF garbage");

  std::vector<std::optional<MediaFacts>> once;
  for (const QString& path : paths) once.push_back(Read(path));
  ASSERT_EQ(once[0], Audio(2, "a.wav", "東京", "Ärzte"));
  ASSERT_EQ(once[4], Picture(40, 30, QDateTime(QDate(2021, 7, 4), QTime(10, 11, 12))));
  ASSERT_TRUE(Empty(once[6]));

  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 30; ++round) {
        for (int i = 0; i < paths.size(); ++i) {
          const int k = (i + t) % paths.size();
          if (Read(paths[k]) != once[k]) ++mismatches[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace kavoro

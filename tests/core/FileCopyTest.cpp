#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "core/app/FileOperations.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

struct stat Lstat(const QString& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
  return st;
}

void SetTimes(const QString& path, std::int64_t modified, std::int64_t accessed, int flags = 0) {
  const timespec times[2] = {{accessed, 0}, {modified, 123456789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, flags), 0);
}

class FileCopyTest : public ::testing::Test {
 protected:
  QString P(const QString& relative) const { return dir_.path() + u'/' + relative; }
  void File(const QString& relative, const QByteArray& bytes = "data") const {
    QDir().mkpath(QFileInfo(P(relative)).absolutePath());
    test::WriteBytes(P(relative), bytes);
  }
  bool Exists(const QString& relative) const {
    struct stat st {};
    return ::lstat(QFile::encodeName(P(relative)).constData(), &st) == 0;
  }
  void Fifo(const QString& relative) const {
    ASSERT_EQ(::mkfifo(QFile::encodeName(P(relative)).constData(), 0644), 0);
  }
  const MessageSlots& m = MessageSlotsFor(UiLanguage::German);
  QTemporaryDir dir_;
};

TEST_F(FileCopyTest, CopiesKeepDatesOfChangePermissionsAndLinks) {
  File(u"a/lied.mp3"_qs, "one");
  File(u"a/sub/text.txt"_qs, "two");
  ASSERT_TRUE(QFile::link(u"lied.mp3"_qs, P(u"a/verweis"_qs)));
  ::chmod(QFile::encodeName(P(u"a/lied.mp3"_qs)).constData(), 0640);
  ::chmod(QFile::encodeName(P(u"a/sub/text.txt"_qs)).constData(), 0444);
  ::chmod(QFile::encodeName(P(u"a/sub"_qs)).constData(), 0550);  // read-only folder
  SetTimes(P(u"a/lied.mp3"_qs), 1102253700, 1102253800);         // December 2004
  SetTimes(P(u"a/sub/text.txt"_qs), 1000000000, 1000000100);
  SetTimes(P(u"a/verweis"_qs), 1100000000, 1100000100, AT_SYMLINK_NOFOLLOW);
  SetTimes(P(u"a/sub"_qs), 1200000000, 1200000100);
  SetTimes(P(u"a"_qs), 1300000000, 1300000100);
  QDir().mkpath(P(u"b"_qs));

  // A folder elsewhere, then a file beside itself.
  const FileOpResult r = PasteEntry(P(u"a"_qs), P(u"b"_qs), false);
  ASSERT_TRUE(r.Ok()) << r.reason.toStdString();
  EXPECT_TRUE(r.skipped.isEmpty());
  // Reading the originals may change their dates of access; the copies keep those they had.
  const std::tuple<const char*, std::int64_t, std::int64_t> dates[] = {
      {"a/lied.mp3", 1102253700, 1102253800},
      {"a/sub/text.txt", 1000000000, 1000000100},
      {"a/verweis", 1100000000, 1100000100},
      {"a/sub", 1200000000, 1200000100},
      {"a", 1300000000, 1300000100}};
  for (const auto& [item, modified, accessed] : dates) {
    const struct stat o = Lstat(P(QLatin1String(item)));
    const struct stat c = Lstat(P(u"b/"_qs + QLatin1String(item)));
    EXPECT_EQ(c.st_mode, o.st_mode) << item;
    EXPECT_EQ(c.st_mtim.tv_sec, modified) << item;
    EXPECT_EQ(c.st_mtim.tv_nsec, 123456789) << item;
    EXPECT_EQ(c.st_atim.tv_sec, accessed) << item;
  }
  EXPECT_EQ(QFile::symLinkTarget(P(u"b/a/verweis"_qs)), P(u"b/a/lied.mp3"_qs));
  EXPECT_EQ(test::ReadBytes(P(u"b/a/sub/text.txt"_qs)), "two");
  ASSERT_TRUE(PasteEntry(P(u"a/lied.mp3"_qs), P(u"a"_qs), false).Ok());
  const struct stat beside = Lstat(P(u"a/Kopie von lied.mp3"_qs));
  EXPECT_EQ(beside.st_mode & 07777, 0640u);
  EXPECT_EQ(beside.st_mtim.tv_sec, 1102253700);
  ::chmod(QFile::encodeName(P(u"a/sub"_qs)).constData(), 0750);
  ::chmod(QFile::encodeName(P(u"b/a/sub"_qs)).constData(), 0750);
}

TEST_F(FileCopyTest, ASparseFileStaysSparse) {
  // 64 MiB with 8 KiB of data in the middle and at the start; the rest are holes.
  const QString sparse = P(u"a/abbild.img"_qs);
  QDir().mkpath(P(u"a"_qs));
  {
    QFile f(sparse);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.seek(32 << 20);
    f.write(QByteArray(4096, 'y'));
    ASSERT_TRUE(f.resize(64 << 20));
  }
  const struct stat original = Lstat(sparse);
  ASSERT_LT(original.st_blocks * 512, 1 << 20) << "the file system here keeps no holes";
  QDir().mkpath(P(u"b"_qs));
  ASSERT_TRUE(PasteEntry(sparse, P(u"b"_qs), false).Ok());
  const struct stat copy = Lstat(P(u"b/abbild.img"_qs));
  EXPECT_EQ(copy.st_size, 64 << 20);
  EXPECT_LE(copy.st_blocks, original.st_blocks);
  EXPECT_EQ(test::ReadBytes(P(u"b/abbild.img"_qs)), test::ReadBytes(sparse));
}

TEST_F(FileCopyTest, PipesSocketsAndDevicesAreLeftOutAndNamed) {
  File(u"a/lied.mp3"_qs, "one");
  Fifo(u"a/röhre"_qs);
  const QString socket_path = P(u"a/sock"_qs);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray encoded = QFile::encodeName(socket_path);
  ASSERT_LT(std::size_t(encoded.size()), sizeof address.sun_path);
  std::copy(encoded.begin(), encoded.end(), address.sun_path);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(sock);
  QDir().mkpath(P(u"b"_qs));

  const FileOpResult r = PasteEntry(P(u"a"_qs), P(u"b"_qs), false);
  ASSERT_TRUE(r.Ok()) << FailureMessage(r, m).toStdString();
  EXPECT_EQ(test::ReadBytes(P(u"b/a/lied.mp3"_qs)), "one");
  EXPECT_FALSE(Exists(u"b/a/röhre"_qs));
  EXPECT_FALSE(Exists(u"b/a/sock"_qs));
  QStringList skipped = r.skipped;
  skipped.sort();
  EXPECT_EQ(skipped, QStringList({P(u"a/röhre"_qs), socket_path}));
  EXPECT_EQ(SkippedMessage(r, m), m.msgSpecialSkipped + u'\n' + r.skipped.join(u'\n'));
  EXPECT_EQ(SkippedMessage(PasteEntry(P(u"a/lied.mp3"_qs), P(u"b"_qs), false), m), QString());
}

TEST_F(FileCopyTest, AMoveToAnotherFileSystemLeavesSpecialFilesWhereTheyWere) {
  if (!QFileInfo(u"/dev/shm"_qs).isWritable() ||
      Lstat(u"/dev/shm"_qs).st_dev == Lstat(dir_.path()).st_dev) {
    GTEST_SKIP() << "needs /dev/shm as a writable file system of its own";
  }
  QTemporaryDir other(u"/dev/shm/kavoro-XXXXXX"_qs);
  ASSERT_TRUE(other.isValid());
  const QString source = other.filePath(u"a"_qs);
  QDir().mkpath(source + u"/sub"_qs);
  test::WriteBytes(source + u"/sub/lied.mp3"_qs, "one");
  test::WriteBytes(source + u"/x.txt"_qs, "two");
  ASSERT_EQ(::mkfifo(QFile::encodeName(source + u"/sub/röhre"_qs).constData(), 0644), 0);

  const FileOpResult r = PasteEntry(source, dir_.path(), true);
  ASSERT_TRUE(r.Ok()) << FailureMessage(r, m).toStdString();
  EXPECT_EQ(r.skipped, QStringList{source + u"/sub/röhre"_qs});
  EXPECT_EQ(test::ReadBytes(P(u"a/sub/lied.mp3"_qs)), "one");
  EXPECT_EQ(test::ReadBytes(P(u"a/x.txt"_qs)), "two");
  // Only the pipe and the folder holding it are left.
  EXPECT_EQ(QDir(source).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
            QStringList{u"sub"_qs});
  EXPECT_EQ(
      QDir(source + u"/sub"_qs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
      QStringList{u"röhre"_qs});
}

TEST_F(FileCopyTest, AFailedCopyNamesTheItemAndLeavesNothingBehind) {
  // The source path fits the system's limit of a path; its copy further down does not.
  QString deep = u"a"_qs;
  for (int i = 0; i < 15; ++i) deep += u'/' + QString(250, QChar(u'k' + i % 5));
  ASSERT_TRUE(QDir().mkpath(P(deep)));
  ASSERT_LT(P(deep).size(), 4000);
  File(u"a/lied.mp3"_qs, "one");
  const QString far = u"ziel/"_qs + QString(250, u'y') + u'/' + QString(250, u'z');
  ASSERT_TRUE(QDir().mkpath(P(far)));

  const FileOpResult r = PasteEntry(P(u"a"_qs), P(far), false);
  ASSERT_EQ(r.failure, FileOpFailure::System);
  EXPECT_TRUE(r.path.startsWith(P(far + u"/a/"_qs))) << r.path.toStdString();
  EXPECT_GT(r.path.size(), 4000);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_EQ(FailureMessage(r, m), m.msgOperationFailed + u'\n' + r.path + u'\n' + r.reason);
  EXPECT_FALSE(Exists(far + u"/a"_qs));
  EXPECT_EQ(test::ReadBytes(P(u"a/lied.mp3"_qs)), "one");
}

TEST_F(FileCopyTest, ProgressIsReportedAndAStoppedOperationChangesNothing) {
  for (int i = 0; i < 5; ++i) File(u"a/%1.txt"_qs.arg(i), QByteArray(10000, 'x'));
  QDir().mkpath(P(u"b"_qs));
  QStringList items;
  std::uint64_t last_total = 0;
  auto stop = [&](std::uint64_t, std::uint64_t total, const QString& item) {
    items.append(item);
    last_total = total;
    return false;
  };
  FileOpResult r = PasteEntry(P(u"a"_qs), P(u"b"_qs), false, stop);
  EXPECT_EQ(r.failure, FileOpFailure::Cancelled);
  EXPECT_EQ(FailureMessage(r, m), QString());
  EXPECT_FALSE(Exists(u"b/a"_qs));
  ASSERT_EQ(items.size(), 1);
  EXPECT_TRUE(items[0].startsWith(P(u"a"_qs)));

  r = DeleteEntry(P(u"a"_qs), stop);
  EXPECT_EQ(r.failure, FileOpFailure::Cancelled);
  EXPECT_EQ(QDir(P(u"a"_qs)).entryList(QDir::Files).size(), 5);

  auto go_on = [&](std::uint64_t done, std::uint64_t total, const QString&) {
    EXPECT_LE(done, total);
    last_total = total;
    return true;
  };
  ASSERT_TRUE(PasteEntry(P(u"a"_qs), P(u"b"_qs), false, go_on).Ok());
  EXPECT_GT(last_total, 50000u);  // the data and the items
  ASSERT_TRUE(DeleteEntry(P(u"b/a"_qs), go_on).Ok());
  EXPECT_FALSE(Exists(u"b/a"_qs));
}

}  // namespace
}  // namespace kavoro

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/listing/Scanner.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class ScannerTest : public ::testing::Test {
 protected:
  ~ScannerTest() override { test::RemoveTree(dir_.path()); }
  QString Make(const QString& relative, qint64 size = 0) {
    const QString path = dir_.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.resize(size);
    return path;
  }
  QStringList Names(const Scanner::Options& options) {
    FoundFiles found;
    EXPECT_TRUE(Scanner(options).Scan(dir_.path(), found));
    QStringList names;
    for (std::size_t i = 0; i < found.Count(); ++i) {
      names.append(found.FullPath(i).mid(dir_.path().size() + 1));
    }
    return names;
  }

  QTemporaryDir dir_;
};

TEST_F(ScannerTest, FilesBeforeSubfoldersHiddenFilesFoundHiddenFoldersSkipped) {
  Make(u"a.mp3"_qs);
  Make(u"x/c.mp3"_qs);
  Make(u"x/y/d.MP3"_qs);
  Make(u".h.mp3"_qs);
  Make(u".hidden/e.mp3"_qs);
  Make(u"f.txt"_qs);
  QStringList names = Names({true, false, {u".mp3"_qs}, false, {}});
  ASSERT_EQ(names.size(), 4);
  EXPECT_EQ(names.indexOf(u"x/c.mp3"_qs), 2);
  EXPECT_EQ(names.indexOf(u"x/y/d.MP3"_qs), 3);
  EXPECT_TRUE(names.contains(u".h.mp3"_qs));
  EXPECT_EQ(Names({false, false, {}, false, {}}).size(), 3);  // a.mp3, .h.mp3, f.txt
}

TEST_F(ScannerTest, OneMatchPerExtensionGroupedInListOrder) {
  Make(u"a.mp3"_qs);
  Make(u"b.wav"_qs);
  Make(u"s/c.mp3"_qs);
  EXPECT_EQ(Names({true, false, {u".wav"_qs, u".mp3"_qs}, false, {}}).first(), u"b.wav"_qs);
  EXPECT_EQ(Names({true, false, {u".tar.gz"_qs}, false, {}}), QStringList());
}

TEST_F(ScannerTest, DetailsAndLinks) {
  const QString big = Make(u"big.bin"_qs, 5000);
  utimensat(AT_FDCWD, QFile::encodeName(big).constData(),
            std::array<timespec, 2>{timespec{1102257307, 0}, timespec{1102257307, 0}}.data(), 0);
  ASSERT_EQ(symlink("big.bin", QFile::encodeName(dir_.filePath(u"link.bin"_qs)).constData()), 0);
  ASSERT_EQ(symlink(".", QFile::encodeName(dir_.filePath(u"loop"_qs)).constData()), 0);
  ASSERT_EQ(mkfifo(QFile::encodeName(dir_.filePath(u"pipe"_qs)).constData(), 0600), 0);
  FoundFiles found;
  ASSERT_TRUE(Scanner({true, true, {}, false, {}}).Scan(dir_.path(), found));
  ASSERT_EQ(found.Count(), 2u);  // the file and the link to it; no loop, no pipe
  for (std::size_t i = 0; i < found.Count(); ++i) {
    EXPECT_EQ(found.Size(i), 5000u);
    EXPECT_EQ(found.Mtime(i), 1102257307);
  }
}

TEST_F(ScannerTest, DeepTreeDoesNotOverflow) {
  int fd = open(QFile::encodeName(dir_.path()).constData(), O_RDONLY | O_DIRECTORY);
  for (int depth = 0; depth < 10000; ++depth) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  close(openat(fd, "deep.mp3", O_CREAT | O_WRONLY, 0644));
  close(fd);
  FoundFiles found;
  ASSERT_TRUE(Scanner({true, true, {}, false, {}}).Scan(dir_.path(), found));
  ASSERT_EQ(found.Count(), 1u);
  EXPECT_EQ(found.FileName(0), u"deep.mp3"_qs);
  EXPECT_EQ(found.FullPath(0).count(u"/d/"_qs), 10000);
}

TEST_F(ScannerTest, LongPathsDoNotRunOutOfDescriptors) {
  // Below a long path folders are opened from a held descriptor of an ancestor; one held for
  // each of many such folders at once would exhaust the limit and lose their files.
  std::string path = QFile::encodeName(dir_.path()).toStdString();
  for (int depth = 0; depth < 8; ++depth) {
    path += '/' + std::string(250, char('a' + depth));
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  }
  const int wide = 300;
  const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
  for (int i = 0; i < wide; ++i) {
    const std::string sub = std::to_string(i) + std::string(240, 'w');
    ASSERT_EQ(mkdirat(fd, sub.c_str(), 0755), 0);
    ASSERT_EQ(mkdirat(fd, (sub + "/s").c_str(), 0755), 0);
    close(openat(fd, (sub + "/s/f.mp3").c_str(), O_CREAT | O_WRONLY, 0644));
  }
  close(fd);
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit low = saved;
  low.rlim_cur = 200;
  setrlimit(RLIMIT_NOFILE, &low);
  FoundFiles found;
  const bool scanned = Scanner({true, false, {}, false, {}}).Scan(dir_.path(), found);
  setrlimit(RLIMIT_NOFILE, &saved);
  ASSERT_TRUE(scanned);
  EXPECT_EQ(found.Count(), std::size_t(wide));
}

TEST(FoundFilesTest, SizesAndDatesFollowTheirFiles) {
  FoundFiles files;
  const std::uint32_t folder = files.AddFolder("/x/");
  files.Add(folder, "empty", 0, 0);
  files.Add(folder, "big", 5000, 77);
  files.Add(files.AddFolder("/y/"), "old", 0, -5);
  const std::uint32_t order[] = {2, 0, 1};
  files.Reorder(order);
  EXPECT_EQ(files.FullPath(0), u"/y/old"_qs);
  EXPECT_EQ(files.Mtime(0), -5);
  EXPECT_EQ(files.FullPath(1), u"/x/empty"_qs);
  EXPECT_EQ(files.Size(1), 0u);
  EXPECT_EQ(files.Size(2), 5000u);
  EXPECT_EQ(files.Mtime(2), 77);
}

TEST_F(ScannerTest, UnreadableFolderIsSkipped) {
  // Root reads every folder, so the walk runs in a child that gives up its privileges.
  Make(u"ok/a.mp3"_qs);
  Make(u"closed/b.mp3"_qs);
  Make(u"z.mp3"_qs);
  chmod(QFile::encodeName(dir_.path()).constData(), 0755);
  chmod(QFile::encodeName(dir_.filePath(u"ok"_qs)).constData(), 0755);
  chmod(QFile::encodeName(dir_.filePath(u"closed"_qs)).constData(), 0700);
  int pipe_fds[2];
  ASSERT_EQ(pipe(pipe_fds), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_fds[0]);
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    FoundFiles found;
    Scanner({true, false, {}, false, {}}).Scan(dir_.path(), found);
    QByteArray names;
    for (std::size_t i = 0; i < found.Count(); ++i) names += found.FileName(i).toUtf8() + ' ';
    if (write(pipe_fds[1], names.constData(), names.size()) < 0) _exit(4);
    _exit(0);
  }
  close(pipe_fds[1]);
  char buffer[256] = {};
  const ssize_t n = read(pipe_fds[0], buffer, sizeof buffer - 1);
  close(pipe_fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(QByteArray(buffer, int(n)), "z.mp3 a.mp3 ");
}

TEST_F(ScannerTest, FolderContentsOrder) {
  Make(u"b.mp3"_qs);
  Make(u"a.MP3"_qs);
  Make(u"C.txt"_qs);
  Make(u"sub/x.mp3"_qs);
  QStringList names;
  const FoundFiles files = Scanner::ListFolder(dir_.path(), false);
  for (std::size_t i = 0; i < files.Count(); ++i) names.append(files.FileName(i));
  EXPECT_EQ(names, (QStringList{"a.MP3", "b.mp3", "C.txt"}));
}

}  // namespace
}  // namespace kavoro

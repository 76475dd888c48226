#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/app/FileOperations.h"
#include "core/text/Utf8.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

class FileOperationsTest : public ::testing::Test {
 protected:
  ~FileOperationsTest() override { test::RemoveTree(dir_.path()); }
  QString P(const QString& relative) const { return dir_.path() + u'/' + relative; }
  void File(const QString& relative, const QByteArray& bytes = "data") const {
    QDir().mkpath(QFileInfo(P(relative)).absolutePath());
    test::WriteBytes(P(relative), bytes);
  }
  bool Exists(const QString& relative) const { return QFileInfo::exists(P(relative)); }
  const MessageSlots& m = MessageSlotsFor(UiLanguage::German);
  QTemporaryDir dir_;
};

TEST_F(FileOperationsTest, CopyIntoItsOwnFolderGetsAFreeCopyName) {
  File(u"a/lied.mp3"_qs, "one");
  for (const char* expected :
       {"Kopie von lied.mp3", "Kopie (2) von lied.mp3", "Kopie (3) von lied.mp3"}) {
    const FileOpResult r = PasteEntry(P(u"a/lied.mp3"_qs), P(u"a"_qs), false);
    ASSERT_TRUE(r.Ok()) << r.reason.toStdString();
    EXPECT_EQ(r.path, P(u"a/"_qs + QLatin1String(expected)));
    EXPECT_EQ(test::ReadBytes(r.path), "one");
  }
  EXPECT_EQ(test::ReadBytes(P(u"a/lied.mp3"_qs)), "one");
}

TEST_F(FileOperationsTest, ACopyNameLongerThanTheFileSystemAllowsEndsTheSearch) {
  // 245 bytes leave room for "Kopie von " (255 in all), not for "Kopie (2) von ".
  const QString fits = QString(241, u'a') + u".mp3"_qs;
  File(fits, "one");
  const FileOpResult first = PasteEntry(P(fits), dir_.path(), false);
  ASSERT_TRUE(first.Ok()) << first.reason.toStdString();
  EXPECT_EQ(first.path, P(u"Kopie von "_qs + fits));
  FileOpResult r = PasteEntry(P(fits), dir_.path(), false);
  EXPECT_EQ(r.failure, FileOpFailure::NoCopyName);
  EXPECT_EQ(FailureMessage(r, m), m.msgNoCopyName + u'\n' + P(fits));

  // A name of 255 bytes, the longest there is, can have no copy beside it at all.
  const QString longest = QString(251, u'b') + u".mp3"_qs;
  File(longest, "two");
  r = PasteEntry(P(longest), dir_.path(), false);
  EXPECT_EQ(r.failure, FileOpFailure::NoCopyName);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 3);
  EXPECT_EQ(FreeCopyName(dir_.path(), longest), QString());
}

TEST_F(FileOperationsTest, TheSearchForAFreeCopyNameIsBounded) {
  File(u"x"_qs);
  File(u"Kopie von x"_qs);
  for (int n = 2; n <= 10000; ++n) {
    ::close(::creat(QFile::encodeName(P(u"Kopie (%1) von x"_qs.arg(n))).constData(), 0644));
  }
  const FileOpResult r = PasteEntry(P(u"x"_qs), dir_.path(), false);
  EXPECT_EQ(r.failure, FileOpFailure::NoCopyName);
  EXPECT_FALSE(Exists(u"Kopie (10001) von x"_qs));
}

TEST_F(FileOperationsTest, CopyAndMoveIntoAnotherFolderKeepTheNameAndNeverReplace) {
  File(u"a/lied.mp3"_qs, "one");
  File(u"b/x"_qs);
  FileOpResult r = PasteEntry(P(u"a/lied.mp3"_qs), P(u"b/"_qs), false);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.path, P(u"b/lied.mp3"_qs));
  test::WriteBytes(P(u"b/lied.mp3"_qs), "changed");
  // Neither a second copy nor a move may replace the file that is there now.
  for (bool move : {false, true}) {
    r = PasteEntry(P(u"a/lied.mp3"_qs), P(u"b"_qs), move);
    EXPECT_EQ(r.failure, FileOpFailure::NameExists);
    EXPECT_EQ(FailureMessage(r, m), m.msgNameExists + u'\n' + P(u"b/lied.mp3"_qs));
  }
  EXPECT_EQ(test::ReadBytes(P(u"b/lied.mp3"_qs)), "changed");
  EXPECT_TRUE(Exists(u"a/lied.mp3"_qs));
}

TEST_F(FileOperationsTest, MovingAFolderTakesItsContentsAlong) {
  File(u"a/sub/deep/f.txt"_qs, "deep");
  QDir().mkpath(P(u"b"_qs));
  const FileOpResult r = PasteEntry(P(u"a/sub"_qs), P(u"b"_qs), true);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(test::ReadBytes(P(u"b/sub/deep/f.txt"_qs)), "deep");
  EXPECT_FALSE(Exists(u"a/sub"_qs));
  // Moving into the folder it already lies in changes nothing.
  EXPECT_TRUE(PasteEntry(P(u"b/sub"_qs), P(u"b"_qs), true).Ok());
  EXPECT_TRUE(Exists(u"b/sub/deep/f.txt"_qs));
}

TEST_F(FileOperationsTest, AFolderNeverGoesIntoItselfButItsCopyMayGoBesideIt) {
  File(u"a/sub/f.txt"_qs);
  for (const char* target : {"a/sub", "a/sub/", "a/sub/../sub"}) {
    for (bool move : {false, true}) {
      EXPECT_EQ(PasteEntry(P(u"a/sub"_qs), P(QLatin1String(target)), move).failure,
                FileOpFailure::IntoItself)
          << target;
    }
  }
  QDir().mkpath(P(u"a/sub/inner"_qs));
  EXPECT_EQ(PasteEntry(P(u"a/sub"_qs), P(u"a/sub/inner"_qs), false).failure,
            FileOpFailure::IntoItself);
  // A sibling whose name merely begins the same is not below it.
  QDir().mkpath(P(u"a/subway"_qs));
  EXPECT_TRUE(PasteEntry(P(u"a/sub"_qs), P(u"a/subway"_qs), false).Ok());
  const FileOpResult copy = PasteEntry(P(u"a/sub"_qs), P(u"a"_qs), false);
  ASSERT_TRUE(copy.Ok());
  EXPECT_TRUE(Exists(u"a/Kopie von sub/f.txt"_qs));
}

TEST_F(FileOperationsTest, PasteOfASourceThatHasGoneIsReportedWithTheReason) {
  QDir().mkpath(P(u"b"_qs));
  const FileOpResult r = PasteEntry(P(u"gone.txt"_qs), P(u"b"_qs), false);
  EXPECT_EQ(r.failure, FileOpFailure::System);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_TRUE(FailureMessage(r, m).startsWith(m.msgOperationFailed + u'\n' + P(u"gone.txt"_qs)));
}

TEST_F(FileOperationsTest, RenameRefusesBadAndTakenNames) {
  File(u"a/one.txt"_qs, "1");
  File(u"a/two.txt"_qs, "2");
  for (const char* bad : {"x/y", ".", "..", "/abs"}) {
    const FileOpResult r = RenameEntry(P(u"a/one.txt"_qs), QLatin1String(bad));
    EXPECT_EQ(r.failure, FileOpFailure::BadName) << bad;
    EXPECT_EQ(FailureMessage(r, m), m.msgBadName);
  }
  EXPECT_EQ(RenameEntry(P(u"a/one.txt"_qs), u"two.txt"_qs).failure, FileOpFailure::NameExists);
  EXPECT_EQ(test::ReadBytes(P(u"a/two.txt"_qs)), "2");
  EXPECT_TRUE(RenameEntry(P(u"a/one.txt"_qs), u"one.txt"_qs).Ok());
  const FileOpResult r = RenameEntry(P(u"a/one.txt"_qs), u"drei .txt"_qs);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.path, P(u"a/drei .txt"_qs));
  EXPECT_EQ(test::ReadBytes(r.path), "1");
  // Folders, also named with a trailing "/".
  ASSERT_TRUE(RenameEntry(P(u"a/"_qs), u"b"_qs).Ok());
  EXPECT_TRUE(Exists(u"b/two.txt"_qs));
}

TEST_F(FileOperationsTest, DeleteRemovesAFolderWithEverything) {
  File(u"a/sub/f.txt"_qs);
  File(u"a/g.txt"_qs);
  ASSERT_TRUE(DeleteEntry(P(u"a/"_qs)).Ok());
  EXPECT_FALSE(Exists(u"a"_qs));
}

TEST_F(FileOperationsTest, AFailedCopyIsReportedAndLeavesNothingBehind) {
  File(u"a/sub/f.txt"_qs);
  File(u"plain.txt"_qs);
  // A file where the target folder should be: the system refuses, whoever runs the test.
  const FileOpResult r = PasteEntry(P(u"a/sub"_qs), P(u"plain.txt"_qs), false);
  EXPECT_EQ(r.failure, FileOpFailure::System);
  EXPECT_FALSE(r.reason.isEmpty());
  EXPECT_EQ(test::ReadBytes(P(u"plain.txt"_qs)), "data");
  EXPECT_TRUE(Exists(u"a/sub/f.txt"_qs));
}

TEST_F(FileOperationsTest, SubfoldersAreListedLevelByLevelUpToALimit) {
  for (const char* name : {"t/a/aa/aaa/f", "t/a/ab/f", "t/b/.ba/f", "t/c"})
    File(QLatin1String(name));
  // A link to a folder above would make the walk endless.
  ASSERT_TRUE(QFile::link(P(u"t"_qs), P(u"t/a/zurück"_qs)));
  SubfolderWalk walk = ListSubfolders(P(u"t"_qs), 100);
  EXPECT_TRUE(walk.complete);
  QStringList levels = walk.folders;
  for (QString& path : levels) path = path.mid(P(u"t/"_qs).size());
  // Each level sorted, so that the order does not hang on the file system's.
  std::sort(levels.begin(), levels.begin() + 2);
  std::sort(levels.begin() + 2, levels.begin() + 5);
  EXPECT_EQ(levels,
            QStringList({u"a"_qs, u"b"_qs, u"a/aa"_qs, u"a/ab"_qs, u"b/.ba"_qs, u"a/aa/aaa"_qs}));
  walk = ListSubfolders(P(u"t"_qs), 4);
  EXPECT_FALSE(walk.complete);
  EXPECT_EQ(walk.folders.size(), 4);
  EXPECT_TRUE(ListSubfolders(P(u"t"_qs), 6).complete);
}

TEST_F(FileOperationsTest, NamesThatAreNotUtf8AreCopiedRenamedDescribedAndDeletedByTheirBytes) {
  const QByteArray dir = QFile::encodeName(dir_.path());
  ASSERT_EQ(::mkdir(dir + "/a", 0755), 0);
  ASSERT_EQ(::mkdir(dir + "/b", 0755), 0);
  ::close(::creat(dir + "/a/bad\xFF.txt", 0644));
  ::close(::creat(dir + "/b/bad\xFF.txt", 0644));
  const QString bad = utf8::NameFromBytes((dir + "/a/bad\xFF.txt").toStdString());
  auto exists = [&dir](const char* relative) { return ::access(dir + relative, F_OK) == 0; };

  FileOpResult r = PasteEntry(bad, P(u"a"_qs), false);
  ASSERT_TRUE(r.Ok()) << FailureMessage(r, m).toStdString();
  EXPECT_TRUE(exists("/a/Kopie von bad\xFF.txt"));
  r = PasteEntry(bad, P(u"b"_qs), false);
  EXPECT_EQ(r.failure, FileOpFailure::NameExists);
  // Messages show the name as the views do.
  EXPECT_EQ(FailureMessage(r, m), m.msgNameExists + u'\n' + P(u"b/bad\uFFFD.txt"_qs));

  const auto rows = DescribeEntry(bad, m);
  ASSERT_EQ(rows.size(), 9);
  EXPECT_EQ(rows[0].second, u"bad\uFFFD.txt"_qs);
  EXPECT_EQ(rows[3].second, u"0 KB"_qs);
  EXPECT_EQ(rows[7].second, u"rw-r--r--"_qs);

  ASSERT_TRUE(RenameEntry(bad, u"gut.txt"_qs).Ok());
  EXPECT_TRUE(exists("/a/gut.txt"));
  EXPECT_FALSE(exists("/a/bad\xFF.txt"));
  ASSERT_TRUE(DeleteEntry(utf8::NameFromBytes((dir + "/b/bad\xFF.txt").toStdString())).Ok());
  EXPECT_FALSE(exists("/b/bad\xFF.txt"));
}

TEST(FileClipboardTest, CutMarksOnlyTheLastCutPath) {
  FileClipboard clip;
  EXPECT_EQ(clip.CurrentMode(), FileClipboard::Mode::Empty);
  clip.Cut(u"/a"_qs);
  EXPECT_TRUE(clip.IsCut(u"/a"_qs));
  clip.Copy(u"/b"_qs);
  EXPECT_FALSE(clip.IsCut(u"/a"_qs));
  EXPECT_FALSE(clip.IsCut(u"/b"_qs));
  EXPECT_EQ(clip.Path(), u"/b"_qs);
  clip.Clear();
  EXPECT_EQ(clip.CurrentMode(), FileClipboard::Mode::Empty);
}

TEST_F(FileOperationsTest, PropertiesNameTheFileInTheLanguage) {
  File(u"a/bild.png"_qs, QByteArray(2048, 'x'));
  const auto rows = DescribeEntry(P(u"a/bild.png"_qs), MessageSlotsFor(UiLanguage::English));
  ASSERT_EQ(rows.size(), 9);
  EXPECT_EQ(rows[0], std::make_pair(u"Name :"_qs, u"bild.png"_qs));
  EXPECT_EQ(rows[1].second, P(u"a"_qs));
  EXPECT_EQ(rows[3], std::make_pair(u"Size :"_qs, u"2 KB"_qs));
  EXPECT_TRUE(rows[7].second.startsWith(u"rw"_qs));
  EXPECT_EQ(rows[7].second.size(), 9);
  // A folder has no size row.
  EXPECT_EQ(DescribeEntry(P(u"a"_qs), m).size(), 8);
}

}  // namespace
}  // namespace kavoro

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/app/ProgramFolders.h"
#include "support/Printers.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

// A program folder that holds both files is used as it is (portable); one that does not makes
// the program an installed one, with its data beside the binary's folder in share/kavoro.
TEST(ProgramFoldersTest, PortableWhenTheProgramFolderHoldsBothFiles) {
  QTemporaryDir root;
  const QString bin = root.filePath(u"bin"_qs);
  QDir().mkpath(bin);
  const QString user = root.filePath(u"home/.config/kavoro"_qs);

  const ProgramFolders given = ChooseProgramFolders(bin, u"/elsewhere"_qs, user);
  EXPECT_TRUE(given.portable);
  EXPECT_EQ(given.settings, u"/elsewhere/"_qs);

  test::WriteBytes(bin + u"/optionen.ini"_qs, "0\r\n");
  const ProgramFolders installed = ChooseProgramFolders(bin, QString(), user);
  EXPECT_FALSE(installed.portable);
  EXPECT_EQ(installed.settings, user + u'/');
  EXPECT_EQ(installed.data, root.filePath(u"share/kavoro/"_qs));

  test::WriteBytes(bin + u"/endungen.ini"_qs, "Musik\r\n.mp3\r\n");
  const ProgramFolders portable = ChooseProgramFolders(bin, QString(), user);
  EXPECT_TRUE(portable.portable);
  EXPECT_EQ(portable.settings, bin + u'/');
  EXPECT_EQ(portable.data, bin + u'/');
}

// The first start copies the shipped files; later starts leave the folder alone, so that a file
// the user removed is reported as missing rather than silently brought back.
TEST(ProgramFoldersTest, TheFirstStartCopiesTheShippedFilesOnce) {
  QTemporaryDir root;
  const QString data = root.filePath(u"share/kavoro/"_qs);
  QDir().mkpath(data);
  test::WriteBytes(data + u"optionen.ini"_qs, "0\r\n1\r\n");
  test::WriteBytes(data + u"endungen.ini"_qs, "Musik\r\n.mp3\r\n");
  const ProgramFolders folders{root.filePath(u"home/.config/kavoro/"_qs), data, false};

  ASSERT_EQ(PrepareSettingsFolder(folders), std::nullopt);
  EXPECT_EQ(test::ReadBytes(folders.settings + u"optionen.ini"_qs), "0\r\n1\r\n");
  EXPECT_EQ(test::ReadBytes(folders.settings + u"endungen.ini"_qs), "Musik\r\n.mp3\r\n");

  QFile::remove(folders.settings + u"optionen.ini"_qs);
  ASSERT_EQ(PrepareSettingsFolder(folders), std::nullopt);
  EXPECT_FALSE(QFile::exists(folders.settings + u"optionen.ini"_qs));

  // A first start that cannot copy both files leaves nothing behind that a second start would
  // take for the user's settings.
  QFile::remove(data + u"endungen.ini"_qs);
  const ProgramFolders other{root.filePath(u"other/kavoro/"_qs), data, false};
  ASSERT_TRUE(PrepareSettingsFolder(other));
  EXPECT_EQ(QDir(root.filePath(u"other"_qs)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
            QStringList());

  // A folder that cannot be made is named in the message, with the file in its way.
  test::WriteBytes(root.filePath(u"file"_qs), "x");
  const ProgramFolders blocked{root.filePath(u"file/kavoro/"_qs), data, false};
  const std::optional<QString> error = PrepareSettingsFolder(blocked);
  EXPECT_EQ(error, u"Cannot create folder %1 (%2 is not a folder)"_qs.arg(
                       root.filePath(u"file/kavoro"_qs), root.filePath(u"file"_qs)));
}

}  // namespace
}  // namespace kavoro

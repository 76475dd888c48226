#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/output/Cp1252.h"
#include "core/output/LineFile.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

TEST(LineFileTest, WritesCp1252WithCrLfAfterEveryLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"a.txt"_qs);
  ASSERT_TRUE(LineFile::Write(path, {u"Größe €"_qs, QString(), u"x"_qs}));
  EXPECT_EQ(test::ReadBytes(path), QByteArray("Gr\xF6\xDF" "e \x80\r\n\r\nx\r\n"));
  EXPECT_EQ(*LineFile::Read(path), (QStringList{u"Größe €"_qs, QString(), u"x"_qs}));
}

TEST(LineFileTest, TextOutsideCp1252IsWrittenAsUtf8WithBom) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"a.txt"_qs);
  const QStringList lines = {u"Größe"_qs, u"東京 ☃"_qs};
  ASSERT_TRUE(LineFile::Write(path, lines));
  EXPECT_TRUE(test::ReadBytes(path).startsWith("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e\r\n"));
  EXPECT_EQ(*LineFile::Read(path), lines);
}

TEST(LineFileTest, SplitsEveryLineEndingLikeAStringList) {
  EXPECT_EQ(LineFile::SplitLines(u"a\r\nb\nc\rd"_qs), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(LineFile::SplitLines(u"a\r\n\r\n"_qs), (QStringList{"a", ""}));
  EXPECT_EQ(LineFile::SplitLines(u"a\n\r\n"_qs), (QStringList{"a", ""}));
  EXPECT_TRUE(LineFile::SplitLines(QString()).isEmpty());
}

TEST(LineFileTest, EveryByteSurvivesAReadAndWrite) {
  QByteArray all;
  for (int b = 1; b < 256; ++b) {
    if (b != '\r' && b != '\n') all.append(char(b));
  }
  const QString text = cp1252::Decode(all);
  QByteArray back;
  ASSERT_TRUE(cp1252::EncodeInto(text, back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(text.indexOf(QChar(0x20AC)), 0x80 - 3);  // the euro sign, after CR and LF left out
}

TEST(LineFileTest, FailuresAreReportedAndLeaveTheOldFile) {
  QTemporaryDir dir;
  QString error;
  EXPECT_FALSE(LineFile::Read(dir.filePath(u"none"_qs), &error));
  EXPECT_TRUE(error.startsWith(u"Cannot open file "_qs)) << error.toStdString();
  EXPECT_FALSE(LineFile::Write(dir.filePath(u"no/such/dir/a.txt"_qs), {u"x"_qs}, &error));
  EXPECT_TRUE(error.startsWith(u"Cannot create file "_qs)) << error.toStdString();
}

}  // namespace
}  // namespace kavoro

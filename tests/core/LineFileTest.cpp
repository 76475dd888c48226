#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/settings/OptionsFile.h"
#include "core/text/Cp1252.h"
#include "core/text/LineFile.h"
#include "core/text/StringPool.h"
#include "support/TestFiles.h"

namespace kavoro {
namespace {

TEST(LineFileTest, WritesCp1252WithCrLfAfterEveryLine) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"a.txt"_qs);
  ASSERT_TRUE(LineFile::Write(path, {u"Größe €"_qs, QString(), u"x"_qs}));
  EXPECT_EQ(test::ReadBytes(path), QByteArray("Gr\xF6\xDF"
                                              "e \x80\r\n\r\nx\r\n"));
  EXPECT_EQ(*LineFile::Read(path), (QStringList{u"Größe €"_qs, QString(), u"x"_qs}));
}

TEST(LineFileTest, TextOutsideCp1252IsWrittenAsUtf8WithBom) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"a.txt"_qs);
  const QStringList lines = {u"Größe"_qs, u"東京 ☃"_qs};
  ASSERT_TRUE(LineFile::Write(path, lines));
  EXPECT_TRUE(
      test::ReadBytes(path).startsWith("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F"
                                       "e\r\n"));
  EXPECT_EQ(*LineFile::Read(path), lines);
}

// A first line that begins with "ï»¿" would be the bytes of a byte order mark in cp1252, and the
// file would come back as UTF-8 with the line's first characters gone.
TEST(LineFileTest, AFirstLineThatLooksLikeAByteOrderMarkComesBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"a.txt"_qs);
  const QStringList lines = {u"ï»¿mp3"_qs, u"Größe"_qs};
  ASSERT_TRUE(LineFile::Write(path, lines));
  EXPECT_EQ(*LineFile::Read(path), lines);
  LineList list;
  list.Assign(lines);
  ASSERT_TRUE(LineFile::Write(path, list));
  EXPECT_EQ(LineFile::ReadLines(path)->ToStringList(), lines);
  // Further down the same characters stay cp1252.
  const QString other = dir.filePath(u"b.txt"_qs);
  ASSERT_TRUE(LineFile::Write(other, {u"Musik"_qs, u"ï»¿"_qs}));
  EXPECT_EQ(test::ReadBytes(other), QByteArray("Musik\r\n\xEF\xBB\xBF\r\n"));
}

TEST(LineFileTest, SplitsEveryLineEndingLikeAStringList) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(LineFile::SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(LineFile::SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(LineFile::SplitLines("a\n\r\n"), (Lines{"a", ""}));
  EXPECT_TRUE(LineFile::SplitLines("").empty());
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

// Lines the program does not change are written back byte for byte: a UTF-8 file keeps its
// byte order mark, its encoding and also bytes that are not UTF-8.
TEST(LineFileTest, AUtf8FileIsWrittenBackByteForByte) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"optionen.ini"_qs);
  const QByteArray rest =
      "\r\nGr\xC3\xB6\xC3\x9F"
      "e\r\nkaputt \xFF\xC3( \xED\xA0\x80 \xF0\x9F\x98\r\n"
      "\xEF\xBB\xBF"
      "innen \xF0\x9F\x98\x80\r\n";
  test::WriteBytes(path,
                   "\xEF\xBB\xBF"
                   "0" +
                       rest);
  OptionsFile options(path);
  ASSERT_EQ(options.LoadWorking(), std::nullopt);
  options.SetWorkingLine(0, u"1"_qs);
  ASSERT_EQ(options.SaveWorking(), std::nullopt);
  EXPECT_EQ(test::ReadBytes(path),
            "\xEF\xBB\xBF"
            "1" +
                rest);

  // The same through the stored UTF-8 lines a listing keeps.
  const auto lines = LineFile::ReadLines(path);
  ASSERT_TRUE(lines);
  const QString copy = dir.filePath(u"copy"_qs);
  ASSERT_TRUE(LineFile::Write(copy, *lines));
  EXPECT_EQ(test::ReadBytes(copy),
            "\xEF\xBB\xBF"
            "1" +
                rest);
  // A UTF-8 file stays UTF-8 even when cp1252 could hold every line.
  ASSERT_TRUE(LineFile::Write(path, QStringList{u"Größe"_qs}));
  EXPECT_EQ(test::ReadBytes(path),
            "\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F"
            "e\r\n");
}

// Files are read a block of 1 MiB at a time: line ends that straddle a block's end (a CR LF
// cut in two, a lone CR as its last byte) give the lines the whole file gives.
TEST(LineFileTest, ReadingInBlocksSplitsLikeTheWholeFile) {
  QTemporaryDir dir;
  for (const QByteArray& head : {QByteArray("\xEF\xBB\xBF"), QByteArray()}) {
    for (const char* tail : {"\r\n\xE4 last", "\r\rnext\r", "\n\r\n", "\r"}) {
      constexpr qsizetype kBlock = 1 << 20;
      QByteArray bytes = head + QByteArray(kBlock - head.size() - 1, 'a');
      bytes.append(tail);
      bytes.append(QByteArray(kBlock, 'b').replace(1000, 1, "\n"));
      const QString path = dir.filePath(u"f.txt"_qs);
      test::WriteBytes(path, bytes);
      const LineList whole = LineFile::DecodeLines(bytes);
      qsizetype count = 0;
      const auto read = LineFile::ReadLines(path, nullptr, -1, &count);
      ASSERT_TRUE(read);
      EXPECT_EQ(read->ToStringList(), whole.ToStringList()) << tail;
      EXPECT_EQ(count, whole.Count());
      const auto first = LineFile::ReadLines(path, nullptr, 1, &count);
      EXPECT_EQ(first->ToStringList(), whole.ToStringList().mid(0, 1));
      EXPECT_EQ(count, whole.Count());
    }
  }
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

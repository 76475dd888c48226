#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>
#include <vector>

#include "core/text/StringPool.h"

namespace kavoro {

// Whole-file line I/O in the program's file format: cp1252, CR LF after every line.
// A file that begins with a UTF-8 byte order mark is read as UTF-8. Text that cp1252 cannot
// hold is never lost: such a file is written as UTF-8 with a byte order mark instead, and a
// UTF-8 file stays UTF-8 when it is written again. Lines the program does not change are
// written back byte for byte, also bytes of a UTF-8 file that are not UTF-8.
class LineFile {
 public:
  // Splits like a string list loading a file: CR LF, LF and CR all end a line; a final line
  // without an ending still counts, a final ending adds no empty line.
  static std::vector<std::string_view> SplitLines(std::string_view bytes);
  // The lines as text. Bytes of a UTF-8 file that are not UTF-8 are carried as the lone
  // surrogates U+DC80..U+DCFF and encoded back to the same bytes.
  static QStringList DecodeText(const QByteArray& bytes);
  // The lines as stored UTF-8; the lines of a UTF-8 file are kept as they are.
  static LineList DecodeLines(const QByteArray& bytes);
  // cp1252 unless a line needs UTF-8, `utf8` asks for it, or the cp1252 bytes would begin
  // like a UTF-8 byte order mark (a first line beginning with "ï»¿") and be read back as UTF-8.
  static QByteArray EncodeLines(const QStringList& lines, bool utf8 = false);
  static QByteArray EncodeLines(const LineList& lines, bool utf8 = false);
  // Appends one more line to lines EncodeLines made, in their encoding (a line cp1252 cannot
  // hold is written as "?" there).
  static void AppendLine(QByteArray& encoded, const QString& line);
  // True when the file exists and begins with a UTF-8 byte order mark.
  static bool IsUtf8File(const QString& path);

  // Read the whole file; on failure return nothing and set `error` to a readable reason.
  static std::optional<QByteArray> ReadBytes(const QString& path, QString* error = nullptr);
  static std::optional<QStringList> Read(const QString& path, QString* error = nullptr);
  // The lines as DecodeLines gives them, read and decoded a block at a time. Only the first
  // `keep` lines are kept when it is not negative; `count` gets the number of all lines.
  static std::optional<LineList> ReadLines(const QString& path, QString* error = nullptr,
                                           qsizetype keep = -1, qsizetype* count = nullptr);

  // Writes through a temporary file and a rename, so a failed save leaves the old file. The
  // error names the file and the system's reason.
  static bool Write(const QString& path, const QStringList& lines, QString* error = nullptr);
  static bool Write(const QString& path, const LineList& lines, QString* error = nullptr);
  static bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);
};

// A file written completely under a temporary name beside its target, and put in the
// target's place only by Commit (a pipe, terminal or device that the name stands for gets the
// bytes straight away). Several files staged first and committed together are all
// replaced or none: a failed write leaves every target as it was. What is never committed
// is removed.
class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Writes `bytes` to a new temporary file and flushes it to the disk.
  bool Write(const QString& path, const QByteArray& bytes, QString* error);
  bool Commit(QString* error);

 private:
  // Sets `error` to the file's name and the system's reason; false.
  bool Fail(int reason, QString* error) const;
  bool CloseAndFail(int fd, int reason, QString* error);

  QString path_;
  QByteArray target_;  // the encoded name of the file that is replaced
  QByteArray temp_;    // the encoded name of the temporary file; empty when there is none
};

}  // namespace kavoro

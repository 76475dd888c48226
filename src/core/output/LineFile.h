#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/listing/StringPool.h"

namespace kavoro {

// Whole-file line I/O in the program's file format: cp1252, CR LF after every line.
// A file that begins with a UTF-8 byte order mark is read as UTF-8. Text that cp1252 cannot
// hold is never lost: such a file is written as UTF-8 with a byte order mark instead.
class LineFile {
 public:
  // Splits like a string list loading a file: CR LF, LF and CR all end a line; a final line
  // without an ending still counts, a final ending adds no empty line.
  static QStringList SplitLines(const QString& text);
  static QString DecodeFile(const QByteArray& bytes);
  static QByteArray EncodeLines(const QStringList& lines);
  static QByteArray EncodeLines(const LineList& lines);

  // Reads the file; on failure returns nothing and sets `error` to a readable reason.
  static std::optional<QStringList> Read(const QString& path, QString* error = nullptr);

  // Writes through a temporary file and a rename, so a failed save leaves the old file. The
  // error names the file and the system's reason.
  static bool Write(const QString& path, const QStringList& lines, QString* error = nullptr);
  static bool Write(const QString& path, const LineList& lines, QString* error = nullptr);
  static bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);
};

// A file written completely under a temporary name beside its target, and put in the
// target's place only by Commit. Several files staged first and committed together are all
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

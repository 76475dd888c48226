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

  // Writes through a temporary file and a rename, so a failed save leaves the old file.
  static bool Write(const QString& path, const QStringList& lines, QString* error = nullptr);
  static bool Write(const QString& path, const LineList& lines, QString* error = nullptr);
  static bool WriteBytes(const QString& path, const QByteArray& bytes, QString* error = nullptr);
};

}  // namespace kavoro

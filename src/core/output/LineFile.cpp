#include "core/output/LineFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>

#include "core/listing/Utf8.h"
#include "core/output/Cp1252.h"

namespace kavoro {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

QStringList LineFile::SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

QString LineFile::DecodeFile(const QByteArray& bytes) {
  if (bytes.startsWith(kUtf8Bom)) {
    return utf8::ToQString(
        std::string_view(bytes.constData(), std::size_t(bytes.size())).substr(kUtf8Bom.size()));
  }
  return cp1252::Decode(bytes);
}

QByteArray LineFile::EncodeLines(const QStringList& lines) {
  QByteArray out;
  bool ok = true;
  for (const QString& line : lines) {
    if (!cp1252::EncodeInto(line, out)) {
      ok = false;
      break;
    }
    out.append("\r\n", 2);
  }
  if (ok) return out;
  out = QByteArray(kUtf8Bom.data(), qsizetype(kUtf8Bom.size()));
  for (const QString& line : lines) {
    out.append(line.toUtf8());
    out.append("\r\n", 2);
  }
  return out;
}

QByteArray LineFile::EncodeLines(const LineList& lines) {
  // Straight from the stored UTF-8: ASCII is copied, anything else goes through cp1252.
  QByteArray out;
  qsizetype bytes = 0;
  for (qsizetype i = 0; i < lines.Count(); ++i) bytes += qsizetype(lines.Utf8At(i).size()) + 2;
  out.reserve(bytes);
  bool ok = true;
  for (qsizetype i = 0; i < lines.Count() && ok; ++i) {
    const std::string_view utf8 = lines.Utf8At(i);
    const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= 0; });
    if (ascii) {
      out.append(utf8.data(), qsizetype(utf8.size()));
    } else {
      ok = cp1252::EncodeInto(utf8::ToQString(utf8), out);
    }
    out.append("\r\n", 2);
  }
  return ok ? out : EncodeLines(lines.ToStringList());
}

std::optional<QStringList> LineFile::Read(const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("Cannot open file %1 (%2)").arg(path, file.errorString());
    return std::nullopt;
  }
  return SplitLines(DecodeFile(file.readAll()));
}

bool LineFile::Write(const QString& path, const QStringList& lines, QString* error) {
  return WriteBytes(path, EncodeLines(lines), error);
}

bool LineFile::Write(const QString& path, const LineList& lines, QString* error) {
  return WriteBytes(path, EncodeLines(lines), error);
}

bool LineFile::WriteBytes(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    if (error) *error = QStringLiteral("Cannot create file %1 (%2)").arg(path, file.errorString());
    return false;
  }
  return true;
}

}  // namespace kavoro

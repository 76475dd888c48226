#include "core/output/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>

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
  StagedFile file;
  return file.Write(path, bytes, error) && file.Commit(error);
}

StagedFile::~StagedFile() {
  if (!temp_.isEmpty()) ::unlink(temp_.constData());
}

bool StagedFile::Write(const QString& path, const QByteArray& bytes, QString* error) {
  path_ = path;
  // A link is replaced by writing beside the file it points to, so the link stays.
  const QFileInfo info(path);
  const QString real = info.isSymLink() ? info.canonicalFilePath() : QString();
  target_ = QFile::encodeName(real.isEmpty() ? path : real);
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target_)).path());
  const QByteArray name = QFile::encodeName(QFileInfo(QFile::decodeName(target_)).fileName());
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp_ = folder + "/." + name + ".kavoro-" +
            QByteArray::number(QRandomGenerator::global()->generate(), 16);
    fd = ::open(temp_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt > 100)) {
      const int reason = errno;
      temp_.clear();
      return Fail(reason, error);
    }
  }
  // A replaced file keeps its permissions; a new one gets the usual ones.
  struct stat old_file;
  if (::stat(target_.constData(), &old_file) == 0) ::fchmod(fd, old_file.st_mode & 07777);
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, std::size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return CloseAndFail(fd, errno, error);
    data += n;
    left -= n;
  }
  if (::fsync(fd) != 0) return CloseAndFail(fd, errno, error);
  if (::close(fd) != 0) return Fail(errno, error);
  return true;
}

bool StagedFile::Commit(QString* error) {
  if (::rename(temp_.constData(), target_.constData()) != 0) return Fail(errno, error);
  temp_.clear();
  return true;
}

bool StagedFile::CloseAndFail(int fd, int reason, QString* error) {
  ::close(fd);
  return Fail(reason, error);
}

bool StagedFile::Fail(int reason, QString* error) const {
  if (error) {
    *error = QStringLiteral("Cannot create file %1 (%2)")
                 .arg(path_, QString::fromLocal8Bit(std::strerror(reason)));
  }
  return false;
}

}  // namespace kavoro

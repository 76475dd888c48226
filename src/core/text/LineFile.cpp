#include "core/text/LineFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/text/Cp1252.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Bytes of a UTF-8 file that are not UTF-8 travel in a QString as these lone surrogates
// (0xDC00 + the byte), so they are written back as they were read.
constexpr char16_t kKeptByte = 0xDC00;

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0; });
}

// The lines of a file's bytes and whether it is UTF-8 (begins with a byte order mark).
std::pair<std::vector<std::string_view>, bool> FileLines(const QByteArray& bytes) {
  std::string_view text = View(bytes);
  const bool utf8 = text.starts_with(kUtf8Bom);
  if (utf8) text.remove_prefix(kUtf8Bom.size());
  return {LineFile::SplitLines(text), utf8};
}

QString DecodeUtf8Keeping(std::string_view text) {
  if (utf8::IsValid(text)) return utf8::ToQString(text);
  QString out;
  std::size_t run = 0;  // start of the well-formed bytes not yet decoded
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8::SequenceLength(text, i);
    if (length > 0) {
      i += length;
      continue;
    }
    out += utf8::ToQString(text.substr(run, i - run));
    out += QChar(char16_t(kKeptByte + static_cast<unsigned char>(text[i])));
    run = ++i;
  }
  return out + utf8::ToQString(text.substr(run));
}

void AppendUtf8Keeping(QStringView line, QByteArray& out) {
  qsizetype run = 0;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const char16_t c = line[i].unicode();
    const bool kept = c >= kKeptByte + 0x80 && c <= kKeptByte + 0xFF &&
                      (i == 0 || !line[i - 1].isHighSurrogate());
    if (!kept) continue;
    out += line.mid(run, i - run).toUtf8();
    out += char(c - kKeptByte);
    run = i + 1;
  }
  out += line.mid(run).toUtf8();
}

QByteArray Bom() { return QByteArray(kUtf8Bom.data(), qsizetype(kUtf8Bom.size())); }

}  // namespace

std::vector<std::string_view> LineFile::SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  const char* p = bytes.data();
  const std::size_t n = bytes.size();
  std::size_t start = 0;
  while (start < n) {
    // The line ends at the first CR or LF; both are found with memchr, a byte at a time
    // would be several times slower on a listing of millions of lines.
    const void* lf = std::memchr(p + start, '\n', n - start);
    const std::size_t lf_at = lf ? std::size_t(static_cast<const char*>(lf) - p) : n;
    const void* cr = std::memchr(p + start, '\r', lf_at - start);
    const std::size_t end = cr ? std::size_t(static_cast<const char*>(cr) - p) : lf_at;
    lines.push_back(bytes.substr(start, end - start));
    if (end == n) break;
    start = end + (p[end] == '\r' && end + 1 < n && p[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

QStringList LineFile::DecodeText(const QByteArray& bytes) {
  const auto [lines, utf8] = FileLines(bytes);
  QStringList out;
  out.reserve(qsizetype(lines.size()));
  for (const std::string_view line : lines) {
    out.append(utf8 ? DecodeUtf8Keeping(line)
                    : cp1252::Decode(QByteArrayView(line.data(), qsizetype(line.size()))));
  }
  return out;
}

namespace {

void AppendDecoded(std::string_view line, bool utf8, LineList& out) {
  if (utf8 || IsAscii(line)) {
    out.AppendUtf8(line);
  } else {
    out.Append(cp1252::Decode(QByteArrayView(line.data(), qsizetype(line.size()))));
  }
}

}  // namespace

LineList LineFile::DecodeLines(const QByteArray& bytes) {
  const auto [lines, utf8] = FileLines(bytes);
  LineList out;
  out.Reserve(qsizetype(lines.size()), bytes.size());
  for (const std::string_view line : lines) AppendDecoded(line, utf8, out);
  return out;
}

QByteArray LineFile::EncodeLines(const QStringList& lines, bool utf8) {
  QByteArray out;
  for (qsizetype i = 0; i < lines.size() && !utf8; ++i) {
    utf8 = !cp1252::EncodeInto(lines[i], out);
    out.append("\r\n", 2);
  }
  if (!utf8 && !out.startsWith(Bom())) return out;
  out = Bom();
  for (const QString& line : lines) {
    AppendUtf8Keeping(line, out);
    out.append("\r\n", 2);
  }
  return out;
}

QByteArray LineFile::EncodeLines(const LineList& lines, bool utf8) {
  // Straight from the stored UTF-8: ASCII is copied, anything else goes through cp1252. In
  // UTF-8 every line is copied as it is stored.
  QByteArray out;
  qsizetype bytes = kUtf8Bom.size();
  for (qsizetype i = 0; i < lines.Count(); ++i) bytes += qsizetype(lines.Utf8At(i).size()) + 2;
  out.reserve(bytes);
  for (qsizetype i = 0; i < lines.Count() && !utf8; ++i) {
    const std::string_view line = lines.Utf8At(i);
    if (IsAscii(line)) {
      out.append(line.data(), qsizetype(line.size()));
    } else {
      utf8 = !utf8::IsValid(line) || !cp1252::EncodeInto(utf8::ToQString(line), out);
    }
    out.append("\r\n", 2);
  }
  if (!utf8 && !out.startsWith(Bom())) return out;
  out = Bom();
  for (qsizetype i = 0; i < lines.Count(); ++i) {
    const std::string_view line = lines.Utf8At(i);
    out.append(line.data(), qsizetype(line.size()));
    out.append("\r\n", 2);
  }
  return out;
}

void LineFile::AppendLine(QByteArray& encoded, const QString& line) {
  if (encoded.startsWith(Bom())) {
    AppendUtf8Keeping(line, encoded);
  } else if (!cp1252::EncodeInto(line, encoded)) {
    encoded.append('?');
  }
  encoded.append("\r\n", 2);
}

bool LineFile::IsUtf8File(const QString& path) {
  // Only a file is read: reading a pipe or a terminal would wait for its writer.
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(qint64(kUtf8Bom.size())) == Bom();
}

std::optional<QByteArray> LineFile::ReadBytes(const QString& path, QString* error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("Cannot open file %1 (%2)").arg(path, file.errorString());
    return std::nullopt;
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    if (error) *error = QStringLiteral("Cannot read file %1 (%2)").arg(path, file.errorString());
    return std::nullopt;
  }
  return bytes;
}

std::optional<QStringList> LineFile::Read(const QString& path, QString* error) {
  const auto bytes = ReadBytes(path, error);
  if (!bytes) return std::nullopt;
  return DecodeText(*bytes);
}

std::optional<LineList> LineFile::ReadLines(const QString& path, QString* error, qsizetype keep,
                                            qsizetype* count) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("Cannot open file %1 (%2)").arg(path, file.errorString());
    return std::nullopt;
  }
  LineList out;
  // Room for the lines of a file of short lines; what is not used is never touched, so it
  // costs no memory.
  const qint64 size = file.size();
  if (keep < 0) out.Reserve(qsizetype(size / 8 + 1), std::size_t(size));
  // The file is read in blocks and decoded as it comes, so its bytes and its lines are never
  // held at once. A block is cut after its last whole line; a CR at its very end waits for
  // the next byte, which tells whether it is a CR LF.
  constexpr qint64 kBlock = 1 << 20;
  QByteArray block;
  qsizetype lines = 0;
  bool started = false;
  bool utf8 = false;
  for (bool end = false; !end;) {
    const qsizetype held = block.size();
    block.resize(held + kBlock);
    const qint64 got = file.read(block.data() + held, kBlock);
    if (got < 0) {
      if (error) *error = QStringLiteral("Cannot read file %1 (%2)").arg(path, file.errorString());
      return std::nullopt;
    }
    block.resize(held + got);
    end = got == 0;
    std::string_view text = View(block);
    if (!started) {
      if (text.size() < kUtf8Bom.size() && !end) continue;
      started = true;
      utf8 = text.starts_with(kUtf8Bom);
      if (utf8) {
        block.remove(0, qsizetype(kUtf8Bom.size()));
        text = View(block);
      }
    }
    std::size_t cut = text.size();
    if (!end) {
      std::size_t last = text.find_last_of("\r\n");
      if (last != std::string_view::npos && last + 1 == text.size() && text[last] == '\r') {
        last = last == 0 ? std::string_view::npos : text.find_last_of("\r\n", last - 1);
      }
      if (last == std::string_view::npos) continue;
      cut = last + 1;
    }
    for (const std::string_view line : SplitLines(text.substr(0, cut))) {
      if (keep < 0 || lines < keep) AppendDecoded(line, utf8, out);
      ++lines;
    }
    block.remove(0, qsizetype(cut));
  }
  if (count) *count = lines;
  return out;
}

bool LineFile::Write(const QString& path, const QStringList& lines, QString* error) {
  return WriteBytes(path, EncodeLines(lines, IsUtf8File(path)), error);
}

bool LineFile::Write(const QString& path, const LineList& lines, QString* error) {
  return WriteBytes(path, EncodeLines(lines, IsUtf8File(path)), error);
}

bool LineFile::WriteBytes(const QString& path, const QByteArray& bytes, QString* error) {
  StagedFile file;
  return file.Write(path, bytes, error) && file.Commit(error);
}

namespace {

// False with errno set when not all could be written.
bool WriteAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, std::size_t(left));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data += n;
    left -= n;
  }
  return true;
}

}  // namespace

StagedFile::~StagedFile() {
  if (!temp_.isEmpty()) ::unlink(temp_.constData());
}

bool StagedFile::Write(const QString& path, const QByteArray& bytes, QString* error) {
  path_ = path;
  // A pipe, a terminal or a device (/dev/stdout, /dev/null) cannot be replaced: it gets the
  // bytes as they are.
  struct stat existing;
  if (::stat(QFile::encodeName(path).constData(), &existing) == 0 && !S_ISREG(existing.st_mode) &&
      !S_ISDIR(existing.st_mode)) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return Fail(errno, error);
    if (!WriteAll(fd, bytes)) return CloseAndFail(fd, errno, error);
    if (::close(fd) != 0) return Fail(errno, error);
    return true;
  }
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
  if (!WriteAll(fd, bytes)) return CloseAndFail(fd, errno, error);
  if (::fsync(fd) != 0) return CloseAndFail(fd, errno, error);
  if (::close(fd) != 0) return Fail(errno, error);
  return true;
}

bool StagedFile::Commit(QString* error) {
  if (temp_.isEmpty()) return true;  // written straight into a pipe or a device
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

#include "core/listing/FileTexts.h"

#include <QMimeDatabase>
#include <QRegularExpression>
#include <QUrl>
#include <charconv>
#include <ctime>

#include "core/listing/HtmlText.h"
#include "core/text/Utf8.h"

namespace kavoro {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

void AppendNumber(std::uint64_t value, std::string& out) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

}  // namespace

void AppendSizeKB(std::uint64_t bytes, std::string& out) {
  const std::uint64_t n = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  // The leading group as it is, every further group of three digits after a ".".
  std::uint64_t scale = 1;
  while (n / scale >= 1000 && scale < 1000000) scale *= 1000;
  AppendNumber(n / scale, out);
  for (scale /= 1000; scale > 0; scale /= 1000) {
    const std::uint64_t group = (n / scale) % 1000;
    out.push_back('.');
    out.push_back(static_cast<char>('0' + group / 100));
    out.push_back(static_cast<char>('0' + group / 10 % 10));
    out.push_back(static_cast<char>('0' + group % 10));
  }
  out.append(" KB");
}

QString FormatSizeKB(std::uint64_t bytes) {
  std::string text;
  AppendSizeKB(bytes, text);
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string_view ExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos) return {};
  return name.substr(dot);
}

QString AsciiLower(QStringView text) {
  QString out = text.toString();
  for (QChar& c : out) {
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  }
  return out;
}

bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

void AppendDisplayName(std::string_view name, bool hide_extension, std::string& out) {
  const std::string_view ext = hide_extension ? ExtensionOf(name) : std::string_view();
  // A name whose only "." is its first character (".bashrc") is a hidden file, not an
  // extension: it keeps its name.
  if (ext.empty() || ext.size() == name.size()) {
    out.append(name);
    return;
  }
  // The extension begins with ".", so a match never starts inside a multi-byte character.
  std::size_t i = 0;
  while (i < name.size()) {
    if (i + ext.size() <= name.size() && AsciiEqualsIgnoreCase(name.substr(i, ext.size()), ext)) {
      i += ext.size();
    } else {
      out.push_back(name[i++]);
    }
  }
}

void AppendVisible(std::string_view text, std::string& out) {
  for (const char c : text) {
    switch (c) {
      case '\r':
        out.append("\u240D");
        break;
      case '\n':
        out.append("\u240A");
        break;
      case '\t':
        out.append("\u2409");
        break;
      default:
        out.push_back(c);
    }
  }
}

QUrl FileUrl(const QString& full_path) {
  // Read as already encoded, the path keeps "%XX" for the bytes that are no characters; a
  // real "%" is written as "%25" first. Everything else is encoded as QUrl::fromLocalFile does.
  QString path;
  path.reserve(full_path.size());
  for (qsizetype i = 0; i < full_path.size(); ++i) {
    if (const int byte = utf8::EscapedByte(full_path, i); byte >= 0) {
      path += u'%' + QString::number(byte, 16).toUpper();
    } else if (full_path[i] == u'%') {
      path += u"%25"_qs;
    } else {
      path += full_path[i];
    }
  }
  QUrl url;
  url.setScheme(u"file"_qs);
  url.setAuthority(QString());
  url.setPath(path, QUrl::TolerantMode);
  return url;
}

QString LinkTarget(const QString& full_path) {
  return HtmlEscape(FileUrl(full_path).toString(QUrl::FullyEncoded));
}

DatePatterns ListingDatePatterns(const QLocale& locale) {
  QString date = locale.dateFormat(QLocale::ShortFormat);
  if (!date.contains(u"yyyy"_qs)) date.replace(u"yy"_qs, u"yyyy"_qs);
  QString time = locale.timeFormat(QLocale::LongFormat);
  // Drop the seconds with their separator, and the zone.
  time.remove(QRegularExpression(u"[^HhmsaApPt]*s+"_qs));
  time.remove(QRegularExpression(u"\\s*t+"_qs));
  return {date, time.trimmed()};
}

DateTextFormat::DateTextFormat(const QLocale& locale) : locale_(locale) {
  const DatePatterns patterns = ListingDatePatterns(locale);
  date_pattern_ = patterns.date;
  time_pattern_ = patterns.time;
}

void DateTextFormat::AppendParts(int year, int month, int day, int hour, int minute,
                                 std::string& out) {
  const std::int64_t day_key = std::int64_t(year) * 10000 + month * 100 + day;
  auto date = dates_.find(day_key);
  if (date == dates_.end()) {
    date = dates_
               .emplace(day_key,
                        utf8::FromQString(locale_.toString(QDate(year, month, day), date_pattern_)))
               .first;
  }
  const int minute_key = hour * 60 + minute;
  auto time = times_.find(minute_key);
  if (time == times_.end()) {
    time = times_
               .emplace(minute_key,
                        utf8::FromQString(locale_.toString(QTime(hour, minute), time_pattern_)))
               .first;
  }
  out.append(date->second);
  out.push_back(' ');
  out.append(time->second);
}

QString DateTextFormat::Format(const QDateTime& local_time) {
  const QDate d = local_time.date();
  const QTime t = local_time.time();
  std::string text;
  AppendParts(d.year(), d.month(), d.day(), t.hour(), t.minute(), text);
  return utf8::ToQString(text);
}

QString DateTextFormat::Format(std::int64_t unix_seconds) {
  std::string text;
  Append(unix_seconds, text);
  return utf8::ToQString(text);
}

void DateTextFormat::Append(std::int64_t unix_seconds, std::string& out) {
  const time_t seconds = static_cast<time_t>(unix_seconds);
  struct tm local {};
  if (!localtime_r(&seconds, &local)) return;
  AppendParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
              out);
}

QString ShellTypeNames::ShellTypeName(const QString& file_name) {
  return utf8::ToQString(TypeText(utf8::FromQString(file_name)));
}

std::string_view ShellTypeNames::TypeText(std::string_view file_name) {
  std::string key(ExtensionOf(file_name));
  for (char& c : key) c = LowerAscii(c);
  {
    std::lock_guard lock(mutex_);
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  }
  static const QMimeDatabase db;
  const QString comment =
      db.mimeTypeForFile(utf8::ToQString(file_name), QMimeDatabase::MatchExtension).comment();
  std::lock_guard lock(mutex_);
  return cache_.emplace(std::move(key), utf8::FromQString(comment)).first->second;
}

}  // namespace kavoro

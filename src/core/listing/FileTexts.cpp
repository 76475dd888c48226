#include "core/listing/FileTexts.h"

#include <QMimeDatabase>
#include <ctime>
#include <QRegularExpression>
#include <QUrl>

#include "core/listing/HtmlText.h"

namespace kavoro {

QString FormatSizeKB(std::uint64_t bytes) {
  const std::uint64_t n = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  auto three = [](std::uint64_t v) { return QString::number(v).rightJustified(3, u'0'); };
  if (n < 1000) return QString::number(n) + u" KB"_qs;
  if (n < 1000000) return QString::number(n / 1000) + u'.' + three(n % 1000) + u" KB"_qs;
  return QString::number(n / 1000000) + u'.' + three((n / 1000) % 1000) + u'.' +
         three(n % 1000) + u" KB"_qs;
}

QStringView ExtensionOf(QStringView name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot < 0 || name.indexOf(u'/', dot) >= 0) return {};
  return name.mid(dot);
}

QString AsciiLower(QStringView text) {
  QString out = text.toString();
  for (QChar& c : out) {
    if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
  }
  return out;
}

namespace {

char16_t Fold(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'A' && u <= u'Z') ? char16_t(u + 32) : u;
}

}  // namespace

bool AsciiEqualsIgnoreCase(QStringView a, QStringView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

bool AsciiEndsWithIgnoreCase(QStringView text, QStringView tail) {
  return text.size() >= tail.size() && AsciiEqualsIgnoreCase(text.right(tail.size()), tail);
}

QString RemoveEveryOccurrence(const QString& text, QStringView ext) {
  if (ext.isEmpty()) return text;
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    if (i + ext.size() <= text.size() &&
        AsciiEqualsIgnoreCase(QStringView(text).mid(i, ext.size()), ext)) {
      i += ext.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

QString DisplayName(const QString& name, bool hide_extension) {
  if (!hide_extension) return name;
  return RemoveEveryOccurrence(name, ExtensionOf(name).toString());
}

QString VisibleName(const QString& name) {
  QString out = name;
  for (QChar& c : out) {
    switch (c.unicode()) {
      case u'\r': c = QChar(0x240D); break;
      case u'\n': c = QChar(0x240A); break;
      case u'\t': c = QChar(0x2409); break;
      default: break;
    }
  }
  return out;
}

QString LinkTarget(const QString& full_path) {
  // A file URL percent-encodes what would end or change the path (#, %, ?, blanks, non-ASCII).
  return HtmlEscape(QUrl::fromLocalFile(full_path).toString(QUrl::FullyEncoded));
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

QString DateTextFormat::FormatParts(int year, int month, int day, int hour, int minute) {
  const std::int64_t day_key = std::int64_t(year) * 10000 + month * 100 + day;
  auto date = dates_.find(day_key);
  if (date == dates_.end()) {
    date = dates_.emplace(day_key, locale_.toString(QDate(year, month, day), date_pattern_)).first;
  }
  const int minute_key = hour * 60 + minute;
  auto time = times_.find(minute_key);
  if (time == times_.end()) {
    time = times_.emplace(minute_key, locale_.toString(QTime(hour, minute), time_pattern_)).first;
  }
  return date->second + u' ' + time->second;
}

QString DateTextFormat::Format(const QDateTime& local_time) {
  const QDate d = local_time.date();
  const QTime t = local_time.time();
  return FormatParts(d.year(), d.month(), d.day(), t.hour(), t.minute());
}

QString DateTextFormat::Format(std::int64_t unix_seconds) {
  const time_t seconds = static_cast<time_t>(unix_seconds);
  struct tm local {};
  if (!localtime_r(&seconds, &local)) return QString();
  return FormatParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min);
}

QString ShellTypeNames::ShellTypeName(const QString& file_name) {
  const QString key = AsciiLower(ExtensionOf(file_name));
  {
    std::lock_guard lock(mutex_);
    if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  }
  static const QMimeDatabase db;
  const QString comment = db.mimeTypeForFile(file_name, QMimeDatabase::MatchExtension).comment();
  std::lock_guard lock(mutex_);
  return cache_.emplace(key, comment).first->second;
}

}  // namespace kavoro

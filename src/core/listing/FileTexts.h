#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kavoro {

// "0 KB", "999 KB", "1.000 KB", "1.234.567 KB": whole kilobytes rounded up, grouped by ".".
QString FormatSizeKB(std::uint64_t bytes);
void AppendSizeKB(std::uint64_t bytes, std::string& out);

// The extension of a name or path: from its last "." on, unless a "/" follows it; else empty.
std::string_view ExtensionOf(std::string_view name);

// Lower case of the letters A to Z only, as the extension comparisons use it.
QString AsciiLower(QStringView text);
bool AsciiEqualsIgnoreCase(std::string_view a, std::string_view b);

// A file name as the listing shows it: with the option to hide extensions, every occurrence
// of its own extension (without regard to case) removed; a name whose only "." is its first
// character stays whole. Appended to `out`.
void AppendDisplayName(std::string_view name, bool hide_extension, std::string& out);

// Names are data: carriage return, line feed and tab would break the line structure of every
// view and file, so they are appended as visible symbols.
void AppendVisible(std::string_view text, std::string& out);

// The file URL of a path held as utf8::NameFromBytes holds it: every byte that is not plain
// ASCII, and every character that would end or change the path (#, %, ?, blanks), is
// percent-encoded, so the URL names the file's real bytes.
QUrl FileUrl(const QString& full_path);

// The link target of a file in the HTML view, escaped for an attribute value.
QString LinkTarget(const QString& full_path);

// The date of change as the listing shows it: the locale's short date with a four-digit year,
// a blank, and the time without seconds and zone ("05.12.2004 14:35" in German).
// The listing's date form for a locale: its short date with a four-digit year, and its time
// without seconds and zone. Sorting reads dates back in the same form.
struct DatePatterns {
  QString date;
  QString time;
};
DatePatterns ListingDatePatterns(const QLocale& locale);

// Date and time parts are formatted once per day and per minute of the day and then reused,
// so a million files cost a million look-ups, not a million locale calls. Not thread-safe.
class DateTextFormat {
 public:
  explicit DateTextFormat(const QLocale& locale = QLocale::system());
  QString Format(const QDateTime& local_time);
  QString Format(std::int64_t unix_seconds);
  // The text of a time of change, as UTF-8 appended to `out`.
  void Append(std::int64_t unix_seconds, std::string& out);
  QString Pattern() const { return date_pattern_ + u' ' + time_pattern_; }
  const QLocale& Locale() const { return locale_; }

 private:
  void AppendParts(int year, int month, int day, int hour, int minute, std::string& out);

  QLocale locale_;
  QString date_pattern_;
  QString time_pattern_;
  std::unordered_map<std::int64_t, std::string> dates_;  // by year * 10000 + month * 100 + day
  std::unordered_map<int, std::string> times_;           // by minute of the day
};

// The desktop's descriptive type of a file, by its name only (never by reading it), cached per
// lower-case extension. Safe to call from several threads.
class ShellTypeNames {
 public:
  QString ShellTypeName(const QString& file_name);
  // The same as UTF-8; the text stays valid as long as this object.
  std::string_view TypeText(std::string_view file_name);

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, std::string> cache_;  // by lower-case extension
};

}  // namespace kavoro

#include "core/listing/DateKey.h"

#include <algorithm>

#include "core/listing/FileTexts.h"

namespace kavoro {
namespace {

using Token = DateReader::Token;
using Kind = Token::Kind;

std::string Utf8(const QString& text) { return text.toStdString(); }

qint64 DaysFromCivil(qint64 y, unsigned m, unsigned d) {
  y -= m <= 2;
  const qint64 era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<qint64>(doe) - 719468;  // 0 on 1970-01-01
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.empty() || text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
  }
  return true;
}

// Reads 1 to `max_digits` digits; false when there is none.
bool ReadDigits(std::string_view text, std::size_t& pos, int max_digits, int& value) {
  value = 0;
  int digits = 0;
  while (digits < max_digits && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  return digits > 0;
}

// The longest of `names` at the start of `text`; its index, or -1.
template <std::size_t N>
int MatchName(std::string_view text, const std::array<std::string, N>& names, std::size_t& len) {
  int best = -1;
  len = 0;
  for (std::size_t i = 0; i < N; ++i) {
    if (!names[i].empty() && names[i].size() > len && text.starts_with(names[i])) {
      best = static_cast<int>(i);
      len = names[i].size();
    }
  }
  return best;
}

// A token for a run of the same pattern letter, or a literal when the letter means nothing
// in that length.
Token LetterToken(QChar letter, int& run) {
  Token t;
  switch (letter.unicode()) {
    case 'd':
    case 'M':
      if (run >= 3) {
        run = std::min(run, 4);
        t.kind = letter == u'd' ? Kind::DayName : Kind::MonthName;
      } else {
        t.kind = letter == u'd' ? Kind::Day : Kind::Month;
      }
      t.width = run;
      return t;
    case 'y':
      if (run >= 4) {
        run = 4;
      } else if (run >= 2) {
        run = 2;
      } else {
        t.literal = "y";
        return t;
      }
      t.kind = Kind::Year;
      t.width = run;
      return t;
    case 'h':
    case 'H':
    case 'm':
    case 's':
      run = std::min(run, 2);
      t.kind = letter == u'm' ? Kind::Minute : letter == u's' ? Kind::Second : Kind::Hour;
      t.width = run;
      return t;
    case 'z':
      run = run >= 3 ? 3 : 1;
      t.kind = Kind::Millisecond;
      t.width = run;
      return t;
    default:  // 't'
      t.kind = Kind::Zone;
      return t;
  }
}

void AppendLiteral(DateReader::Pattern& pattern, const std::string& text) {
  if (text.empty()) return;
  if (!pattern.empty() && pattern.back().kind == Kind::Literal) {
    pattern.back().literal += text;
  } else {
    Token t;
    t.literal = text;
    pattern.push_back(std::move(t));
  }
}

}  // namespace

DateReader::Pattern DateReader::Compile(const QString& format) {
  Pattern pattern;
  const qsizetype n = format.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = format[i];
    if (c == u'\'') {
      QString text;
      qsizetype j = i + 1;
      if (j < n && format[j] == u'\'') {  // '' outside quotes is one quote
        AppendLiteral(pattern, "'");
        i = j + 1;
        continue;
      }
      while (j < n) {
        if (format[j] == u'\'') {
          if (j + 1 < n && format[j + 1] == u'\'') {
            text += u'\'';
            j += 2;
            continue;
          }
          break;
        }
        text += format[j++];
      }
      AppendLiteral(pattern, Utf8(text));
      i = j + 1;
      continue;
    }
    if (QStringView(u"dMyhHmszt").contains(c)) {
      int run = 1;
      while (i + run < n && format[i + run] == c) ++run;
      Token t = LetterToken(c, run);
      if (t.kind == Kind::Literal) {
        AppendLiteral(pattern, t.literal);
      } else {
        if (t.kind == Kind::Hour) t.twelve_hour = c == u'h';
        pattern.push_back(std::move(t));
      }
      i += run;
      continue;
    }
    if (c == u'A' || c == u'a') {
      const bool two = i + 1 < n && (format[i + 1] == u'P' || format[i + 1] == u'p');
      Token t;
      t.kind = Kind::AmPm;
      t.literal = Utf8(format.mid(i, two ? 2 : 1));
      pattern.push_back(std::move(t));
      i += two ? 2 : 1;
      continue;
    }
    AppendLiteral(pattern, Utf8(QString(c)));
    ++i;
  }
  // "h" means 12 hours only together with an AM/PM marker.
  const bool am_pm = std::any_of(pattern.begin(), pattern.end(),
                                 [](const Token& t) { return t.kind == Kind::AmPm; });
  for (Token& t : pattern) {
    if (t.kind == Kind::Hour) t.twelve_hour = t.twelve_hour && am_pm;
  }
  return pattern;
}

QString ListingDateFormat(const QLocale& locale) {
  const DatePatterns patterns = ListingDatePatterns(locale);
  return patterns.date + u' ' + patterns.time;
}

DateReader::DateReader(const QLocale& locale) {
  patterns_.push_back(Compile(ListingDateFormat(locale)));
  patterns_.push_back(Compile(u"dd.MM.yyyy HH:mm"_qs));
  for (int m = 1; m <= 12; ++m) {
    short_months_[m - 1] = Utf8(locale.monthName(m, QLocale::ShortFormat));
    long_months_[m - 1] = Utf8(locale.monthName(m, QLocale::LongFormat));
  }
  for (int d = 1; d <= 7; ++d) {
    day_names_[d - 1] = Utf8(locale.dayName(d, QLocale::ShortFormat));
    day_names_[d + 6] = Utf8(locale.dayName(d, QLocale::LongFormat));
  }
  am_ = Utf8(locale.amText());
  pm_ = Utf8(locale.pmText());
}

std::optional<qint64> DateReader::Seconds(std::string_view text) const {
  for (const Pattern& pattern : patterns_) {
    if (const auto seconds = Match(pattern, text)) return seconds;
  }
  return std::nullopt;
}

std::optional<qint64> DateReader::Match(const Pattern& pattern, std::string_view text) const {
  int year = -1, month = 1, day = 1, hour = 0, minute = 0, second = 0, ignored = 0;
  int half = -1;  // 0 AM, 1 PM
  bool twelve_hour = false;
  std::size_t pos = 0;
  for (const Token& t : pattern) {
    const std::string_view rest = text.substr(pos);
    std::size_t len = 0;
    bool ok = true;
    switch (t.kind) {
      case Kind::Literal:
        ok = rest.starts_with(t.literal);
        pos += t.literal.size();
        break;
      case Kind::Day:
        ok = ReadDigits(text, pos, 2, day);
        break;
      case Kind::Month:
        ok = ReadDigits(text, pos, 2, month);
        break;
      case Kind::Year:
        ok = ReadDigits(text, pos, t.width, year);
        if (t.width == 2) year += 1900;
        break;
      case Kind::Hour:
        ok = ReadDigits(text, pos, 2, hour);
        twelve_hour = t.twelve_hour;
        break;
      case Kind::Minute:
        ok = ReadDigits(text, pos, 2, minute);
        break;
      case Kind::Second:
        ok = ReadDigits(text, pos, 2, second);
        break;
      case Kind::Millisecond:
        ok = ReadDigits(text, pos, 3, ignored);
        break;
      case Kind::MonthName: {
        int found = MatchName(rest, long_months_, len);
        std::size_t short_len = 0;
        const int short_found = MatchName(rest, short_months_, short_len);
        if (short_len > len) {
          found = short_found;
          len = short_len;
        }
        ok = found >= 0;
        month = found + 1;
        pos += len;
        break;
      }
      case Kind::DayName:
        ok = MatchName(rest, day_names_, len) >= 0;
        pos += len;
        break;
      case Kind::AmPm:
        if (StartsWithNoCase(rest, am_)) {
          half = 0;
          pos += am_.size();
        } else if (StartsWithNoCase(rest, pm_)) {
          half = 1;
          pos += pm_.size();
        } else {
          ok = false;
        }
        break;
      case Kind::Zone:
        ok = false;
        break;
    }
    if (!ok) return std::nullopt;
  }
  if (pos != text.size() || year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || minute > 59 || second > 59) {
    return std::nullopt;
  }
  if (twelve_hour) {
    if (hour < 1 || hour > 12 || half < 0) return std::nullopt;
    hour = hour % 12 + (half == 1 ? 12 : 0);
  } else if (hour > 23) {
    return std::nullopt;
  }
  const qint64 days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
  return ((days * 24 + hour) * 60 + minute) * 60 + second;
}

}  // namespace kavoro

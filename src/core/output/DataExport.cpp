#include "core/output/DataExport.h"

#include <QDateTime>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/listing/DateKey.h"
#include "core/listing/GridSort.h"
#include "core/listing/ListingDocument.h"
#include "core/listing/ListingTotals.h"
#include "core/text/JsonString.h"
#include "core/text/LineFile.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

void Append(QByteArray& out, std::string_view text) {
  out.append(text.data(), static_cast<qsizetype>(text.size()));
}

// A cell as the views show it: well-formed UTF-8, built in `scratch` when it is not already.
std::string_view ShownCell(const ListingData& doc, int column, qsizetype row,
                           std::string& scratch) {
  return utf8::Sanitized(doc.CellUtf8(column, row), scratch);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void AppendCsvField(std::string_view field, std::string& out) {
  const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                      (!field.empty() && (IsBlank(field.front()) || IsBlank(field.back())));
  if (!quoted) {
    out.append(field);
    return;
  }
  out.push_back('"');
  for (const char c : field) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

namespace {

// A number cell that JSON can carry as a number: digits without a leading zero, few enough
// to stay exact in every reader.
bool IsJsonNumber(std::string_view text) {
  return !text.empty() && text.size() <= 15 && (text[0] != '0' || text.size() == 1) &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Wall-clock readings in local time with the offset it had then, as QDateTime reckons them.
// Asking the system for each date of a million is slow, so the offset is asked once per day,
// at its first and last second; only days on which it changes are asked for every date.
class LocalTimes {
 public:
  struct Local {
    qint64 wall;  // seconds as DateReader gives them; moved past a gap the clock skipped
    int offset;   // seconds east of UTC
  };

  std::optional<Local> At(qint64 wall) {
    constexpr qint64 kDay = 86400;
    const qint64 day = wall >= 0 ? wall / kDay : (wall + 1) / kDay - 1;
    auto [it, added] = day_offsets_.try_emplace(day, kMixed);
    if (added) {
      const auto first = Asked(day * kDay);
      const auto last = Asked(day * kDay + kDay - 1);
      if (first && last && first->wall == day * kDay && first->offset == last->offset) {
        it->second = first->offset;
      }
    }
    if (it->second == kMixed) return Asked(wall);
    return Local{wall, it->second};
  }

 private:
  static constexpr int kMixed = INT_MIN;

  static std::optional<Local> Asked(qint64 wall) {
    const QDateTime clock = QDateTime::fromSecsSinceEpoch(wall, Qt::UTC);
    const QDateTime local(clock.date(), clock.time(), Qt::LocalTime);
    if (!local.isValid()) return std::nullopt;
    const int offset = local.offsetFromUtc();
    return Local{local.toSecsSinceEpoch() + offset, offset};
  }

  std::unordered_map<qint64, int> day_offsets_;  // kMixed: the offset changes that day
};

// A date cell read in local time, as ISO 8601 with the offset local time had then
// ("2004-12-05T14:35:00+01:00"); false when it reads as no date.
bool AppendIsoDate(const DateReader& dates, LocalTimes& times, std::string_view cell,
                   std::string& out) {
  const std::optional<qint64> wall = dates.Seconds(cell);
  if (!wall) return false;
  const std::optional<LocalTimes::Local> local = times.At(*wall);
  if (!local) return false;
  const QDateTime clock = QDateTime::fromSecsSinceEpoch(local->wall, Qt::UTC);
  const QDate d = clock.date();
  const QTime t = clock.time();
  const int minutes = std::abs(local->offset) / 60;
  // "2004-12-05T14:35:00+01:00" and its quotes; written by hand, as formatting it is most of
  // the time of a JSON listing otherwise.
  char text[] = "\"0000-00-00T00:00:00+00:00\"";
  auto put = [&text](int at, int value, int digits) {
    for (int k = at + digits - 1; k >= at; --k, value /= 10) text[k] = char('0' + value % 10);
  };
  put(1, d.year(), 4);
  put(6, d.month(), 2);
  put(9, d.day(), 2);
  put(12, t.hour(), 2);
  put(15, t.minute(), 2);
  put(18, t.second(), 2);
  text[20] = local->offset < 0 ? '-' : '+';
  put(21, minutes / 60, 2);
  put(24, minutes % 60, 2);
  out.append(text, sizeof text - 1);
  return true;
}

void AppendJsonFlag(const char* name, bool on, std::string& out) {
  out.append(1, '"').append(name).append("\":").append(on ? "true" : "false");
}

// A number, or null when there is none.
void AppendJsonNumber(std::optional<std::int64_t> value, std::string& out) {
  out.append(value ? std::to_string(*value) : "null");
}

}  // namespace

QByteArray CsvBytes(const ListingData& doc, std::optional<UiLanguage> totals) {
  QByteArray out;
  std::string record, scratch;
  const auto append = [&](const auto& cell) {
    record.clear();
    for (int column = 0; column < doc.ColumnCount(); ++column) {
      if (column > 0) record.push_back(',');
      AppendCsvField(cell(column, scratch), record);
    }
    record.append("\r\n");
    Append(out, record);
  };
  for (qsizetype row = 0; row < doc.RowCount(); ++row) {
    append([&](int column, std::string& s) { return ShownCell(doc, column, row, s); });
  }
  if (totals) {
    const auto last = TotalsRow(TotalsOf(doc), *totals);
    append([&](int column, std::string& s) -> std::string_view {
      s = utf8::FromQString(last[std::size_t(column)]);
      return s;
    });
  }
  return out;
}

QByteArray CsvBytes(const CellTable& table) {
  QByteArray out;
  std::string record;
  for (qsizetype row = 0; row < table.rows; ++row) {
    record.clear();
    for (int column = 0; column < table.columns; ++column) {
      if (column > 0) record.push_back(',');
      AppendCsvField(utf8::FromQString(table.cell(column, row)), record);
    }
    record.append("\r\n");
    Append(out, record);
  }
  return out;
}

QByteArray JsonBytes(const ListingData& doc, const JsonListing& info) {
  const bool details = doc.HasDetails();
  std::string entry = "{\"language\":\"";
  entry.append(info.language == UiLanguage::English ? "en" : "de").append("\",\"options\":{");
  AppendJsonFlag("details", info.options.details, entry);
  entry.push_back(',');
  AppendJsonFlag("wholePath", info.options.whole_path, entry);
  entry.push_back(',');
  AppendJsonFlag("hideExtensions", info.options.hide_extensions, entry);
  entry.push_back(',');
  AppendJsonFlag("link", info.options.link, entry);
  // Named only when on, so a listing without the media columns reads as it always has.
  const bool media = doc.HasMedia();
  if (media || info.options.media) {
    entry.push_back(',');
    AppendJsonFlag("media", info.options.media, entry);
  }
  entry.append("},\"entries\":[");
  QByteArray out;
  Append(out, entry);
  const DateReader dates;
  LocalTimes times;
  std::string scratch, name_scratch, path;
  for (qsizetype row = 1; row < doc.RowCount(); ++row) {
    entry.assign(row == 1 ? "\n{\"number\":" : ",\n{\"number\":");
    const std::string_view number = ShownCell(doc, 0, row, scratch);
    if (IsJsonNumber(number)) {
      entry.append(number);
    } else {
      AppendJsonString(number, entry);
    }
    entry.append(",\"name\":");
    const std::string_view name = ShownCell(doc, 1, row, name_scratch);
    AppendJsonString(name, entry);
    entry.append(",\"path\":");
    path.clear();
    if (doc.AppendFilePath(row, path)) {
      AppendJsonString(path, entry);
    } else if (name.starts_with('/')) {
      AppendJsonString(name, entry);
    } else {
      entry.append("null");
    }
    const auto cell = [&](ListingData::ColumnId id) {
      return ShownCell(doc, doc.ShownColumn(id), row, scratch);
    };
    const auto date_fields = [&](ListingData::ColumnId id, const char* name) {
      const std::string_view date = cell(id);
      entry.append(",\"").append(name).append("\":");
      if (!AppendIsoDate(dates, times, date, entry)) entry.append("null");
      entry.append(",\"").append(name).append("Text\":");
      AppendJsonString(date, entry);
    };
    if (details) {
      entry.append(",\"size\":");
      const std::optional<std::uint64_t> bytes = doc.SizeBytes(row);
      entry.append(bytes ? std::to_string(*bytes) : "null");
      entry.append(",\"sizeText\":");
      AppendJsonString(cell(ListingData::kSize), entry);
      entry.append(",\"type\":");
      AppendJsonString(cell(ListingData::kType), entry);
      date_fields(ListingData::kDate, "modified");
    }
    if (media) {
      const std::string_view duration = cell(ListingData::kDuration);
      entry.append(",\"duration\":");
      AppendJsonNumber(ReadDuration(duration), entry);
      entry.append(",\"durationText\":");
      AppendJsonString(duration, entry);
      // Tags are texts as shown, "" when the file says none, as "type" is.
      for (const auto& [id, name] : {std::pair{ListingData::kArtist, ",\"artist\":"},
                                     {ListingData::kTitle, ",\"title\":"},
                                     {ListingData::kAlbum, ",\"album\":"}}) {
        entry.append(name);
        AppendJsonString(cell(id), entry);
      }
      const std::string_view pixels = cell(ListingData::kPixels);
      const std::optional<PixelSize> size = ReadPixels(pixels);
      entry.append(",\"width\":");
      AppendJsonNumber(size ? std::optional(size->width) : std::nullopt, entry);
      entry.append(",\"height\":");
      AppendJsonNumber(size ? std::optional(size->height) : std::nullopt, entry);
      entry.append(",\"pixelsText\":");
      AppendJsonString(pixels, entry);
      date_fields(ListingData::kTaken, "taken");
    }
    entry.push_back('}');
    Append(out, entry);
  }
  out.append(doc.RowCount() > 1 ? "\n]}\n" : "]}\n");
  return out;
}

bool ExportCsv(const ListingDocument& doc, const QString& path, QString* error,
               std::optional<UiLanguage> totals) {
  return LineFile::WriteBytes(path, CsvBytes(doc, totals), error);
}

bool ExportJson(const ListingDocument& doc, const JsonListing& info, const QString& path,
                QString* error) {
  return LineFile::WriteBytes(path, JsonBytes(doc, info), error);
}

}  // namespace kavoro

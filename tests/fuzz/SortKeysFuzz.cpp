// The size, number, duration, pixel and date readers of the grid's sort keys: any cell text,
// and every text the listing writes reads back as the value it was written from.
#include <QDateTime>
#include <QLocale>
#include <cstring>

#include "FuzzSupport.h"
#include "core/listing/DateKey.h"
#include "core/listing/FileTexts.h"
#include "core/listing/GridSort.h"
#include "core/media/MediaFacts.h"

using namespace kavoro;

namespace {

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), std::size_t(bytes.size()));
}

struct Dates {
  QLocale locale;
  DateReader reader;
  QString format;
  explicit Dates(const QLocale& l) : locale(l), reader(l), format(ListingDateFormat(l)) {}
};

// 1 January 1601 to 31 December 9999, the dates a four-digit year can show.
constexpr qint64 kFirst = -11644473600;
constexpr qint64 kLast = 253402300740;

void CheckDateRoundTrip(const Dates& d, qint64 seconds) {
  const QString text = d.locale.toString(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC), d.format);
  const auto read = d.reader.Seconds(View(text.toUtf8()));
  fuzz::Check(read && *read == seconds, "a written date did not read back",
              text + u" in "_qs + d.locale.name() + u": "_qs + QString::number(seconds));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Dates dates[] = {Dates(QLocale(QLocale::German, QLocale::Germany)),
                                Dates(QLocale(QLocale::English, QLocale::UnitedStates))};
  const QByteArray input = fuzz::Bytes(data, size);
  const std::string_view text = View(input);

  if (const auto n = ReadInteger(text)) {
    fuzz::Check(*n >= INT32_MIN && *n <= INT32_MAX, "a number outside 32 bits was read");
    fuzz::Check(ReadInteger(View(QByteArray::number(*n))) == n, "a number did not read back");
  }
  if (const auto kb = ReadSizeKB(text)) {
    fuzz::Check(*kb >= 0, "a negative size was read");
    if (*kb < std::int64_t{1} << 54) {  // a file size in bytes
      fuzz::Check(ReadSizeKB(View(FormatSizeKB(std::uint64_t(*kb) * 1024).toLatin1())) == kb,
                  "a size read from a cell did not read back from its own text");
    }
  }
  if (const auto seconds = ReadDuration(text); seconds && *seconds <= INT32_MAX) {
    fuzz::Check(ReadDuration(View(DurationText(int(*seconds)).toUtf8())) == seconds,
                "a duration did not read back from its own text");
  }
  if (const auto pixels = ReadPixels(text);
      pixels && pixels->width <= INT32_MAX && pixels->height <= INT32_MAX) {
    const auto again =
        ReadPixels(View(PixelsText(int(pixels->width), int(pixels->height)).toUtf8()));
    fuzz::Check(again && again->width == pixels->width && again->height == pixels->height,
                "a picture size did not read back from its own text");
  }
  for (const Dates& d : dates) {
    const auto seconds = d.reader.Seconds(text);
    if (seconds && *seconds >= kFirst && *seconds <= kLast) CheckDateRoundTrip(d, *seconds);
  }

  // The first bytes as a file size and as a moment: their texts read back.
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, std::min(size, sizeof raw));
  const auto kb = ReadSizeKB(View(FormatSizeKB(raw).toLatin1()));
  fuzz::Check(kb && std::uint64_t(*kb) == raw / 1024 + (raw % 1024 != 0),
              "a size text did not read back", FormatSizeKB(raw));
  const qint64 minute = kFirst + qint64(raw % std::uint64_t((kLast - kFirst) / 60)) * 60;
  for (const Dates& d : dates) CheckDateRoundTrip(d, minute);

  fuzz::ExpectLinear("ReadSizeKB", input, [](const QByteArray& b) { ReadSizeKB(View(b)); });
  fuzz::ExpectLinear("DateReader::Seconds", input,
                     [](const QByteArray& b) { dates[0].reader.Seconds(View(b)); });
  return 0;
}

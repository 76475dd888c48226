#include "core/text/Cp1252.h"

#include <array>

namespace kavoro::cp1252 {
namespace {

// Unicode characters of the bytes 0x80..0x9F; undefined bytes keep their C1 value.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString Decode(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  char16_t* out = reinterpret_cast<char16_t*>(text.data());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out[i] = (b >= 0x80 && b < 0xA0) ? kHighTable[b - 0x80] : char16_t(b);
  }
  return text;
}

int ByteFor(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return ch;
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == ch) return 0x80 + i;
  }
  return -1;
}

bool EncodeInto(QStringView text, QByteArray& out) {
  const qsizetype start = out.size();
  out.resize(start + text.size());
  char* dst = out.data() + start;
  for (QChar qc : text) {
    const char16_t ch = qc.unicode();
    if (ch < 0x80) {
      *dst++ = char(ch);
      continue;
    }
    const int b = ByteFor(ch);
    if (b < 0) return false;
    *dst++ = char(b);
  }
  return true;
}

bool CanEncode(QStringView text) {
  for (QChar qc : text) {
    if (qc.unicode() >= 0x80 && ByteFor(qc.unicode()) < 0) return false;
  }
  return true;
}

}  // namespace kavoro::cp1252

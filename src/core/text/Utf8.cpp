#include "core/text/Utf8.h"

#include <QStringDecoder>

namespace kavoro::utf8 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

constexpr char16_t kEscapedByte = 0xDC00;

// The length of the well-formed sequence starting at byte `i`, or 0 when none starts there.
std::size_t WellFormedLength(std::string_view text, std::size_t i) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + i;
  const std::size_t left = text.size() - i;
  const unsigned char lead = *p;
  if (lead < 0x80) return 1;
  std::size_t extra = 0;
  unsigned char low = 0x80;  // the bounds of the first continuation byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return 0;
  }
  if (left <= extra || p[1] < low || p[1] > high) return 0;
  for (std::size_t k = 2; k <= extra; ++k) {
    if (!IsContinuation(p[k])) return 0;
  }
  return extra + 1;
}

}  // namespace

char32_t Next(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++i;
    return kReplacement;
  }
  if (i + extra >= text.size()) {
    ++i;
    return kReplacement;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if (!IsContinuation(b)) {
      ++i;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return cp;
}

qsizetype Utf16Length(std::string_view text) {
  qsizetype units = 0;
  for (std::size_t i = 0; i < text.size();) units += Next(text, i) > 0xFFFF ? 2 : 1;
  return units;
}

std::size_t ByteOffset(std::string_view text, qsizetype units) {
  std::size_t i = 0;
  while (units > 0 && i < text.size()) units -= Next(text, i) > 0xFFFF ? 2 : 1;
  return i;
}

void FoldAsciiUpper(std::string_view text, std::string& out) {
  out.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    out[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
}

std::size_t SequenceLength(std::string_view text, std::size_t i) {
  return WellFormedLength(text, i);
}

bool IsValid(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {  // most bytes of most names
      ++i;
      continue;
    }
    const std::size_t length = WellFormedLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string_view Sanitized(std::string_view text, std::string& scratch) {
  if (IsValid(text)) return text;
  scratch = FromQString(ToQString(text));
  return scratch;
}

QString ToQString(std::string_view text) {
  const auto size = static_cast<qsizetype>(text.size());
  if (!text.starts_with("\xEF\xBB\xBF")) return QString::fromUtf8(text.data(), size);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
  return decoder(QByteArrayView(text.data(), size));
}

std::string FromQString(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

int EscapedByte(QStringView name, qsizetype i) {
  const char16_t c = name[i].unicode();
  const bool escaped = c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF &&
                       !(i > 0 && name[i - 1].isHighSurrogate());
  return escaped ? c - kEscapedByte : -1;
}

QString NameFromBytes(std::string_view bytes) {
  if (IsValid(bytes)) return ToQString(bytes);
  QString name;
  std::size_t run = 0;  // start of the well-formed bytes not yet taken
  for (std::size_t i = 0; i < bytes.size();) {
    if (const std::size_t length = WellFormedLength(bytes, i); length > 0) {
      i += length;
      continue;
    }
    name += ToQString(bytes.substr(run, i - run));
    name += QChar(char16_t(kEscapedByte + static_cast<unsigned char>(bytes[i])));
    run = ++i;
  }
  return name + ToQString(bytes.substr(run));
}

std::string NameToBytes(QStringView name) {
  std::string bytes;
  qsizetype run = 0;  // start of the characters not yet taken
  for (qsizetype i = 0; i < name.size(); ++i) {
    const int byte = EscapedByte(name, i);
    if (byte < 0) continue;
    bytes += FromQString(name.mid(run, i - run).toString());
    bytes.push_back(static_cast<char>(byte));
    run = i + 1;
  }
  return bytes + FromQString(name.mid(run).toString());
}

QString ShownName(const QString& name) {
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (EscapedByte(name, i) >= 0) return ToQString(NameToBytes(name));
  }
  return name;
}

void Append(char32_t code, std::string& out) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
    return;
  }
  if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

}  // namespace kavoro::utf8

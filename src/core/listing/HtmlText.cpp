#include "core/listing/HtmlText.h"

#include "core/listing/Utf8.h"
#include "core/output/Cp1252.h"

namespace kavoro {
namespace {

// The characters after "&" up to and including the ";" of the longest reference read.
constexpr qsizetype kLongestReference = 9;

}  // namespace

void AppendHtmlEscaped(std::string_view utf8, std::string& out) {
  for (std::size_t i = 0; i < utf8.size();) {
    const char c = utf8[i];
    switch (c) {
      case '&':
        out.append("&amp;");
        ++i;
        continue;
      case '<':
        out.append("&lt;");
        ++i;
        continue;
      case '>':
        out.append("&gt;");
        ++i;
        continue;
      case '"':
        out.append("&quot;");
        ++i;
        continue;
      default:
        break;
    }
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    const std::size_t begin = i;
    const char32_t code = utf8::Next(utf8, i);
    if (code <= 0xFFFF && cp1252::ByteFor(static_cast<char16_t>(code)) >= 0) {
      out.append(utf8.substr(begin, i - begin));
    } else {
      out.append("&#").append(std::to_string(static_cast<std::uint32_t>(code))).push_back(';');
    }
  }
}

QString HtmlEscape(const QString& text) {
  std::string out;
  AppendHtmlEscaped(utf8::FromQString(text), out);
  return utf8::ToQString(out);
}

QString HtmlUnescape(const QString& text) {
  if (!text.contains(u'&')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      out += text[i];
      continue;
    }
    // No reference is longer than "&#1114111;": the ";" is looked for only that far, so a
    // line of many "&" costs no more than any other line of its length.
    const qsizetype semi = QStringView(text).mid(i + 1, kLongestReference).indexOf(u';');
    const QStringView entity = semi >= 0 ? QStringView(text).mid(i + 1, semi) : QStringView();
    QString replacement;
    if (entity == u"amp")
      replacement = u"&"_qs;
    else if (entity == u"lt")
      replacement = u"<"_qs;
    else if (entity == u"gt")
      replacement = u">"_qs;
    else if (entity == u"quot")
      replacement = u"\""_qs;
    else if (entity.size() > 1 && entity.size() < 9 && entity[0] == u'#') {
      bool ok = false;
      const uint code = entity.mid(1).toUInt(&ok, 10);
      if (ok && code > 0 && code <= 0x10FFFF) {
        replacement = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
      }
    }
    if (replacement.isEmpty()) {
      out += text[i];
      continue;
    }
    out += replacement;
    i += semi + 1;
  }
  return out;
}

}  // namespace kavoro

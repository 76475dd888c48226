#include "core/listing/HtmlText.h"

#include "core/output/Cp1252.h"

namespace kavoro {

QString HtmlEscape(const QString& text) {
  QString out;
  out.reserve(text.size() + 8);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    switch (c.unicode()) {
      case u'&': out += u"&amp;"_qs; continue;
      case u'<': out += u"&lt;"_qs; continue;
      case u'>': out += u"&gt;"_qs; continue;
      case u'"': out += u"&quot;"_qs; continue;
      default: break;
    }
    if (c.unicode() < 0x80 || cp1252::ByteFor(c.unicode()) >= 0) {
      out += c;
      continue;
    }
    char32_t code = c.unicode();
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code = QChar::surrogateToUcs4(c, text[i + 1]);
      ++i;
    }
    out += u"&#"_qs + QString::number(static_cast<uint>(code)) + u';';
  }
  return out;
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
    const qsizetype semi = text.indexOf(u';', i);
    const QStringView entity =
        semi > i ? QStringView(text).mid(i + 1, semi - i - 1) : QStringView();
    QString replacement;
    if (entity == u"amp") replacement = u"&"_qs;
    else if (entity == u"lt") replacement = u"<"_qs;
    else if (entity == u"gt") replacement = u">"_qs;
    else if (entity == u"quot") replacement = u"\""_qs;
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
    i = semi;
  }
  return out;
}

}  // namespace kavoro

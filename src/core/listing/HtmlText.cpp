#include "core/listing/HtmlText.h"

#include <charconv>

#include "core/text/Cp1252.h"
#include "core/text/Utf8.h"

namespace kavoro {
namespace {

// The characters after "&" up to and including the ";" of the longest reference read.
constexpr std::size_t kLongestReference = 9;

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

QString HtmlUnescape(const QString& html) {
  std::string out;
  AppendHtmlUnescaped(html.toStdString(), out);
  return QString::fromStdString(out);
}

void AppendHtmlUnescaped(std::string_view utf8, std::string& out) {
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] != '&') {
      out.push_back(utf8[i]);
      continue;
    }
    // No reference is longer than "&#1114111;": the ";" is looked for only that far, so a
    // line of many "&" costs no more than any other line of its length.
    const std::size_t semi = utf8.substr(i + 1, kLongestReference).find(';');
    const std::string_view entity =
        semi != std::string_view::npos ? utf8.substr(i + 1, semi) : std::string_view();
    const std::size_t before = out.size();
    if (entity == "amp")
      out.push_back('&');
    else if (entity == "lt")
      out.push_back('<');
    else if (entity == "gt")
      out.push_back('>');
    else if (entity == "quot")
      out.push_back('"');
    else if (entity.size() > 1 && entity[0] == '#') {
      std::uint32_t code = 0;
      const char* digits_end = entity.data() + entity.size();
      const auto [end, failure] = std::from_chars(entity.data() + 1, digits_end, code);
      const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
      if (failure == std::errc() && end == digits_end && code > 0 && code <= 0x10FFFF &&
          !surrogate) {
        utf8::Append(code, out);
      }
    }
    if (out.size() == before) {
      out.push_back('&');
      continue;
    }
    i += semi + 1;
  }
}

}  // namespace kavoro

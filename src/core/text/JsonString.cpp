#include "core/text/JsonString.h"

namespace kavoro {

void AppendJsonString(std::string_view text, std::string& out) {
  out.push_back('"');
  std::size_t plain = 0;  // where the bytes that need no escape began
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text, plain, i - plain).push_back('\\');
    plain = i + 1;
    constexpr std::string_view kNamed = "\n\r\t";  // escaped as \n, \r and \t
    if (c == '"' || c == '\\') {
      out.push_back(c);
    } else if (const std::size_t k = kNamed.find(c); k != std::string_view::npos) {
      out.push_back("nrt"[k]);
    } else {
      out.append("u00");
      out.push_back("0123456789abcdef"[byte >> 4]);
      out.push_back("0123456789abcdef"[byte & 15]);
    }
  }
  out.append(text, plain).push_back('"');
}

}  // namespace kavoro

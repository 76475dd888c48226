// Unescaping the HTML lines of a list: any text, in linear time, and escaped names come back
// as they were.
#include "FuzzSupport.h"
#include "core/listing/HtmlText.h"

using namespace kavoro;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
  const QString unescaped = HtmlUnescape(text);
  fuzz::Check(unescaped.size() <= text.size(), "unescaping made a text longer", text);
  if (!text.contains(u'&')) fuzz::Check(unescaped == text, "a text without & changed", text);
  fuzz::Check(HtmlUnescape(HtmlEscape(text)) == text, "an escaped text did not come back", text);
  fuzz::ExpectLinear("HtmlUnescape", fuzz::Bytes(data, size),
                     [](const QByteArray& bytes) { HtmlUnescape(QString::fromUtf8(bytes)); });
  return 0;
}

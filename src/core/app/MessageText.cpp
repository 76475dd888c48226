#include "core/app/MessageText.h"

namespace kavoro {

QString BreakLongWords(const QString& text, int max_chars) {
  QString out;
  out.reserve(text.size() + text.size() / max_chars);
  int run = 0;  // characters of the word so far on this line
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isSpace()) {
      run = 0;
    } else if (!c.isLowSurrogate()) {  // a surrogate pair counts once and is never split
      if (run == max_chars) {
        out += u'\n';
        run = 0;
      }
      ++run;
    }
    out += c;
  }
  return out;
}

}  // namespace kavoro

#pragma once

#include <QString>

namespace kavoro {

// The longest word a message or tooltip shows on one line.
constexpr int kLongestWord = 50;

// A message's text with a line break put into every word longer than `max_chars` characters
// (a long name, a search text), so that the message box can wrap it instead of cutting it off.
// Everything else stays as it is.
QString BreakLongWords(const QString& text, int max_chars);

}  // namespace kavoro

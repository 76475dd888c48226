#pragma once

#include <QString>

namespace kavoro {

// File names are data, not markup: escapes & < > " and writes characters that cp1252 cannot
// hold as numeric character references, so the page stays cp1252 and loses nothing.
QString HtmlEscape(const QString& text);

// Undoes HtmlEscape (and the numeric references of any other writer).
QString HtmlUnescape(const QString& text);

}  // namespace kavoro

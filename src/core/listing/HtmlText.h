#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kavoro {

// File names are data, not markup: escapes & < > " and writes characters that cp1252 cannot
// hold as numeric character references, so the page stays cp1252 and loses nothing.
QString HtmlEscape(const QString& text);
// The same over UTF-8, appended to `out`.
void AppendHtmlEscaped(std::string_view utf8, std::string& out);

// Undoes AppendHtmlEscaped (and the numeric references of any other writer), appending to
// `out`; all other bytes are copied as they are.
void AppendHtmlUnescaped(std::string_view utf8, std::string& out);
// The same for a QString.
QString HtmlUnescape(const QString& html);

}  // namespace kavoro

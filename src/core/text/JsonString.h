#pragma once

#include <string>
#include <string_view>

namespace kavoro {

// Appends `text` as a JSON string in double quotes: the quote and the backslash escaped, LF,
// CR and tab as \n, \r and \t, every other byte below 0x20 as \u00XX, all else as it is (the
// caller hands in well-formed UTF-8).
void AppendJsonString(std::string_view text, std::string& out);

}  // namespace kavoro

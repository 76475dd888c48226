#pragma once

#include <QString>

namespace kavoro::test {

// Tone of `seconds` from sox, in the format of the file's extension.
void Tone(const QString& path, double seconds);
// Artist, title and album written with TagLib (UTF-8 texts).
void Tag(const QString& path, const char* artist, const char* title, const char* album);

}  // namespace kavoro::test

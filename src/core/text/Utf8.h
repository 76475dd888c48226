#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace kavoro::utf8 {

// Helpers for scanning the UTF-8 bytes the listing stores without decoding them to QString.
// Positions the user sees are UTF-16 units (QString indexes); these convert between the two.

// The code point starting at byte `i`, advancing `i` past it. A malformed byte counts as one
// U+FFFD of one byte, so every byte string can be walked.
char32_t Next(std::string_view text, std::size_t& i);

// The number of UTF-16 units of `text`.
qsizetype Utf16Length(std::string_view text);

// The byte offset of UTF-16 position `units`; past the end gives the text's size.
std::size_t ByteOffset(std::string_view text, qsizetype units);

// `text` with a to z turned into A to Z and every other byte unchanged, into `out`.
void FoldAsciiUpper(std::string_view text, std::string& out);

// The length of the well-formed sequence that starts at byte `i`, or 0 when it is malformed.
std::size_t SequenceLength(std::string_view text, std::size_t i);

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or bytes past
// U+10FFFF).
bool IsValid(std::string_view text);

// `text` itself when it is well-formed, else its bytes as the rest of the program reads
// them, every malformed sequence shown as U+FFFD; the latter is built in `scratch`.
std::string_view Sanitized(std::string_view text, std::string& scratch);

// `text` as a QString, malformed sequences as U+FFFD. Unlike QString::fromUtf8 a leading
// byte order mark is kept: in a file name it is part of the name.
QString ToQString(std::string_view text);

// The UTF-8 bytes of `text`.
std::string FromQString(const QString& text);

// File names are bytes, and a QString holds any of them without loss: well-formed UTF-8 as its
// characters, every byte that is not part of a well-formed sequence as the lone surrogate
// U+DC00 + byte (U+DC80 to U+DCFF), which no well-formed text holds. NameToBytes gives the
// same bytes back. Names that are well-formed UTF-8 are plain QStrings either way.
QString NameFromBytes(std::string_view bytes);
std::string NameToBytes(QStringView name);

// The byte that character `i` of such a name stands for, or -1 when it is a character.
int EscapedByte(QStringView name, qsizetype i);

// A name (held as NameFromBytes holds it) as the views show it: every malformed sequence as
// U+FFFD, as ToQString reads the bytes.
QString ShownName(const QString& name);

// Appends the UTF-8 form of a code point (or of a lone UTF-16 surrogate value, which
// keeps such values in order when keys are compared as bytes).
void Append(char32_t code, std::string& out);

}  // namespace kavoro::utf8

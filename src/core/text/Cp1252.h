#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace kavoro::cp1252 {

// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined map to the C1
// control characters of the same value, so every byte sequence round-trips.
QString Decode(QByteArrayView bytes);

// Appends the cp1252 form of `text` to `out`. Returns false (and leaves `out` partly
// written) when a character has no cp1252 byte.
bool EncodeInto(QStringView text, QByteArray& out);

// True when every character of `text` has a cp1252 byte.
bool CanEncode(QStringView text);

// The cp1252 byte of one character, or -1.
int ByteFor(char16_t ch);

}  // namespace kavoro::cp1252

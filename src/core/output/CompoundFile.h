#pragma once

#include <QByteArray>
#include <QString>

namespace kavoro {

// A compound document (the container of .xls files, 512-byte sectors) holding one stream
// under the root storage. Streams shorter than 4096 bytes are padded to that size, so no
// mini stream is needed.
QByteArray CompoundFileWithStream(const QString& stream_name, const QByteArray& stream);

}  // namespace kavoro

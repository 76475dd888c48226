#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

// Shared pieces of the libFuzzer targets. A target checks what must hold for every input and
// ends the run through Fail when it does not; libFuzzer then keeps the input as a crash.
namespace kavoro::fuzz {

[[noreturn]] void Fail(const char* what, const QString& detail = QString());
inline void Check(bool holds, const char* what, const QString& detail = QString()) {
  if (!holds) Fail(what, detail);
}

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut at its first `count - 1` NUL bytes; missing parts are empty.
QList<QByteArray> Parts(const QByteArray& input, int count);

// One folder for the whole run (with a trailing "/"); each input overwrites the files of the
// one before.
QString Dir();
void WriteFile(const QString& name, const QByteArray& bytes);

// Fails when `work` on `input` repeated to about `size` bytes takes far longer than on as many
// bytes of "x": work that grows faster than its input. Measured in the thread's CPU time, so
// a busy machine does not count.
void ExpectLinear(const char* what, const QByteArray& input,
                  const std::function<void(const QByteArray&)>& work, qsizetype size = 1 << 16);

}  // namespace kavoro::fuzz

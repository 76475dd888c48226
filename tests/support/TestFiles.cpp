#include "support/TestFiles.h"

#include <QFile>
#include <QList>
#include <QProcess>

namespace kavoro::test {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray CrLf(std::initializer_list<const char*> lines) {
  QByteArray out;
  for (const char* line : lines) out += QByteArray(line) + "\r\n";
  return out;
}

QByteArray ShippedFile(const char* name) {
  return ReadBytes(QStringLiteral(KAVORO_RESOURCES_DIR "/") + QLatin1String(name));
}

void RemoveTree(const QString& path) { QProcess::execute(u"rm"_qs, {u"-rf"_qs, u"--"_qs, path}); }

ProgramDir::ProgramDir() {
  for (const char* name : {"optionen.ini", "endungen.ini"}) {
    WriteBytes(File(QLatin1String(name)), ShippedFile(name));
  }
}

void ProgramDir::SetOptionLine(int index, const char* value) const {
  QList<QByteArray> lines = Options().split('\n');
  lines[index] = QByteArray(value) + '\r';
  SetOptions(lines.join('\n'));
}

}  // namespace kavoro::test

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QList>
#include <QProcess>
#include <QStandardPaths>

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

QByteArray RunTool(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty()) {
    ADD_FAILURE() << program.toStdString() << " is missing; scripts/setup.sh installs it";
    return {};
  }
  QProcess p;
  p.start(program, arguments);
  p.waitForFinished(60000);
  EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                             << p.readAllStandardError().toStdString();
  return p.readAllStandardOutput();
}

QString PdfText(const QString& path, int page) {
  QStringList arguments = {u"-layout"_qs};
  if (page > 0) arguments << u"-f"_qs << QString::number(page) << u"-l"_qs << QString::number(page);
  return QString::fromUtf8(RunTool(u"pdftotext"_qs, arguments << path << u"-"_qs));
}

QString PdfInfo(const QString& path, const QString& field) {
  for (const QString& line : QString::fromUtf8(RunTool(u"pdfinfo"_qs, {path})).split(u'\n')) {
    if (line.startsWith(field + u':')) return line.mid(field.size() + 1).trimmed();
  }
  return QString();
}

}  // namespace kavoro::test

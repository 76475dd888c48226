#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kavoro::test {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// Lines joined with CR LF after each, as the program writes them.
QByteArray CrLf(std::initializer_list<const char*> lines);
QByteArray ShippedFile(const char* name);
// Removes a folder and all below it, however deep and whatever bytes the names hold
// (QTemporaryDir gives up on both).
void RemoveTree(const QString& path);
// Runs a command-line tool and returns its output; a missing tool or a failure fails the test
// with a message saying so.
QByteArray RunTool(const QString& program, const QStringList& arguments);
// What poppler's pdftotext reads in a PDF, laid out as printed; `page` 0 for all pages.
QString PdfText(const QString& path, int page = 0);
// A field of poppler's pdfinfo ("Pages", "Page size").
QString PdfInfo(const QString& path, const QString& field);

// A program folder in a temporary directory, holding the shipped configuration files.
class ProgramDir {
 public:
  ProgramDir();
  QString Path() const { return dir_.path() + u'/'; }
  QString File(const QString& name) const { return Path() + name; }
  QByteArray Options() const { return ReadBytes(File(u"optionen.ini"_qs)); }
  void SetOptions(const QByteArray& bytes) const { WriteBytes(File(u"optionen.ini"_qs), bytes); }
  // Replaces one line (0-based) of the shipped optionen.ini.
  void SetOptionLine(int index, const char* value) const;

 private:
  QTemporaryDir dir_;
};

}  // namespace kavoro::test

#include "core/app/ProgramFolders.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/text/LineFile.h"

namespace kavoro {
namespace {

constexpr const char16_t* kSettingsFiles[] = {u"optionen.ini", u"endungen.ini"};

QString WithSlash(const QString& dir) { return dir.endsWith(u'/') ? dir : dir + u'/'; }

bool Writable(const QString& dir) {
  return ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
}

}  // namespace

ProgramFolders ChooseProgramFolders(const QString& program_folder, const QString& given,
                                    const QString& user_folder) {
  if (!given.isEmpty()) return {WithSlash(given), WithSlash(given), true};
  const QString here = WithSlash(program_folder);
  bool holds_both = Writable(here);
  for (const char16_t* name : kSettingsFiles) {
    holds_both = holds_both && QFileInfo(here + QString::fromUtf16(name)).isFile();
  }
  if (holds_both) return {here, here, true};
  return {WithSlash(user_folder),
          WithSlash(QDir::cleanPath(here + QStringLiteral(KAVORO_DATA_FROM_BIN))), false};
}

std::optional<QString> PrepareSettingsFolder(const ProgramFolders& folders) {
  if (folders.portable) return std::nullopt;
  const QString folder = QDir::cleanPath(folders.settings);
  if (QFileInfo::exists(folder)) {
    if (Writable(folder)) return std::nullopt;
    return u"Cannot write in folder %1 (%2)"_qs.arg(folder,
                                                    QString::fromLocal8Bit(strerror(errno)));
  }
  const QString parent = QFileInfo(folder).path();
  if (!QDir().mkpath(parent)) {
    QString reason = QString::fromLocal8Bit(strerror(errno));
    // A file where a folder should be reads "File exists": say which one it is.
    for (QString above = parent; !above.isEmpty() && above != u'/';
         above = QFileInfo(above).path()) {
      if (QFileInfo(above).exists()) {
        if (!QFileInfo(above).isDir()) reason = u"%1 is not a folder"_qs.arg(above);
        break;
      }
    }
    return u"Cannot create folder %1 (%2)"_qs.arg(folder, reason);
  }
  // The files are copied into a folder of their own that takes the settings folder's name only
  // when both are complete, so that a failed first start leaves nothing behind.
  QTemporaryDir staging(folder + u".new-XXXXXX"_qs);
  if (!staging.isValid()) {
    return u"Cannot create folder %1 (%2)"_qs.arg(folder, staging.errorString());
  }
  for (const char16_t* name : kSettingsFiles) {
    QString error;
    const auto bytes = LineFile::ReadBytes(folders.data + QString::fromUtf16(name), &error);
    if (!bytes) return error;
    if (!LineFile::WriteBytes(staging.filePath(QString::fromUtf16(name)), *bytes, &error)) {
      return error;
    }
  }
  if (::rename(QFile::encodeName(staging.path()).constData(),
               QFile::encodeName(folder).constData()) != 0) {
    // Another start that ran at the same moment may have made it first.
    if (errno == EEXIST || errno == ENOTEMPTY) return std::nullopt;
    return u"Cannot create folder %1 (%2)"_qs.arg(folder, QString::fromLocal8Bit(strerror(errno)));
  }
  return std::nullopt;
}

}  // namespace kavoro

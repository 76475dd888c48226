#include "core/app/ProgramFolders.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
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
  return {WithSlash(user_folder), WithSlash(QDir::cleanPath(here + u"../share/kavoro"_qs)), false};
}

std::optional<QString> PrepareSettingsFolder(const ProgramFolders& folders) {
  if (folders.portable || QFileInfo::exists(folders.settings)) return std::nullopt;
  if (!QDir().mkpath(folders.settings)) {
    return u"Cannot create folder %1 (%2)"_qs.arg(folders.settings,
                                                  QString::fromLocal8Bit(strerror(errno)));
  }
  for (const char16_t* name : kSettingsFiles) {
    QString error;
    const auto bytes = LineFile::ReadBytes(folders.data + QString::fromUtf16(name), &error);
    if (!bytes) return error;
    if (!LineFile::WriteBytes(folders.settings + QString::fromUtf16(name), *bytes, &error)) {
      return error;
    }
  }
  return std::nullopt;
}

}  // namespace kavoro

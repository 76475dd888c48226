#include "core/app/CatalogFolders.h"

#include <QDir>

#include "core/app/AppState.h"
#include "core/text/LineFile.h"

namespace kavoro {
namespace {

QString FileOf(const AppState& state) { return state.ProgramFile(u"katalogordner.ini"_qs); }

}  // namespace

QStringList LoadCatalogFolders(const AppState& state) {
  const auto bytes = LineFile::ReadBytes(FileOf(state));
  if (!bytes) return {state.list_folder.isEmpty() ? QDir::homePath() : state.list_folder};
  QStringList folders;
  for (QString folder : QString::fromUtf8(*bytes).split(u'\n')) {
    if (folder.endsWith(u'\r')) folder.chop(1);
    if (!folder.isEmpty() && !folders.contains(folder)) folders.append(folder);
  }
  return folders;
}

bool SaveCatalogFolders(const AppState& state, const QStringList& folders, QString* error) {
  QByteArray bytes;
  for (const QString& folder : folders) bytes += folder.toUtf8() + '\n';
  return LineFile::WriteBytes(FileOf(state), bytes, error);
}

}  // namespace kavoro

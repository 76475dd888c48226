#pragma once

#include <QString>
#include <QStringList>

namespace kavoro {

class AppState;

// The folders whose saved lists make the catalogue: one a line of "katalogordner.ini" (UTF-8)
// in the settings folder, beside optionen.ini. Without the file, the folder of the list last
// opened or saved, or the home folder before any.
QStringList LoadCatalogFolders(const AppState& state);

bool SaveCatalogFolders(const AppState& state, const QStringList& folders, QString* error);

}  // namespace kavoro

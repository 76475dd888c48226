#pragma once

#include <QString>

class QFileSystemModel;
class QTreeView;

namespace kavoro {

// Makes `folder` the tree's current folder and keeps it in view while the folders above it are
// still being read (the model reads them in the background, so the folder's row moves as they
// come in). Following stops once its parent folder has been read or another folder is chosen.
void ShowFolder(QTreeView* tree, QFileSystemModel* model, const QString& folder);

}  // namespace kavoro

#include "gui/FolderTree.h"

#include <QDir>
#include <QFileSystemModel>
#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>
#include <memory>

namespace kavoro {

void ShowFolder(QTreeView* tree, QFileSystemModel* model, const QString& folder) {
  const QPersistentModelIndex index(model->index(folder));
  tree->setCurrentIndex(index);
  tree->scrollTo(index);
  const QString parent = QDir::cleanPath(folder + u"/.."_qs);
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(model, &QFileSystemModel::directoryLoaded, tree,
                                 [tree, index, parent, connection](const QString& loaded) {
                                   if (!index.isValid() || tree->currentIndex() != index) {
                                     QObject::disconnect(*connection);
                                     return;
                                   }
                                   tree->scrollTo(index);
                                   if (QDir::cleanPath(loaded) != parent) return;
                                   QObject::disconnect(*connection);
                                   // The model sorts a folder's rows shortly after reading
                                   // it, and a large folder's rows come in several batches.
                                   for (int ms : {100, 400, 1000}) {
                                     QTimer::singleShot(ms, tree, [tree, index] {
                                       if (index.isValid() && tree->currentIndex() == index)
                                         tree->scrollTo(index);
                                     });
                                   }
                                 });
}

}  // namespace kavoro

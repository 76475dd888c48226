#pragma once

#include <QGroupBox>
#include <QStringList>
#include <utility>
#include <vector>

#include "core/i18n/LanguageTables.h"

class QCheckBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;
class QTreeWidget;

namespace kavoro {

// GroupBox3: puts together several extensions of the catalog to search for at once.
class SeveralTypesPanel : public QGroupBox {
  Q_OBJECT

 public:
  explicit SeveralTypesPanel(QWidget* parent);
  // Shows the catalog's extensions, centred across the window's layout size `window`.
  void Open(const QStringList& catalog_lines, UiLanguage language, QSize window);
  void SetLanguage(UiLanguage language);
  QStringList Chosen() const;

 signals:
  void Confirmed(const QStringList& extensions);
  void Cancelled();

 private:
  void SetRemoveMode(bool remove);
  void AddOrRemove();

  QTreeWidget* catalog_;
  QTreeWidget* chosen_;
  QPushButton* add_remove_;
  QPushButton* confirm_;
  bool remove_mode_ = false;
  UiLanguage language_ = UiLanguage::German;
};

// GroupBox5: collects several folders, each with or without its subfolders, to enter in one go.
class SeveralFoldersPanel : public QGroupBox {
  Q_OBJECT

 public:
  using Folders = std::vector<std::pair<QString, bool>>;  // path, with subfolders

  explicit SeveralFoldersPanel(QWidget* parent);
  // Opens with `folder` chosen in the tree, centred across the window's layout size `window`.
  void Open(UiLanguage language, const QString& folder, QSize window);
  void SetLanguage(UiLanguage language);
  const Folders& Collected() const { return folders_; }

 signals:
  void EnterClicked(const kavoro::SeveralFoldersPanel::Folders& folders);
  void Cancelled();

 private:
  void SetRemoveMode(bool remove);
  void AddOrRemove();
  void UpdateEnter();

  QTreeView* tree_;
  QFileSystemModel* model_;
  QTreeWidget* shown_;
  QCheckBox* subfolders_;
  QPushButton* add_remove_;
  QPushButton* enter_;
  Folders folders_;
  bool remove_mode_ = false;
  UiLanguage language_ = UiLanguage::German;
};

}  // namespace kavoro

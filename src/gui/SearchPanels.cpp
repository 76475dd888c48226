#include "gui/SearchPanels.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

#include "gui/FolderTree.h"
#include "gui/NamedWidget.h"

namespace kavoro {
namespace {

QTreeWidget* MakeList(QWidget* parent, const char* name, int left, int top) {
  auto* tree = AddNamed<QTreeWidget>(parent, name, left, top, 200, 220);
  tree->setHeaderHidden(true);
  tree->setRootIsDecorated(true);
  return tree;
}

}  // namespace

SeveralTypesPanel::SeveralTypesPanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName(u"GroupBox3"_qs);
  setAutoFillBackground(true);
  resize(460, 330);
  AddNamed<QLabel>(this, "Label11", 12, 22, 200, 18);
  AddNamed<QLabel>(this, "Label10", 248, 22, 200, 18);
  catalog_ = MakeList(this, "TreeView1", 12, 42);
  chosen_ = MakeList(this, "TreeView2", 248, 42);
  add_remove_ = AddNamed<QPushButton>(this, "Button13", 140, 270, 180, 24);
  confirm_ = AddNamed<QPushButton>(this, "Button14", 60, 300, 200, 24);
  auto* cancel = AddNamed<QPushButton>(this, "Button15", 280, 300, 120, 24);
  connect(catalog_, &QTreeWidget::itemClicked, this, [this] {
    SetRemoveMode(false);
    const QTreeWidgetItem* item = catalog_->currentItem();
    add_remove_->setEnabled(item && item->parent());
  });
  connect(catalog_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!item->parent()) return;
    SetRemoveMode(false);
    AddOrRemove();
  });
  connect(chosen_, &QTreeWidget::itemClicked, this, [this] {
    SetRemoveMode(true);
    add_remove_->setEnabled(chosen_->topLevelItemCount() > 0);
  });
  connect(add_remove_, &QPushButton::clicked, this, &SeveralTypesPanel::AddOrRemove);
  connect(confirm_, &QPushButton::clicked, this, [this] { emit Confirmed(Chosen()); });
  connect(cancel, &QPushButton::clicked, this, &SeveralTypesPanel::Cancelled);
  hide();
}

void SeveralTypesPanel::Open(const QStringList& lines, UiLanguage language, QSize window) {
  catalog_->clear();
  chosen_->clear();
  QTreeWidgetItem* category = nullptr;
  for (const QString& line : lines) {
    if (!line.startsWith(u'.') || !category) {
      category = new QTreeWidgetItem(catalog_, {line});
    } else {
      new QTreeWidgetItem(category, {line});
    }
  }
  SetLanguage(language);
  SetRemoveMode(false);
  add_remove_->setEnabled(false);
  confirm_->setEnabled(false);
  move(window.width() / 2 - width() / 2, window.height() / 2 - height() / 2 - 50);
  show();
  raise();
}

void SeveralTypesPanel::SetLanguage(UiLanguage language) {
  language_ = language;
  SetRemoveMode(remove_mode_);
}

QStringList SeveralTypesPanel::Chosen() const {
  QStringList out;
  for (int i = 0; i < chosen_->topLevelItemCount(); ++i)
    out.append(chosen_->topLevelItem(i)->text(0));
  return out;
}

void SeveralTypesPanel::SetRemoveMode(bool remove) {
  remove_mode_ = remove;
  add_remove_->setText(remove ? MessageSlotsFor(language_).capRemoveType
                              : CaptionText("TForm1", "Button13", language_));
}

void SeveralTypesPanel::AddOrRemove() {
  if (!remove_mode_) {
    const QTreeWidgetItem* item = catalog_->currentItem();
    if (!item || !item->parent()) return;
    if (!chosen_->findItems(item->text(0), Qt::MatchExactly).isEmpty()) return;
    new QTreeWidgetItem(chosen_, {item->text(0)});
    confirm_->setEnabled(true);
    return;
  }
  QTreeWidgetItem* item = chosen_->currentItem();
  if (!item) return;
  delete item;
  if (chosen_->topLevelItemCount() == 0) {
    add_remove_->setEnabled(false);
    confirm_->setEnabled(false);
  }
}

SeveralFoldersPanel::SeveralFoldersPanel(QWidget* parent) : QGroupBox(parent) {
  setObjectName(u"GroupBox5"_qs);
  setAutoFillBackground(true);
  resize(460, 340);
  AddNamed<QLabel>(this, "Label13", 12, 22, 200, 18);
  AddNamed<QLabel>(this, "Label12", 248, 22, 200, 18);
  model_ = new QFileSystemModel(this);
  model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
  model_->setRootPath(u"/"_qs);
  tree_ = AddNamed<QTreeView>(this, "ShellTreeView2", 12, 42, 200, 220);
  tree_->setModel(model_);
  for (int c = 1; c < model_->columnCount(); ++c) tree_->hideColumn(c);
  tree_->setHeaderHidden(true);
  tree_->setRootIndex(model_->index(u"/"_qs));
  shown_ = MakeList(this, "TreeView3", 248, 42);
  shown_->setRootIsDecorated(false);
  subfolders_ = AddNamed<QCheckBox>(this, "CheckBox3", 12, 268, 220, 20);
  add_remove_ = AddNamed<QPushButton>(this, "Button18", 248, 266, 200, 24);
  enter_ = AddNamed<QPushButton>(this, "Button17", 80, 304, 140, 24);
  auto* cancel = AddNamed<QPushButton>(this, "Button19", 240, 304, 140, 24);
  connect(tree_, &QTreeView::clicked, this, [this] {
    SetRemoveMode(false);
    add_remove_->setEnabled(true);
  });
  connect(shown_, &QTreeWidget::itemClicked, this, [this] {
    SetRemoveMode(true);
    add_remove_->setEnabled(shown_->topLevelItemCount() > 0);
  });
  connect(add_remove_, &QPushButton::clicked, this, &SeveralFoldersPanel::AddOrRemove);
  connect(enter_, &QPushButton::clicked, this, [this] {
    hide();
    emit EnterClicked(folders_);
  });
  connect(cancel, &QPushButton::clicked, this, &SeveralFoldersPanel::Cancelled);
  hide();
}

void SeveralFoldersPanel::Open(UiLanguage language, const QString& folder, QSize window) {
  if (!folder.isEmpty()) ShowFolder(tree_, model_, folder);
  shown_->clear();
  folders_.clear();
  SetLanguage(language);
  SetRemoveMode(false);
  UpdateEnter();
  move(window.width() / 2 - width() / 2, window.height() / 2 - height() + 120);
  show();
  raise();
}

void SeveralFoldersPanel::SetLanguage(UiLanguage language) {
  language_ = language;
  SetRemoveMode(remove_mode_);
}

void SeveralFoldersPanel::SetRemoveMode(bool remove) {
  remove_mode_ = remove;
  add_remove_->setText(remove ? MessageSlotsFor(language_).capRemoveFolder
                              : CaptionText("TForm1", "Button18", language_));
}

void SeveralFoldersPanel::AddOrRemove() {
  if (!remove_mode_) {
    const QModelIndex index = tree_->currentIndex();
    if (!index.isValid()) return;
    const QString path = model_->filePath(index);
    for (const auto& folder : folders_) {
      if (folder.first == path) return;
    }
    const bool with_subfolders = subfolders_->isChecked();
    folders_.emplace_back(path, with_subfolders);
    const QString shown = model_->fileName(index).isEmpty() ? path : model_->fileName(index);
    new QTreeWidgetItem(shown_, {with_subfolders ? shown + u" + Unterordner"_qs : shown});
  } else {
    QTreeWidgetItem* item = shown_->currentItem();
    if (!item) return;
    folders_.erase(folders_.begin() + shown_->indexOfTopLevelItem(item));
    delete item;
    add_remove_->setEnabled(shown_->topLevelItemCount() > 0);
  }
  UpdateEnter();
}

void SeveralFoldersPanel::UpdateEnter() { enter_->setEnabled(!folders_.empty()); }

}  // namespace kavoro

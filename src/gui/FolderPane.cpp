#include "gui/FolderPane.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTreeView>
#include <variant>

#include "core/app/MainWindowGeometry.h"
#include "gui/ExplorerActions.h"
#include "gui/FolderContentsModel.h"
#include "gui/FolderTree.h"
#include "gui/NamedWidget.h"

namespace kavoro {
namespace {

struct Separator {};
struct SubfoldersTick {};  // a checkable entry that goes with "Auch Unterordner durchsuchen"
using PaneSignal = void (FolderPane::*)();
using FileCommand = void (ExplorerActions::*)();

// One entry of the context menus, in the order the menus show them after their "Suchen nach :"
// submenu: of the folder tree's menu or the file list's, its objectName and what it does.
struct MenuEntry {
  bool tree_menu;
  const char* name;
  std::variant<Separator, SubfoldersTick, PaneSignal, FileCommand> does;
};

constexpr MenuEntry Line(bool tree_menu) { return {tree_menu, nullptr, Separator{}}; }

constexpr MenuEntry kMenuEntries[] = {
    Line(true),
    {true, "MehrereOrdnerdurchsuchen1", &FolderPane::SeveralFoldersClicked},
    Line(true),
    {true, "Eintragen1", &FolderPane::EnterFolderClicked},
    {true, "Alstxtxlsoderhtmspeichern1", &FolderPane::ExportClicked},
    {true, "AuchUnterordnerdurchsuchen1", SubfoldersTick{}},
    Line(true),
    {true, "ffnen2", &ExplorerActions::OpenFolder},
    Line(true),
    {true, "Aktualisieren1", &ExplorerActions::RefreshTree},
    {true, "Verzeinisanlegen1", &ExplorerActions::ExpandAll},
    Line(true),
    {true, "Auschneiden1", &ExplorerActions::CutFolder},
    {true, "Kopieren1", &ExplorerActions::CopyFolder},
    {true, "Einfgen1", &ExplorerActions::PasteFolder},
    Line(true),
    {true, "Umbenennen1", &ExplorerActions::RenameFolder},
    {true, "Lschen1", &ExplorerActions::DeleteFolder},
    Line(true),
    {true, "Ordnereigenschaften1", &ExplorerActions::FolderProperties},

    Line(false),
    {false, "Eintragen2", &FolderPane::EnterFilesClicked},
    {false, "Alstxtxlsoderhtmspeichern2", &FolderPane::ExportClicked},
    Line(false),
    {false, "Externffnen1", &ExplorerActions::OpenFiles},
    Line(false),
    {false, "Aktualisieren2", &ExplorerActions::RefreshList},
    Line(false),
    {false, "Ausschneiden1", &ExplorerActions::CutFile},
    {false, "Kopieren2", &ExplorerActions::CopyFile},
    {false, "Einfgen2", &ExplorerActions::PasteFile},
    Line(false),
    {false, "Umbenennen2", &ExplorerActions::RenameFile},
    {false, "Lschen2", &ExplorerActions::DeleteFile},
    Line(false),
    {false, "Eigenschaften1", &ExplorerActions::FileProperties},
};

}  // namespace

FolderPane::FolderPane(const AppState& state, Prompts& prompts, Shell& shell, QWidget* parent)
    : FittingTabWidget(parent) {
  setObjectName(u"TabbedNotebook2"_qs);
  BuildFolderPage();
  contents_model_ = new FolderContentsModel(texts_, state, this);
  BuildContentsPage();
  // The long export caption fits the fixed button width in a slightly smaller font.
  for (QPushButton* b : {folder_export_, contents_export_}) {
    QFont small = b->font();
    small.setPixelSize(10);
    b->setFont(small);
    connect(b, &QPushButton::clicked, this, &FolderPane::ExportClicked);
  }
  explorer_ = new ExplorerActions({this, tree_, folder_model_, contents_view_, contents_model_},
                                  state, prompts, shell, parent->window());
  BuildContextMenus();
}

void FolderPane::BuildFolderPage() {
  auto* page = new QWidget;
  addTab(page, QString());
  folder_model_ = new QFileSystemModel(this);
  folder_model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
  folder_model_->setRootPath(u"/"_qs);
  tree_ = Named(new QTreeView(page), "ShellTreeView1");
  tree_->setModel(folder_model_);
  for (int c = 1; c < folder_model_->columnCount(); ++c) tree_->hideColumn(c);
  tree_->setHeaderHidden(true);
  tree_->setRootIndex(folder_model_->index(u"/"_qs));
  ShowFolder(tree_, folder_model_, QDir::homePath());
  subfolders_ = Named(new QCheckBox(page), "CheckBox1");
  // A resize moves the check box only: its width is fitted to the caption of the language.
  Place(subfolders_, LayoutMainWindow(kMinWindowWidth, kMinWindowHeight).subfolders);
  folder_enter_ = Named(new QPushButton(page), "Button1");
  folder_export_ = Named(new QPushButton(page), "Button6");
  connect(folder_enter_, &QPushButton::clicked, this, &FolderPane::EnterFolderClicked);
  tree_->installEventFilter(this);
}

void FolderPane::BuildContentsPage() {
  auto* page = new QWidget;
  addTab(page, QString());
  contents_view_ = Named(new QTableView(page), "ShellListView1");
  contents_view_->setModel(contents_model_);
  contents_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  contents_view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  contents_view_->verticalHeader()->hide();
  contents_view_->verticalHeader()->setDefaultSectionSize(contents_view_->fontMetrics().height() +
                                                          6);
  contents_view_->setWordWrap(false);
  contents_view_->setShowGrid(false);
  auto show_folder = [this](const QModelIndex& index) {
    contents_model_->SetFolder(folder_model_->filePath(index));
  };
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, show_folder);
  show_folder(tree_->currentIndex());
  contents_enter_ = Named(new QPushButton(page), "Button5");
  contents_export_ = Named(new QPushButton(page), "Button2");
  connect(contents_enter_, &QPushButton::clicked, this, &FolderPane::EnterFilesClicked);
}

void FolderPane::BuildContextMenus() {
  tree_menu_ = Named(new QMenu(this), "PopupMenu1");
  contents_menu_ = Named(new QMenu(this), "PopupMenu3");
  search_menus_ = {Named(tree_menu_->addMenu(QString()), "Suchennach1"),
                   Named(contents_menu_->addMenu(QString()), "Suchennach2")};
  for (const MenuEntry& entry : kMenuEntries) {
    QMenu* menu = entry.tree_menu ? tree_menu_ : contents_menu_;
    if (std::holds_alternative<Separator>(entry.does)) {
      menu->addSeparator();
      continue;
    }
    QAction* action = Named(menu->addAction(QString()), entry.name);
    if (std::holds_alternative<SubfoldersTick>(entry.does)) {
      action->setCheckable(true);
      connect(action, &QAction::toggled, subfolders_, &QCheckBox::setChecked);
      connect(subfolders_, &QCheckBox::toggled, action, &QAction::setChecked);
    } else if (const auto* signal = std::get_if<PaneSignal>(&entry.does)) {
      connect(action, &QAction::triggered, this, *signal);
    } else {
      const FileCommand command = std::get<FileCommand>(entry.does);
      connect(action, &QAction::triggered, explorer_, command);
      if (command == &ExplorerActions::ExpandAll) expand_action_ = action;
    }
  }

  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    explorer_->TreeMenuOpening(expand_action_);
    tree_menu_->popup(tree_->viewport()->mapToGlobal(at));
  });
  contents_view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(contents_view_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    // The list's menu is only for selected files.
    if (contents_view_->selectionModel()->hasSelection()) {
      explorer_->ListMenuOpening();
      contents_menu_->popup(contents_view_->viewport()->mapToGlobal(at));
    }
  });
}

QString FolderPane::SelectedFolder() const {
  const QModelIndex index = tree_->currentIndex();
  return index.isValid() ? folder_model_->filePath(index) : QString();
}

void FolderPane::ChooseFolder(const QString& folder) {
  setCurrentIndex(0);
  ShowFolder(tree_, folder_model_, folder);
}

bool FolderPane::Subfolders() const { return subfolders_->isChecked(); }

void FolderPane::ShowSubfolders(bool on) { subfolders_->setChecked(on); }

std::set<std::string, std::less<>> FolderPane::TakeSelectedFiles() {
  std::set<std::string, std::less<>> chosen;
  for (const QModelIndex& index : contents_view_->selectionModel()->selectedRows()) {
    chosen.emplace(contents_model_->Files().Name(std::size_t(index.row())));
  }
  contents_view_->clearSelection();
  return chosen;
}

void FolderPane::ShowLanguage() {
  contents_model_->LanguageChanged();
  explorer_->ShowLanguage();
}

void FolderPane::PlaceControls(const MainWindowGeometry& g) {
  Place(folder_export_, g.folder_export);
  Place(folder_enter_, g.folder_enter);
  subfolders_->move(g.subfolders.left, g.subfolders.top);
  Place(tree_, g.folder_tree);
  Place(contents_export_, g.contents_export);
  Place(contents_enter_, g.contents_enter);
  Place(contents_view_, g.contents_view);
}

bool FolderPane::eventFilter(QObject* watched, QEvent* event) {
  // Enter released in the folder tree enters the folder, but only after a press there: a dialog
  // that closed on the press leaves its release to the tree.
  if (watched == tree_) {
    const auto* key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease
                          ? static_cast<QKeyEvent*>(event)
                          : nullptr;
    const bool enter = key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    if (event->type() == QEvent::FocusOut) {
      enter_pressed_in_tree_ = false;
    } else if (enter && event->type() == QEvent::KeyPress) {
      enter_pressed_in_tree_ = true;
    } else if (enter && !key->isAutoRepeat() && enter_pressed_in_tree_) {
      enter_pressed_in_tree_ = false;
      emit EnterFolderClicked();
    }
  }
  return FittingTabWidget::eventFilter(watched, event);
}

}  // namespace kavoro

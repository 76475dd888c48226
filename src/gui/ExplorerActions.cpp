#include "gui/ExplorerActions.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/AppState.h"
#include "core/listing/FileTexts.h"
#include "core/ports/Prompts.h"
#include "core/ports/Shell.h"
#include "core/text/Utf8.h"
#include "gui/FolderContentsModel.h"
#include "gui/OwnedWindow.h"
#include "gui/ProgressWindow.h"
#include "gui/ShownText.h"

namespace kavoro {
namespace {

// "Alle Unterordner ... öffnen" opens at most this many folders.
constexpr qsizetype kExpandLimit = 10000;

const QString kCannotBeUndone = u"Achtung ! Kann nicht wieder hergestellt werden !"_qs;

QString DeleteQuestion(const QString& head, const QString& name) {
  return head + u'"' + name + u'"' + u" wirklich löschen?"_qs + u'\n' + kCannotBeUndone;
}

// The name of a file or folder (held as utf8::NameFromBytes holds it) as the views show it.
QString ShownFileName(const QString& path) {
  return utf8::ShownName(path.section(u'/', -1, -1, QString::SectionSkipEmpty));
}

// The folder a file's path lies in, without a trailing "/".
QString FolderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash <= 0 ? u"/"_qs : path.left(slash);
}

}  // namespace

CutMarkDelegate::CutMarkDelegate(const FileClipboard& clip, PathOf path_of, QObject* parent)
    : QStyledItemDelegate(parent), clip_(clip), path_of_(std::move(path_of)) {}

bool CutMarkDelegate::Dimmed(const QModelIndex& index) const {
  return clip_.CurrentMode() == FileClipboard::Mode::Cut && clip_.IsCut(path_of_(index));
}

void CutMarkDelegate::initStyleOption(QStyleOptionViewItem* option,
                                      const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (Dimmed(index)) {
    option->palette.setColor(QPalette::Text,
                             option->palette.color(QPalette::Disabled, QPalette::Text));
  }
}

ExplorerActions::ExplorerActions(const Views& views, const AppState& state, Prompts& prompts,
                                 Shell& shell, QWidget* owner)
    : QObject(owner), v_(views), state_(state), prompts_(prompts), shell_(shell), owner_(owner) {
  v_.tree->setItemDelegate(new CutMarkDelegate(
      folder_clip_, [folders = v_.folders](const QModelIndex& i) { return folders->filePath(i); },
      v_.tree));
  v_.list->setItemDelegate(new CutMarkDelegate(
      file_clip_, [files = v_.files](const QModelIndex& i) { return files->FilePath(i); },
      v_.list));
}

void ExplorerActions::TreeMenuOpening(QAction* expand) {
  const QModelIndex node = v_.tree->currentIndex();
  menu_node_ = node;
  menu_folder_ = v_.folders->filePath(node);
  const MessageSlots& m = state_.Slots();
  expand->setEnabled(v_.tabs->currentIndex() != 1);
  expand->setText(m.menuSubfoldersHead + u" \""_qs + CaptionOf(v_.folders->fileName(node)) + u'"' +
                  m.menuSubfoldersTail);
}

void ExplorerActions::ListMenuOpening() {
  const QModelIndexList selected = SelectedFiles();
  menu_file_ = selected.isEmpty() ? QString() : FilePath(selected.first());
}

// --- Folders ----------------------------------------------------------------------------------

void ExplorerActions::OpenFolder() { shell_.OpenUrl(FileUrl(menu_folder_)); }

void ExplorerActions::RefreshTree() {
  // Listing the folder again brings in what changed without the file watcher noticing.
  const QString root = v_.folders->rootPath();
  v_.folders->setRootPath(v_.folders->filePath(v_.tree->currentIndex()));
  v_.folders->setRootPath(root);
}

void ExplorerActions::ExpandAll() {
  if (!menu_node_.isValid()) return;
  // The model loads folders only when asked for them: the whole tree is read here, and
  // asking the model for a folder by its path brings it in.
  const SubfolderWalk walk = ListSubfolders(menu_folder_, kExpandLimit);
  v_.tree->expand(menu_node_);
  for (const QString& folder : walk.folders) v_.tree->expand(v_.folders->index(folder));
  if (!walk.complete) {
    const MessageSlots& m = state_.Slots();
    prompts_.Inform(m.msgExpandLimitHead + QString::number(kExpandLimit) + m.msgExpandLimitTail);
  }
}

void ExplorerActions::FolderProperties() {
  if (v_.tabs->currentIndex() != 1) return ShowProperties(menu_folder_);
  const QModelIndexList selected = SelectedFiles();
  if (!selected.isEmpty()) ShowProperties(FilePath(selected.first()));
}

void ExplorerActions::CutFolder() {
  folder_clip_.Cut(menu_folder_);
  v_.tree->viewport()->update();
}

void ExplorerActions::CopyFolder() {
  folder_clip_.Copy(menu_folder_);
  v_.tree->viewport()->update();
}

void ExplorerActions::RenameFolder() {
  Rename(menu_folder_, u"Ordner umbenennen"_qs);
  RefreshTree();
}

void ExplorerActions::DeleteFolder() {
  const QString name = v_.folders->fileName(menu_node_);
  if (!prompts_.Ask(DeleteQuestion(u"Den Ordner : "_qs, name))) return;
  const QModelIndex above = v_.tree->indexAbove(menu_node_);
  const FileOpResult result = WithProgress("Lschen1", [this](const OperationProgress& progress) {
    return DeleteEntry(menu_folder_, progress);
  });
  if (Report(result) && above.isValid()) v_.tree->setCurrentIndex(above);
  RefreshTree();
}

void ExplorerActions::PasteFolder() {
  Paste(folder_clip_, menu_folder_);
  v_.tree->viewport()->update();
  RefreshTree();
}

// --- Files ------------------------------------------------------------------------------------

void ExplorerActions::OpenFiles() {
  // Every selected file is opened once, in list order, and leaves the selection.
  for (const QModelIndex& index : SelectedFiles()) {
    shell_.OpenUrl(FileUrl(FilePath(index)));
    v_.list->selectionModel()->select(index,
                                      QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  }
}

void ExplorerActions::RefreshList() { v_.files->Reload(); }

void ExplorerActions::CutFile() {
  file_clip_.Cut(menu_file_);
  v_.list->viewport()->update();
}

void ExplorerActions::CopyFile() {
  file_clip_.Copy(menu_file_);
  v_.list->viewport()->update();
}

void ExplorerActions::FileProperties() { ShowProperties(menu_file_); }

void ExplorerActions::RenameFile() {
  Rename(menu_file_, u"Datei umbenennen"_qs);
  RefreshList();
}

void ExplorerActions::DeleteFile() {
  if (!prompts_.Ask(DeleteQuestion(u"Die Datei : "_qs, ShownFileName(menu_file_)))) return;
  Report(WithProgress("Lschen2", [this](const OperationProgress& progress) {
    return DeleteEntry(menu_file_, progress);
  }));
  RefreshList();
}

void ExplorerActions::PasteFile() {
  const QString folder = v_.files->Folder();
  if (file_clip_.CurrentMode() == FileClipboard::Mode::Copy &&
      FolderOf(file_clip_.Path()) == QDir::cleanPath(folder)) {
    // The copy lands beside its original under a "Kopie von " name.
    prompts_.Inform(ShownFileName(file_clip_.Path()) + u'\n' + utf8::ShownName(file_clip_.Path()));
    prompts_.Inform(u"nun"_qs);
  }
  Paste(file_clip_, folder);
  RefreshList();
}

// --- Shared -----------------------------------------------------------------------------------

QString ExplorerActions::FilePath(const QModelIndex& index) const {
  return v_.files->FilePath(index);
}

QModelIndexList ExplorerActions::SelectedFiles() const {
  QModelIndexList rows = v_.list->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  return rows;
}

void ExplorerActions::Rename(const QString& path, const QString& caption) {
  if (path.isEmpty()) return;
  const QString shown = ShownFileName(path);
  const std::optional<QString> answer = prompts_.Text(caption, u"Neuer Name :"_qs, shown);
  // The name as shown is no new name, also when the real one holds bytes that are no UTF-8.
  if (!answer || answer->isEmpty() || *answer == shown) return;
  Report(RenameEntry(path, *answer));
}

bool ExplorerActions::Report(const FileOpResult& result) {
  const MessageSlots& m = state_.Slots();
  if (const QString failure = FailureMessage(result, m); !failure.isEmpty())
    prompts_.Error(failure);
  if (const QString skipped = SkippedMessage(result, m); !skipped.isEmpty())
    prompts_.Inform(skipped);
  return result.Ok();
}

FileOpResult ExplorerActions::WithProgress(
    const char* command, const std::function<FileOpResult(const OperationProgress&)>& operation) {
  ProgressWindow window(owner_, "OperationProgress",
                        CaptionText("TForm1", command, state_.language),
                        state_.Slots().capStopOperation);
  return operation([&window](std::uint64_t done, std::uint64_t total, const QString& item) {
    return window.Report(done, total, item);
  });
}

void ExplorerActions::Paste(FileClipboard& clip, const QString& folder) {
  if (clip.CurrentMode() != FileClipboard::Mode::Empty) {
    const bool move = clip.CurrentMode() == FileClipboard::Mode::Cut;
    Report(WithProgress(&clip == &folder_clip_ ? "Einfgen1" : "Einfgen2",
                        [&](const OperationProgress& progress) {
                          return PasteEntry(clip.Path(), folder, move, progress);
                        }));
  }
  clip.Clear();
}

// The properties of one file or folder in a window of their own, which can show them again in
// another language.
class PropertiesWindow : public QDialog {
 public:
  PropertiesWindow(const QString& path, QWidget* owner) : QDialog(owner), path_(path) {
    setObjectName(u"PropertiesWindow"_qs);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
  }

  // The title and the rows in the state's language, made anew.
  void ShowTexts(const AppState& state) {
    setWindowTitle(CaptionText("TForm1", "Eigenschaften1", state.language));
    delete rows_;
    rows_ = new QWidget(this);
    rows_->setObjectName(u"PropertyRows"_qs);
    auto* form = new QFormLayout(rows_);
    form->setContentsMargins(QMargins());
    for (const auto& [label, value] : DescribeEntry(path_, state.Slots())) {
      auto* text = new QLabel(rows_);
      text->setTextFormat(Qt::PlainText);  // names are data, never markup
      text->setText(value);
      text->setTextInteractionFlags(Qt::TextSelectableByMouse);
      form->addRow(label, text);
    }
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, rows_);
  }

 private:
  QString path_;
  QWidget* rows_ = nullptr;
};

void ExplorerActions::ShowProperties(const QString& path) {
  if (path.isEmpty()) return;
  auto* window = new PropertiesWindow(path, owner_);
  window->ShowTexts(state_);
  window->adjustSize();
  std::erase(properties_windows_, nullptr);  // those closed meanwhile
  properties_windows_.emplace_back(window);
  ShowOwned(window, owner_, CentredOver(window, owner_));
}

void ExplorerActions::ShowLanguage() {
  for (PropertiesWindow* window : properties_windows_) {
    if (window) window->ShowTexts(state_);
  }
}

}  // namespace kavoro

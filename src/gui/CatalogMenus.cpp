#include "gui/CatalogMenus.h"

#include <QMenu>

#include "core/app/AppState.h"
#include "core/ports/Prompts.h"
#include "gui/CaptionFit.h"
#include "gui/CatalogEditor.h"
#include "gui/LanguageApplier.h"
#include "gui/OwnedWindow.h"
#include "gui/ShownText.h"

namespace kavoro {

CatalogMenus::CatalogMenus(AppState& state, Prompts& prompts, QMenu* types_menu,
                           const QList<QMenu*>& search_menus, QWidget* window)
    : QObject(window),
      state_(state),
      prompts_(prompts),
      types_menu_(types_menu),
      fixed_entries_(types_menu->actions().size()),
      search_menus_(search_menus),
      window_(window),
      editor_(std::make_unique<CatalogEditor>()) {
  connect(editor_.get(), &CatalogEditor::Proposed, this, &CatalogMenus::TakeProposal);
  connect(editor_.get(), &CatalogEditor::Cancelled, this, &CatalogMenus::CloseEditor);
}

CatalogMenus::~CatalogMenus() = default;

// One submenu per catalog category with its extensions, in file order. Every extension entry
// carries the index of its catalog line, so all of them are made anew after each change.
void CatalogMenus::Rebuild() {
  const QList<QAction*> old = types_menu_->actions().mid(fixed_entries_);
  for (QAction* action : old) {
    types_menu_->removeAction(action);
    if (QMenu* menu = action->menu()) menu->deleteLater();
  }
  qDeleteAll(entries_);
  entries_.clear();
  AddEntries(types_menu_);
  types_menu_->addSeparator();
  for (QMenu* search : search_menus_) {
    for (QAction* action : search->actions()) {
      if (QMenu* menu = action->menu()) menu->deleteLater();
    }
    search->clear();
    AddEntries(search);
    search->addSeparator();
    QAction* all =
        search->addAction(CaptionText("TForm1", "NachallenDateiensuchen1", state_.language));
    connect(all, &QAction::triggered, this, &CatalogMenus::SearchAllFiles);
  }
}

void CatalogMenus::AddEntries(QMenu* menu) {
  const QStringList& lines = state_.catalog.Lines();
  menu->setToolTipsVisible(true);  // long names are shown whole there
  QMenu* category = nullptr;
  for (int i = 0; i < lines.size(); ++i) {
    if (!lines[i].startsWith(u'.')) {
      category = menu->addMenu(QString());
      SetNameOf(category->menuAction(), lines[i], menu->fontMetrics());
      category->setToolTipsVisible(true);
      continue;
    }
    if (!category) continue;
    QAction* action = category->addAction(QString());
    SetNameOf(action, lines[i], category->fontMetrics());
    entries_.append(action);
    connect(action, &QAction::triggered, this, [this, i] { ChooseCatalogExtension(state_, i); });
  }
}

void CatalogMenus::SearchAllFiles() { ChooseAllFiles(state_); }

void CatalogMenus::OpenEditor(bool extensions) {
  if (extensions) {
    editor_->OpenForExtensions(state_.catalog.Lines());
  } else {
    editor_->OpenForCategories(state_.catalog.Lines());
  }
  ShowOwned(editor_.get(), window_, CentredOver(editor_.get(), window_));
}

void CatalogMenus::ShowLanguage() {
  ApplyWindowTexts(editor_.get(), state_.language);
  FitCaptions(editor_.get());
  Rebuild();
}

void CatalogMenus::TakeProposal(const CatalogResult& result) {
  if (!result.edit) {
    const MessageSlots& m = state_.Slots();
    if (result.refusal == CatalogRefusal::CategoryIsExtension) {
      prompts_.Inform(m.msgCategoryIsExtension);
    } else if (result.refusal == CatalogRefusal::WouldBeUnusable) {
      prompts_.Inform(m.msgCatalogUnusable);
    }
    return;  // the editor stays open
  }
  const std::optional<QString> failed =
      CommitCatalogChange(state_, result.edit->lines, result.edit->deleted_extensions);
  Rebuild();
  CloseEditor();
  if (failed) prompts_.Error(*failed);
}

void CatalogMenus::CloseEditor() {
  editor_->hide();
  window_->activateWindow();
}

}  // namespace kavoro

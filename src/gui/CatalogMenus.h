#pragma once

#include <QList>
#include <QObject>
#include <memory>

#include "core/settings/CatalogEditing.h"

class QAction;
class QMenu;
class QWidget;

namespace kavoro {

class AppState;
class CatalogEditor;
class Prompts;

// The file-type catalog in the main window: its categories with their extensions at the end of
// the menu "Dateiarten" and in both "Suchen nach :" submenus, where choosing one sets what is
// searched for, and the editor (TForm5) whose changes are written to endungen.ini at once.
class CatalogMenus : public QObject {
  Q_OBJECT

 public:
  // The catalog's entries follow the entries `types_menu` has already.
  CatalogMenus(AppState& state, Prompts& prompts, QMenu* types_menu,
               const QList<QMenu*>& search_menus, QWidget* window);
  ~CatalogMenus() override;

  CatalogEditor* Editor() const { return editor_.get(); }
  // The menus made anew from the catalog in the language now chosen.
  void Rebuild();
  // "Nach allen Dateien suchen".
  void SearchAllFiles();
  // "Oberverzeichnis hinzufügen / löschen" or "Dateiarten hinzufügen / löschen".
  void OpenEditor(bool extensions);
  // The editor's texts, fitted to its controls, and the menus in the language now chosen.
  void ShowLanguage();

 private:
  void AddEntries(QMenu* menu);
  void TakeProposal(const CatalogResult& result);
  void CloseEditor();

  AppState& state_;
  Prompts& prompts_;
  QMenu* types_menu_;
  qsizetype fixed_entries_;  // the entries of "Dateiarten" before the catalog's
  QList<QMenu*> search_menus_;
  QWidget* window_;
  std::unique_ptr<CatalogEditor> editor_;
  QList<QAction*> entries_;
};

}  // namespace kavoro

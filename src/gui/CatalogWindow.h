#pragma once

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>

#include "core/catalog/Catalog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace kavoro {

class AppState;
class CatalogHitsModel;
class Prompts;
class Shell;

// TForm9, "Katalog durchsuchen": searches every saved list of the catalogue folders at once.
// The index is kept up to date and searched on a thread of its own, so the window always
// answers; a search runs a moment after the last key, and a double click on a result asks the
// main window to open its list at that entry. The main window stays usable meanwhile.
class CatalogWindow : public QWidget {
  Q_OBJECT

 public:
  CatalogWindow(QWidget* owner, AppState& state, Prompts& prompts, Shell& shell,
                const QString& index_path = Catalog::DefaultPath());
  ~CatalogWindow() override;

  // Shows the window and brings the index up to date with the lists as they are now.
  void Open();
  void ShowLanguage();

  // Whether the index is being brought up to date or searched, or a search is about to start.
  bool Busy() const { return pending_ > 0 || search_delay_.isActive(); }

 signals:
  // A result was chosen: the list of `base`, its entry `number`.
  void OpenRequested(const QString& base, qint64 number);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  class Index;

  void BuildControls();
  void AddFolder();
  void RemoveFolder();
  void StoreFolders();
  void UpdateIndex();
  void Search();
  void ShowDuplicates();
  void ToggleDuplicates();
  void ShowHitsView();
  bool ShowsDuplicates() const;
  // "Ordner öffnen" can be used when a result is chosen.
  void ShowChosen();
  void OpenChosenFolder();
  void SaveResult();
  void SavePage();
  void ShowStatus();
  // The entry of the result row or duplicate row that is chosen, if any.
  const CatalogEntry* ChosenEntry() const;
  void ChooseEntry(const CatalogEntry& entry);
  // Runs `job` on the index's thread; `done` comes back on this one.
  void Run(std::function<std::function<void()>(Catalog&)> job);
  CatalogQuery Query() const;

  AppState& state_;
  Prompts& prompts_;
  Shell& shell_;
  QWidget* owner_;
  std::unique_ptr<Index> index_;
  QStringList folders_;
  QTimer search_delay_;
  int pending_ = 0;
  std::atomic<bool> stop_update_ = false;
  bool updating_ = false;
  bool index_stopped_ = false;  // the last update was stopped before its end
  // The search under way is stopped when a newer one begins.
  std::shared_ptr<std::atomic<bool>> search_stop_;
  QString status_;   // hits, or what the index is doing
  QString skipped_;  // the lists that could not be read
  QString warning_;  // why the index lives in memory only
  std::vector<DuplicateGroup> groups_;

  QLineEdit* text_ = nullptr;
  QLineEdit* extension_ = nullptr;
  QLineEdit* min_kb_ = nullptr;
  QLineEdit* max_kb_ = nullptr;
  QLineEdit* list_name_ = nullptr;
  CatalogHitsModel* hits_ = nullptr;
  QTableView* table_ = nullptr;
  QTreeWidget* duplicates_ = nullptr;
  QLabel* status_label_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QListWidget* folder_list_ = nullptr;
  QPushButton* remove_folder_ = nullptr;
  QPushButton* duplicates_button_ = nullptr;
  QPushButton* open_folder_ = nullptr;
};

}  // namespace kavoro

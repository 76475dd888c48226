#pragma once

#include <QTimer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "core/compare/ListCompare.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

namespace kavoro {

class AppState;
class CompareResultModel;
class Prompts;

// TForm10, "Mit Ordner vergleichen": a saved list, or the listing of the main window, against
// its folder as it is now. The form of the listing comes from the list; what it cannot tell is
// asked, filled in with the best guess. The folder is walked off the window's thread (Escape
// stops it); the result shows its groups together or one alone, can be saved, and a saved
// list can be brought up to date. The main window stays usable meanwhile.
class CompareWindow : public QWidget {
  Q_OBJECT

 public:
  CompareWindow(QWidget* owner, AppState& state, Prompts& prompts);
  ~CompareWindow() override;

  void Open();
  void ShowLanguage();
  // Whether a compare or an update is under way.
  bool Busy() const { return job_ != nullptr; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Job;

  void BuildControls();
  void ChooseList();
  void UseCurrentListing();
  // Takes `list` as the one to compare and fills in what it tells and what is guessed.
  void TakeList(std::shared_ptr<const SavedList> list, const QString& folder);
  void ChooseFolder();
  // The form the list has, with what the dialog says of what it cannot tell.
  ListForm Form() const;
  void Compare();
  void ShowCompared(std::shared_ptr<const CompareResult> result, const QString& error);
  void BringUpToDate();
  void SaveResult();
  void ShowFormFound();
  void ShowResult();
  void ShowGroupChoice();
  void ShowRunning(bool running);
  void ShowProgress();
  // Runs `work` off the window's thread; what it returns runs on this one when it is over.
  void Run(std::function<std::function<void()>()> work);
  void Finish();

  AppState& state_;
  Prompts& prompts_;
  QWidget* owner_;
  std::shared_ptr<const SavedList> list_;      // the list chosen
  std::shared_ptr<const SavedList> compared_;  // the list the result belongs to
  std::shared_ptr<const CompareResult> result_;
  ListForm guessed_;
  QString status_;
  std::unique_ptr<Job> job_;
  std::atomic<bool> cancel_{false};
  std::atomic<std::uint64_t> folders_{0};
  QTimer progress_timer_;

  QList<QWidget*> choose_buttons_;  // the "..." buttons
  QRadioButton* saved_list_ = nullptr;
  QRadioButton* current_listing_ = nullptr;
  QLineEdit* list_path_ = nullptr;
  QLineEdit* folder_ = nullptr;
  QCheckBox* subfolders_ = nullptr;
  QLineEdit* extensions_ = nullptr;
  QCheckBox* hidden_extensions_ = nullptr;
  QLabel* form_found_ = nullptr;
  QPushButton* compare_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_label_ = nullptr;
  QComboBox* groups_ = nullptr;
  CompareResultModel* entries_ = nullptr;
  QTableView* table_ = nullptr;
  QLabel* summary_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* update_ = nullptr;
};

}  // namespace kavoro

#include "gui/CompareWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QThread>

#include "core/app/AppState.h"
#include "core/app/ListCommands.h"
#include "core/compare/CompareExport.h"
#include "core/compare/ListUpdate.h"
#include "core/listing/ListingTotals.h"
#include "core/output/Export.h"
#include "core/output/ListFiles.h"
#include "core/ports/Prompts.h"
#include "gui/CompareResultModel.h"
#include "gui/LanguageApplier.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"
#include "gui/ProgramIcon.h"
#include "gui/ResultTable.h"

namespace kavoro {
namespace {

// The parts of a form as the language tables name them; `walk` adds how the folder is searched.
QString FormText(const ListForm& form, const MessageSlots& m, bool walk) {
  const QStringList& part = m.compareFormParts;
  QStringList parts = {form.options.details ? part[1] : part[0],
                       form.options.whole_path ? part[2] : part[3]};
  if (walk) {
    parts.append(form.recurse ? part[4] : part[5]);
    parts.append(form.selection.search_all_files ? part[6] : form.selection.extensions.join(u' '));
    if (form.options.hide_extensions) parts.append(part[7]);
  }
  return parts.join(u", "_qs);
}

}  // namespace

// A compare or an update on a thread of its own.
struct CompareWindow::Job {
  std::unique_ptr<QThread> thread;
  std::function<void()> done;
  // Set last by the worker; QThread::wait orders its writes, this says so to the thread
  // sanitizer.
  std::atomic<bool> worked{false};
};

CompareWindow::CompareWindow(QWidget* owner, AppState& state, Prompts& prompts)
    : QWidget(nullptr, Qt::Window), state_(state), prompts_(prompts), owner_(owner) {
  setObjectName(u"TForm10"_qs);
  setWindowIcon(ProgramIcon());
  BuildControls();
  progress_timer_.setInterval(100);
  connect(&progress_timer_, &QTimer::timeout, this, &CompareWindow::ShowProgress);
  resize(960, 600);
  ShowLanguage();
}

CompareWindow::~CompareWindow() {
  if (!job_) return;
  cancel_ = true;
  job_->thread->wait();
}

void CompareWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* form = new QGridLayout;
  // A row of the form: what it is, its field, and a "..." button that fills the field in.
  const auto add_row = [&](int row, QWidget* title, const char* edit, const char* button,
                           void (CompareWindow::*choose)()) {
    form->addWidget(title, row, 0);
    auto* field = Named(new QLineEdit(this), edit);
    if (auto* label = qobject_cast<QLabel*>(title)) label->setBuddy(field);
    form->addWidget(field, row, 1);
    if (button) {
      auto* choose_button = Named(new QPushButton(this), button);
      connect(choose_button, &QPushButton::clicked, this, choose);
      form->addWidget(choose_button, row, 2);
      choose_buttons_.append(choose_button);
    }
    return field;
  };
  saved_list_ = Named(new QRadioButton(this), "RadioButton1");
  saved_list_->setChecked(true);
  list_path_ = add_row(0, saved_list_, "Edit1", "Button1", &CompareWindow::ChooseList);
  list_path_->setReadOnly(true);
  current_listing_ = Named(new QRadioButton(this), "RadioButton2");
  connect(current_listing_, &QRadioButton::clicked, this, &CompareWindow::UseCurrentListing);
  form->addWidget(current_listing_, 1, 0, 1, 3);
  folder_ = add_row(2, Named(new QLabel(this), "Label1"), "Edit2", "Button2",
                    &CompareWindow::ChooseFolder);
  extensions_ = add_row(3, Named(new QLabel(this), "Label2"), "Edit3", nullptr, nullptr);
  auto* ticks = new QHBoxLayout;
  subfolders_ = Named(new QCheckBox(this), "CheckBox1");
  ticks->addWidget(subfolders_);
  hidden_extensions_ = Named(new QCheckBox(this), "CheckBox2");
  ticks->addWidget(hidden_extensions_);
  ticks->addStretch(1);
  form->addLayout(ticks, 4, 0, 1, 3);
  form_found_ = Named(new QLabel(this), "Label3");
  form_found_->setWordWrap(true);
  form->addWidget(form_found_, 5, 0, 1, 3);
  form->setColumnStretch(1, 1);
  layout->addLayout(form);

  auto* run = new QHBoxLayout;
  compare_ = Named(new QPushButton(this), "Button3");
  compare_->setDefault(true);
  connect(compare_, &QPushButton::clicked, this, &CompareWindow::Compare);
  run->addWidget(compare_);
  progress_ = Named(new QProgressBar(this), "ProgressBar1");
  progress_->setRange(0, 0);  // a walk does not know its end
  progress_->setFixedWidth(160);
  progress_->hide();
  run->addWidget(progress_);
  status_label_ = Named(new QLabel(this), "Label4");
  status_label_->setWordWrap(true);
  run->addWidget(status_label_, 1);
  layout->addLayout(run);

  auto* show = new QHBoxLayout;
  auto* show_label = Named(new QLabel(this), "Label5");
  show->addWidget(show_label);
  groups_ = Named(new QComboBox(this), "ComboBox1");
  groups_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  show_label->setBuddy(groups_);
  connect(groups_, &QComboBox::activated, this, [this](int item) {
    entries_->ShowGroup(item == 0 ? std::nullopt : std::optional(CompareGroup(item - 1)));
  });
  show->addWidget(groups_);
  show->addStretch(1);
  layout->addLayout(show);

  entries_ = new CompareResultModel(this);
  table_ = ResultTable(this, entries_, {80, 240, 70, 105, 75, 105});
  layout->addWidget(table_, 1);
  summary_ = Named(new QLabel(this), "Label6");
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(summary_);

  auto* buttons = new QHBoxLayout;
  save_ = Named(new QPushButton(this), "Button4");
  connect(save_, &QPushButton::clicked, this, &CompareWindow::SaveResult);
  buttons->addWidget(save_);
  update_ = Named(new QPushButton(this), "Button5");
  connect(update_, &QPushButton::clicked, this, &CompareWindow::BringUpToDate);
  buttons->addWidget(update_);
  buttons->addStretch(1);
  auto* close_button = Named(new QPushButton(this), "Button6");
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(close_button);
  layout->addLayout(buttons);
  ShowResult();
}

void CompareWindow::Open() {
  if (!isVisible()) ShowOwnedCentred(this, owner_);
  raise();
  activateWindow();
  compare_->setFocus();
}

void CompareWindow::ShowLanguage() {
  ApplyWindowTexts(this, state_.language);
  entries_->SetLanguage(state_.language);
  ShowFormFound();
  ShowResult();
}

void CompareWindow::keyPressEvent(QKeyEvent* event) {
  if (!EscapeStopsOrCloses(this, event, Busy(), cancel_)) QWidget::keyPressEvent(event);
}

void CompareWindow::closeEvent(QCloseEvent* event) {
  cancel_ = true;
  event->accept();
}

// --- What is compared -----------------------------------------------------------------------

void CompareWindow::ChooseList() {
  const QString start =
      list_ && !list_->Base().isEmpty() ? list_->Base() + u".mpl"_qs : state_.list_folder;
  const auto chosen = prompts_.OpenFileName(ListFileFilter(), start);
  if (!chosen) return;
  QString error;
  auto list = SavedList::Read(ListFileBaseOf(*chosen), state_.Slots(), &error);
  if (!list) return prompts_.Error(error);
  state_.list_folder = QFileInfo(*chosen).absolutePath();
  saved_list_->setChecked(true);
  list_path_->setText(list->Base() + u".mpl"_qs);
  const QString folder = list->WholePaths() ? list->CommonFolder() : state_.list_folder;
  TakeList(std::make_shared<const SavedList>(std::move(*list)), folder);
}

void CompareWindow::UseCurrentListing() {
  auto list = std::make_shared<const SavedList>(SavedList::FromListing(state_.doc));
  const QString folder =
      list->WholePaths() ? list->CommonFolder() : state_.listing_folders.value(0);
  TakeList(std::move(list), folder);
}

void CompareWindow::TakeList(std::shared_ptr<const SavedList> list, const QString& folder) {
  list_ = std::move(list);
  guessed_ = list_->GuessForm();
  folder_->setText(folder);
  subfolders_->setChecked(guessed_.recurse);
  extensions_->setText(
      guessed_.selection.search_all_files ? QString() : guessed_.selection.extensions.join(u' '));
  hidden_extensions_->setChecked(guessed_.options.hide_extensions);
  ShowFormFound();
}

void CompareWindow::ChooseFolder() {
  if (const auto folder = prompts_.FolderName(folder_->text())) folder_->setText(*folder);
}

ListForm CompareWindow::Form() const {
  ListForm form = guessed_;
  form.recurse = subfolders_->isChecked();
  form.options.hide_extensions = hidden_extensions_->isChecked();
  form.selection.extensions = ExtensionsOfText(extensions_->text());
  form.selection.search_all_files = form.selection.extensions.isEmpty();
  form.selection.RebuildCurrentExtension();
  return form;
}

void CompareWindow::ShowFormFound() {
  if (!list_) return form_found_->clear();
  const MessageSlots& m = state_.Slots();
  QString text = m.compareFormFound.arg(FormText(guessed_, m, false));
  if (const QString problem = list_->Problem(m); !problem.isEmpty()) text += u'\n' + problem;
  form_found_->setText(text);
}

// --- Comparing and bringing up to date ------------------------------------------------------

void CompareWindow::Run(std::function<std::function<void()>()> work) {
  cancel_ = false;
  folders_ = 0;
  job_ = std::make_unique<Job>();
  Job* job = job_.get();
  job->thread.reset(QThread::create([job, work = std::move(work)] {
    job->done = work();
    job->worked.store(true, std::memory_order_release);
  }));
  connect(job->thread.get(), &QThread::finished, this, &CompareWindow::Finish);
  ShowRunning(true);
  job->thread->start();
}

void CompareWindow::Finish() {
  if (!job_) return;
  std::unique_ptr<Job> job = std::move(job_);
  job->thread->wait();
  job->worked.load(std::memory_order_acquire);
  ShowRunning(false);
  if (job->done) job->done();
}

void CompareWindow::ShowRunning(bool running) {
  for (QWidget* control :
       choose_buttons_ + QList<QWidget*>{saved_list_, current_listing_, folder_, subfolders_,
                                         extensions_, hidden_extensions_, compare_, save_,
                                         update_}) {
    control->setEnabled(!running);
  }
  progress_->setVisible(running);
  if (running) {
    progress_timer_.start();
    ShowProgress();
  } else {
    progress_timer_.stop();
    status_label_->setText(status_);
    ShowResult();
  }
}

void CompareWindow::ShowProgress() {
  status_label_->setText(
      state_.Slots().compareWalking.arg(CountText(qint64(folders_.load()), state_.language)));
}

void CompareWindow::Compare() {
  if (job_) return;
  if (current_listing_->isChecked()) {
    // The listing as it is now; what the dialog says of its form stays.
    list_ = std::make_shared<const SavedList>(SavedList::FromListing(state_.doc));
  }
  if (!list_) return prompts_.Inform(state_.Slots().compareNoList);
  const QString folder = folder_->text().trimmed();
  if (folder.isEmpty()) return prompts_.Inform(state_.Slots().msgNoFolder);
  result_.reset();
  compared_ = list_;
  status_.clear();
  entries_->SetResult(nullptr);
  const ListForm form = Form();
  const MessageSlots& messages = state_.Slots();
  Run([this, list = list_, folder, form, &messages]() -> std::function<void()> {
    QString error;
    auto result = CompareWithFolder(*list, folder, form, messages, &error, &cancel_,
                                    [this](std::uint64_t folders) { folders_ = folders; });
    std::shared_ptr<const CompareResult> shared;
    if (result) shared = std::make_shared<const CompareResult>(std::move(*result));
    return [this, shared, error] { ShowCompared(shared, error); };
  });
}

void CompareWindow::ShowCompared(std::shared_ptr<const CompareResult> result,
                                 const QString& error) {
  result_ = std::move(result);
  if (!result_) {
    compared_.reset();
    status_ = error.isEmpty() ? state_.Slots().compareStopped : QString();
    status_label_->setText(status_);
    if (!error.isEmpty()) prompts_.Error(error);
  }
  entries_->SetResult(result_);
  ShowResult();
}

void CompareWindow::BringUpToDate() {
  if (job_ || !result_ || !compared_ || compared_->Base().isEmpty()) return;
  const QString base = compared_->Base();
  const QString backup = FreeBackupBase(base);
  const MessageSlots& messages = state_.Slots();
  if (!prompts_.Ask(messages.compareUpdateQuestion.arg(base + u".mpl"_qs, result_->folder,
                                                       backup + u".mpl"_qs))) {
    return;
  }
  Run([this, list = compared_, folder = result_->folder, form = result_->form, backup,
       &messages]() -> std::function<void()> {
    QString error;
    const bool updated = UpdateList(*list, folder, form, backup, messages, &error, &cancel_,
                                    [this](std::uint64_t folders) { folders_ = folders; });
    return [this, updated, error, backup, base = list->Base()] {
      if (!updated) {
        status_ = error.isEmpty() ? state_.Slots().compareStopped : QString();
        status_label_->setText(status_);
        if (!error.isEmpty()) prompts_.Error(error);
        return;
      }
      QString read_error;
      auto list = SavedList::Read(base, state_.Slots(), &read_error);
      if (!list) return prompts_.Error(read_error);
      list_ = std::make_shared<const SavedList>(std::move(*list));
      prompts_.Inform(state_.Slots().compareUpdated.arg(backup + u".mpl"_qs));
      // The list as it is now, compared again: nothing is left to show.
      Compare();
    };
  });
}

// --- The result -----------------------------------------------------------------------------

void CompareWindow::ShowGroupChoice() {
  const MessageSlots& m = state_.Slots();
  groups_->clear();
  std::size_t all = 0;
  QStringList items;
  for (int g = 0; g < kCompareGroups; ++g) {
    const std::size_t count = entries_->Count(CompareGroup(g));
    all += count;
    items.append(m.compareGroups[g] + u" ("_qs + CountText(qint64(count), state_.language) + u')');
  }
  items.prepend(m.compareAllGroups + u" ("_qs + CountText(qint64(all), state_.language) + u')');
  groups_->addItems(items);
  const std::optional<CompareGroup> shown = entries_->Shown();
  groups_->setCurrentIndex(shown ? int(*shown) + 1 : 0);
}

void CompareWindow::ShowResult() {
  ShowGroupChoice();
  const bool shown = result_ != nullptr;
  groups_->setEnabled(shown);
  save_->setEnabled(shown && !job_);
  update_->setEnabled(shown && !job_ && compared_ && !compared_->Base().isEmpty());
  if (!shown) return summary_->clear();
  const MessageSlots& m = state_.Slots();
  const CompareResult& r = *result_;
  QStringList counts;
  for (int g = 0; g < kCompareGroups; ++g) {
    counts.append(m.compareGroups[g] + u": "_qs +
                  CountText(qint64(entries_->Count(CompareGroup(g))), state_.language));
  }
  counts.append(m.compareUnchanged + u": "_qs + CountText(qint64(r.unchanged), state_.language));
  QStringList lines = {counts.join(u", "_qs),
                       m.compareUsedForm.arg(r.folder, FormText(r.form, m, true), r.date_form)};
  if (r.matched_without_extensions) lines.append(m.compareWithoutExtensions);
  if (!r.unreadable_folders.empty()) {
    QStringList folders;
    for (const std::string& folder : r.unreadable_folders)
      folders.append(QString::fromStdString(folder));
    lines.append(m.compareUnreadableFolders.arg(folders.join(u", "_qs)));
  }
  summary_->setText(lines.join(u'\n'));
}

void CompareWindow::SaveResult() {
  if (!result_) return;
  auto path = prompts_.SaveFileName(TextExportFilter(), state_.list_folder);
  if (!path) return;
  *path = WithDefaultExtension(*path, u".txt"_qs);
  if (QFileInfo::exists(*path) && !prompts_.Ask(state_.Slots().msgOverwrite)) return;
  QString error;
  if (!ExportCompare(*result_, *path, &error)) prompts_.Error(error);
}

}  // namespace kavoro

#include "gui/CatalogWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QThread>
#include <QTreeWidget>
#include <QUrl>

#include "core/app/AppState.h"
#include "core/app/CatalogFolders.h"
#include "core/catalog/CatalogOutput.h"
#include "core/listing/FileTexts.h"
#include "core/listing/ListingTotals.h"
#include "core/output/Export.h"
#include "core/ports/Prompts.h"
#include "core/ports/Shell.h"
#include "gui/CatalogHitsModel.h"
#include "gui/LanguageApplier.h"
#include "gui/NamedWidget.h"
#include "gui/OwnedWindow.h"
#include "gui/ProgramIcon.h"
#include "gui/ResultTable.h"

namespace kavoro {
namespace {

// The first screen of hits comes at once; the table holds at most kShownHits of them and the
// duplicates view the kShownGroups groups that waste the most space.
constexpr qint64 kFirstScreen = 200;
constexpr qint64 kShownHits = 50000;
constexpr qint64 kShownGroups = 5000;
constexpr int kSearchDelayMs = 300;

}  // namespace

// The catalogue on a thread of its own: every call of the index happens there, in order.
class CatalogWindow::Index {
 public:
  Index(const QString& path, UiLanguage language) : path_(path), language_(language) {
    context_.moveToThread(&thread_);
  }
  ~Index() {
    thread_.quit();
    thread_.wait();
  }
  void Post(std::function<void(Catalog&)> job) {
    // The thread starts with the first job: a start of the program that never opens the
    // catalogue costs nothing.
    if (!thread_.isRunning()) thread_.start();
    QMetaObject::invokeMethod(
        &context_,
        [this, job = std::move(job)] {
          if (!catalog_) catalog_ = std::make_unique<Catalog>(path_, language_);
          job(*catalog_);
        },
        Qt::QueuedConnection);
  }

 private:
  QString path_;
  UiLanguage language_;
  QThread thread_;
  QObject context_;
  std::unique_ptr<Catalog> catalog_;
};

CatalogWindow::CatalogWindow(QWidget* owner, AppState& state, Prompts& prompts, Shell& shell,
                             const QString& index_path)
    : QWidget(nullptr, Qt::Window),
      state_(state),
      prompts_(prompts),
      shell_(shell),
      owner_(owner),
      index_(std::make_unique<Index>(index_path, state.language)) {
  setObjectName(u"TForm9"_qs);
  setWindowIcon(ProgramIcon());
  BuildControls();
  search_delay_.setSingleShot(true);
  search_delay_.setInterval(kSearchDelayMs);
  connect(&search_delay_, &QTimer::timeout, this, &CatalogWindow::Search);
  resize(1000, 600);
  ShowLanguage();
}

CatalogWindow::~CatalogWindow() {
  stop_update_ = true;
  if (search_stop_) *search_stop_ = true;
  index_.reset();  // waits for the job at hand
}

void CatalogWindow::BuildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* filters = new QHBoxLayout;
  const auto add_edit = [&](const char* label, const char* edit, int width) {
    filters->addWidget(Named(new QLabel(this), label));
    auto* field = Named(new QLineEdit(this), edit);
    field->setClearButtonEnabled(true);
    if (width > 0) field->setFixedWidth(width);
    filters->addWidget(field, width > 0 ? 0 : 1);
    connect(field, &QLineEdit::textChanged, &search_delay_, qOverload<>(&QTimer::start));
    return field;
  };
  text_ = add_edit("Label1", "Edit1", 0);
  extension_ = add_edit("Label2", "Edit2", 70);
  min_kb_ = add_edit("Label3", "Edit3", 80);
  max_kb_ = add_edit("Label4", "Edit4", 80);
  list_name_ = add_edit("Label5", "Edit5", 120);
  layout->addLayout(filters);

  hits_ = new CatalogHitsModel(this);
  table_ = ResultTable(this, hits_, {140, 60, 300, 90, 90, 120, 70});
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  connect(table_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& index) { ChooseEntry(hits_->Entry(index.row())); });
  // Whether the files are there is asked for the rows in view only.
  auto* check_later = new QTimer(this);
  check_later->setSingleShot(true);
  check_later->setInterval(100);
  connect(check_later, &QTimer::timeout, this, [this] {
    const int first = table_->rowAt(0);
    const int last = table_->rowAt(table_->viewport()->height() - 1);
    hits_->CheckFiles(first, last < 0 ? hits_->rowCount() - 1 : last);
  });
  connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, check_later,
          qOverload<>(&QTimer::start));
  connect(hits_, &QAbstractItemModel::modelReset, check_later, qOverload<>(&QTimer::start));
  connect(hits_, &QAbstractItemModel::layoutChanged, check_later, qOverload<>(&QTimer::start));
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &CatalogWindow::ShowChosen);
  connect(hits_, &QAbstractItemModel::modelReset, this, &CatalogWindow::ShowChosen);
  // The names take the room the window has beyond the other columns.
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
  layout->addWidget(table_, 1);

  duplicates_ = Named(new QTreeWidget(this), "TreeView1");
  duplicates_->setColumnCount(6);
  duplicates_->setRootIsDecorated(true);
  duplicates_->setUniformRowHeights(true);
  duplicates_->hide();
  connect(duplicates_, &QTreeWidget::itemDoubleClicked, this, [this] {
    if (const CatalogEntry* entry = ChosenEntry()) ChooseEntry(*entry);
  });
  connect(duplicates_, &QTreeWidget::currentItemChanged, this, &CatalogWindow::ShowChosen);
  layout->addWidget(duplicates_, 1);

  auto* state_line = new QHBoxLayout;
  status_label_ = Named(new QLabel(this), "Label6");
  status_label_->setWordWrap(true);
  status_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  state_line->addWidget(status_label_, 1);
  progress_ = Named(new QProgressBar(this), "ProgressBar1");
  progress_->setFixedWidth(200);
  progress_->hide();
  state_line->addWidget(progress_);
  layout->addLayout(state_line);

  auto* folders = new QGridLayout;
  folders->addWidget(Named(new QLabel(this), "Label7"), 0, 0, Qt::AlignTop);
  folder_list_ = Named(new QListWidget(this), "ListBox1");
  folder_list_->setFixedHeight(folder_list_->fontMetrics().height() * 3 + 10);
  folders->addWidget(folder_list_, 0, 1, 2, 1);
  auto* add_folder = Named(new QPushButton(this), "Button1");
  connect(add_folder, &QPushButton::clicked, this, &CatalogWindow::AddFolder);
  folders->addWidget(add_folder, 0, 2);
  remove_folder_ = Named(new QPushButton(this), "Button2");
  connect(remove_folder_, &QPushButton::clicked, this, &CatalogWindow::RemoveFolder);
  connect(folder_list_, &QListWidget::currentRowChanged, this,
          [this](int row) { remove_folder_->setEnabled(row >= 0); });
  folders->addWidget(remove_folder_, 1, 2, Qt::AlignTop);
  folders->setColumnStretch(1, 1);
  layout->addLayout(folders);

  auto* buttons = new QHBoxLayout;
  const auto add_button = [&](const char* name, auto slot) {
    auto* button = Named(new QPushButton(this), name);
    connect(button, &QPushButton::clicked, this, slot);
    buttons->addWidget(button);
    return button;
  };
  duplicates_button_ = add_button("Button3", &CatalogWindow::ToggleDuplicates);
  open_folder_ = add_button("Button4", &CatalogWindow::OpenChosenFolder);
  open_folder_->setEnabled(false);
  add_button("Button5", &CatalogWindow::SaveResult);
  add_button("Button6", &CatalogWindow::SavePage);
  buttons->addStretch(1);
  add_button("Button7", &QWidget::close);
  layout->addLayout(buttons);
}

void CatalogWindow::Open() {
  folders_ = LoadCatalogFolders(state_);
  folder_list_->clear();
  folder_list_->addItems(folders_);
  remove_folder_->setEnabled(false);
  if (!isVisible()) ShowOwnedCentred(this, owner_);
  raise();
  activateWindow();
  text_->setFocus();
  UpdateIndex();
}

void CatalogWindow::ShowLanguage() {
  ApplyWindowTexts(this, state_.language);
  hits_->SetLanguage(state_.language);
  duplicates_->setHeaderLabels(state_.Slots().catalogColumns.mid(0, 6));
  if (ShowsDuplicates()) duplicates_button_->setText(state_.Slots().catalogShowHits);
  ShowStatus();
}

void CatalogWindow::keyPressEvent(QKeyEvent* event) {
  const bool updating = updating_;
  if (!EscapeStopsOrCloses(this, event, updating, stop_update_)) {
    return QWidget::keyPressEvent(event);
  }
  // The list at hand is finished first; meanwhile the window says that it stops.
  if (updating) {
    index_stopped_ = true;
    status_.clear();
    ShowStatus();
  }
}

void CatalogWindow::closeEvent(QCloseEvent* event) {
  if (search_stop_) *search_stop_ = true;
  search_delay_.stop();
  event->accept();
}

// --- The folders of the catalogue -----------------------------------------------------------

void CatalogWindow::AddFolder() {
  const auto folder =
      prompts_.FolderName(folders_.isEmpty() ? state_.list_folder : folders_.back());
  if (!folder || folders_.contains(*folder)) return;
  folders_.append(*folder);
  folder_list_->addItem(*folder);
  StoreFolders();
}

void CatalogWindow::RemoveFolder() {
  const int row = folder_list_->currentRow();
  if (row < 0) return;
  folders_.removeAt(row);
  delete folder_list_->takeItem(row);
  StoreFolders();
}

void CatalogWindow::StoreFolders() {
  QString error;
  if (!SaveCatalogFolders(state_, folders_, &error)) prompts_.Error(error);
  UpdateIndex();
}

// --- The index ------------------------------------------------------------------------------

void CatalogWindow::Run(std::function<std::function<void()>(Catalog&)> job) {
  ++pending_;
  index_->Post([this, job = std::move(job)](Catalog& catalog) {
    std::function<void()> done = job(catalog);
    QMetaObject::invokeMethod(
        this,
        [this, done] {
          --pending_;
          if (done) done();
        },
        Qt::QueuedConnection);
  });
}

void CatalogWindow::UpdateIndex() {
  stop_update_ = false;
  updating_ = true;
  progress_->setValue(0);
  progress_->show();
  const QStringList folders = folders_;
  Run([this, folders](Catalog& catalog) -> std::function<void()> {
    const CatalogUpdate update = catalog.Update(
        folders,
        [this](qsizetype done, qsizetype all) {
          QMetaObject::invokeMethod(
              this,
              [this, done, all] {
                if (stop_update_) return;
                progress_->setMaximum(int(std::max<qsizetype>(all, 1)));
                progress_->setValue(int(done));
                status_ = state_.Slots().catalogIndexing.arg(std::min(done + 1, all)).arg(all);
                ShowStatus();
              },
              Qt::QueuedConnection);
        },
        &stop_update_);
    const QString warning = catalog.Warning();
    return [this, update, warning] {
      progress_->hide();
      warning_ = warning;
      QStringList skipped;
      for (const SkippedList& list : update.skipped) {
        skipped.append(QFileInfo(list.list).fileName() + u" ("_qs + list.reason + u')');
      }
      const MessageSlots& messages = state_.Slots();
      skipped_ = skipped.isEmpty() ? QString()
                 : skipped.size() == 1
                     ? messages.catalogSkippedOne.arg(skipped.front())
                     : messages.catalogSkipped.arg(skipped.size()).arg(skipped.join(u"; "_qs));
      status_.clear();
      index_stopped_ = update.cancelled;
      updating_ = false;
      if (ShowsDuplicates()) {
        ShowDuplicates();
      } else {
        Search();
      }
    };
  });
}

CatalogQuery CatalogWindow::Query() const {
  CatalogQuery query;
  query.text = text_->text();
  query.extension = extension_->text();
  query.list_name = list_name_->text();
  bool ok = false;
  if (const qint64 kb = min_kb_->text().trimmed().toLongLong(&ok); ok) query.min_kb = kb;
  if (const qint64 kb = max_kb_->text().trimmed().toLongLong(&ok); ok) query.max_kb = kb;
  return query;
}

void CatalogWindow::Search() {
  search_delay_.stop();
  if (ShowsDuplicates()) ShowHitsView();
  if (search_stop_) *search_stop_ = true;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  search_stop_ = stop;
  if (!updating_) {
    status_ = state_.Slots().catalogSearching;
    ShowStatus();
  }
  const CatalogQuery query = Query();
  Run([this, query, stop](Catalog& catalog) -> std::function<void()> {
    std::vector<CatalogEntry> hits = catalog.Find(query, kFirstScreen, stop.get());
    if (*stop) return {};
    const bool all = qint64(hits.size()) < kFirstScreen;
    if (!all) {
      QMetaObject::invokeMethod(
          this,
          [this, stop, hits] {
            if (stop != search_stop_) return;
            hits_->SetHits(hits);
            table_->sortByColumn(table_->horizontalHeader()->sortIndicatorSection(),
                                 table_->horizontalHeader()->sortIndicatorOrder());
          },
          Qt::QueuedConnection);
      hits = catalog.Find(query, kShownHits, stop.get());
    }
    const std::optional<CatalogCount> count =
        all ? CatalogCount{qint64(hits.size()), 0} : catalog.Count(query, stop.get());
    if (*stop || !count) return {};
    return [this, stop, hits = std::move(hits), count, all]() mutable {
      if (stop != search_stop_) return;
      CatalogCount shown = *count;
      if (all) {
        QSet<QString> lists;
        for (const CatalogEntry& hit : hits) lists.insert(hit.list);
        shown.lists = lists.size();
      }
      hits_->SetHits(std::move(hits));
      table_->sortByColumn(table_->horizontalHeader()->sortIndicatorSection(),
                           table_->horizontalHeader()->sortIndicatorOrder());
      const MessageSlots& messages = state_.Slots();
      status_ = messages.catalogHits.arg(CountText(shown.hits, state_.language),
                                         CountText(shown.lists, state_.language));
      if (shown.hits > hits_->rowCount()) {
        status_ += messages.catalogShownPart.arg(CountText(hits_->rowCount(), state_.language));
      }
      ShowStatus();
    };
  });
}

void CatalogWindow::ToggleDuplicates() {
  if (!ShowsDuplicates()) return ShowDuplicates();
  ShowHitsView();
  Search();
}

// Asked of the control's own state, so that it holds also while the window is closed.
bool CatalogWindow::ShowsDuplicates() const { return !duplicates_->isHidden(); }

void CatalogWindow::ShowHitsView() {
  duplicates_->hide();
  table_->show();
  ApplyWindowTexts(this, state_.language);  // the button's own caption again
  ShowChosen();
}

void CatalogWindow::ShowChosen() { open_folder_->setEnabled(ChosenEntry() != nullptr); }

void CatalogWindow::ShowDuplicates() {
  table_->hide();
  duplicates_->show();
  duplicates_button_->setText(state_.Slots().catalogShowHits);
  ShowChosen();
  if (search_stop_) *search_stop_ = true;
  auto stop = std::make_shared<std::atomic<bool>>(false);
  search_stop_ = stop;
  status_ = state_.Slots().catalogSearching;
  ShowStatus();
  Run([this, stop](Catalog& catalog) -> std::function<void()> {
    std::vector<DuplicateGroup> groups = catalog.Duplicates(kShownGroups, stop.get());
    if (*stop) return {};
    return [this, stop, groups = std::move(groups)]() mutable {
      if (stop != search_stop_) return;
      groups_ = std::move(groups);
      duplicates_->clear();
      const MessageSlots& messages = state_.Slots();
      std::int64_t extra_kb = 0;
      QList<QTreeWidgetItem*> items;
      for (std::size_t g = 0; g < groups_.size(); ++g) {
        const DuplicateGroup& group = groups_[g];
        extra_kb += group.extra_kb;
        auto* head = new QTreeWidgetItem;
        const CatalogEntry& first = group.copies.front();
        head->setText(0, messages.catalogCopies.arg(group.copies.size())
                             .arg(FormatSizeKB(std::uint64_t(group.extra_kb) * 1024)));
        head->setText(2, FileNameOf(first));
        head->setText(3, first.size);
        for (std::size_t c = 0; c < group.copies.size(); ++c) {
          const CatalogEntry& copy = group.copies[c];
          auto* item = new QTreeWidgetItem(
              head, {QFileInfo(copy.list).fileName(), QString::number(copy.number), copy.name,
                     copy.size, copy.type, copy.date});
          item->setToolTip(0, copy.list);
          item->setData(0, Qt::UserRole, QPoint(int(g), int(c)));
        }
        items.append(head);
      }
      duplicates_->addTopLevelItems(items);
      duplicates_->resizeColumnToContents(0);
      duplicates_->setColumnWidth(2, table_->columnWidth(2));
      status_ = messages.catalogDuplicates.arg(CountText(qint64(groups_.size()), state_.language))
                    .arg(FormatSizeKB(std::uint64_t(extra_kb) * 1024));
      ShowStatus();
    };
  });
}

void CatalogWindow::ShowStatus() {
  QStringList parts;
  if (folders_.isEmpty()) parts.append(state_.Slots().catalogNoFolder);
  const QString stopped = index_stopped_ ? state_.Slots().catalogIndexStopped : QString();
  for (const QString& part : {status_, stopped, skipped_, warning_}) {
    if (!part.isEmpty()) parts.append(part);
  }
  status_label_->setText(parts.join(u"\n"_qs));
}

// --- Results --------------------------------------------------------------------------------

const CatalogEntry* CatalogWindow::ChosenEntry() const {
  if (!ShowsDuplicates()) {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? &hits_->Entry(current.row()) : nullptr;
  }
  const QTreeWidgetItem* item = duplicates_->currentItem();
  if (!item || !item->parent()) return nullptr;
  const QPoint place = item->data(0, Qt::UserRole).toPoint();
  return &groups_[std::size_t(place.x())].copies[std::size_t(place.y())];
}

void CatalogWindow::ChooseEntry(const CatalogEntry& entry) {
  emit OpenRequested(entry.list, entry.number);
}

void CatalogWindow::OpenChosenFolder() {
  const CatalogEntry* entry = ChosenEntry();
  if (!entry) return;
  // A whole path names the file's folder; otherwise the list's own folder is what is known.
  const QString folder = entry->name.startsWith(u'/') ? QFileInfo(entry->name).absolutePath()
                                                      : QFileInfo(entry->list).absolutePath();
  shell_.OpenUrl(QUrl::fromLocalFile(folder));
}

void CatalogWindow::SaveResult() {
  auto path = prompts_.SaveFileName(TableExportFilter(), state_.list_folder);
  if (!path) return;
  *path = WithDefaultExtension(*path, u".txt"_qs);
  if (QFileInfo::exists(*path) && !prompts_.Ask(state_.Slots().msgOverwrite)) return;
  QStringList written;
  QString error;
  const bool ok = ShowsDuplicates()
                      ? ExportDuplicates(groups_, *path, state_.language, &written, &error)
                      : ExportEntries(hits_->Entries(), *path, state_.language, &written, &error);
  if (written.size() > 1) {
    prompts_.Inform(state_.Slots().msgWorkbooks + u'\n' + written.join(u'\n'));
  }
  if (!ok) prompts_.Error(error);
}

void CatalogWindow::SavePage() {
  auto path = prompts_.SaveFileName(PageExportFilter(), state_.list_folder);
  if (!path) return;
  *path = WithDefaultExtension(*path, u".htm"_qs);
  if (QFileInfo::exists(*path) && !prompts_.Ask(state_.Slots().msgOverwrite)) return;
  const QString target = *path;
  const UiLanguage language = state_.language;
  Run([this, target, language](Catalog& catalog) -> std::function<void()> {
    QString error;
    if (WriteCatalogPage(catalog, target, language, &stop_update_, &error) || error.isEmpty()) {
      return {};
    }
    return [this, error] { prompts_.Error(error); };
  });
}

}  // namespace kavoro

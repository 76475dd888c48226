#include "gui/EnteringJob.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>

#include "core/listing/ListingDocument.h"

namespace kavoro {

EnteringRequest EnteringRequest::ForFolder(const QString& folder, bool subfolders,
                                           const SearchSelection& selection,
                                           const EntryOptions& options) {
  EnteringRequest request;
  request.way = subfolders ? EnterWay::Scanner : EnterWay::Folder;
  request.folder = folder;
  request.selection = selection;
  request.options = options;
  return request;
}

EnteringRequest EnteringRequest::ForFiles(const QString& folder,
                                          const std::set<std::string, std::less<>>& names,
                                          const SearchSelection& selection,
                                          const EntryOptions& options) {
  EnteringRequest request;
  request.way = EnterWay::Selected;
  request.folder = folder;
  request.selection = selection;
  request.options = options;
  const FoundFiles files = Scanner::ListFolder(folder, options.details);
  for (std::size_t i = 0; i < files.Count(); ++i) {
    if (names.contains(files.Name(i))) request.selected.AddFrom(files, i);
  }
  return request;
}

// The request being entered, what its search found and the listing as it was before it.
struct EnteringJob::Run {
  EnteringRequest request;
  QElapsedTimer clock;
  FoundFiles entries;
  int last_number = 0;
  std::unique_ptr<ListingData> staged;  // the new entries, built off the UI thread
  EntryTexts texts;                     // the run's own date texts (not thread-safe)
  bool completed = false;
  // Set last by the worker. QThread::wait already orders the worker's writes before what the
  // UI thread does next; this flag says so to the thread sanitizer, which cannot see inside Qt.
  std::atomic<bool> worked{false};
  bool was_modified = false;
  bool had_first_entry = false;
  std::unique_ptr<QThread> worker;
};

EnteringJob::EnteringJob(ListingDocument& doc) : doc_(doc) {
  progress_timer_.setInterval(100);
  connect(&progress_timer_, &QTimer::timeout, this, [this] {
    if (const std::uint64_t files = media_files_.load()) {
      emit MediaProgress(media_done_.load(), files);
    } else {
      emit Progress(folders_visited_.load());
    }
  });
}

EnteringJob::~EnteringJob() {
  if (run_) {
    cancel_ = true;
    run_->worker->wait();
  }
}

void EnteringJob::Start(std::vector<EnteringRequest> requests) {
  if (run_) return;
  queue_.assign(std::make_move_iterator(requests.begin()), std::make_move_iterator(requests.end()));
  StartNext();
}

void EnteringJob::CancelNow() {
  if (!run_) return;
  queue_.clear();
  cancel_ = true;
  Finish();
}

void EnteringJob::StartNext() {
  if (run_ || queue_.empty()) return;
  auto run = std::make_unique<Run>();
  run->request = std::move(queue_.front());
  queue_.pop_front();
  run->clock.start();
  run->was_modified = doc_.ListingModified();
  run->had_first_entry = doc_.FirstEntry();
  run->last_number = doc_.EntryCounter();
  const EnteringRequest& request = run->request;
  if (request.options.details && request.way != EnterWay::Selected) doc_.RaiseFirstEntry();
  doc_.SetListingModified(true);
  cancel_ = false;
  folders_visited_ = 0;
  media_files_ = 0;
  media_done_ = 0;
  emit Started(request);

  Run* r = run.get();
  r->worker.reset(QThread::create([this, r] {
    Work(*r);
    r->worked.store(true, std::memory_order_release);
  }));
  connect(r->worker.get(), &QThread::finished, this, &EnteringJob::Finish);
  run_ = std::move(run);
  progress_timer_.start();
  r->worker->start();
}

void EnteringJob::Work(Run& r) {
  const EnteringRequest& q = r.request;
  if (q.way == EnterWay::Selected) {
    r.entries = CollectFolderEntries(q.selected, q.selection);
    r.completed = true;
  } else {
    r.completed =
        CollectEntries(q.folder, q.way == EnterWay::Scanner, q.selection, q.options, r.entries,
                       &cancel_, [this](std::uint64_t folders) { folders_visited_ = folders; });
  }
  if (!r.completed) return;
  std::optional<MediaCells> media;
  if (q.options.media && r.entries.Count() > 0) {
    media_files_ = r.entries.Count();
    media = ReadMediaCells(r.entries, r.texts.dates.Locale(), &cancel_,
                           [this](std::uint64_t files_done) { media_done_ = files_done; });
    // Escape while the files are read leaves the listing as a stopped search does.
    r.completed = media.has_value();
    if (!r.completed) return;
  }
  // The entries' lines are made here too; the UI thread only takes them over.
  r.staged = std::make_unique<ListingData>();
  r.staged->PrepareStaging(r.last_number);
  AppendEntries(*r.staged, r.entries, q.options, r.texts, kAllViews, media ? &*media : nullptr);
}

void EnteringJob::Finish() {
  // A run ended at once by CancelNow leaves its worker's own signal nothing to finish.
  if (!run_) return;
  std::unique_ptr<Run> run = std::move(run_);
  progress_timer_.stop();
  run->worker->wait();
  run->worked.load(std::memory_order_acquire);
  if (!run->completed) {
    doc_.SetListingModified(run->was_modified);
    doc_.SetFirstEntry(run->had_first_entry);
    queue_.clear();
    emit Cancelled();
    return;
  }
  doc_.AbsorbEntries(*run->staged);
  emit Entered(EnteringResult{run->request.way, run->request.selection,
                              qsizetype(run->entries.Count()), run->clock.elapsed()});
  StartNext();
}

}  // namespace kavoro

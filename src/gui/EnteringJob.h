#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/listing/Entering.h"

namespace kavoro {

class ListingDocument;

// What one "Eintragen" enters: a folder (with or without every folder below it) or files
// chosen in it, what it looks for, and how the entries are written.
struct EnteringRequest {
  EnterWay way = EnterWay::Folder;
  QString folder;
  FoundFiles selected;  // the chosen files (EnterWay::Selected)
  SearchSelection selection;
  EntryOptions options;

  // A folder chosen in the folder tree; with `subfolders` the folders below it too.
  static EnteringRequest ForFolder(const QString& folder, bool subfolders,
                                   const SearchSelection& selection, const EntryOptions& options);
  // The files of `folder` whose names have these bytes, in the order of the folder's own
  // listing and with their details as they are now.
  static EnteringRequest ForFiles(const QString& folder,
                                  const std::set<std::string, std::less<>>& names,
                                  const SearchSelection& selection, const EntryOptions& options);
};

// What a request entered, for the messages at its end.
struct EnteringResult {
  EnterWay way = EnterWay::Folder;
  SearchSelection selection;
  qsizetype found = 0;
  qint64 elapsed_ms = 0;
};

// Enters requests into the listing one after the other. Each search runs on a worker thread;
// its entries join the listing on the UI thread when it is over. A cancelled search leaves the
// listing exactly as it was before it, and the requests after it are dropped.
class EnteringJob : public QObject {
  Q_OBJECT

 public:
  explicit EnteringJob(ListingDocument& doc);
  // A search still running is cancelled and waited for; nothing is entered or reported.
  ~EnteringJob() override;

  // Does nothing while requests are being entered.
  void Start(std::vector<EnteringRequest> requests);
  bool Running() const { return run_ != nullptr; }
  // Asks the running search to stop; it reports Cancelled when it has.
  void Cancel() { cancel_ = true; }
  // Cancels and ends the run at once, reporting as usual; no later request starts.
  void CancelNow();

 signals:
  void Started(const kavoro::EnteringRequest& request);
  // The folders searched so far, every 100 ms while a search runs.
  void Progress(quint64 folders_visited);
  // Instead, while the media columns of the files found are read: the files read so far.
  void MediaProgress(quint64 files_done, quint64 files);
  void Entered(const kavoro::EnteringResult& result);
  void Cancelled();

 private:
  struct Run;
  void StartNext();
  // What the worker thread does for one request.
  void Work(Run& run);
  void Finish();

  ListingDocument& doc_;
  std::deque<EnteringRequest> queue_;
  std::unique_ptr<Run> run_;
  std::atomic<bool> cancel_{false};
  std::atomic<std::uint64_t> folders_visited_{0};
  std::atomic<std::uint64_t> media_files_{0};  // 0 until the media columns are read
  std::atomic<std::uint64_t> media_done_{0};
  QTimer progress_timer_;
};

}  // namespace kavoro

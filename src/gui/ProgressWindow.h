#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <cstdint>

class QLabel;

namespace kavoro {

// The window of a long job on the UI thread (copying, printing): it shows itself only once the
// job has taken a moment, keeps the program painting, and its button or Escape stops the job.
// Nothing else can start meanwhile.
class ProgressWindow {
 public:
  ProgressWindow(QWidget* owner, const char* object_name, const QString& title,
                 const QString& stop_caption);

  // Shows how far the job is, with `item` as its line of text; false once the user stopped it.
  bool Report(std::uint64_t done, std::uint64_t total, const QString& item);

 private:
  QProgressDialog dialog_;
  QLabel* label_;
  QElapsedTimer clock_;
};

}  // namespace kavoro

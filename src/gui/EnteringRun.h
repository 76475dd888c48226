#pragma once

#include <QElapsedTimer>
#include <QThread>
#include <memory>
#include <vector>

#include "core/listing/Entering.h"
#include "core/listing/ListingDocument.h"
#include "gui/MainWindow.h"

namespace kavoro {

// One "Eintragen": what it looks for, where, and what it found.
struct MainWindow::Run {
  EnterWay way = EnterWay::Folder;
  QString folder;
  bool recurse = false;
  FoundFiles selected;  // the selected files (EnterWay::Selected)
  SearchSelection selection;
  EntryOptions options;
  QElapsedTimer clock;
  FoundFiles entries;
  int last_number = 0;
  std::unique_ptr<ListingData> staged;  // the new entries, built off the UI thread
  std::unique_ptr<EntryTexts> texts;    // the run's own date texts (not thread-safe)
  bool completed = false;
  bool was_modified = false;
  bool had_first_entry = false;
  std::unique_ptr<QThread> worker;
};

}  // namespace kavoro

#pragma once

#include <functional>

#include "print/ListingPrint.h"

class QPrinter;
class QWidget;

namespace kavoro {

class AppState;
class Prompts;

// "Drucken ...", "Druckvorschau" and "Als PDF speichern ..." of the menu "Datei": the grid in
// its current order on paper. Long jobs show their progress and Escape stops them.
class PrintCommands {
 public:
  PrintCommands(AppState& state, Prompts& prompts, QWidget* owner);

  void Print();
  void Preview();
  void SavePdf();

 private:
  // Paints the listing on `printer` with a progress window; false when stopped or failed.
  bool PaintWithProgress(QPrinter& printer, const char* command);
  PrintTexts Texts() const;
  // Runs a job that reports its pages, in a progress window named after the menu command.
  bool WithProgress(const char* command, const std::function<bool(const PrintProgress&)>& job);

  AppState& state_;
  Prompts& prompts_;
  QWidget* owner_;
};

}  // namespace kavoro

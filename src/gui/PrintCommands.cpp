#include "gui/PrintCommands.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "core/app/AppState.h"
#include "core/output/Export.h"
#include "core/ports/Prompts.h"
#include "gui/ProgressWindow.h"
#include "print/ListingPrint.h"

namespace kavoro {
namespace {

const QString kPdfFilter = u"PDF (*.pdf)"_qs;

// A printer on the user's paper, in the resolution of the printer.
void SetUp(QPrinter& printer, const ListingData& doc) {
  printer.setPageSize(DefaultPageSize());
  printer.setPageOrientation(DefaultOrientation(doc));
  printer.setCreator(u"Kavoro 2.2"_qs);
}

}  // namespace

PrintCommands::PrintCommands(AppState& state, Prompts& prompts, QWidget* owner)
    : state_(state), prompts_(prompts), owner_(owner) {}

void PrintCommands::Print() {
  QPrinter printer(QPrinter::HighResolution);
  SetUp(printer, state_.doc);
  QPrintDialog dialog(&printer, owner_);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!PaintWithProgress(printer, "Drucken1")) printer.abort();
}

void PrintCommands::Preview() {
  QPrinter printer(QPrinter::HighResolution);
  SetUp(printer, state_.doc);
  QPrintPreviewDialog dialog(&printer, owner_);
  dialog.setObjectName(u"PrintPreview"_qs);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, owner_,
                   [this](QPrinter* shown) { PaintWithProgress(*shown, "Druckvorschau1"); });
  dialog.exec();
}

void PrintCommands::SavePdf() {
  ExportFolders& folders = state_.export_folders;
  const std::optional<QString> chosen = prompts_.SaveFileName(kPdfFilter, folders.pdf);
  if (!chosen) return;
  folders.pdf = QFileInfo(*chosen).absolutePath();
  const QString path = WithDefaultExtension(*chosen, u".pdf"_qs);
  QString error;
  const bool written = WithProgress("AlsPDFspeichern1", [&](const PrintProgress& progress) {
    return WritePdf(state_.doc, Texts(), path, &error, progress);
  });
  if (!written && !error.isEmpty()) prompts_.Error(error);
}

bool PrintCommands::PaintWithProgress(QPrinter& printer, const char* command) {
  return WithProgress(command, [&](const PrintProgress& progress) {
    return PrintListing(state_.doc, Texts(), printer, progress);
  });
}

PrintTexts PrintCommands::Texts() const {
  return PrintTextsNow(state_.language, state_.listing_folders);
}

bool PrintCommands::WithProgress(const char* command,
                                 const std::function<bool(const PrintProgress&)>& job) {
  ProgressWindow window(owner_, "PrintProgress", CaptionText("TForm1", command, state_.language),
                        state_.Slots().capStopOperation);
  return job([&](int done, int pages) {
    return window.Report(std::uint64_t(done), std::uint64_t(pages),
                         state_.Slots().printProgress.arg(done + 1).arg(pages));
  });
}

}  // namespace kavoro

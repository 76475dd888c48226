#include "core/app/ListCommands.h"

#include <QFileInfo>

#include "core/app/AppState.h"
#include "core/grid/GridColumns.h"
#include "core/output/ListFiles.h"
#include "core/ports/Prompts.h"

namespace kavoro {
namespace {

bool AnyExists(const QString& chosen, const QString& base) {
  for (const QString& path : {chosen, base + u".mpl"_qs, base + u".mpl2"_qs, base + u".mpl3"_qs}) {
    if (QFileInfo::exists(path)) return true;
  }
  return false;
}

// The list dialogs open in the folder last used for list files, with the list's name while
// the listing belongs to a file.
QString DialogStart(const AppState& s, const QString& extension) {
  if (!s.list_file_unnamed && !s.list_file_base.isEmpty()) return s.list_file_base + extension;
  return s.list_folder;
}

bool WriteTo(AppState& s, Prompts& prompts, const QString& base) {
  QString error;
  if (!SaveListFiles(s.doc, base, &error)) {
    prompts.Error(error);
    return false;
  }
  s.list_file_base = base;
  s.list_file_unnamed = false;
  s.doc.SetListingModified(false);
  return true;
}

}  // namespace

QString ListFileFilter() { return u"Kavoro (*.mpl)"_qs; }

bool SaveListAs(AppState& s, Prompts& prompts) {
  for (;;) {
    const auto chosen = prompts.SaveFileName(ListFileFilter(), DialogStart(s, QString()));
    if (!chosen) return false;
    s.list_folder = QFileInfo(*chosen).absolutePath();
    const QString base = ListFileBaseOf(*chosen);
    // Any of the three files would be replaced, not only the one the dialog names.
    if (AnyExists(*chosen, base) && !prompts.Ask(s.Slots().msgOverwrite)) continue;
    return WriteTo(s, prompts, base);
  }
}

bool SaveList(AppState& s, Prompts& prompts) {
  if (s.list_file_unnamed) return SaveListAs(s, prompts);
  return WriteTo(s, prompts, s.list_file_base);
}

bool OpenList(AppState& s, Prompts& prompts) {
  if (s.doc.ListingModified() && !prompts.Ask(DiscardQuestion(s))) return false;
  const auto chosen = prompts.OpenFileName(ListFileFilter(), DialogStart(s, u".mpl"_qs));
  if (!chosen) return false;
  s.list_folder = QFileInfo(*chosen).absolutePath();
  return LoadList(s, prompts, ListFileBaseOf(*chosen));
}

bool LoadList(AppState& s, Prompts& prompts, const QString& base) {
  QString error;
  auto contents = ReadListFiles(base, s.Slots(), &error);
  if (!contents) {
    prompts.Error(error);
    return false;
  }
  s.style_page = contents->html.ToStringList();
  LoadListing(s.doc, std::move(*contents), s.language);
  FollowColumnCount(s.grid_tools, s.doc);
  // What is shown now is what the files hold.
  s.doc.SetListingModified(false);
  s.list_file_base = base;
  s.list_file_unnamed = false;
  s.listing_folders.clear();
  return true;
}

}  // namespace kavoro

#include "core/compare/ListUpdate.h"

#include <QFile>
#include <QFileInfo>

#include "core/listing/ListingDocument.h"
#include "core/output/ListFiles.h"

namespace kavoro {
namespace {

const QString kListExtensions[] = {u".mpl"_qs, u".mpl2"_qs, u".mpl3"_qs};

}  // namespace

QString FreeBackupBase(const QString& base) {
  for (int n = 1;; ++n) {
    const QString candidate = base + u".bak"_qs + QString::number(n);
    bool taken = false;
    for (const QString& ext : kListExtensions) taken = taken || QFileInfo::exists(candidate + ext);
    if (!taken) return candidate;
  }
}

bool UpdateList(const SavedList& list, const QString& folder, const ListForm& form,
                const QString& backup_base, const MessageSlots& m, QString* error,
                const std::atomic<bool>* cancel, const Scanner::Progress& progress) {
  if (!QFileInfo(folder).isDir()) {
    *error = m.msgCompareNoFolder.arg(folder);
    return false;
  }
  ListForm f = form;
  f.options.details = list.Details();
  f.options.whole_path = list.WholePaths();
  f.options.media = list.Media();
  FoundFiles found;
  std::optional<MediaCells> media;
  if (!WalkInForm(QFileInfo(folder).absoluteFilePath(), f, found, cancel, progress) ||
      (f.options.media && !(media = ReadMediaCells(found, list.DateLocale(), cancel)))) {
    error->clear();
    return false;
  }

  for (const QString& ext : kListExtensions) {
    if (QFileInfo::exists(backup_base + ext)) {
      *error = m.msgBackupExists.arg(backup_base + ext);
      return false;
    }
  }
  // QFile::copy never replaces a file, so a backup made meanwhile by someone else is safe.
  for (int i = 0; i < 3; ++i) {
    QFile from(list.Base() + kListExtensions[i]);
    if (!from.copy(backup_base + kListExtensions[i])) {
      *error = u"Cannot create file %1 (%2)"_qs.arg(backup_base + kListExtensions[i],
                                                    from.errorString());
      for (int k = 0; k < i; ++k) QFile::remove(backup_base + kListExtensions[k]);
      return false;
    }
  }

  ListingDocument doc;
  LineList text, html;
  text.AppendUtf8(list.TextHeader());
  for (const std::string& line : list.HtmlHead()) html.AppendUtf8(line);
  doc.SetTextLines(std::move(text));
  doc.SetHtmlLines(std::move(html));
  doc.SetColumns({f.options.details, f.options.media});
  doc.SetCell(1, 0,
              QString::fromUtf8(list.NamesHeader().data(), qsizetype(list.NamesHeader().size())));
  EntryTexts texts{DateTextFormat(list.DateLocale()), {}};
  AppendEntries(doc, found, f.options, texts, kAllViews, media ? &*media : nullptr);
  return SaveListFiles(doc, list.Base(), error);
}

}  // namespace kavoro

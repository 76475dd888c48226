#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

#include "core/app/FileCopy.h"
#include "core/i18n/LanguageTables.h"

namespace kavoro {

// What "Kopieren" and "Ausschneiden" remember until "Einfügen": one path and whether it is to
// be copied or moved. Nothing on disk is touched before the paste.
class FileClipboard {
 public:
  enum class Mode { Empty, Copy, Cut };

  void Copy(const QString& path) { Remember(path, Mode::Copy); }
  void Cut(const QString& path) { Remember(path, Mode::Cut); }
  void Clear() { Remember(QString(), Mode::Empty); }

  Mode CurrentMode() const { return mode_; }
  const QString& Path() const { return path_; }
  // The views dim the one item that is cut and not yet pasted.
  bool IsCut(const QString& path) const { return mode_ == Mode::Cut && path_ == path; }

 private:
  void Remember(const QString& path, Mode mode) {
    path_ = path;
    mode_ = mode;
  }

  QString path_;
  Mode mode_ = Mode::Empty;
};

enum class FileOpFailure {
  None,
  BadName,
  NameExists,
  IntoItself,
  NoCopyName,
  Cancelled,  // stopped by the user; no message
  System,
};

struct FileOpResult {
  FileOpFailure failure = FileOpFailure::None;
  QString path;         // the new path on success; the path the failure is about otherwise
  QString reason;       // the system's reason of a System failure
  QStringList skipped;  // pipes, sockets and devices that a copy or move left where they were
  bool Ok() const { return failure == FileOpFailure::None; }
};

// The message for a failed operation in the language of `m`; empty when there is nothing to
// say.
QString FailureMessage(const FileOpResult& result, const MessageSlots& m);
// The message naming what an operation left out; empty when it left out nothing.
QString SkippedMessage(const FileOpResult& result, const MessageSlots& m);

// Gives a file or folder the name `new_name` in its own folder. Never replaces an existing
// entry; a name holding "/" or naming "." or ".." is refused.
FileOpResult RenameEntry(const QString& path, const QString& new_name);

// Removes a file, a link or a folder with everything in it, for good. A failure names the
// item that could not be removed.
FileOpResult DeleteEntry(const QString& path, const OperationProgress& progress = {});

// The name a copy of `name` gets in `folder` when `name` is taken there: "Kopie von NAME",
// then "Kopie (2) von NAME", "Kopie (3) von NAME", ... up to a bound. Empty when every
// candidate is taken or longer than the file system allows a name to be.
QString FreeCopyName(const QString& folder, const QString& name);

// Copies (or with `move` moves) `source` into `folder`. A copy into the source's own folder
// gets a free "Kopie von " name; any other name that is taken is refused, and a folder never
// goes into itself or below itself. Copies keep dates, permissions and holes (CopyTree); a
// failed copy leaves nothing half-copied behind and names the item that failed.
FileOpResult PasteEntry(const QString& source, const QString& folder, bool move,
                        const OperationProgress& progress = {});

// The folders below `folder`, level by level, at most `limit` of them; links to folders are
// not followed. `complete` is false when there are more.
struct SubfolderWalk {
  QStringList folders;
  bool complete = true;
};
SubfolderWalk ListSubfolders(const QString& folder, qsizetype limit);

// The rows of the properties window: name, folder, type, size, dates, permissions, owner.
QList<std::pair<QString, QString>> DescribeEntry(const QString& path, const MessageSlots& m);

}  // namespace kavoro

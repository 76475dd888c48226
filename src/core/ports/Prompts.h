#pragma once

#include <QString>
#include <optional>

namespace kavoro {

// Everything that asks the user something. The window implements it with dialogs; tests
// script the answers, so nothing ever waits on a real dialog.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // A message with one OK button; closing it any way counts as OK.
  virtual void Inform(const QString& text) = 0;
  // An error report of a failed file operation.
  virtual void Error(const QString& text) = 0;
  // A question with Yes and No; true only for Yes.
  virtual bool Ask(const QString& text) = 0;
  // File dialogs; nothing when cancelled. They open at `start`: a folder, or a folder and a
  // file name; empty for the working folder.
  virtual std::optional<QString> SaveFileName(const QString& filter, const QString& start) = 0;
  virtual std::optional<QString> OpenFileName(const QString& filter, const QString& start) = 0;
  // A folder dialog opened at `start`; nothing when cancelled.
  virtual std::optional<QString> FolderName(const QString& start) = 0;
  // A one-line text with a caption, a prompt and a default answer; nothing when cancelled.
  virtual std::optional<QString> Text(const QString& caption, const QString& prompt,
                                      const QString& default_text) = 0;
};

}  // namespace kavoro

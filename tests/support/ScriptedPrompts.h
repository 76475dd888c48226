#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "core/app/Prompts.h"

namespace kavoro::test {

// Answers questions and file dialogs from scripts and records what was shown. An unscripted
// question is answered No and an unscripted dialog is cancelled, so nothing ever blocks.
class ScriptedPrompts : public Prompts {
 public:
  void Inform(const QString& text) override { shown.append(u"inform: "_qs + text); }
  void Error(const QString& text) override { shown.append(u"error: "_qs + text); }
  bool Ask(const QString& text) override {
    shown.append(u"ask: "_qs + text);
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<QString> SaveFileName(const QString&) override { return Next(); }
  std::optional<QString> OpenFileName(const QString&) override { return Next(); }

  std::deque<bool> answers;
  std::deque<QString> files;  // an empty name cancels the dialog
  QStringList shown;

 private:
  std::optional<QString> Next() {
    if (files.empty()) return std::nullopt;
    const QString file = files.front();
    files.pop_front();
    if (file.isEmpty()) return std::nullopt;
    return file;
  }
};

}  // namespace kavoro::test

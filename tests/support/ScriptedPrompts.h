#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "core/ports/Prompts.h"

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
  std::optional<QString> SaveFileName(const QString& filter, const QString& start) override {
    dialog_starts.append(start);
    save_filters.append(filter);
    return Next();
  }
  std::optional<QString> OpenFileName(const QString&, const QString& start) override {
    dialog_starts.append(start);
    return Next();
  }
  std::optional<QString> FolderName(const QString& start) override {
    dialog_starts.append(start);
    return Next();
  }
  std::optional<QString> Text(const QString& caption, const QString& prompt,
                              const QString& default_text) override {
    shown.append(u"text: "_qs + caption + u'|' + prompt + u'|' + default_text);
    if (texts.empty()) return std::nullopt;
    const std::optional<QString> text = texts.front();
    texts.pop_front();
    return text;
  }

  std::deque<bool> answers;
  std::deque<QString> files;                 // an empty name cancels the dialog
  std::deque<std::optional<QString>> texts;  // nothing cancels the prompt
  QStringList shown;
  QStringList dialog_starts;  // where each file dialog opened
  QStringList save_filters;   // what each save dialog offered

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

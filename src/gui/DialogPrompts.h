#pragma once

#include <QMessageBox>
#include <QWidget>

#include "core/ports/Prompts.h"

namespace kavoro {

// Prompts as real dialogs over a parent window.
class DialogPrompts : public Prompts {
 public:
  explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

  void Inform(const QString& text) override;
  void Error(const QString& text) override;
  bool Ask(const QString& text) override;
  std::optional<QString> SaveFileName(const QString& filter, const QString& start) override;
  std::optional<QString> OpenFileName(const QString& filter, const QString& start) override;
  std::optional<QString> FolderName(const QString& start) override;
  std::optional<QString> Text(const QString& caption, const QString& prompt,
                              const QString& default_text) override;

 private:
  QWidget* Owner() const;
  int Show(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons);

  QWidget* parent_;
};

}  // namespace kavoro

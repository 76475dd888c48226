#include "gui/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace kavoro {
namespace {

const QString kTitle = u"Kavoro 2.2"_qs;

}  // namespace

void DialogPrompts::Inform(const QString& text) {
  QMessageBox::information(parent_, kTitle, text);
}

void DialogPrompts::Error(const QString& text) { QMessageBox::critical(parent_, kTitle, text); }

bool DialogPrompts::Ask(const QString& text) {
  return QMessageBox::question(parent_, kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::SaveFileName(const QString& filter, const QString& start) {
  // The program asks its own overwrite question, after working out the list's base name.
  const QString name = QFileDialog::getSaveFileName(parent_, QString(), start, filter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::OpenFileName(const QString& filter, const QString& start) {
  const QString name = QFileDialog::getOpenFileName(parent_, QString(), start, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::Text(const QString& caption, const QString& prompt,
                                           const QString& default_text) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, default_text, &ok);
  if (!ok) return std::nullopt;
  return text;
}

}  // namespace kavoro

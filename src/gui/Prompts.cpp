#include "gui/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace kavoro {
namespace {

const QString kTitle = u"Kavoro 2.2"_qs;

}  // namespace

// A prompt belongs to the window in front, so that it stays above a secondary window that
// asked it, and that window above the main window once the prompt is gone.
QWidget* DialogPrompts::Owner() const {
  QWidget* front = QApplication::activeWindow();
  return front ? front : parent_;
}

void DialogPrompts::Inform(const QString& text) { QMessageBox::information(Owner(), kTitle, text); }

void DialogPrompts::Error(const QString& text) { QMessageBox::critical(Owner(), kTitle, text); }

bool DialogPrompts::Ask(const QString& text) {
  return QMessageBox::question(Owner(), kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::SaveFileName(const QString& filter) {
  // The program asks its own overwrite question, after working out the list's base name.
  const QString name = QFileDialog::getSaveFileName(Owner(), QString(), QString(), filter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::OpenFileName(const QString& filter) {
  const QString name = QFileDialog::getOpenFileName(Owner(), QString(), QString(), filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::Text(const QString& caption, const QString& prompt,
                                           const QString& default_text) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(Owner(), caption, prompt, QLineEdit::Normal, default_text, &ok);
  if (!ok) return std::nullopt;
  return text;
}

}  // namespace kavoro

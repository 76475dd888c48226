#include "gui/Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "core/app/MessageText.h"

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

void DialogPrompts::Inform(const QString& text) {
  Show(QMessageBox::Information, text, QMessageBox::Ok);
}

void DialogPrompts::Error(const QString& text) {
  Show(QMessageBox::Critical, text, QMessageBox::Ok);
}

bool DialogPrompts::Ask(const QString& text) {
  return Show(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// Messages name files and folders: their text is plain, whatever a name holds.
int DialogPrompts::Show(QMessageBox::Icon icon, const QString& text,
                        QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, kTitle, BreakLongWords(text, kLongestWord), buttons, Owner());
  box.setTextFormat(Qt::PlainText);
  return box.exec();
}

std::optional<QString> DialogPrompts::SaveFileName(const QString& filter, const QString& start) {
  // The program asks its own overwrite question, after working out the list's base name.
  const QString name = QFileDialog::getSaveFileName(Owner(), QString(), start, filter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::OpenFileName(const QString& filter, const QString& start) {
  const QString name = QFileDialog::getOpenFileName(Owner(), QString(), start, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::Text(const QString& caption, const QString& prompt,
                                           const QString& default_text) {
  QInputDialog dialog(Owner());
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(default_text);
  for (QLabel* label : dialog.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

}  // namespace kavoro

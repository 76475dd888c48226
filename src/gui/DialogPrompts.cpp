#include "gui/DialogPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "core/app/MessageText.h"
#include "core/output/Export.h"

namespace kavoro {
namespace {

const QString kTitle = u"Kavoro 2.2"_qs;
// What a window manager's title bar takes besides the title: buttons, icon, margins.
constexpr int kTitleBarExtra = 160;

// Three quarters of the free width of the screen `w` is on.
int WidestAllowed(const QWidget* w) {
  const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  return screen->availableGeometry().width() * 3 / 4;
}

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
  const QString shown = BreakLongWords(text, kLongestWord);
  QMessageBox box(icon, kTitle, shown, buttons, Owner());
  box.setTextFormat(Qt::PlainText);
  // Qt wraps a message at half the screen, also inside an address after its "//": a line up to
  // three quarters of the screen wide stays whole.
  for (QLabel* label : box.findChildren<QLabel*>()) {
    if (label->text() != shown) continue;  // the icon
    int widest = 0;
    for (const QString& line : shown.split(u'\n')) {
      widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 1);
    }
    label->setMinimumWidth(std::min(widest, WidestAllowed(&box)));
  }
  return box.exec();
}

std::optional<QString> DialogPrompts::SaveFileName(const QString& filter, const QString& start) {
  // The program asks its own overwrite question, after working out the list's base name.
  QString chosen_filter;
  const QString name = QFileDialog::getSaveFileName(
      Owner(), QString(), start, filter, &chosen_filter, QFileDialog::DontConfirmOverwrite);
  if (name.isEmpty()) return std::nullopt;
  // A name typed without an extension gets the one of the data format chosen.
  const QString extension = ChosenFilterExtension(chosen_filter);
  return extension.isEmpty() ? name : WithDefaultExtension(name, extension);
}

std::optional<QString> DialogPrompts::OpenFileName(const QString& filter, const QString& start) {
  const QString name = QFileDialog::getOpenFileName(Owner(), QString(), start, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> DialogPrompts::FolderName(const QString& start) {
  const QString folder = QFileDialog::getExistingDirectory(Owner(), QString(), start);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::optional<QString> DialogPrompts::Text(const QString& caption, const QString& prompt,
                                           const QString& default_text) {
  QInputDialog dialog(Owner());
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(default_text);
  // Wide enough for the window manager to show the whole title, which ends in the program's
  // name. The dialog's layout sets its size from its controls, so the prompt's label gets it.
  const QString title = caption + u" — "_qs + QGuiApplication::applicationDisplayName();
  const int margins = 2 * dialog.style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
  const int width = std::min(dialog.fontMetrics().horizontalAdvance(title) + kTitleBarExtra,
                             WidestAllowed(&dialog));
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    label->setTextFormat(Qt::PlainText);
    label->setMinimumWidth(width - margins);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.textValue();
}

}  // namespace kavoro

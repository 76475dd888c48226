#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace kavoro {

class AppState;
class Prompts;
class Shell;

// TForm3: the HTML style dialog over the style state of AppState. Its choices rewrite the
// working page; "Übernehmen" puts the page into the HTML view, "Abbrechen" sets the choices
// back from the stored defaults, "Vorschau" shows the working page in the browser.
class StyleDialog : public QWidget {
  Q_OBJECT

 public:
  StyleDialog(AppState& state, Prompts& prompts, Shell& shell);
  // Shows the choices as they are in the state.
  void ShowChoices();

 signals:
  // Applied or cancelled: the main window takes over again.
  void Finished();

 private:
  void Apply();
  void Cancel();
  void ShowEnabled();

  AppState& state_;
  Prompts& prompts_;
  Shell& shell_;
  QComboBox* text_color_ = nullptr;
  QComboBox* size_ = nullptr;
  QComboBox* family_ = nullptr;
  QCheckBox* no_lines_ = nullptr;
  QCheckBox* page_on_ = nullptr;
  QComboBox* page_color_ = nullptr;
  QCheckBox* table_on_ = nullptr;
  QComboBox* table_color_ = nullptr;
  QCheckBox* store_ = nullptr;
  QCheckBox* browsable_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* preview_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QFrame* size_panel_ = nullptr;
  QLineEdit* custom_size_ = nullptr;
  QPushButton* custom_ok_ = nullptr;
};

}  // namespace kavoro

#include "gui/ExitQuestion.h"

#include <QLabel>
#include <QPushButton>

#include "core/i18n/LanguageTables.h"
#include "gui/OwnedWindow.h"

namespace kavoro {
namespace {

QPushButton* AddButton(QWidget* parent, const char* name, int left) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(left, 46, 96, 25);
  return button;
}

QLabel* AddQuestion(QWidget* parent, const char* name, UiLanguage language) {
  auto* label = new QLabel(MessageSlotsFor(language).msgSaveOnExit, parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(8, 8, 316, 30);
  label->setAlignment(Qt::AlignCenter);
  label->setWordWrap(true);
  return label;
}

}  // namespace

ExitQuestion::ExitQuestion()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(u"TForm6"_qs);
  setWindowTitle(u"Kavoro 2.2"_qs);
  setFixedSize(332, 80);
  setWindowModality(Qt::ApplicationModal);
  // The question as text, one label per language; the language routine shows one of them.
  AddQuestion(this, "Image1", UiLanguage::German);
  AddQuestion(this, "Image2", UiLanguage::English)->hide();
  connect(AddButton(this, "Button1", 14), &QPushButton::clicked, this, [this] {
    hide();
    emit SaveChosen();
  });
  connect(AddButton(this, "Button2", 118), &QPushButton::clicked, this, [this] {
    hide();
    emit DiscardChosen();
  });
  auto cancel = [this] {
    hide();
    emit CancelChosen();
  };
  connect(AddButton(this, "Button3", 222), &QPushButton::clicked, this, cancel);
  LeaveThrough(this, cancel);
}

}  // namespace kavoro

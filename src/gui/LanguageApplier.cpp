#include "gui/LanguageApplier.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

namespace kavoro {
namespace {

// Another form owned by this one (a dialog, the find window) has controls of the same names;
// its captions come from its own table. Menus are windows too, but belong to the form.
bool IsOtherForm(const QObject* object) {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget && widget->isWindow() && !qobject_cast<const QMenu*>(widget);
}

// Like findChild: the direct children first, then each child's descendants in turn.
QObject* FindInForm(const QObject* parent, QLatin1String name) {
  for (QObject* child : parent->children()) {
    if (child->objectName() == name && !IsOtherForm(child)) return child;
  }
  for (QObject* child : parent->children()) {
    if (IsOtherForm(child)) continue;
    if (QObject* found = FindInForm(child, name)) return found;
  }
  return nullptr;
}

void SetCaption(QObject* target, int index, const QString& text) {
  if (auto* tabs = qobject_cast<QTabWidget*>(target)) {
    if (index >= 0 && index < tabs->count()) tabs->setTabText(index, text);
  } else if (auto* combo = qobject_cast<QComboBox*>(target)) {
    if (index >= 0 && index < combo->count()) combo->setItemText(index, text);
  } else if (auto* action = qobject_cast<QAction*>(target)) {
    action->setText(text);
  } else if (auto* menu = qobject_cast<QMenu*>(target)) {
    menu->setTitle(text);
  } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
    button->setText(text);
  } else if (auto* label = qobject_cast<QLabel*>(target)) {
    label->setText(text);
  } else if (auto* edit = qobject_cast<QLineEdit*>(target)) {
    // A labelled edit's caption is the text of the label that names it as its buddy.
    for (QLabel* label : edit->parentWidget()->findChildren<QLabel*>()) {
      if (label->buddy() == edit) label->setText(text);
    }
  } else if (auto* group = qobject_cast<QGroupBox*>(target)) {
    group->setTitle(text);
  } else if (auto* widget = qobject_cast<QWidget*>(target); widget && widget->isWindow()) {
    widget->setWindowTitle(text);
  }
}

void SetPlacement(QWidget* widget, GeometryProperty property, int value) {
  QRect r = widget->geometry();
  switch (property) {
    case GeometryProperty::Left:
      r.moveLeft(value);
      break;
    case GeometryProperty::Top:
      r.moveTop(value);
      break;
    case GeometryProperty::Width:
      r.setWidth(value);
      break;
    case GeometryProperty::Height:
      r.setHeight(value);
      break;
  }
  if (widget->isWindow()) {
    widget->resize(r.size());
  } else {
    widget->setGeometry(r);
  }
}

}  // namespace

QObject* TableControl(QWidget* window, const char* object) {
  if (window->objectName() == QLatin1String(object)) return window;
  return FindInForm(window, QLatin1String(object));
}

void ApplyWindowTexts(QWidget* window, UiLanguage language) {
  const QString form = window->objectName();
  const bool german = language == UiLanguage::German;
  for (const Caption& c : CaptionTable()) {
    if (form != QLatin1String(c.form)) continue;
    if (QObject* target = TableControl(window, c.object)) {
      SetCaption(target, c.index, german ? c.german : c.english);
    }
  }
  for (const Placement& p : PlacementTable()) {
    if (form != QLatin1String(p.form)) continue;
    if (auto* widget = qobject_cast<QWidget*>(TableControl(window, p.object))) {
      SetPlacement(widget, p.property, german ? p.german : p.english);
    }
  }
  for (const Visibility& v : VisibilityTable()) {
    if (form != QLatin1String(v.form)) continue;
    if (auto* widget = qobject_cast<QWidget*>(TableControl(window, v.object))) {
      widget->setVisible(german ? v.german : v.english);
    }
  }
}

}  // namespace kavoro

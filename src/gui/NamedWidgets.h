#pragma once

#include <QWidget>

namespace kavoro {

// A new control of type W on `parent`, named as the language tables address it and placed in
// the parent's fixed layout.
template <typename W>
W* Place(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* w = new W(parent);
  w->setObjectName(QLatin1String(name));
  w->setGeometry(left, top, width, height);
  return w;
}

}  // namespace kavoro

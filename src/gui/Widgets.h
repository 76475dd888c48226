#pragma once

#include <QWidget>

namespace kavoro {

// Creates a control with its objectName at a fixed place, as the windows are laid out.
template <typename W>
W* PlaceNew(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* w = new W(parent);
  w->setObjectName(QLatin1String(name));
  w->setGeometry(left, top, width, height);
  return w;
}

}  // namespace kavoro

#pragma once

#include <QWidget>

namespace kavoro {

// A control with its objectName at a fixed place in its parent.
template <typename W>
W* AddNamed(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* widget = new W(parent);
  widget->setObjectName(QLatin1String(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

}  // namespace kavoro

#pragma once

#include <QWidget>

#include "core/app/MainWindowGeometry.h"

namespace kavoro {

// `object` with its objectName, by which tests and the language tables know it.
template <typename T>
T* Named(T* object, const char* name) {
  object->setObjectName(QLatin1String(name));
  return object;
}

inline void Place(QWidget* widget, const Box& box) {
  widget->setGeometry(box.left, box.top, box.width, box.height);
}

// A control with its objectName at a fixed place in its parent.
template <typename W>
W* AddNamed(QWidget* parent, const char* name, int left, int top, int width, int height) {
  auto* widget = Named(new W(parent), name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

}  // namespace kavoro

#pragma once

#include <gtest/gtest.h>

#include <QObject>

namespace kavoro::test {

// The window's child of that objectName; a missing one fails the test.
template <typename T = QObject>
T* FindNamed(const QObject* window, const char* name) {
  auto* found = window->findChild<T*>(QLatin1String(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

}  // namespace kavoro::test

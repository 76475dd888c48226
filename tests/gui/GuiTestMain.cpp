#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  // Never a real screen, also when the binary is started by hand or by test discovery.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The catalogue's index of the tests is theirs, not the user's.
  const QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
